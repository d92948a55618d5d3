// ScreenDistortion: texture-shader, fragment-program and strip-grid offset
// distortion.
#include "gfx/ScreenDistortion.h"

#include "gfx/ImageLoading.h"
#include "gfx/NvParse.h"
#include "gfx/ScreenQuad.h"

ScreenDistortion::ScreenDistortion(int32_t width, int32_t height)
    : ScreenDistortion(width, height, distortionPath()) {}

ScreenDistortion::ScreenDistortion(int32_t width, int32_t height, bool nvidia)
    : ScreenDistortion(width, height, nvidia ? DistortionPath::TextureShaders : DistortionPath::Grid) {}

ScreenDistortion::ScreenDistortion(int32_t width, int32_t height, DistortionPath path)
    : screenTexture(width, height, 0),
      path(path),
      nvidia(path == DistortionPath::TextureShaders),
      rectangle(screenTextureTarget(width, height) != GL_TEXTURE_2D),
      offsetMatrix{float(width), 0.0f, 0.0f, float(height)},
      width(width),
      height(height) {
  if (nvidia) compileProgram();
  // A program the driver refuses leaves the grid, which every driver draws.
  if (path == DistortionPath::FragmentProgram && !fragmentProgram.load(programText(rectangle)))
    this->path = DistortionPath::Grid;
}

const char* ScreenDistortion::programText(bool rectangle) {
  return rectangle ? "!!TS1.0\t\t\t\t\t\t\t\t\ntexture_2d();\t\t\t\t\t\t\t\noffset_rectangle(tex0,1,0,0,1);\t\t\n"
                     "nop();                                 \nnop();                                 \n"
                   : "!!TS1.0\t\t\t\t\t\t\t\t\ntexture_2d();\t\t\t\t\t\t\t\noffset_2d(tex0,1,0,0,1);\t\t\t\t\n"
                     "nop();\t\t\t\t\t\t\t\t\t\nnop();\t\t\t\t\t\t\t\t\t\n";
}

void ScreenDistortion::compileProgram(shaderparse::NvCallSink* sink) {
  program.begin();
  if (sink) nvparse(programText(rectangle), *sink, shaderparse::EmitOptions{});
  else nvparse(programText(rectangle));
  program.end();
}

int ScreenDistortion::render(float t) {
  // The frame so far goes to the driver before the map is worked out: a
  // software rasteriser draws it meanwhile instead of after the copy asks.
  glFlush();
  if (offsetMap) offsetMap->update(t);
  screenTexture.copy(0, 0, 0, 0, -1, -1);
  glClear(GL_COLOR_BUFFER_BIT);
  setScreenOrtho(0.0, width, 0.0, height);
  if (nvidia) drawWithTextureShaders();
  else if (path == DistortionPath::FragmentProgram && offsetMap && offsetMap->floatTexture) drawWithFragmentProgram();
  else drawGrid();
  return 0;
}

void ScreenDistortion::drawWithTextureShaders() {
  glActiveTextureARB(GL_TEXTURE0_ARB);
  if (offsetMap) {
    glEnable(offsetMap->texture.target);
    offsetMap->texture.bind();
  }
  glActiveTextureARB(GL_TEXTURE1_ARB);
  screenTexture.enable();
  screenTexture.bind();
  glEnable(GL_TEXTURE_SHADER_NV);
  program.draw();
  if (rectangle) {
    // The program leaves unit 0 active; the matrix belongs to unit 1's stage.
    glActiveTextureARB(GL_TEXTURE1_ARB);
    glTexEnvfv(GL_TEXTURE_SHADER_NV, GL_OFFSET_TEXTURE_MATRIX_NV, offsetMatrix);
  }
  drawOffsetQuad();
  glActiveTextureARB(GL_TEXTURE1_ARB);
  screenTexture.disable();
  glActiveTextureARB(GL_TEXTURE0_ARB);
  if (offsetMap) glDisable(offsetMap->texture.target);
  glDisable(GL_TEXTURE_SHADER_NV);
}

void ScreenDistortion::drawWithFragmentProgram() {
  glActiveTextureARB(GL_TEXTURE0_ARB);
  offsetMap->texture.bind();
  glActiveTextureARB(GL_TEXTURE1_ARB);
  screenTexture.bind();
  // The offsets are pixels: a rectangle frame takes them as they are, a 2D
  // one as fractions of its size.
  const float matrix[4] = {rectangle ? 1.0f : 1.0f / float(width), 0.0f, 0.0f,
                           rectangle ? 1.0f : 1.0f / float(height)};
  fragmentProgram.begin(matrix);
  drawOffsetQuad();
  fragmentProgram.end();
  glActiveTextureARB(GL_TEXTURE0_ARB);
}

// The frame over the output, unit 0 reading the map over the whole of it,
// unit 1 the frame texture in its own coordinates.
void ScreenDistortion::drawOffsetQuad() const {
  const float s = rectangle ? float(width) : 1.0f;
  const float u = rectangle ? float(height) : 1.0f;
  glBegin(GL_QUADS);
  glMultiTexCoord2fARB(GL_TEXTURE0_ARB, 0.0f, 0.0f);
  glMultiTexCoord2fARB(GL_TEXTURE1_ARB, 0.0f, 0.0f);
  glVertex2i(0, 0);
  glMultiTexCoord2fARB(GL_TEXTURE0_ARB, 1.0f, 0.0f);
  glMultiTexCoord2fARB(GL_TEXTURE1_ARB, s, 0.0f);
  glVertex2i(width, 0);
  glMultiTexCoord2fARB(GL_TEXTURE0_ARB, 1.0f, 1.0f);
  glMultiTexCoord2fARB(GL_TEXTURE1_ARB, s, u);
  glVertex2i(width, height);
  glMultiTexCoord2fARB(GL_TEXTURE0_ARB, 0.0f, 1.0f);
  glMultiTexCoord2fARB(GL_TEXTURE1_ARB, 0.0f, u);
  glVertex2i(0, height);
  glEnd();
}

void ScreenDistortion::drawGrid() {
  const int32_t columns = offsetMap ? offsetMap->mapWidth : 1;
  const int32_t rows = offsetMap ? offsetMap->mapHeight : 1;
  auto offset = [&](int64_t index, int c) { return offsetMap ? offsetMap->offsetAt(index, c) : 0.0f; };
  // Offsets are in pixels; a 2D frame texture takes them as fractions.
  const float toS = rectangle ? 1.0f : 1.0f / float(width);
  const float toT = rectangle ? 1.0f : 1.0f / float(height);
  const float w = float(width) / float(columns);
  const float h = float(height) / float(rows);

  screenTexture.enable();
  screenTexture.bind();
  for (int32_t i = 0; i < rows; ++i) {
    const float y0 = float(i) * h;
    const float y1 = float(i + 1) * h;
    glBegin(GL_QUAD_STRIP);
    for (int32_t k = 0; k <= columns; ++k) {
      const float x = float(k) * w;
      // Flat reads: the strip's last column takes the next row's first
      // texel, and the grid's top edge lies past the map (no offset).
      const int64_t lower = int64_t(i) * columns + k;
      const int64_t upper = lower + columns;
      glTexCoord2f((x + offset(lower, 0)) * toS, (y0 + offset(lower, 1)) * toT);
      glVertex2f(x, y0);
      glTexCoord2f((x + offset(upper, 0)) * toS, (y1 + offset(upper, 1)) * toT);
      glVertex2f(x, y1);
    }
    glEnd();
  }
  screenTexture.disable();
}
