// BugSwarmScene: construction in its random order, the camera cuts and the
// frame: landscape, creatures, overlay and the closing fade.
#include "scenes/swarm/BugSwarmScene.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "gfx/COverlayImage.h"
#include "gfx/MathUtil.h"
#include "gfx/NvParse.h"
#include "gfx/Random.h"
#include "gfx/Scene3ds.h"
#include "gfx/ScreenQuad.h"
#include "gfx/ScreenTexture.h"
#include "scenes/effects/Terrain.h"
#include "show/ResourceRegistry.h"
#include "swf/swfScript.h"

namespace {

const float kLengthInBeats = 96.0f;
const float kOverlayStart = 4.0f;  // beats
const int kTargetTries = 4096;
const int kLargestImageSide = 8192;
const size_t kCreaturesPerFlush = 50;

// The image's area on the ground: rows across x, columns along z.
const float kImageNearZ = 144.0f;
const float kImageDepth = 70.0f;

}  // namespace

Scene* makeBugSwarmScene(ResourceRegistry* registry) { return new BugSwarmScene(registry); }

int placeTargets(std::vector<Bug>& creatures, const unsigned char* rgb, int w, int h) {
  const float across = Terrain::maxX - Terrain::minX - 2.0f;
  size_t placed = 0;
  if (rgb && w > 0 && h > 0) {
    for (; placed < creatures.size(); ++placed) {
      bool found = false;
      for (int tries = 0; tries < kTargetTries && !found; ++tries) {
        const int col = zolt::random() % w;
        const int row = zolt::random() % h;
        if (rgb[(size_t(row) * size_t(w) + size_t(col)) * 3] != 0) continue;
        creatures[placed].target = Vec3(Terrain::maxX - 1.0f - float(row) * across / float(h), 0.0f,
                                        kImageNearZ + float(col) * kImageDepth / float(w));
        found = true;
      }
      if (!found) {
        std::printf("lastEffect.jpg: too few dark pixels, %zu creatures gather on a line\n",
                    creatures.size() - placed);
        break;
      }
    }
  }
  for (size_t i = placed; i < creatures.size(); ++i) {
    const float x = std::clamp(creatures[i].position.x, Terrain::minX + 2.0f, Terrain::maxX - 2.0f);
    creatures[i].target = Vec3(x, 0.0f, kImageNearZ + kImageDepth / 2.0f);
  }
  return int(placed);
}

BugSwarmScene::BugSwarmScene(ResourceRegistry* registry, const char* configText) : Scene(registry) {
  duration = secondsAtBeat(kLengthInBeats);
  terrainScene = new Scene3ds("bug.3ds", registry);
  terrain = new Terrain();

  movie = registry->loadSwf("bug.swf");
  movie->registerCommand("setCamera", [this](SwfMovie*, SwfArguments arguments) {
    if (arguments.size() > 1) cuts.setCamera(arguments[1]);
    return 0;
  });
  movie->loop = false;

  if (configText) {
    settings = readSwarmSettings(configText);
  } else {
    unsigned char* text = registry->readFile("bug.cfg");
    settings = readSwarmSettings(reinterpret_cast<const char*>(text));
    delete[] text;
  }

  if (settings.numBugs > 0) {
    loadProgram();
    jitter.build();
  }
  creatures.reserve(size_t(settings.numBugs));
  for (int i = 0; i < settings.numBugs; ++i) creatures.emplace_back(terrain, &jitter);
  for (Bug& bug : creatures) bug.placeLegs();
  placeTargetsFromImage();

  captureTexture = static_cast<ScreenTexture*>(registry->get("Capture6"));
  captureTime = 10.0f;
  overlay = new COverlayImage("zoltbugs.png", registry);
}

BugSwarmScene::~BugSwarmScene() {
  if (program != 0) {
    if (nvProgram) {
      glDeleteProgramsNV(1, &program);
    } else if (glDeleteProgramsARB) {
      glDeleteProgramsARB(1, &program);
    }
  }
  delete overlay;
  delete movie;
  delete terrain;
  delete terrainScene;
}

void BugSwarmScene::loadProgram() {
  // NOTE: the NV path also needs the driver to run NV programs; an NVIDIA
  // driver without them takes the ARB text like any other.
  nvProgram = isNvidia && glGenProgramsNV && nvparseHasExtension("GL_NV_vertex_program");
  if (!nvProgram && !(glGenProgramsARB && nvparseHasExtension("GL_ARB_vertex_program"))) {
    std::printf("bug swarm: no vertex programs, the creatures are not drawn\n");
    return;
  }
  unsigned char* text = registry->readFile(nvProgram ? "bug.vpc" : "bugati.vpc");
  if (!text) return;
  const char* source = reinterpret_cast<const char*>(text);
  if (nvProgram) {
    glGenProgramsNV(1, &program);
    glBindProgramNV(GL_VERTEX_PROGRAM_NV, program);
    programReady = nvparse(source);
    for (const char* const* e = nvparse_get_errors(); *e != nullptr; ++e) std::printf("bug.vpc: %s\n", *e);
  } else {
    glGenProgramsARB(1, &program);
    glBindProgramARB(GL_VERTEX_PROGRAM_ARB, program);
    glProgramStringARB(GL_VERTEX_PROGRAM_ARB, GL_PROGRAM_FORMAT_ASCII_ARB, GLsizei(std::strlen(source)), source);
    GLint errorAt = -1;
    glGetIntegerv(GL_PROGRAM_ERROR_POSITION_ARB, &errorAt);
    programReady = errorAt == -1;
    if (!programReady) {
      std::printf("bugati.vpc: error at %d: %s\n", errorAt,
                  reinterpret_cast<const char*>(glGetString(GL_PROGRAM_ERROR_STRING_ARB)));
    }
  }
  delete[] text;
}

void BugSwarmScene::placeTargetsFromImage() {
  const char* name = "lastEffect.jpg";
  int32_t w = 0, h = 0;
  std::vector<unsigned char> rgb;
  if (!creatures.empty() && registry->getJpegSize(name, &w, &h) == 0 && w > 0 && h > 0 &&
      w <= kLargestImageSide && h <= kLargestImageSide) {
    rgb.resize(size_t(w) * size_t(h) * 3);
    if (registry->decodeJpeg(name, rgb.data()) != 0) rgb.clear();
  }
  if (rgb.empty() && !creatures.empty()) std::printf("%s: not readable, the creatures gather on a line\n", name);
  placeTargets(creatures, rgb.empty() ? nullptr : rgb.data(), w, h);
}

SwarmView BugSwarmScene::viewFor(const std::string& name, float t) {
  if (name == "under") {
    const Vec3 eye(0.0f, -10.0f, t * 3.7142856f);
    return lookAlong(eye, Vec3(0.0f, 0.0f, eye.z) - eye, Vec3(0.0f, 0.0f, -1.0f));
  }
  if (name == "hunder") {
    const Vec3 eye(5.0f, -5.0f, t * 3.0588236f);
    return lookAlong(eye, Vec3(0.0f, 0.0f, eye.z) - eye, Vec3(0.0f, -1.0f, 0.0f));
  }
  if (name == "Camera03") {
    const float s56 = secondsAtBeat(56.0f), s80 = secondsAtBeat(80.0f);
    terrainScene->setFrame(195.0f + (t - s56) * (300.0f - 195.0f) / (s80 - s56));
  } else {
    // NOTE: set for every file camera, so a glide away from Camera03 does
    // not read the other camera at Camera03's keyframe time.
    terrainScene->setFrame(t * 10.0f);
  }
  float m[16];
  terrainScene->cameraMatrix(name.c_str(), m);
  // The camera looks along its matrix's second row; the landscape's up is +y.
  return lookAlong(terrainScene->cameraPosition(name.c_str()), Vec3(m[1], m[5], m[9]), Vec3(0.0f, 1.0f, 0.0f));
}

int BugSwarmScene::render(float t) {
  const float dt = t - cuts.lastTime;
  cuts.lastTime = t;
  glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  beginAdditiveFrame();

  const float b = beatsAt(t);
  movie->update(b);
  terrainScene->setFrame(t * 10.0f);
  // NOTE: fog follows the camera this frame shows, so after the movie's
  // cut: on the scene's first frame the camera is only named here, and the
  // fog of no camera at all hid the creatures, whose program writes no fog
  // coordinate.
  linearFog(50.0f, 100.0f);
  if (cuts.current == "Camera01" || cuts.current == "Camera02") glDisable(GL_FOG);

  float weight = 1.0f;
  SwarmView view;
  if (cuts.gliding(beatsAt(dt), &weight)) {
    const SwarmView from = viewFor(cuts.previous, t);
    view = blendViews(from, viewFor(cuts.current, t), weight);
  } else {
    view = viewFor(cuts.current, t);
  }

  glMatrixMode(GL_PROJECTION);
  glLoadIdentity();
  const float nearPlane = 0.1f, farPlane = 300.0f;
  const float top = nearPlane * std::tan(30.0f * 3.14159265f / 180.0f), right = top * 4.0f / 3.0f;
  glFrustum(-right, right, -top, top, nearPlane, farPlane);
  glMatrixMode(GL_MODELVIEW);
  float matrix[16];
  viewMatrix(view, matrix);
  glLoadMatrixf(matrix);

  setLineWidth(float(width / 640));
  glColor4f(1.0f, 1.0f, 1.0f, 0.25f);
  terrain->render(t);
  drawCreatures(t);
  glDisable(GL_FOG);

  if (b > kOverlayStart) {
    glColor4f(1.0f, 1.0f, 1.0f, std::min((b - kOverlayStart) * 0.25f, 0.75f));
    overlay->render(t);
  }
  if (kLengthInBeats - b < 2.0f) {
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f - (kLengthInBeats - b) * 0.5f);
    drawScreenQuad(640, 480);
  }
  captureOnce(t);
  return t >= duration ? 1 : 0;
}

void BugSwarmScene::drawCreatures(float t) {
  if (!programReady) return;
  glEnable(GL_VERTEX_PROGRAM_ARB);
  if (nvProgram) {
    glBindProgramNV(GL_VERTEX_PROGRAM_NV, program);
    nvparseTrackMatrix(0, GL_MODELVIEW_PROJECTION_NV, GL_IDENTITY_NV);
    glProgramParameter4fNV(GL_VERTEX_PROGRAM_NV, 8, 0.0f, 1.0f, 3.0f, 5.0f);
  } else {
    glBindProgramARB(GL_VERTEX_PROGRAM_ARB, program);
  }
  glColor4f(0.0625f, 1.0f, 0.0625f, settings.alpha);
  const float x = t * float(settings.speed);
  // One batch per glow pass, filled creature by creature so the jitter
  // table is read in the order each creature's passes take it; one draw
  // per pass for every kCreaturesPerFlush creatures. (A draw per arc with
  // its own attribute changes left a software rasteriser's main thread as
  // busy as its raster threads.) Flushing each group keeps the queue of
  // binned wide lines small: a software rasteriser otherwise holds a whole
  // frame of them, tens of megabytes, and the frame gets slower. A flush,
  // not a finish: the raster threads draw one group while this thread
  // walks and bins the next (a finish left them taking turns).
  passArcs.resize(size_t(std::max(settings.drawCount, 0)));
  for (size_t group = 0; group < creatures.size(); group += kCreaturesPerFlush) {
    for (BugArcBatch& arcs : passArcs) arcs.clear();
    const size_t end = std::min(creatures.size(), group + kCreaturesPerFlush);
    for (size_t i = group; i < end; ++i) {
      creatures[i].walk(x);
      for (BugArcBatch& arcs : passArcs) creatures[i].appendArcs(arcs);
    }
    for (size_t j = 0; j < passArcs.size(); ++j) {
      setLineWidth(float(width * int(j + 1) / 640));
      passArcs[j].draw();
    }
    glFlush();
  }
  glDisable(GL_VERTEX_PROGRAM_ARB);
}
