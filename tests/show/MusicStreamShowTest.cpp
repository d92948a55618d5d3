// The show around the music stream: a soundtrack that is missing is
// reported once and the show still plays through on its own timer.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "show/Demo.h"
#include "show/MusicStream.h"
#include "show/ResourceRegistry.h"
#include "support/GlTestContext.h"
#include "support/StandInScenes.h"

namespace {

Scene* shortScene(ResourceRegistry* registry) {
  return new testsupport::StandInScene(registry, 0, 0.3f);
}

}  // namespace

TEST(MusicStreamShow, MissingSoundtrackIsReportedAndTheShowPlaysThrough) {
  ASSERT_TRUE(testsupport::ensureGlContext());
  const std::string folder = ::testing::TempDir();
  FILE* cfg = std::fopen((folder + "demo.cfg").c_str(), "wb");
  ASSERT_NE(cfg, nullptr);
  std::fputs("mp3 = \"gone-missing.mp3\"\n", cfg);
  std::fclose(cfg);

  std::vector<platform::MessageRecord> boxes;
  platform::setMessageObserver([&](const platform::MessageRecord& r) {
    boxes.push_back(r);
    return platform::MessageAnswer::Ok;
  });
  auto* registry = new ResourceRegistry();
  registry->rootPath = folder;
  ShowOrder order{};
  order.slot[0] = shortScene;
  order.slot[1] = shortScene;
  Demo demo(registry, order);
  platform::setMessageObserver(nullptr);
  std::remove((folder + "demo.cfg").c_str());

  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, "Cannot find file");
  EXPECT_EQ(boxes[0].text, "gone-missing.mp3");
  EXPECT_FALSE(demo.music->isOpen());

  while (!demo.loadingDone()) demo.loadNext();
  demo.jumpTo(1);  // a jump with no music to align to must not wait on it
  const uint32_t start = platform::wallMilliseconds();
  int result = 0;
  while (result == 0 && platform::wallMilliseconds() - start < 3000) result = demo.render(0.0f);
  EXPECT_EQ(result, 1) << "the show ran to its end on its own timer";
  EXPECT_LT(platform::wallMilliseconds() - start, 1500u);
}
