// HeadlessScene<SceneT>: one scene built once per test suite from the show's
// content, played frame by frame to a beat on the offscreen GL context and
// read back. What a test measures in the frame stays in the test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gfx/GlExtensions.h"
#include "show/ResourceRegistry.h"
#include "support/GlTestContext.h"

namespace testsupport {

// The 640x480 frame just drawn, bottom row first, three bytes a pixel.
inline std::vector<unsigned char> readFrame() {
  std::vector<unsigned char> rgb(640 * 480 * 3);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, 640, 480, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
  return rgb;
}

enum class Content { Folder, Archive };

template <class SceneT>
class HeadlessScene : public ::testing::Test {
 public:
  // Suites that need another registry override this and call open().
  static void SetUpTestSuite() { open(Content::Folder); }
  static void TearDownTestSuite() {
    delete scene;
    delete registry;
    scene = nullptr;
    registry = nullptr;
    played = 0.0f;
  }

 protected:
  // `prepare` sets the registry up further (and seeds what the show seeds)
  // before the scene loads.
  static bool open(Content from, void (*prepare)(ResourceRegistry&) = nullptr) {
    if (!ensureGlContext()) return false;
    registry = new ResourceRegistry();
    if (from == Content::Archive) {
      registry->usePack = true;
      registry->packName = std::string(ZOLT_OUTPUT_DIR) + "/trov.qz5";
    } else {
      registry->rootPath = ZOLT_CONTENT_DIR "/";
    }
    if (prepare) prepare(*registry);
    scene = new SceneT(registry);
    return true;
  }

  // Skips without a context; a fixture's own SetUp checks IsSkipped() after.
  void SetUp() override {
    if (!scene) GTEST_SKIP() << "no OpenGL context";
    glViewport(0, 0, 640, 480);
  }

  // Plays `fps` frames a second from `fromBeat` up to `beat` (movies and
  // trails then have the history they have in the show) and reads the last.
  static std::vector<unsigned char> playFrom(float fromBeat, float beat, float fps) {
    const float end = scene->secondsAtBeat(beat);
    for (float t = scene->secondsAtBeat(fromBeat); t < end; t += 1.0f / fps) scene->render(t);
    scene->render(end);
    return readFrame();
  }

  // Plays on from the last frame played, for suites whose tests run in order.
  static std::vector<unsigned char> playOn(float beat, float fps) {
    const float end = scene->secondsAtBeat(beat);
    for (; played < end; played += 1.0f / fps) scene->render(played);
    scene->render(end);
    return readFrame();
  }

  static inline ResourceRegistry* registry = nullptr;
  static inline SceneT* scene = nullptr;
  static inline float played = 0.0f;
};

}  // namespace testsupport
