#include <gtest/gtest.h>

#include "SwfTestFile.h"
#include "swf/swfScript.h"

using namespace swftest;

namespace {

// Ten frames; in frame k layer 1's square sits at x = 10k pixels with alpha
// multiply 20k, and the frame carries the command "mark,k".
Bytes tenFrameMovie() {
  TestFile file(10);
  file.tag(2, squareShape(1));
  for (int k = 0; k < 10; ++k) {
    file.tag(26, place2(1, k == 0 ? 1 : 0, 200 * k, 0, 20 * k));
    file.tag(12, getUrlAction("", "mark," + std::to_string(k)));
    file.showFrame();
  }
  return file.end().bytes();
}

struct Recorder {
  std::vector<std::string> marks;
  std::vector<float> xAtCommand;  // layer 1's x when the command ran
  void attach(swfScript& script) {
    script.registerCommand("mark", [this](SwfMovie* movie, SwfArguments args) {
      marks.push_back(args.at(1));
      const auto& instances = movie->layers[1].instances;
      xAtCommand.push_back(instances.empty() ? -1.0f : instances[0]->translation[0]);
      return 0;
    });
  }
};

}  // namespace

TEST(swfScriptPlayback, FirstUpdatesInterpolateBetweenTheTwoCopies) {
  Bytes file = tenFrameMovie();
  swfScript script(file.data(), true, file.size());
  ASSERT_TRUE(script.loaded());
  Recorder recorder;
  recorder.attach(script);
  float position[2] = {-1, -1}, colour[4] = {}, corners[8] = {};
  script.requestPosition(1, position);
  script.requestColour(1, colour);
  script.requestCorners(1, corners);

  script.update(0.0);
  EXPECT_EQ(script.current->lastFrame, 0);
  EXPECT_EQ(script.ahead->lastFrame, 1);
  EXPECT_FLOAT_EQ(position[0], 0.0f);
  script.update(0.5);
  EXPECT_FLOAT_EQ(position[0], 5.0f);
  EXPECT_FLOAT_EQ(colour[3], 0.5f * 20.0f / 256.0f);
  EXPECT_FLOAT_EQ(corners[4], (400.0f + 5.0f) * 0.05f);  // far corner: twips + pixels
  script.update(0.99);
  EXPECT_NEAR(position[0], 9.9f, 1e-4);
  // Commands fire once per frame entered, from the current copy only.
  EXPECT_EQ(recorder.marks, (std::vector<std::string>{"0"}));
}

TEST(swfScriptPlayback, JumpsEnterEveryFrameInOrderDisplayBeforeCommands) {
  Bytes file = tenFrameMovie();
  swfScript script(file.data(), true, file.size());
  Recorder recorder;
  recorder.attach(script);
  script.update(0.99);
  script.update(3.0);
  EXPECT_EQ(recorder.marks, (std::vector<std::string>{"0", "1", "2", "3"}));
  EXPECT_EQ(recorder.xAtCommand, (std::vector<float>{0.0f, 10.0f, 20.0f, 30.0f}));
}

TEST(swfScriptPlayback, LoopingWrapsAndGoingBackRestartsWithoutEmptyingLayers) {
  Bytes file = tenFrameMovie();
  swfScript script(file.data(), true, file.size());
  Recorder recorder;
  recorder.attach(script);
  float position[2] = {};
  script.requestPosition(1, position);
  script.update(12.25);  // as 2.25
  EXPECT_FLOAT_EQ(position[0], 22.5f);
  script.update(9.5);
  EXPECT_EQ(script.current->layers[1].instances.size(), 1u);
  recorder.marks.clear();
  script.update(10.5);  // 0.5: frame 0 entered again, only frame 0
  EXPECT_EQ(recorder.marks, (std::vector<std::string>{"0"}));
  // Frame 0 places its square again beside the one still there.
  EXPECT_EQ(script.current->layers[1].instances.size(), 2u);
  EXPECT_EQ(script.current->lastFrame, 0);
  script.update(2.0);  // catches up with frames 1 and 2
  EXPECT_EQ(recorder.marks, (std::vector<std::string>{"0", "1", "2"}));
}

TEST(swfScriptPlayback, NegativePositionsOnAFreshMovie) {
  Bytes file = tenFrameMovie();
  SwfMovie inRange(file.data(), file.size());
  inRange.update(-0.5);  // target -1: nothing to enter
  EXPECT_EQ(inRange.lastFrame, -1);
  EXPECT_TRUE(inRange.layers[1].instances.empty());
  SwfMovie below(file.data(), file.size());
  below.update(-3.0);  // below lastFrame: restarts at frame 0
  EXPECT_EQ(below.lastFrame, 0);
  EXPECT_EQ(below.layers[1].instances.size(), 1u);
}

TEST(swfScriptPlayback, PlacingOnAnOccupiedDepthMovesEverythingAndRemoveEmptiesIt) {
  TestFile file(3);
  file.tag(2, squareShape(1)).tag(2, squareShape(2, 800, 800));
  file.tag(26, place2(3, 1, 0, 0)).showFrame();
  SwfBitWriter place;  // PlaceObject (code 4) of shape 2 on depth 3
  place.writeU16(2);
  place.writeU16(3);
  writeMatrix(place, 2000, 0);
  file.tag(4, place).showFrame();
  file.tag(5, Bytes{2, 0, 3, 0}).showFrame().end();
  Bytes bytes = file.bytes();
  SwfMovie movie(bytes.data(), bytes.size());
  movie.update(1.0);
  const auto& instances = movie.layers[3].instances;
  ASSERT_EQ(instances.size(), 2u);
  EXPECT_FLOAT_EQ(instances[0]->translation[0], 100.0f);
  EXPECT_FLOAT_EQ(instances[1]->translation[0], 100.0f);
  EXPECT_FLOAT_EQ(instances[1]->transformedCorners[2].x, 900.0f);
  // Instances are copies: the dictionary keeps its own untransformed shape.
  EXPECT_FLOAT_EQ(movie.dictionary.at(1)->translation[0], 0.0f);
  movie.update(2.0);
  EXPECT_TRUE(movie.layers[3].instances.empty());
}

TEST(swfScriptPlayback, ColourOnlyPlaceKeepsTheLayerWhereItStands) {
  TestFile file(2);
  file.tag(2, squareShape(1)).tag(26, place2(1, 1, 2000, 0)).showFrame();
  file.tag(26, place2(1, 0, 0, 0, 64, /*matrix=*/false, /*cxform=*/true)).showFrame().end();
  Bytes bytes = file.bytes();
  SwfMovie movie(bytes.data(), bytes.size());
  movie.update(1.0);
  const SwfCharacter& square = *movie.layers[1].instances.at(0);
  EXPECT_FLOAT_EQ(square.translation[0], 100.0f);
  EXPECT_FLOAT_EQ(square.transformedColour[3], 0.25f);
}

TEST(swfScriptCommands, RegistrationHandlersResultsAndObjectCallbacks) {
  TestFile file(3);
  file.tag(2, squareShape(1)).tag(26, place2(2, 1, 0, 0));
  file.tag(12, getUrlAction("", "later,1")).showFrame();
  file.tag(12, getUrlAction("", "later,2"))
      .tag(12, getUrlAction("", "addObjectCallback,666,count"))
      .tag(12, getUrlAction("", "addObjectCallback,3,nobody"))
      .tag(12, getUrlAction("", "addObjectCallback,25,count"))
      .showFrame();
  file.tag(12, getUrlAction("", "removeObjectCallback,666,count")).showFrame().end();
  Bytes bytes = file.bytes();
  swfScript script(bytes.data(), true, bytes.size());

  script.update(0.0);  // "later" is not registered yet: nothing happens
  std::vector<SwfArguments> calls, hooked;
  script.registerCommand("later", [&](SwfMovie*, SwfArguments args) {
    calls.push_back(args);
    return 1;
  });
  script.current->commandResultHook = [&](SwfMovie*, SwfArguments args) {
    hooked.push_back(args);
    return 0;
  };
  int callbackRuns = 0;
  size_t instancesSeen = 0;
  script.registerObjectCallback("count", [&](SwfMovie*, std::vector<SwfCharacter*> list) {
    ++callbackRuns;
    instancesSeen += list.size();
    return 0;
  });
  script.update(1.0);
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_EQ(calls[0], (SwfArguments{"later", "2"}));
  EXPECT_EQ(hooked, calls);
  // 666 installs the callback on all 20 layers; it ran once per layer, and
  // only layer 2 holds an object. "nobody" was never registered: it is
  // installed empty and never called; layer 25 does not exist.
  EXPECT_EQ(callbackRuns, 20);
  EXPECT_EQ(instancesSeen, 1u);
  for (const SwfLayer& layer : script.current->layers) EXPECT_GE(layer.objectCallbacks.size(), 1u);
  EXPECT_EQ(script.current->layers[3].objectCallbacks.size(), 2u);
  // The ahead copy never dispatches, so it installs nothing.
  EXPECT_TRUE(script.ahead->layers[0].objectCallbacks.empty());
  script.update(2.0);  // removeObjectCallback changes no layer
  EXPECT_EQ(callbackRuns, 40);
}

TEST(swfArguments, DecimalValuesReadLikeTheShowReadsThem) {
  EXPECT_EQ(swfArgumentToInt("  -12abc"), -12);
  EXPECT_EQ(swfArgumentToInt("+7"), 7);
  EXPECT_EQ(swfArgumentToInt("abc"), 0);
  EXPECT_EQ(swfArgumentToInt(""), 0);
  EXPECT_EQ(swfArgumentToInt("99999999999999"), 2147483647);
}
