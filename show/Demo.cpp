// Demo: scene table, loading steps, show clock and scene changes.
#include "show/Demo.h"

#include "gfx/COverlayImage.h"
#include "gfx/GlExtensions.h"
#include "platform/Clock.h"
#include "platform/MessageBox.h"
#include "show/DataFolders.h"
#include "show/Scene.h"
#include "show/KeyValue.h"
#include "show/MusicStream.h"
#include "show/ResourceRegistry.h"

// The spin that lines the timer up with the audio gives up after this long
// (a silent or stalled stream never moves).
static const uint32_t musicAlignLimitMs = 1000;

Demo::Demo(ResourceRegistry* registry, const ShowOrder& order) : registry(registry), order(order) {
  screenMask = new COverlayImage("tvmask2.jpg", registry);
  screenMask->drawWidth = registry->width;
  screenMask->drawHeight = registry->height;
  // The soundtrack's file name comes from the show's settings text.
  music = new MusicStream();
  unsigned char* settings = registry->readFile("demo.cfg");
  if (settings != nullptr) {
    char* musicFile = getString(reinterpret_cast<const char*>(settings), "mp3");
    if (musicFile != nullptr) {
      // Looked up like the archive; when it is nowhere, the box names it as
      // demo.cfg does.
      const std::string found = findDataFile(musicFile);
      this->musicFile = found.empty() ? std::string(musicFile) : found;
      music->open(this->musicFile.c_str());
    }
    delete[] musicFile;
    delete[] settings;
  }
  // NOTE: without a music file named, a recording would quietly lose its
  // soundtrack; the viewer hears of it as of a missing music file.
  if (this->musicFile.empty())
    platform::messageBox("demo.cfg names no music file: the show plays without its soundtrack",
                         "Cannot find file", platform::MessageIcon::None);
  scenes[0] = nullptr;
}

Demo::~Demo() {
  delete music;
  delete screenMask;
  for (int i = 0; i < count; ++i) delete scenes[i];
  // Scenes made aside but never entered (loading cut short).
  for (Scene* scene : aside) {
    bool entered = false;
    for (int i = 0; i < count; ++i) entered = entered || scenes[i] == scene;
    if (!entered) delete scene;
  }
  delete registry;
}

void Demo::useCaptureClock() {
  captureClock = true;
  musicPending = false;
  timerFrequency = platform::performanceFrequency();
  timerStart = platform::performanceCounter();
}

void Demo::enter(Scene* scene) {
  if (scene == nullptr || count >= maxScenes - 1) return;
  scene->startTime = static_cast<float>(accumulatedStart);
  accumulatedStart += scene->duration;
  scenes[count++] = scene;
}

int Demo::loadNext() {
  static const int countAfterStep[loadingSteps] = {1, 2, 3, 4, 5, 7, 8};
  if (loadStep >= loadingSteps) return countAfterStep[loadingSteps - 1];
  const int step = loadStep++;
  auto make = [this](int slot) {
    bySlot[slot] = order.slot[slot] != nullptr ? order.slot[slot](registry) : nullptr;
    return bySlot[slot];
  };
  switch (step) {
    case 0:
      aside[0] = make(5);
      aside[1] = make(6);
      if (order.link) order.link(aside[0], aside[1]);
      enter(make(0));
      break;
    case 5:
      enter(aside[0]);
      enter(aside[1]);
      break;
    case 6:
      enter(make(7));
      break;
    default:
      enter(make(step));
      break;
  }
  scenes[count] = nullptr;
  return countAfterStep[step];
}

void Demo::jumpTo(int index) {
  if (index < 0 || index >= count) return;
  current = index;
  // The capture clock has no music to follow: the scene starts at its own
  // beginning, not after the time the scenes before it would have taken.
  if (captureClock) musicOffset = scenes[index]->startTime;
  if (musicPending) music->seek(static_cast<int>(scenes[index]->startTime * 1000.0f));
}

void Demo::startMusic() {
  timerFrequency = platform::performanceFrequency();
  music->unpause();
  timerStart = platform::performanceCounter();
  if (current != 0) {
    if (music->isOpen()) {
      const int startMs = music->positionMs();
      const uint32_t spinStart = platform::wallMilliseconds();
      while (music->positionMs() == startMs &&
             platform::wallMilliseconds() - spinStart < musicAlignLimitMs) {
      }
      musicOffset = music->positionSeconds();
    } else {
      // NOTE: without sound the jump still has to land at the scene's start.
      musicOffset = scenes[current]->startTime;
    }
  }
  musicPending = false;
}

int Demo::render(float t) {
  if (count == 0) return 1;
  if (attribPushPending) {
    glPushAttrib(GL_CURRENT_BIT | GL_LIGHTING_BIT | GL_ENABLE_BIT | GL_COLOR_BUFFER_BIT |
                 GL_TEXTURE_BIT);
    attribPushPending = false;
  }
  if (musicPending) startMusic();

  lastClock = t;
  Scene* scene = scenes[current];
  long double local;
  if (paused) {
    local = static_cast<long double>(heldShowTime) + timeOffset - scene->startTime;
  } else if (captureClock) {
    local = static_cast<long double>(timeOffset) + musicOffset + t - scene->startTime;
  } else {
    const uint64_t now = platform::performanceCounter();
    local = static_cast<long double>(now - timerStart) / timerFrequency + timeOffset + musicOffset -
            scene->startTime;
  }
  const int finished = scene->render(static_cast<float>(local));

  if (finished != 0 || skipRequested) {
    glPopAttrib();
    attribPushPending = true;
    ++current;
    if (scenes[current] == nullptr) return 1;
    if (skipRequested) {
      skipRequested = false;
      musicOffset = scenes[current]->startTime;
      timerStart = platform::performanceCounter();
      // A skip while paused holds the new scene at its start.
      if (paused) heldShowTime = scenes[current]->startTime;
    }
  }

  drawScreenMask();
  return 0;
}

void Demo::drawScreenMask() {
  // Scenes 2, 6 and 7 leave their own blend state for the mask; the finale
  // is masked on its first frame only.
  glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
  if (current != 2 && current != 6 && current != 7) glEnable(GL_BLEND);
  if (current == 7) {
    if (finaleMaskDrawn != 0) return;
    ++finaleMaskDrawn;
  }
  glBlendFunc(GL_DST_COLOR, GL_ZERO);
  screenMask->render(0.0f);
  glDisable(GL_BLEND);
}

int Demo::key(int code, int, int) {
  if ((code & 0xff) == 'a') skipRequested = true;
  return 0;
}

double Demo::showTime() {
  if (paused) return heldShowTime;
  if (captureClock) return static_cast<double>(lastClock) + musicOffset;
  const uint64_t now = platform::performanceCounter();
  return static_cast<double>(now - timerStart) / static_cast<double>(timerFrequency) + musicOffset;
}

float Demo::currentBeat() {
  if (count == 0) return 0.0f;
  const Scene* scene = scenes[current];
  return static_cast<float>((showTime() - scene->startTime) * scene->tempo / 60.0);
}

// Sets the running clock so that this instant is `seconds` of show time.
void Demo::setShowClock(double seconds) {
  if (captureClock) {
    musicOffset = static_cast<float>(seconds - lastClock);
  } else {
    timerStart = platform::performanceCounter();
    musicOffset = static_cast<float>(seconds);
  }
}

void Demo::setPaused(bool pause) {
  if (pause == paused || count == 0) return;
  if (pause) {
    heldShowTime = showTime();
    paused = true;
    if (!captureClock) music->pause();
    return;
  }
  paused = false;
  setShowClock(heldShowTime);
  if (!captureClock) {
    // NOTE: the sound goes on from the held time itself, so a pause never
    // lets picture and music drift apart.
    music->seek(static_cast<int>(heldShowTime * 1000.0 + 0.5));
    music->unpause();
  }
}

bool Demo::seekShow(double seconds) {
  if (count == 0 || seconds < 0.0 || seconds >= accumulatedStart) return false;
  int index = count - 1;
  while (index > 0 && scenes[index]->startTime > seconds) --index;
  if (index != current) {
    // Entered as a skip enters a scene: the attributes the last scene
    // changed are undone and the new one pushes afresh on its first frame.
    if (!attribPushPending) {
      glPopAttrib();
      attribPushPending = true;
    }
    current = index;
    skipRequested = false;
    finaleMaskDrawn = 0;
  }
  if (paused)
    heldShowTime = seconds;
  else
    setShowClock(seconds);
  if (!captureClock) music->seek(static_cast<int>(seconds * 1000.0 + 0.5));
  return true;
}

bool Demo::jumpBeats(float beats) {
  if (count == 0) return false;
  const double target = showTime() + beats * 60.0 / scenes[current]->tempo;
  return seekShow(target < 0.0 ? 0.0 : target);
}
