// Scanner: tokens for the program parsers.
#include "shaderparse/Scanner.h"

#include <cmath>
#include <cstdlib>

namespace shaderparse {
namespace {

constexpr size_t kMaxTokens = 1 << 18;

bool isIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isIdentChar(char c) { return isIdentStart(c) || isDigit(c); }

}  // namespace

Scanner::Scanner(std::string_view text, int firstLine, ScanRules rules, ParseErrors& errors)
    : errors_(errors) {
  int line = firstLine;
  size_t i = 0;
  int badCharacters = 0;
  while (i < text.size() && tokens_.size() < kMaxTokens) {
    const char c = text[i];
    if (c == '\n') {
      if (rules.newlineTokens && (tokens_.empty() || tokens_.back().text != "\n"))
        tokens_.push_back({TokenKind::Punct, "\n", 0.0, line});
      ++line;
      ++i;
      continue;
    }
    if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v') {
      ++i;
      continue;
    }
    if (rules.lineComment != 0 && c == rules.lineComment) {
      while (i < text.size() && text[i] != '\n') ++i;
      continue;
    }
    Token token;
    token.line = line;
    if (isIdentStart(c)) {
      size_t start = i;
      while (i < text.size() && isIdentChar(text[i])) ++i;
      token.kind = TokenKind::Name;
      token.text = std::string(text.substr(start, i - start));
    } else if (isDigit(c) || (c == '.' && i + 1 < text.size() && isDigit(text[i + 1]) &&
                              (tokens_.empty() || tokens_.back().kind == TokenKind::Punct))) {
      size_t start = i;
      while (i < text.size() && isDigit(text[i])) ++i;
      if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i;
      }
      if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        size_t e = i + 1;
        if (e < text.size() && (text[e] == '+' || text[e] == '-')) ++e;
        if (e < text.size() && isDigit(text[e])) {
          i = e;
          while (i < text.size() && isDigit(text[i])) ++i;
        }
      }
      token.kind = TokenKind::Number;
      token.text = std::string(text.substr(start, i - start));
      token.number = std::strtod(token.text.c_str(), nullptr);
      if (!std::isfinite(token.number)) {
        errors_.add(line, "number out of range: " + token.text);
        token.number = 0.0;
      }
    } else if (static_cast<unsigned char>(c) >= 33 && static_cast<unsigned char>(c) < 127) {
      token.kind = TokenKind::Punct;
      token.text = std::string(1, c);
      ++i;
    } else {
      if (badCharacters++ == 0) errors_.add(line, "unexpected character code " +
                                                std::to_string(static_cast<unsigned char>(c)));
      ++i;
      continue;
    }
    tokens_.push_back(std::move(token));
  }
  if (tokens_.size() >= kMaxTokens) errors_.add(line, "program text too long");
  end_.line = line;
}

const Token& Scanner::peek(int ahead) const {
  size_t index = at_ + static_cast<size_t>(ahead);
  return index < tokens_.size() ? tokens_[index] : end_;
}

Token Scanner::next() {
  Token token = peek();
  if (at_ < tokens_.size()) ++at_;
  return token;
}

bool Scanner::accept(const char* text) {
  const Token& token = peek();
  if (token.kind == TokenKind::End || token.kind == TokenKind::Number || token.text != text) return false;
  ++at_;
  return true;
}

bool Scanner::expect(const char* text) {
  if (accept(text)) return true;
  error(std::string("expected '") + (text[0] == '\n' ? "end of line" : text) + "', found " + quote(peek()));
  return false;
}

std::string Scanner::expectName() {
  if (peek().kind == TokenKind::Name) return next().text;
  error("expected a name, found " + quote(peek()));
  return std::string();
}

bool Scanner::expectNumber(double& value) {
  bool negative = false;
  if (accept("-")) negative = true;
  else accept("+");
  if (peek().kind != TokenKind::Number) {
    error("expected a number, found " + quote(peek()));
    return false;
  }
  value = next().number;
  if (negative) value = -value;
  return true;
}

int Scanner::expectIndex(int limit) {
  const Token& token = peek();
  if (token.kind != TokenKind::Number || token.text.find_first_not_of("0123456789") != std::string::npos ||
      token.text.size() > 9 || std::atoi(token.text.c_str()) > limit) {
    error("expected an index from 0 to " + std::to_string(limit) + ", found " + quote(token));
    return -1;
  }
  return std::atoi(next().text.c_str());
}

void Scanner::skipStatement() {
  while (!atEnd()) {
    Token token = next();
    if (token.kind == TokenKind::Punct && (token.text == ";" || token.text == "\n")) return;
  }
}

std::string quote(const Token& token) {
  if (token.kind == TokenKind::End) return "end of text";
  if (token.text == "\n") return "end of line";
  return "'" + token.text + "'";
}

}  // namespace shaderparse
