// BugSwarmScene: scene 6, 96 beats. A swarm of wire creatures walks over
// the fractal landscape and gathers on the dark pixels of "lastEffect.jpg"
// laid out on the ground ahead, so in the end it spells that image.
//
// "bug.swf" is never drawn: its "setCamera" commands cut between the
// cameras of "bug.3ds" and two procedural ones ("under", "hunder"), each
// cut gliding over one beat. "zoltbugs.png" fades in over the view from
// beat 4; the last two beats fade to black. "bug.cfg" sets the swarm.
// The creatures' arcs are shaped by a vertex program: "bugati.vpc" (ARB)
// here, "bug.vpc" (NV, through the parser) on the NVIDIA path. The
// terrain is owned here and lent to the credits scene. Construction draws
// from the shared random generator: the terrain, then the jitter table and
// the creatures, then the targets.
#pragma once

#include <string>
#include <vector>

#include "gfx/GlExtensions.h"
#include "scenes/swarm/Bug.h"
#include "scenes/swarm/SwarmCamera.h"
#include "scenes/swarm/SwarmSettings.h"
#include "show/Scene.h"

class COverlayImage;
class Scene3ds;
class Terrain;
class swfScript;

class BugSwarmScene final : public Scene {
 public:
  // configText replaces "bug.cfg" when given (benchmarks and tests).
  explicit BugSwarmScene(ResourceRegistry* registry, const char* configText = nullptr);
  ~BugSwarmScene() override;
  BugSwarmScene(const BugSwarmScene&) = delete;
  BugSwarmScene& operator=(const BugSwarmScene&) = delete;

  int render(float t) override;

  // The view a camera name gives at local time t (sets terrainScene's
  // keyframe time).
  SwarmView viewFor(const std::string& name, float t);

  Scene3ds* terrainScene = nullptr;
  Terrain* terrain = nullptr;
  swfScript* movie = nullptr;
  COverlayImage* overlay = nullptr;
  SwarmSettings settings;
  std::vector<Bug> creatures;
  BugJitter jitter;
  CameraCuts cuts;
  GLuint program = 0;
  bool nvProgram = false;     // the NV path: bug.vpc through the parser
  bool programReady = false;  // the program loaded; else no creatures are drawn
  std::vector<BugArcBatch> passArcs;  // this frame's arcs, one batch per glow pass

 private:
  void loadProgram();
  void placeTargetsFromImage();
  void drawCreatures(float t);
};

// Gives every creature a target on a dark pixel (first byte 0) of an image
// of w x h RGB pixels, drawing a pixel at random until it finds one, as
// (15 - row x 30 / h, 0, 144 + col x 70 / w). NOTE: the draws are bounded;
// a creature that finds no dark pixel in 4096 tries ends the search, and it
// and the rest gather on the middle line of the image's area instead.
// Returns how many creatures got a pixel of the image.
int placeTargets(std::vector<Bug>& creatures, const unsigned char* rgb, int w, int h);

// The show-order factory for slot 6.
Scene* makeBugSwarmScene(ResourceRegistry* registry);
