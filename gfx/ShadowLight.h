// ShadowLight: a spotlight that casts shadows through a depth map.
//
// Each shadowed frame draws the casters from the light into the shared
// pixel buffer (beginShadowPass .. endShadowPass), which copies their depth
// into `depthMap`; the receivers are then drawn with applyTexGen active on
// the units that hold the depth map (and the circle mask), so that the
// depth comparison leaves lit texels white and shadowed ones black. The
// comparison is the driver's: the SGIX form where offered, else the ARB
// form (Mesa); a driver with neither leaves receivers unshadowed
// (`compare` is None and the effects skip the depth unit). The registry
// makes "ShadowLight" and owns it. Needs a current GL context.
#pragma once

#include <cstdint>
#include <string>

#include "gfx/GlExtensions.h"
#include "gfx/TextureHandle.h"
#include "gfx/Vec3.h"

class PixelBuffer;

enum class ShadowCompare { None, Arb, Sgix };

// The comparison a driver gets: the ARB form for "ATI Technologies Inc."
// (the whole string), else SGIX where GL_SGIX_shadow is offered, else ARB
// where GL_ARB_shadow is, else none.
ShadowCompare shadowCompareFor(const std::string& vendor, const std::string& extensions);
// The depth texture's internal format for a depth buffer of `bits`:
// GL_DEPTH_COMPONENT16/24/32, or the unsized GL_DEPTH_COMPONENT otherwise.
GLenum depthFormatFor(int bits);
// The light's view, column-major: rows turned to look along `target` -
// `position`, translation -R target - R position; its x axis from the fixed
// up vector (1, 0, 0) (or (0, 1, 0) when the light looks along x, where the
// first gives no axis).
void buildLightView(const Vec3& position, const Vec3& target, float out[16]);

class ShadowLight {
 public:
  ShadowLight() = default;
  virtual ~ShadowLight() = default;
  ShadowLight(const ShadowLight&) = delete;
  ShadowLight& operator=(const ShadowLight&) = delete;

  // Defines depthMap at mapWidth x mapHeight with comparison set up, for
  // the current context's driver and depth buffer; `type` is the pixel type.
  void createDepthMap(GLenum type);
  // Makes the pixel buffer current and sets up a depth-only pass from the
  // light into its lower-left mapWidth x mapHeight; the caller draws the
  // casters.
  void beginShadowPass(PixelBuffer& pixelBuffer);
  // Copies the depth into depthMap and switches back to the window.
  void endShadowPass(PixelBuffer& pixelBuffer);
  // Eye-linear texture coordinates and a texture matrix that project the
  // active unit's texture from the light. NOTE: call while the model-view
  // holds the camera's view only: eye planes are fixed when they are set.
  // Leaves GL_TEXTURE as the matrix mode.
  void applyTexGen() const;
  // Undoes applyTexGen on the active unit (generation off, identity
  // texture matrix); leaves GL_MODELVIEW as the matrix mode.
  static void clearTexGen();
  // On texture unit `unit`: `texture` bound and enabled, modulating, and
  // projected from the light (applyTexGen); back in GL_MODELVIEW.
  void projectOnUnit(GLenum unit, TextureHandle& texture) const;
  // On texture unit `unit`: the 2D target off and clearTexGen.
  static void releaseUnit(GLenum unit);
  // GL_SPOT_DIRECTION of the light: position - target, normalised (zero
  // left as it is).
  void setSpotDirection(int lightIndex) const;
  // GL_POSITION (x, y, z, 1) of the light, relative to `position`.
  void setLightPosition(int lightIndex, float x, float y, float z) const;

  Vec3 position{0.0f, 0.0f, -10.0f};
  Vec3 target{0.0f, 0.0f, 0.0f};
  Vec3 lightUp{0.0f, 1.0f, 0.0f};  // stored; the view has its own up
  float colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
  float nearPlane = 1.0f;
  float farPlane = 100.0f;
  float fieldOfView = 60.0f;  // vertical, degrees
  TextureHandle depthMap{GL_TEXTURE_2D};
  float lightView[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  float lightProjection[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
  int32_t mapWidth = 512;
  int32_t mapHeight = 512;
  float offsetUnits = 4.0f;
  float offsetFactor = 1.1f;
  ShadowCompare compare = ShadowCompare::None;  // set by createDepthMap
};
