// ParseErrors: the parser's error list. It keeps at most 32 strings; later
// errors are counted but dropped, so a hostile text cannot grow it.
#pragma once

#include <string>
#include <vector>

namespace shaderparse {

class ParseErrors {
 public:
  static constexpr int kMaxErrors = 32;

  // Adds "line N: message" (no line when line < 1).
  void add(int line, const std::string& message);
  void clear();
  bool empty() const { return total_ == 0; }
  // Every error seen, kept or not.
  int total() const { return total_; }
  const std::vector<std::string>& list() const { return list_; }

 private:
  std::vector<std::string> list_;
  int total_ = 0;
};

}  // namespace shaderparse
