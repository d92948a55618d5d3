// ScenePlayer: the show built headless, one scene played frame by frame.
#include "tools/sceneplayer/ScenePlayer.h"

#include <sys/resource.h>

#include <cstdio>
#include <cstring>

#include "app/GlWindow.h"
#include "gfx/DistortionPath.h"
#include "gfx/GlExtensions.h"
#include "gfx/Random.h"
#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/Window.h"
#include "scenes/ShowOrder.h"
#include "show/Demo.h"
#include "show/ResourceRegistry.h"
#include "show/Scene.h"

ScenePlayer::~ScenePlayer() { close(); }

bool ScenePlayer::open(int sceneIndex, int w, int h) {
  width = w;
  height = h;
  // The scene plays on its own clock; the soundtrack is never heard.
  platform::setSoundOutputWanted(false);
  if (!platform::initVideo() || !platform::createWindow("z-olt! scene player", w, h) ||
      !platform::createContext() || !platform::makeContextCurrent()) {
    error = "no OpenGL context";
    return false;
  }
  contextOpen = true;
  loadGlEntryPoints();
  setProjection(w, h);
  // On stderr, so measurements on stdout stay parseable: which driver and
  // distortion path a run measured.
  const char* vendor = reinterpret_cast<const char*>(glGetString(GL_VENDOR));
  const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
  std::fprintf(stderr, "scene player: %s, %s; distortion: %s\n", vendor ? vendor : "?", renderer ? renderer : "?",
               distortionPathName(distortionPath()));

  // The show starts its generator at 1; scenes draw their shapes from it
  // while loading, so a second player in one process must start there too.
  zolt::seedRandom(1);
  auto* registry = new ResourceRegistry();
  registry->usePack = true;
  registry->good = 1;
  registry->width = w;
  registry->height = h;
  demo = new Demo(registry, showOrder);
  while (!demo->loadingDone()) demo->loadNext();
  if (sceneIndex < 0 || sceneIndex >= 8 || demo->bySlot[sceneIndex] == nullptr) {
    error = "scene " + std::to_string(sceneIndex) + " is not in the show yet";
    return false;
  }
  scene = demo->bySlot[sceneIndex];
  if (glGenQueries) glGenQueries(1, &query);
  return true;
}

void ScenePlayer::close() {
  if (query && glDeleteQueries) glDeleteQueries(1, &query);
  query = 0;
  if (replayList) glDeleteLists(replayList, 1);
  replayList = 0;
  delete demo;
  demo = nullptr;
  scene = nullptr;
  if (contextOpen) {
    platform::deleteContext();
    platform::destroyWindow();
    contextOpen = false;
  }
}

float ScenePlayer::lengthInBeats() const { return scene ? scene->beatsAt(scene->duration) : 0.0f; }

void ScenePlayer::play(float fps, float lastBeat, const std::function<bool(const PlayedFrame&)>& onFrame) {
  if (!scene) return;
  const double frequency = double(platform::performanceFrequency());
  for (int index = 0;; ++index) {
    PlayedFrame frame;
    frame.index = index;
    frame.t = float(index) / fps;
    frame.beat = scene->beatsAt(frame.t);
    if (frame.beat > lastBeat) break;
    if (replayFrames) {
      if (!replayList) replayList = glGenLists(1);
      glNewList(replayList, GL_COMPILE_AND_EXECUTE);
    } else if (query) {
      glBeginQuery(GL_PRIMITIVES_GENERATED, query);
    }
    const uint64_t start = platform::performanceCounter();
    const int finished = scene->render(frame.t);
    if (replayFrames) glEndList();
    glFinish();
    frame.renderMs = double(platform::performanceCounter() - start) / frequency * 1000.0;
    if (replayFrames) {
      const uint64_t again = platform::performanceCounter();
      glCallList(replayList);
      glFinish();
      frame.replayMs = double(platform::performanceCounter() - again) / frequency * 1000.0;
    } else if (query) {
      glEndQuery(GL_PRIMITIVES_GENERATED);
      GLuint count = 0;
      glGetQueryObjectuiv(query, GL_QUERY_RESULT, &count);
      frame.primitives = count;
    }
    const bool more = onFrame(frame);
    platform::swapBuffers();
    if (!more || finished) break;
  }
}

RgbImage ScenePlayer::readFrame() const {
  RgbImage image;
  image.width = width;
  image.height = height;
  image.rgb.resize(size_t(width) * height * 3);
  std::vector<unsigned char> bottomUp(image.rgb.size());
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, bottomUp.data());
  for (int y = 0; y < height; ++y) {
    std::memcpy(image.at(0, y), &bottomUp[size_t(height - 1 - y) * width * 3], size_t(width) * 3);
  }
  return image;
}

double peakResidentMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return double(usage.ru_maxrss) / 1024.0;
}
