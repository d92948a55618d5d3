// ShadowLight: the depth pass from the light, the copy into the depth map,
// and the projection of light-space textures onto the receivers.
#include "gfx/ShadowLight.h"

#include <GL/glu.h>

#include <cmath>
#include <cstring>

#include "gfx/DepthClear.h"
#include "gfx/ExtensionSetup.h"
#include "gfx/MathUtil.h"
#include "gfx/PixelBuffer.h"

ShadowCompare shadowCompareFor(const std::string& vendor, const std::string& extensions) {
  if (vendor == "ATI Technologies Inc.") return ShadowCompare::Arb;
  if (hasWord(extensions, "GL_SGIX_shadow")) return ShadowCompare::Sgix;
  if (hasWord(extensions, "GL_ARB_shadow")) return ShadowCompare::Arb;
  return ShadowCompare::None;
}

GLenum depthFormatFor(int bits) {
  switch (bits) {
    case 16: return GL_DEPTH_COMPONENT16;
    case 24: return GL_DEPTH_COMPONENT24;
    case 32: return GL_DEPTH_COMPONENT32;
    default: return GL_DEPTH_COMPONENT;
  }
}

void buildLightView(const Vec3& position, const Vec3& target, float out[16]) {
  // NOTE: the up vector is fixed rather than lightUp; a light looking along
  // x would get no side axis from it (a collapsed map), so it takes y there.
  const Vec3 back = normalized(position - target);
  const bool alongX = cross(Vec3(1, 0, 0), back).length() < 1e-4f;
  lookAtRotation(position, target, alongX ? Vec3(0, 1, 0) : Vec3(1, 0, 0), out);
  // The rotation composed with a translation by -target and then by
  // -position: translation -R target - R position. The depth pass and the
  // projection onto the receivers share this matrix, so shadows and the lit
  // disc agree. With the target at the origin it is the view from position.
  const Vec3 both = target + position;
  for (int row = 0; row < 3; ++row) {
    out[12 + row] = -(out[row] * both.x + out[4 + row] * both.y + out[8 + row] * both.z);
  }
}

void ShadowLight::createDepthMap(GLenum type) {
  depthMap.bind();
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
  glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);

  const GlStrings strings = currentGlStrings();
  compare = shadowCompareFor(strings.vendor, strings.extensions);
  if (compare == ShadowCompare::Arb) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE_ARB, GL_COMPARE_R_TO_TEXTURE_ARB);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_FUNC_ARB, GL_LEQUAL);
  } else if (compare == ShadowCompare::Sgix) {
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_SGIX, 1);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_OPERATOR_SGIX, GL_TEXTURE_LEQUAL_R_SGIX);
  }

  GLint bits = 0;
  glGetIntegerv(GL_DEPTH_BITS, &bits);
  glTexImage2D(GL_TEXTURE_2D, 0, GLint(depthFormatFor(bits)), mapWidth, mapHeight, 0, GL_DEPTH_COMPONENT, type,
               nullptr);
}

void ShadowLight::beginShadowPass(PixelBuffer& pixelBuffer) {
  pixelBuffer.makeCurrent();
  glViewport(0, 0, mapWidth, mapHeight);
  clearDepth();
  glDisable(GL_BLEND);
  glEnable(GL_DEPTH_TEST);
  glDepthMask(GL_TRUE);
  glEnable(GL_POLYGON_OFFSET_FILL);
  glPolygonOffset(offsetFactor, offsetUnits);
  glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_FALSE);
  glDisable(GL_LIGHTING);

  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  gluPerspective(fieldOfView, 1.0, nearPlane, farPlane);
  glGetFloatv(GL_PROJECTION_MATRIX, lightProjection);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  buildLightView(position, target, lightView);
  glMultMatrixf(lightView);
}

void ShadowLight::endShadowPass(PixelBuffer& pixelBuffer) {
  depthMap.bind();
  glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, mapWidth, mapHeight);
  glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  glDisable(GL_POLYGON_OFFSET_FILL);
  // NOTE: the window's context reads the map next; the copy must have
  // reached the shared texture before the switch.
  glFlush();
  pixelBuffer.restore();
}

void ShadowLight::applyTexGen() const {
  static const GLfloat planes[4][4] = {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}};
  static const GLenum coords[4] = {GL_S, GL_T, GL_R, GL_Q};
  static const GLenum gens[4] = {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T, GL_TEXTURE_GEN_R, GL_TEXTURE_GEN_Q};
  for (int i = 0; i < 4; ++i) {
    glEnable(gens[i]);
    glTexGeni(coords[i], GL_TEXTURE_GEN_MODE, GL_EYE_LINEAR);
    glTexGenfv(coords[i], GL_EYE_PLANE, planes[i]);
  }
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glTranslatef(0.5f, 0.5f, 0.5f);
  glScalef(0.5f, 0.5f, 0.5f);
  gluPerspective(fieldOfView, 1.0, nearPlane, farPlane);
  glMultMatrixf(lightView);
}

void ShadowLight::clearTexGen() {
  glDisable(GL_TEXTURE_GEN_S);
  glDisable(GL_TEXTURE_GEN_T);
  glDisable(GL_TEXTURE_GEN_R);
  glDisable(GL_TEXTURE_GEN_Q);
  glMatrixMode(GL_TEXTURE);
  glLoadIdentity();
  glMatrixMode(GL_MODELVIEW);
}

void ShadowLight::projectOnUnit(GLenum unit, TextureHandle& texture) const {
  glActiveTextureARB(unit);
  texture.bind();
  glEnable(texture.target);
  glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
  applyTexGen();
  glMatrixMode(GL_MODELVIEW);
}

void ShadowLight::releaseUnit(GLenum unit) {
  glActiveTextureARB(unit);
  glDisable(GL_TEXTURE_2D);
  clearTexGen();
}

void ShadowLight::setSpotDirection(int lightIndex) const {
  const Vec3 d = normalized(position - target);
  const GLfloat direction[3] = {d.x, d.y, d.z};
  glLightfv(GLenum(GL_LIGHT0 + lightIndex), GL_SPOT_DIRECTION, direction);
}

void ShadowLight::setLightPosition(int lightIndex, float x, float y, float z) const {
  const GLfloat where[4] = {x, y, z, 1.0f};
  glPushMatrix();
  glTranslatef(position.x, position.y, position.z);
  glLightfv(GLenum(GL_LIGHT0 + lightIndex), GL_POSITION, where);
  glPopMatrix();
}
