// Preprocessor: comments, conditionals and macro expansion, line by line.
#include "shaderparse/Preprocessor.h"

#include <map>
#include <vector>

namespace shaderparse {
namespace {

// Expansion stops here: a few macros can otherwise double the text at
// every level.
constexpr size_t kMaxOutput = 1 << 20;
constexpr int kMaxDepth = 32;
constexpr int kMaxArguments = 32;

struct Macro {
  bool function = false;
  std::vector<std::string> parameters;
  std::string body;
};

bool isIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isIdentChar(char c) { return isIdentStart(c) || (c >= '0' && c <= '9'); }
bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; }

// Replaces comments by spaces, keeping every newline. A /* left open
// would swallow the rest of the program: an error at its line.
std::string stripComments(std::string_view text, int firstLine, ParseErrors& errors) {
  int line = firstLine;
  std::string out;
  out.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '/' && i + 1 < text.size() && text[i + 1] == '/') {
      while (i < text.size() && text[i] != '\n') ++i;
    } else if (text[i] == '/' && i + 1 < text.size() && text[i + 1] == '*') {
      const int opened = line;
      i += 2;
      out += ' ';
      while (i < text.size() && !(text[i] == '*' && i + 1 < text.size() && text[i + 1] == '/')) {
        if (text[i] == '\n') {
          out += '\n';
          ++line;
        }
        ++i;
      }
      if (i < text.size()) i += 2;
      else errors.add(opened, "comment not closed");
    } else {
      if (text[i] == '\n') ++line;
      out += text[i++];
    }
  }
  return out;
}

class Expander {
 public:
  Expander(ParseErrors& errors) : errors_(errors) {}

  std::map<std::string, Macro> macros;
  int line = 0;
  bool overflow = false;

  // Expands `in` onto `out`; names in `disabled` are not expanded again.
  void expand(std::string_view in, std::vector<std::string>& disabled, int depth, std::string& out) {
    if (depth > kMaxDepth) {
      fail("macros nest too deeply");
      return;
    }
    size_t i = 0;
    while (i < in.size() && !overflow) {
      char c = in[i];
      if (c >= '0' && c <= '9') {
        // A number with its suffix letters is one piece ("1e5", "0x1").
        size_t start = i;
        while (i < in.size() && (isIdentChar(in[i]) || in[i] == '.')) ++i;
        append(out, in.substr(start, i - start));
        continue;
      }
      if (!isIdentStart(c)) {
        append(out, in.substr(i, 1));
        ++i;
        continue;
      }
      size_t start = i;
      while (i < in.size() && isIdentChar(in[i])) ++i;
      std::string name(in.substr(start, i - start));
      auto found = macros.find(name);
      bool blocked = false;
      for (const std::string& d : disabled) blocked = blocked || d == name;
      if (found == macros.end() || blocked) {
        append(out, name);
        continue;
      }
      const Macro& macro = found->second;
      std::string replaced;
      if (macro.function) {
        size_t j = i;
        while (j < in.size() && isSpace(in[j])) ++j;
        if (j >= in.size() || in[j] != '(') {
          append(out, name);
          continue;
        }
        std::vector<std::string> args;
        if (!readArguments(in, j, args)) return;
        i = j;
        if (args.size() == 1 && macro.parameters.empty() && trim(args[0]).empty()) args.clear();
        if (args.size() != macro.parameters.size()) {
          fail("macro " + name + " takes " + std::to_string(macro.parameters.size()) +
               " arguments, given " + std::to_string(args.size()));
          return;
        }
        replaced = substitute(macro, args);
      } else {
        replaced = macro.body;
      }
      disabled.push_back(name);
      expand(replaced, disabled, depth + 1, out);
      disabled.pop_back();
    }
  }

  void fail(const std::string& message) {
    if (!overflow) errors_.add(line, message);
    overflow = true;
  }

 private:
  ParseErrors& errors_;

  void append(std::string& out, std::string_view piece) {
    if (out.size() + piece.size() > kMaxOutput) {
      fail("macro expansion too large");
      return;
    }
    out.append(piece);
  }

  static std::string trim(std::string_view s) {
    size_t a = 0, b = s.size();
    while (a < b && isSpace(s[a])) ++a;
    while (b > a && isSpace(s[b - 1])) --b;
    return std::string(s.substr(a, b - a));
  }

  // Reads "(a, (b, c), d)" from in[pos] == '('; pos ends after ')'.
  bool readArguments(std::string_view in, size_t& pos, std::vector<std::string>& args) {
    int level = 0;
    std::string current;
    for (++pos; pos < in.size(); ++pos) {
      char c = in[pos];
      if (c == '(') ++level;
      if (c == ')' && level-- == 0) {
        args.push_back(trim(current));
        ++pos;
        return true;
      }
      if (c == ',' && level == 0) {
        args.push_back(trim(current));
        current.clear();
        if (args.size() > kMaxArguments) break;
        continue;
      }
      current += c;
    }
    fail("unterminated macro arguments");
    return false;
  }

  static std::string substitute(const Macro& macro, const std::vector<std::string>& args) {
    std::string out;
    const std::string& body = macro.body;
    size_t i = 0;
    while (i < body.size()) {
      if (!isIdentStart(body[i])) {
        if (body[i] >= '0' && body[i] <= '9') {
          while (i < body.size() && (isIdentChar(body[i]) || body[i] == '.')) out += body[i++];
        } else {
          out += body[i++];
        }
        continue;
      }
      size_t start = i;
      while (i < body.size() && isIdentChar(body[i])) ++i;
      std::string_view name(body.data() + start, i - start);
      size_t p = 0;
      while (p < macro.parameters.size() && macro.parameters[p] != name) ++p;
      if (p < macro.parameters.size()) out += args[p];
      else out += name;
    }
    return out;
  }
};

struct Condition {
  bool active;        // lines in this branch are kept
  bool parentActive;  // the enclosing branch was kept
  bool elseSeen;
};

// Reads an identifier at s[pos], skipping blanks first; empty if none.
std::string readName(std::string_view s, size_t& pos) {
  while (pos < s.size() && isSpace(s[pos])) ++pos;
  size_t start = pos;
  if (pos < s.size() && isIdentStart(s[pos]))
    while (pos < s.size() && isIdentChar(s[pos])) ++pos;
  return std::string(s.substr(start, pos - start));
}

bool onlyBlanks(std::string_view s, size_t pos) {
  while (pos < s.size() && isSpace(s[pos])) ++pos;
  return pos == s.size();
}

}  // namespace

std::string preprocess(std::string_view text, int firstLine, ParseErrors& errors) {
  const std::string plain = stripComments(text, firstLine, errors);
  Expander expander(errors);
  std::vector<Condition> conditions;
  std::string out;
  out.reserve(plain.size());
  size_t pos = 0;
  int line = firstLine;
  while (pos <= plain.size() && !expander.overflow) {
    // Gather one logical line, joining backslash continuations.
    std::string logical;
    int joined = 0;
    const int lineNumber = line;
    while (pos < plain.size()) {
      size_t end = plain.find('\n', pos);
      if (end == std::string::npos) end = plain.size();
      std::string_view piece(plain.data() + pos, end - pos);
      pos = end + 1;
      if (!piece.empty() && piece.back() == '\\' && pos < plain.size()) {
        logical.append(piece.substr(0, piece.size() - 1));
        ++joined;
        continue;
      }
      logical.append(piece);
      break;
    }
    const bool last = pos >= plain.size();
    line += joined + 1;
    expander.line = lineNumber;
    const bool active = conditions.empty() || conditions.back().active;

    size_t p = 0;
    while (p < logical.size() && isSpace(logical[p])) ++p;
    std::string directive;
    if (p < logical.size() && logical[p] == '#') {
      size_t q = p + 1;
      directive = readName(logical, q);
      if (q > p + 1 && isSpace(logical[p + 1])) directive.clear();
      static const char* const kDirectives[] = {"define", "undef", "ifdef", "ifndef", "else", "endif"};
      bool known = false;
      for (const char* d : kDirectives) known = known || directive == d;
      if (!known) directive.clear();
      p = q;
    }

    if (directive == "ifdef" || directive == "ifndef") {
      std::string name = readName(logical, p);
      if (name.empty()) errors.add(lineNumber, "#" + directive + " needs a name");
      bool defined = expander.macros.count(name) > 0;
      bool taken = directive == "ifdef" ? defined : !defined;
      conditions.push_back({active && taken, active, false});
    } else if (directive == "else") {
      if (conditions.empty() || conditions.back().elseSeen) {
        errors.add(lineNumber, "#else without #ifdef");
      } else {
        Condition& c = conditions.back();
        c.active = c.parentActive && !c.active;
        c.elseSeen = true;
      }
    } else if (directive == "endif") {
      if (conditions.empty()) errors.add(lineNumber, "#endif without #ifdef");
      else conditions.pop_back();
    } else if (!directive.empty() && active) {
      std::string name = readName(logical, p);
      if (name.empty()) {
        errors.add(lineNumber, "#" + directive + " needs a name");
      } else if (directive == "undef") {
        expander.macros.erase(name);
        if (!onlyBlanks(logical, p)) errors.add(lineNumber, "junk after #undef " + name);
      } else {
        Macro macro;
        if (p < logical.size() && logical[p] == '(') {
          macro.function = true;
          ++p;
          bool ok = false;
          while (p < logical.size()) {
            std::string param = readName(logical, p);
            while (p < logical.size() && isSpace(logical[p])) ++p;
            if (param.empty() && p < logical.size() && logical[p] == ')' && macro.parameters.empty()) {
              ok = true;
              ++p;
              break;
            }
            if (param.empty() || p >= logical.size()) break;
            macro.parameters.push_back(param);
            if (logical[p] == ')') {
              ok = true;
              ++p;
              break;
            }
            if (logical[p] != ',' || macro.parameters.size() > kMaxArguments) break;
            ++p;
          }
          if (!ok) errors.add(lineNumber, "bad parameter list in #define " + name);
        }
        while (p < logical.size() && isSpace(logical[p])) ++p;
        size_t end = logical.size();
        while (end > p && isSpace(logical[end - 1])) --end;
        macro.body = logical.substr(p, end - p);
        expander.macros[name] = std::move(macro);
      }
    } else if (directive.empty() && active) {
      std::vector<std::string> disabled;
      expander.expand(logical, disabled, 0, out);
    }
    out.append(static_cast<size_t>(joined), '\n');
    if (last) break;
    out += '\n';
  }
  if (!conditions.empty() && !expander.overflow) errors.add(line - 1, "#ifdef without #endif");
  return out;
}

}  // namespace shaderparse
