// The shadow-map light: which comparison and depth format a driver gets,
// the light's view, the registry's row, and the projection onto receivers.
#include <gtest/gtest.h>

#include <cmath>

#include "gfx/ShadowLight.h"
#include "show/ResourceRegistry.h"
#include "support/GlTestContext.h"

namespace {

Vec3 transform(const float m[16], const Vec3& p) {
  return Vec3(m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
              m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]);
}

void expectNear(const Vec3& a, const Vec3& b, float tolerance) {
  EXPECT_NEAR(a.x, b.x, tolerance);
  EXPECT_NEAR(a.y, b.y, tolerance);
  EXPECT_NEAR(a.z, b.z, tolerance);
}

TEST(ShadowLightChoice, ComparisonByVendorAndExtensionsAndDepthFormatByBits) {
  const std::string both = "GL_ARB_depth_texture GL_ARB_shadow GL_SGIX_shadow";
  EXPECT_EQ(shadowCompareFor("ATI Technologies Inc.", ""), ShadowCompare::Arb);
  EXPECT_EQ(shadowCompareFor("ATI Technologies Inc", both), ShadowCompare::Sgix);
  EXPECT_EQ(shadowCompareFor("NVIDIA Corporation", both), ShadowCompare::Sgix);
  EXPECT_EQ(shadowCompareFor("Mesa", "GL_ARB_depth_texture GL_ARB_shadow"), ShadowCompare::Arb);
  // The ambient extension alone is not the comparison.
  EXPECT_EQ(shadowCompareFor("Mesa", "GL_ARB_shadow_ambient GL_SGIX_shadow_ambient"), ShadowCompare::None);

  EXPECT_EQ(depthFormatFor(16), GLenum(GL_DEPTH_COMPONENT16));
  EXPECT_EQ(depthFormatFor(24), GLenum(GL_DEPTH_COMPONENT24));
  EXPECT_EQ(depthFormatFor(32), GLenum(GL_DEPTH_COMPONENT32));
  for (int bits : {0, 8, 15}) EXPECT_EQ(depthFormatFor(bits), GLenum(GL_DEPTH_COMPONENT)) << bits;
}

TEST(ShadowLightView, TranslatedByTargetAndPositionLookingAlongTheirDifference) {
  struct Case {
    Vec3 position, target;
  };
  // The field's light (target off the origin), the tentacles' (at it), and
  // one looking straight along x, where the fixed up vector gives no axis.
  for (const Case& c : {Case{Vec3(50, 75, 0), Vec3(0, 25, 0)}, Case{Vec3(-22, -12.702f, 3), Vec3(0, 0, 0)},
                        Case{Vec3(40, 0, 0), Vec3(0, 0, 0)}}) {
    float view[16];
    buildLightView(c.position, c.target, view);
    // The translation is -R target - R position: the eye at their sum.
    const Vec3 eye = c.position + c.target;
    expectNear(transform(view, eye), Vec3(0, 0, 0), 1e-4f);
    const float distance = (c.target - c.position).length();
    expectNear(transform(view, eye + c.target - c.position), Vec3(0, 0, -distance), 1e-3f);
    // Rows orthonormal: a rotation, no stretch.
    for (int a = 0; a < 3; ++a) {
      for (int b = 0; b < 3; ++b) {
        const float d = view[a] * view[b] + view[4 + a] * view[4 + b] + view[8 + a] * view[8 + b];
        EXPECT_NEAR(d, a == b ? 1.0f : 0.0f, 1e-5f);
      }
    }
  }
  // Off the x axis the side axis is (1, 0, 0) x back: no x component.
  float view[16];
  buildLightView(Vec3(50, 75, 0), Vec3(0, 25, 0), view);
  EXPECT_NEAR(view[0], 0.0f, 1e-6f);
}

class ShadowLightGl : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!testsupport::ensureGlContext()) GTEST_SKIP() << "no OpenGL context";
  }
};

TEST_F(ShadowLightGl, RegistryRowSizesTheMapByQualityWithComparisonOn) {
  for (int good : {0, 1}) {
    ResourceRegistry registry;
    registry.good = good;
    auto* light = static_cast<ShadowLight*>(registry.get("ShadowLight"));
    ASSERT_NE(light, nullptr);
    EXPECT_EQ(registry.get("ShadowLight"), light);
    const int size = good ? 512 : 256;
    EXPECT_EQ(light->mapWidth, size);
    EXPECT_EQ(light->mapHeight, size);
    light->depthMap.bind();
    GLint width = 0, format = 0, mode = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_INTERNAL_FORMAT, &format);
    EXPECT_EQ(width, size);
    EXPECT_TRUE(format == GL_DEPTH_COMPONENT16 || format == GL_DEPTH_COMPONENT24 ||
                format == GL_DEPTH_COMPONENT32 || format == GL_DEPTH_COMPONENT)
        << std::hex << format;
    // Mesa offers the ARB comparison only.
    ASSERT_NE(light->compare, ShadowCompare::None);
    if (light->compare == ShadowCompare::Arb) {
      glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_COMPARE_MODE_ARB, &mode);
      EXPECT_EQ(mode, GL_COMPARE_R_TO_TEXTURE_ARB);
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
  }
}

TEST_F(ShadowLightGl, TexGenProjectsTheTargetOntoTheMapsMiddle) {
  ShadowLight light;
  light.position = Vec3(50, 75, 0);
  light.target = Vec3(0, 25, 0);
  light.nearPlane = 10;
  light.farPlane = 150;
  buildLightView(light.position, light.target, light.lightView);
  glMatrixMode(GL_MODELVIEW);
  glLoadIdentity();
  light.applyTexGen();
  GLint mode = 0;
  glGetIntegerv(GL_MATRIX_MODE, &mode);
  EXPECT_EQ(mode, GL_TEXTURE);
  float m[16];
  glGetFloatv(GL_TEXTURE_MATRIX, m);
  ShadowLight::clearTexGen();

  auto project = [&](const Vec3& p) {
    const float q = m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15];
    return transform(m, p) / q;
  };
  // The view's eye is position + target (the view's translation).
  const Vec3 eye = light.position + light.target;
  const Vec3 ahead = normalized(light.target - light.position);
  const Vec3 middle = project(eye + ahead * 40.0f);
  EXPECT_NEAR(middle.x, 0.5f, 1e-4f);
  EXPECT_NEAR(middle.y, 0.5f, 1e-4f);
  // Depth in r: 0 on the near plane, 1 on the far one.
  EXPECT_NEAR(project(eye + ahead * 10.0f).z, 0.0f, 1e-4f);
  EXPECT_NEAR(project(eye + ahead * 150.0f).z, 1.0f, 1e-4f);
  EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

}  // namespace
