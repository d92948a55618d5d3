// Audio: SDL2_mixer behind the Music class; one shared output.
#include "platform/Audio.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>
#include <dlfcn.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/Clock.h"

namespace platform {

namespace {

constexpr int kOutputRate = 44100;
// A 1024-frame mixing buffer (23 ms) keeps the position steps and the
// latency small without risking underruns.
constexpr int kChunkFrames = 1024;

int outputUsers = 0;
bool outputIsOpen = false;
bool outputWanted = true;
// A device that failed once is not probed again: every probe costs time
// and, on ALSA, a screen of the library's own complaints.
bool deviceFailed = false;
std::string outputError;

// ALSA prints its errors to standard error unless given a handler. SDL
// loads the library at run time, so the handler is set through the same
// shared copy before SDL probes; the library stays loaded to keep it.
void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

void silenceAlsa() {
  static bool done = false;
  if (done) return;
  done = true;
  void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_GLOBAL);
  if (!alsa) return;
  using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
  using SetErrorHandler = int (*)(ErrorHandler);
  auto set = reinterpret_cast<SetErrorHandler>(dlsym(alsa, "snd_lib_error_set_handler"));
  if (set) set(ignoreAlsaError);
}

bool openMixer() {
  if (Mix_OpenAudio(kOutputRate, AUDIO_S16SYS, 2, kChunkFrames) == 0) return true;
  outputError = Mix_GetError();
  return false;
}

// Opens the output on the default driver; when that fails the streams run
// silent on the wall clock (said once, in one line).
void acquireOutput() {
  if (outputUsers++ > 0) return;
  if (!outputWanted || deviceFailed) return;
  silenceAlsa();
  Mix_Init(MIX_INIT_MP3);
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
    if (openMixer()) {
      outputIsOpen = true;
      return;
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  } else {
    outputError = SDL_GetError();
  }
  Mix_Quit();
  deviceFailed = true;
  for (char& c : outputError)
    if (c == '\n' || c == '\r') c = ' ';
  std::printf("No sound device (%s): the show plays silent.\n", outputError.c_str());
  std::fflush(stdout);
}

void releaseOutput() {
  if (--outputUsers > 0) return;
  if (outputIsOpen) {
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    Mix_Quit();
  }
  outputIsOpen = false;
}

}  // namespace

struct Music::State {
  Mix_Music* music = nullptr;
  bool paused = true;
  std::string error;
  // The silent stream: its position is `baseMs` plus the wall-clock time
  // since `startTick` while it runs.
  bool silent = false;
  int baseMs = 0;
  uint32_t startTick = 0;
};

void setSoundOutputWanted(bool wanted) {
  if (outputUsers == 0) outputWanted = wanted;
}

Music::Music() : state(new State) { acquireOutput(); }

Music::~Music() {
  close();
  delete state;
  releaseOutput();
}

bool Music::outputOpen() const { return outputIsOpen; }

bool Music::openFromMemory(const unsigned char* data, size_t size) {
  close();
  if (!outputIsOpen) {
    state->silent = true;
    state->baseMs = 0;
    state->paused = true;
    return true;
  }
  SDL_RWops* source = SDL_RWFromConstMem(data, int(size));
  if (!source) {
    state->error = SDL_GetError();
    return false;
  }
  state->music = Mix_LoadMUS_RW(source, 1);
  if (!state->music) {
    state->error = Mix_GetError();
    return false;
  }
  // Playback must not be heard before the caller unpauses it: start it
  // muted, pause it, put it back to 0, and only then restore the volume.
  const int volume = Mix_VolumeMusic(-1);
  Mix_VolumeMusic(0);
  if (Mix_PlayMusic(state->music, 0) != 0) {
    state->error = Mix_GetError();
    Mix_VolumeMusic(volume);
    close();
    return false;
  }
  Mix_PauseMusic();
  Mix_SetMusicPosition(0.0);
  Mix_VolumeMusic(volume);
  state->paused = true;
  return true;
}

void Music::close() {
  state->silent = false;
  if (!state->music) return;
  Mix_HaltMusic();
  Mix_FreeMusic(state->music);
  state->music = nullptr;
  state->paused = true;
}

bool Music::isOpen() const { return state->music != nullptr || state->silent; }

void Music::setPaused(bool paused) {
  if (state->silent) {
    if (paused == state->paused) return;
    if (paused)
      state->baseMs = positionMs();
    else
      state->startTick = wallMilliseconds();
    state->paused = paused;
    return;
  }
  if (!state->music) return;
  if (paused)
    Mix_PauseMusic();
  else
    Mix_ResumeMusic();
  state->paused = paused;
}

bool Music::isPaused() const { return state->paused; }

void Music::seekMs(int ms) {
  if (state->silent) {
    state->baseMs = ms < 0 ? 0 : ms;
    state->startTick = wallMilliseconds();
    return;
  }
  if (!state->music) return;
  Mix_SetMusicPosition(ms < 0 ? 0.0 : ms / 1000.0);
}

int Music::positionMs() const {
  if (state->silent)
    return state->paused ? state->baseMs
                         : state->baseMs + int(wallMilliseconds() - state->startTick);
  if (!state->music) return 0;
  double seconds = Mix_GetMusicPosition(state->music);
  return seconds < 0.0 ? 0 : int(std::floor(seconds * 1000.0 + 1e-6));
}

int Music::lengthMs() const {
  if (!state->music) return 0;
  double seconds = Mix_MusicDuration(state->music);
  return seconds < 0.0 ? 0 : int(std::floor(seconds * 1000.0 + 1e-6));
}

const char* Music::lastError() const { return state->error.c_str(); }

}  // namespace platform
