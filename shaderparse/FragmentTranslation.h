// FragmentTranslation: "!!TS1.0" programs as "!!ARBfp1.0" text, for
// drivers without NV_texture_shader.
//
// Stage n reads texture unit n with fragment.texcoord[n], as the texture
// shaders do. texture_2d() and texture_rectangle() sample their unit;
// offset_2d(texM, ...) and offset_rectangle(texM, ...) take stage M's
// (ds, dt) from its texel's first two components, put them through the
// stage's 2x2 matrix (s' = s + a1 ds + a3 dt, t' = t + a2 ds + a4 dt)
// and sample their unit at the displaced coordinates, per pixel. The
// matrix of stage n is program.local[n] = (a1, a2, a3, a4), set by the
// caller before each draw (the text's own matrix is the parsed stage's),
// as GL_OFFSET_TEXTURE_MATRIX_NV is set on the texture-shader path.
//
// The offset texel is read as it is stored: on this path the offsets live
// in a float texture (signed, unclamped) rather than a DSDT one.
//
// The colour is the primary colour modulated by every stage's texel that
// no offset stage consumes, as the conventional texture environment
// would do with GL_MODULATE on each unit. Everything else (dependent,
// dot-product, cull, pass-through, scaled offsets, 1D and cube maps) has
// no form here and is rejected with an error.
#pragma once

#include <string>

#include "shaderparse/ParseErrors.h"
#include "shaderparse/TextureShader.h"

namespace shaderparse {

// False with an error per stage that cannot be expressed; `text` is then
// left empty.
bool translateToArbFragment(const TextureShaderProgram& program, std::string& text, ParseErrors& errors);

// Parses a whole "!!TS1.0" text and translates it; false with errors when
// it does not parse, is another kind of program, or cannot be expressed.
bool translateTextureShaderText(const char* text, std::string& arb, ParseErrors& errors);

}  // namespace shaderparse
