// CircleMask: building and uploading the disc picture.
#include "gfx/CircleMask.h"

#include <cmath>
#include <utility>

std::vector<unsigned char> circleMaskImage() {
  const int n = circleMaskSize;
  std::vector<unsigned char> image(size_t(n) * n, 0);
  for (int r = 0; r < n; ++r) {
    // Half the chord of the disc on this row, in texels.
    const double x = (r - 256) * 0.00390625;
    const double h = std::cos(std::asin(x)) * 255.0;
    int a = int(256.0 - h);
    int b = int(h + 256.0);
    if (b < a) std::swap(a, b);
    for (int c = a; c < b; ++c) image[size_t(r) * n + size_t(c)] = 255;
  }
  // The border stays black so clamped lookups outside give black.
  for (int c = 0; c < n; ++c) {
    image[size_t(c)] = 0;
    image[size_t(n - 1) * n + size_t(c)] = 0;
  }
  for (int r = 0; r < n; ++r) {
    image[size_t(r) * n] = 0;
    image[size_t(r) * n + size_t(n - 1)] = 0;
  }
  return image;
}

void uploadCircleMask(TextureHandle& texture) {
  const std::vector<unsigned char> image = circleMaskImage();
  texture.bind();
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  glTexImage2D(GL_TEXTURE_2D, 0, GL_LUMINANCE, circleMaskSize, circleMaskSize, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE,
               image.data());
}
