// OffsetMap: offsets from time and jitter, uploaded as DSDT on NVIDIA and
// as floats on the fragment program path.
#include "gfx/OffsetMap.h"

#include <cmath>

#include "gfx/ImageLoading.h"
#include "gfx/MathUtil.h"
#include "gfx/Random.h"

OffsetMap::OffsetMap(int32_t width, int32_t height) : OffsetMap(width, height, distortionPath()) {}

OffsetMap::OffsetMap(int32_t width, int32_t height, bool nvidia)
    : OffsetMap(width, height, nvidia ? DistortionPath::TextureShaders : DistortionPath::Grid) {}

OffsetMap::OffsetMap(int32_t width, int32_t height, DistortionPath path)
    : nvidia(path == DistortionPath::TextureShaders),
      floatTexture(path == DistortionPath::FragmentProgram),
      mapWidth(width > 0 ? width : 1),
      mapHeight(height > 0 ? height : 1),
      offsets(size_t(mapWidth) * size_t(mapHeight) * size_t(components), 0.0f) {
  if (!nvidia && !floatTexture) return;
  texture.bind();
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
  upload();
}

void OffsetMap::upload() {
  if (!nvidia && !floatTexture) return;
  texture.bind();
  if (floatTexture)
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RG32F, mapWidth, mapHeight, 0, GL_RG, GL_FLOAT, offsets.data());
  else
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(format), mapWidth, mapHeight, 0, format, GL_FLOAT, offsets.data());
}

void OffsetMap::update(float t) {
  const float j = remap(float(zolt::random() % 1000), 0.0f, 1000.0f, 0.0f, jitter);
  const float amplitude = 2.0f * (j + std::cos(5.0f * t)) * 3.14159f;
  const float f = 1.0f - fade;
  // NOTE: rows run over the map's height (a one-row map sits at the middle);
  // the radius grows from the previous texel's displacement, not from the
  // column, which gives the ripple its smear.
  const float lastRow = mapHeight > 1 ? float(mapHeight - 1) : 0.0f;
  float prev = 0.0f;
  size_t at = 0;
  for (int32_t i = 0; i < mapHeight; ++i) {
    const float gy = lastRow > 0.0f ? remap(float(i), 0.0f, lastRow, -1.0f, 1.0f) : 0.0f;
    for (int32_t k = 0; k < mapWidth; ++k, at += size_t(components)) {
      const float r = remap(std::sqrt(prev * prev + gy * gy), 0.0f, 1.4142135f, 0.0f, 3.14159f);
      float dx = remap(std::cos(2.0f * t + r), -1.0f, 1.0f, 0.0f, amplitude);
      const float dy = remap(std::sin(3.0f * t + r), -1.0f, 1.0f, 0.0f, amplitude);
      if (k == mapWidth - 1) dx = 0.0f;
      offsets[at] = dx * f * scaleX;
      offsets[at + 1] = dy * f * scaleY;
      prev = dy;
    }
  }
  upload();
}
