// The extension checks and the start-up's vendor branches, over given
// strings (any vendor's path can be taken on any machine), and once over
// the real context.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "gfx/ExtensionSetup.h"
#include "gfx/GlExtensions.h"
#include "platform/GlProc.h"
#include "support/GlTestContext.h"

namespace {

const std::string kCommon =
    "GL_ARB_multitexture GL_ARB_texture_compression GL_EXT_secondary_color GL_EXT_texture_object";
const std::string kPlatform = "WGL_ARB_pbuffer WGL_ARB_pixel_format WGL_EXT_swap_control ";

int fakeAddress = 0;
// Every entry point exists except the ones named "missing" by the test.
const char* missingEntryPoint = "";
void* fakeLookup(const char* name) {
  return std::strcmp(name, missingEntryPoint) == 0 ? nullptr : &fakeAddress;
}

GlStrings strings(const std::string& vendor, const std::string& version, const std::string& extensions,
                  const std::string& platform = kPlatform) {
  return GlStrings{vendor, version, extensions, platform};
}

class Extensions : public ::testing::Test {
 protected:
  void TearDown() override { missingEntryPoint = ""; }
};

TEST_F(Extensions, VersionRuleAndWholeWords) {
  ExtensionChecker old(strings("Mesa", "1.1.0", "GL_ARB_shadow_ambient"), fakeLookup);
  EXPECT_FALSE(old.checkExtensions("GL_VERSION_1_2"));
  EXPECT_EQ(old.missing, "GL_VERSION_1_2 ");
  ExtensionChecker newer(strings("Mesa", "1.2.1", "GL_ARB_shadow_ambient GL_ARB_shadow_ambientX"), fakeLookup);
  EXPECT_TRUE(newer.checkExtensions("GL_VERSION_1_2"));

  // A longer name never stands in for a shorter one, in either check.
  EXPECT_FALSE(newer.checkExtensions("GL_ARB_shadow"));
  EXPECT_FALSE(newer.setupExtensions("GL_ARB_shadow"));
  EXPECT_TRUE(newer.setupExtensions("GL_ARB_shadow_ambient"));
  ExtensionChecker prefixed(strings("Mesa", "4.5", "XGL_ARB_shadow GL_ARB_shadowY"), fakeLookup);
  EXPECT_FALSE(prefixed.checkExtensions("GL_ARB_shadow"));
}

TEST_F(Extensions, EveryNameIsTriedAndEachFailureNamed) {
  ExtensionChecker checker(strings("Mesa", "4.5", "GL_A GL_C"), fakeLookup);
  EXPECT_FALSE(checker.checkExtensions("GL_A\tGL_B\nGL_C GL_D "));
  EXPECT_EQ(checker.missing, "GL_B GL_D ");
  EXPECT_FALSE(checker.setupExtensions("GL_B GL_A GL_D"));
  EXPECT_EQ(checker.missing, "GL_B GL_D ");
  // Platform names count only in the platform's list for the set-up.
  ExtensionChecker wrongList(strings("Mesa", "4.5", "WGL_ARB_pbuffer", ""), fakeLookup);
  EXPECT_FALSE(wrongList.setupExtensions("WGL_ARB_pbuffer"));
  EXPECT_TRUE(checker.setupExtensions("WGL_ARB_pbuffer"));
}

TEST_F(Extensions, AMissingEntryPointFailsItsExtensionAndFetchedOnesFillTheTable) {
  ExtensionChecker checker(strings("Mesa", "4.5", kCommon), fakeLookup);
  zolt_glSecondaryColor3fEXT = nullptr;
  EXPECT_TRUE(checker.checkExtensions("GL_EXT_secondary_color"));
  EXPECT_EQ(reinterpret_cast<void*>(zolt_glSecondaryColor3fEXT), static_cast<void*>(&fakeAddress));

  missingEntryPoint = "glCompressedTexImage2DARB";
  EXPECT_FALSE(checker.checkExtensions(kCommon.c_str()));
  EXPECT_EQ(checker.missing, "GL_ARB_texture_compression ");
  zolt_glSecondaryColor3fEXT = nullptr;
  zolt_glCompressedTexImage2DARB = nullptr;
}

TEST_F(Extensions, StartUpBranchesByVendor) {
  bool swap = false;
  // The double blank in the common list is harmless; swap control comes
  // from the platform's names.
  ExtensionChecker other(strings("Mesa/X.org", "4.5 (Compatibility Profile) Mesa", kCommon), fakeLookup);
  EXPECT_EQ(runExtensionStartUp(other, true, &swap), nullptr);
  EXPECT_TRUE(swap);
  ExtensionChecker noSwap(strings("Mesa", "4.5", kCommon, "WGL_ARB_pbuffer WGL_ARB_pixel_format "), fakeLookup);
  EXPECT_EQ(runExtensionStartUp(noSwap, true, &swap), nullptr);
  EXPECT_FALSE(swap);

  ExtensionChecker noPbuffer(strings("Mesa", "4.5", kCommon, ""), fakeLookup);
  const char* failure = runExtensionStartUp(noPbuffer, true, &swap);
  ASSERT_NE(failure, nullptr);
  EXPECT_STREQ(failure, "Necessary extensions are not supported: WGL_ARB_pbuffer WGL_ARB_pixel_format ");

  // Capitals still take the NVIDIA branch, which names what it misses.
  ExtensionChecker nvidia(strings("NVIDIA Corporation", "1.1.0", kCommon + " GL_NV_texture_shader"), fakeLookup);
  failure = runExtensionStartUp(nvidia, true, &swap);
  ASSERT_NE(failure, nullptr);
  EXPECT_STREQ(failure,
               "Necessary extensions are not supported: GL_NV_register_combiners GL_VERSION_1_2 "
               "GL_NV_texture_rectangle GL_NV_vertex_program ");

  // Only the exact ATI vendor string takes the ATI branch.
  ExtensionChecker atiLike(strings("ATI Technologies Inc. (clone)", "4.5", kCommon), fakeLookup);
  EXPECT_EQ(runExtensionStartUp(atiLike, true, &swap), nullptr);
  const std::string atiArb = kCommon + " GL_ARB_vertex_program GL_EXT_vertex_array GL_EXT_vertex_shader GL_EXT_texture_rectangle";
  ExtensionChecker ati(strings("ATI Technologies Inc.", "4.5", atiArb + " GL_ARB_shadow_ambient"), fakeLookup);
  EXPECT_STREQ(runExtensionStartUp(ati, true, &swap), "could not setup arb extensions, try unchecking Quality\n");
  EXPECT_EQ(runExtensionStartUp(ati, false, &swap), nullptr) << "quality off needs only ARB vertex programs";
  ExtensionChecker atiNoExt(strings("ATI Technologies Inc.", "4.5", kCommon + " GL_ARB_vertex_program"), fakeLookup);
  EXPECT_STREQ(runExtensionStartUp(atiNoExt, false, &swap), "could not setup ext extensions\n");
  ExtensionChecker atiNone(strings("ATI Technologies Inc.", "4.5", kCommon), fakeLookup);
  EXPECT_STREQ(runExtensionStartUp(atiNone, false, &swap), "could not setup arb extensions\n");
}

TEST_F(Extensions, ThisMachinesDriverPassesTheStartUp) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  const GlStrings current = currentGlStrings();
  EXPECT_TRUE(hasWord(current.platformExtensions, "WGL_ARB_pbuffer")) << current.platformExtensions;
  ExtensionChecker checker(current, platform::glProcAddress);
  bool swap = false;
  EXPECT_EQ(runExtensionStartUp(checker, true, &swap), nullptr) << checker.missing;
}

}  // namespace
