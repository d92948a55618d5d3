// ParseErrors: bounded error list.
#include "shaderparse/ParseErrors.h"

namespace shaderparse {

void ParseErrors::add(int line, const std::string& message) {
  ++total_;
  if (static_cast<int>(list_.size()) >= kMaxErrors) return;
  // NOTE: messages quote pieces of the text; cap them so the list stays small.
  std::string text = line > 0 ? "line " + std::to_string(line) + ": " : std::string();
  text += message.size() > 200 ? message.substr(0, 200) + "..." : message;
  list_.push_back(std::move(text));
}

void ParseErrors::clear() {
  list_.clear();
  total_ = 0;
}

}  // namespace shaderparse
