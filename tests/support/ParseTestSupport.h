// ParseTestSupport: runs a text through the parser into a recording sink.
#pragma once

#include <string>
#include <vector>

#include "shaderparse/RecordingSink.h"
#include "shaderparse/ShaderParse.h"

namespace parsetest {

struct Result {
  bool ok = false;
  std::vector<std::string> calls;
  std::vector<std::string> errors;
};

inline Result run(const char* text, const shaderparse::EmitOptions& options = {}) {
  shaderparse::ParseErrors errors;
  shaderparse::RecordingSink sink;
  Result result;
  result.ok = shaderparse::parseAndEmit(text, options, sink, errors);
  result.calls = sink.calls;
  result.errors = errors.list();
  return result;
}

inline shaderparse::EmitOptions arbOptions() {
  shaderparse::EmitOptions options;
  options.nvVertexProgram = false;
  return options;
}

// The text inside glLoadProgramNV(...)/glProgramStringARB(...).
inline std::string loadedText(const std::string& call) {
  const size_t open = call.find('"');
  const size_t close = call.rfind('"');
  return open == std::string::npos || close <= open ? std::string() : call.substr(open + 1, close - open - 1);
}

}  // namespace parsetest
