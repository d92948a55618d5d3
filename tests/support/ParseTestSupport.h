// ParseTestSupport: runs a text through the parser into a recording sink,
// and checks texts the parser must refuse.
#pragma once

#include <gtest/gtest.h>

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

// A text the parser must refuse, and what its first error says.
struct Refusal {
  const char* text;
  const char* error;
};

// Each text loads nothing and its first error holds the expected words.
template <size_t N>
void expectRefused(const Refusal (&cases)[N]) {
  for (const Refusal& c : cases) {
    auto r = run(c.text);
    EXPECT_FALSE(r.ok) << c.text;
    EXPECT_TRUE(r.calls.empty()) << c.text;
    ASSERT_FALSE(r.errors.empty()) << c.text;
    EXPECT_NE(r.errors[0].find(c.error), std::string::npos) << c.text << " gave " << r.errors[0];
  }
}

}  // namespace parsetest
