// VpText: writes a VertexProgram back as "!!VP1.0" / "!!VSP1.0" text, the
// form glLoadProgramNV takes (vs.1.0 programs reach the driver this way).
#pragma once

#include <string>

#include "shaderparse/VertexProgram.h"

namespace shaderparse {

std::string writeVpText(const VertexProgram& program);

// Shared with the ARB writer: ".x", ".xyzw" or "" for the identity.
std::string vpSwizzleSuffix(const VpSource& source);
// ".xz" or "" for all four.
std::string vpMaskSuffix(std::uint8_t mask);

}  // namespace shaderparse
