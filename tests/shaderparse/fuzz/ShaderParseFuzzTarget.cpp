// libFuzzer target for the whole shader program parser: any bytes are one
// program text, parsed and emitted into a recording sink on the NV path
// and, translated, on the ARB path with tracked matrices.
#include <cstddef>
#include <cstdint>
#include <string>

#include "shaderparse/RecordingSink.h"
#include "shaderparse/ShaderParse.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  for (int path = 0; path < 2; ++path) {
    shaderparse::EmitOptions options;
    options.nvVertexProgram = path == 0;
    options.programId = 3;
    options.arb.tracked.push_back({0, shaderparse::gl::MODELVIEW_PROJECTION_NV, shaderparse::gl::IDENTITY_NV});
    options.arb.tracked.push_back({92, shaderparse::gl::TEXTURE, shaderparse::gl::INVERSE_NV});
    options.arb.genericAttributes = size > 0 ? data[0] << 8 : 0;
    shaderparse::ParseErrors errors;
    shaderparse::RecordingSink sink;
    const bool ok = shaderparse::parseAndEmit(text.c_str(), options, sink, errors);
    // A text that fails emits nothing, and the list stays bounded.
    if (!ok && !sink.calls.empty()) __builtin_trap();
    if (errors.list().size() > shaderparse::ParseErrors::kMaxErrors) __builtin_trap();
  }
  return 0;
}
