// OffsetProgram: a "!!TS1.0" offset program run as its translation to an
// ARB fragment program (shaderparse/FragmentTranslation.h), for drivers
// without texture shaders. Unit 0 holds the offset map's float texture,
// unit 1 the picture; the offset matrix is set per draw, as the texture
// shader path sets GL_OFFSET_TEXTURE_MATRIX_NV. Needs a current GL context.
#pragma once

#include <string>

#include "gfx/GlExtensions.h"

class OffsetProgram {
 public:
  OffsetProgram() = default;
  ~OffsetProgram();
  OffsetProgram(const OffsetProgram&) = delete;
  OffsetProgram& operator=(const OffsetProgram&) = delete;

  // Translates and loads `text`; false (with the reason printed) when the
  // translation or the driver rejects it, and the program stays unready.
  bool load(const char* text);
  // Binds and enables the program with offset matrix (a1, a2, a3, a4) for
  // the picture on unit 1.
  void begin(const float matrix[4]) const;
  void end() const;

  GLuint id = 0;
  bool ready = false;
  std::string arbText;
};
