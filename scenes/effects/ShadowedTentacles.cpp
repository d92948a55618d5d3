// ShadowedTentacles: the flickering three-spot light, the depth pass of the
// ball's moved points and its lit, shadow-cut lines.
#include "scenes/effects/ShadowedTentacles.h"

#include <cmath>

#include "gfx/DepthClear.h"
#include "gfx/LineDrawing.h"
#include "gfx/MathUtil.h"
#include "gfx/PixelBuffer.h"
#include "gfx/ShadowLight.h"
#include "gfx/TextureHandle.h"
#include "show/ResourceRegistry.h"

namespace {

const float kThird = 1.0f / 3.0f;

// True when blending a transparent black leaves every channel as it was:
// the source term is zero, so the destination factor must be one.
bool blendKeepsDestination() {
  GLint names[4] = {GL_BLEND_EQUATION_RGB, GL_BLEND_EQUATION_ALPHA, GL_BLEND_DST_RGB, GL_BLEND_DST_ALPHA};
  GLint values[4] = {0, 0, 0, 0};
  for (int i = 0; i < 4; ++i) glGetIntegerv(GLenum(names[i]), &values[i]);
  auto keeps = [](GLint factor) {
    return factor == GL_ONE || factor == GL_ONE_MINUS_SRC_ALPHA || factor == GL_ONE_MINUS_SRC_COLOR;
  };
  return values[0] == GL_FUNC_ADD && values[1] == GL_FUNC_ADD && keeps(values[2]) && keeps(values[3]);
}

}  // namespace

int tentacleLightSpot(float o) {
  if (o < kThird) return 0;
  if (o < 2.0f * kThird) return 1;
  return 2;
}

float tentacleLightIntensity(float o) {
  const float wave = std::sin(9.42477f * o);
  // NOTE: the plain wave is negative over the whole second third, so the
  // second spot would never light; it gets its own flash instead.
  return tentacleLightSpot(o) == 1 ? -wave : wave;
}

ShadowedTentacles::ShadowedTentacles(ResourceRegistry* registry, bool shadows, int screenWidth)
    : tentacles(registry), shadows(shadows), screenWidth(screenWidth) {
  if (!registry) return;
  circleMask = static_cast<TextureHandle*>(registry->get("CircleMask"));
  if (shadows) {
    light = static_cast<ShadowLight*>(registry->get("ShadowLight"));
    pixelBuffer = static_cast<PixelBuffer*>(registry->get("PBuffer512x512"));
  }
}

void ShadowedTentacles::shadowPass(float a, float b) {
  tentacles.updateCpu(b * 3.14159f);
  ringRotation(a, a, a, spin);
  const float o = std::fmod(0.05f * a * a, 1.3333334f);
  intensity = tentacleLightIntensity(o);
  lightPosition = rotatePoint(spin, lightSpots[tentacleLightSpot(o)]);
  if (!light) return;
  light->colour[3] = intensity;
  light->position = lightPosition;
  light->target = Vec3(0.0f, 0.0f, 0.0f);
  light->fieldOfView = 45.0f;
  light->nearPlane = 1.0f;
  light->farPlane = farPlane;
  light->offsetUnits = 4.0f;
  light->offsetFactor = 1.1f;
  if (intensity > 0.0f && shadows && pixelBuffer) {
    light->beginShadowPass(*pixelBuffer);
    tentacles.drawMoved();
    light->endShadowPass(*pixelBuffer);
  }
}

void ShadowedTentacles::spinTo(float a) {
  tentacles.update(a);
  ringRotation(a, a, a, spin);
}

void ShadowedTentacles::shadowReceivingDraw() {
  const bool depthUnit = light && pixelBuffer && light->compare != ShadowCompare::None;
  const bool maskUnit = light && circleMask;
  if (depthUnit) light->projectOnUnit(GL_TEXTURE0_ARB, light->depthMap);
  if (maskUnit) light->projectOnUnit(GL_TEXTURE1_ARB, *circleMask);
  tentacles.drawMoved();
  if (maskUnit) ShadowLight::releaseUnit(GL_TEXTURE1_ARB);
  if (depthUnit) ShadowLight::releaseUnit(GL_TEXTURE0_ARB);
  glActiveTextureARB(GL_TEXTURE0_ARB);
}

int ShadowedTentacles::render(float) {
  clearDepth();
  glEnable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
  Tentacle::drawQuads = true;
  glColor4f(0, 0, 0, 0);
  // The fill blends a transparent black: under a blend that keeps the
  // destination it only writes depth, so the colour work is skipped.
  const bool depthOnly = blendKeepsDestination();
  if (depthOnly) glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
  tentacles.drawMoved();
  if (depthOnly) glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);

  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  glDepthFunc(GL_LEQUAL);
  glDepthMask(GL_FALSE);
  Tentacle::drawQuads = false;

  const float alpha = std::fmax(0.0f, intensity) * 0.125f;
  glColor4f(0, 1, 0, alpha);
  setLineWidth(float(screenWidth / 160));
  shadowReceivingDraw();
  glColor4f(0, 1, 0, alpha);
  setLineWidth(float(screenWidth / 640));
  shadowReceivingDraw();

  Tentacle::drawQuads = true;
  glDepthFunc(GL_LESS);
  glEnable(GL_DEPTH_TEST);
  glDepthMask(GL_TRUE);
  glEnable(GL_BLEND);
  return 0;
}

void ShadowedTentacles::glow(float a) {
  glDisable(GL_DEPTH_TEST);
  glBlendFunc(GL_SRC_ALPHA, GL_ONE);
  Tentacle::drawQuads = false;
  int finalWidth;
  if (shadows) {
    setLineWidth(float(screenWidth / 80));
    glColor4f(0, 1, 0, 0.03125f);
    tentacles.render(a);
    setLineWidth(float(screenWidth / 160));
    glColor4f(1, 1, 1, 0.0625f);
    tentacles.render(a);
    finalWidth = screenWidth / 640;
  } else {
    setLineWidth(float(screenWidth / 160));
    glColor4f(1, 1, 1, 0.03125f);
    tentacles.render(a);
    finalWidth = screenWidth / 320;
  }
  setLineWidth(float(finalWidth));
  glColor4f(0, 1, 0, 0.125f);
  tentacles.render(a);
  glColor4f(1, 1, 1, 0.5f);
  Tentacle::drawQuads = true;
}
