// Scanner: splits a preprocessed program body into tokens (names, numbers,
// punctuation) with their line numbers, and gives the parsers small
// accept/expect helpers that report into the error list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "shaderparse/ParseErrors.h"

namespace shaderparse {

enum class TokenKind { End, Name, Number, Punct };

struct Token {
  TokenKind kind = TokenKind::End;
  std::string text;
  double number = 0.0;
  int line = 0;
};

// What starts a comment running to the end of the line, besides the
// preprocessor's // and /* */: '#' in vertex programs, ';' in vs.1.0.
struct ScanRules {
  char lineComment = 0;
  bool newlineTokens = false;  // vs.1.0 ends instructions at line ends
};

class Scanner {
 public:
  Scanner(std::string_view text, int firstLine, ScanRules rules, ParseErrors& errors);

  const Token& peek(int ahead = 0) const;
  Token next();
  bool atEnd() const { return peek().kind == TokenKind::End; }
  int line() const { return peek().line; }

  // Consumes the punctuation or name if it is next.
  bool accept(const char* text);
  // Same, but reports an error when it is not; false then.
  bool expect(const char* text);
  // Reads a name; reports and returns "" otherwise.
  std::string expectName();
  // Reads an optionally signed number; reports and returns false otherwise.
  bool expectNumber(double& value);
  // Reads an unsigned integer in [0, limit]; reports and returns -1 otherwise.
  int expectIndex(int limit);
  // Skips tokens up to and including the next ';' (or newline token).
  void skipStatement();

  void error(const std::string& message) { errors_.add(line(), message); }
  void errorAt(int line, const std::string& message) { errors_.add(line, message); }
  ParseErrors& errors() { return errors_; }

 private:
  std::vector<Token> tokens_;
  size_t at_ = 0;
  ParseErrors& errors_;
  Token end_;
};

// "x" for a token, for messages.
std::string quote(const Token& token);

}  // namespace shaderparse
