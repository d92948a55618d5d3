// The gallery's cues and panel names: "setCamera" to a new view keeps the
// old one for the flight, to the same view restarts the flight only; the
// flight lasts exactly the two beats the end placement is taken ahead;
// "cap" + k names a capture panel, k = 8 the end picture at 640 x 480
// texels whatever the output size.
#include <gtest/gtest.h>

#include "scenes/finale/GalleryViews.h"

namespace {

const float kBeatsPerFrame = 130.0f / 60.0f / 30.0f;

TEST(GalleryViews, ANewViewKeepsTheOldOneAndStartsTheFlight) {
  finale::GalleryViews views;
  EXPECT_EQ(views.currentView, "Camera0");
  EXPECT_EQ(views.previousView, "");
  EXPECT_FALSE(views.transitionStarting());
  views.setCamera("cap0");
  EXPECT_EQ(views.currentView, "cap0");
  EXPECT_EQ(views.previousView, "Camera0");
  EXPECT_TRUE(views.transitionStarting());
  views.setCamera("inside");
  EXPECT_EQ(views.previousView, "cap0");
  EXPECT_EQ(views.currentView, "inside");
}

TEST(GalleryViews, TheSameViewRestartsTheFlightButKeepsThePreviousView) {
  finale::GalleryViews views;
  views.setCamera("circle");
  views.advance(1.5f);
  EXPECT_FALSE(views.transitionStarting());
  views.setCamera("circle");
  EXPECT_EQ(views.currentView, "circle");
  EXPECT_EQ(views.previousView, "Camera0");
  EXPECT_TRUE(views.transitionStarting());
  EXPECT_FLOAT_EQ(views.transition, finale::kTransitionBeats);
}

TEST(GalleryViews, TheFlightEndsAfterTwoBeatsAtTheEndPlacement) {
  finale::GalleryViews views;
  views.setCamera("uptop");
  int frames = 0;
  float beats = 0.0f;
  while (views.transition > 0.0f && frames < 1000) {
    views.advance(kBeatsPerFrame);
    beats += kBeatsPerFrame;
    ++frames;
  }
  // The camera has flown the two beats the end panel was placed ahead.
  EXPECT_NEAR(beats, finale::kTransitionBeats, kBeatsPerFrame);
  EXPECT_EQ(frames, 28);  // 2 beats at 130 bpm, 30 frames a second
  EXPECT_FLOAT_EQ(views.transition, 0.0f);
  views.advance(kBeatsPerFrame);  // never below zero
  EXPECT_FLOAT_EQ(views.transition, 0.0f);
}

TEST(GalleryPanelNames, CapFollowedByANumberNamesAPanel) {
  for (int k = 0; k <= 8; ++k) EXPECT_EQ(finale::capturePanelIndex("cap" + std::to_string(k)), k);
  EXPECT_EQ(finale::capturePanelIndex("cap08"), 8);
  // Not panels: no number, past the nine panels, other names, other case.
  for (const char* name : {"cap", "cap9", "cap12", "capx", "cap1a", "cap-1", "Camera0", "inside", "", "Cap3",
                           "cap99999999999"})
    EXPECT_EQ(finale::capturePanelIndex(name), -1) << name;
  EXPECT_TRUE(finale::isCaptureName("cap9"));
  EXPECT_TRUE(finale::isCaptureName("capx"));
  EXPECT_FALSE(finale::isCaptureName("ca"));
  EXPECT_FALSE(finale::isCaptureName("circle"));
}

TEST(GalleryPanelNames, EndPictureIs640By480TexelsAtEveryOutputSize) {
  for (auto [w, h] : {std::pair{640, 480}, std::pair{1280, 960}, std::pair{800, 600}}) {
    const finale::TexelExtent end = finale::panelTexelExtent(8, true, w, h);
    EXPECT_FLOAT_EQ(end.s, 640.0f);
    EXPECT_FLOAT_EQ(end.t, 480.0f);
    const finale::TexelExtent capture = finale::panelTexelExtent(3, true, w, h);
    EXPECT_FLOAT_EQ(capture.s, float(w));
    EXPECT_FLOAT_EQ(capture.t, float(h));
  }
  // A square power-of-two output gives 2D captures, addressed 0..1.
  const finale::TexelExtent square = finale::panelTexelExtent(2, false, 512, 512);
  EXPECT_FLOAT_EQ(square.s, 1.0f);
  EXPECT_FLOAT_EQ(square.t, 1.0f);
}

}  // namespace
