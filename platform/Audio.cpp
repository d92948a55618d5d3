// Audio: SDL2_mixer behind the Music class; one shared output.
#include "platform/Audio.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_mixer.h>

#include <cmath>
#include <string>

namespace platform {

namespace {

constexpr int kOutputRate = 44100;
// A 1024-frame mixing buffer (23 ms) keeps the position steps and the
// latency small without risking underruns.
constexpr int kChunkFrames = 1024;

int outputUsers = 0;
bool outputIsOpen = false;
std::string outputError;

bool openMixer() {
  if (Mix_OpenAudio(kOutputRate, AUDIO_S16SYS, 2, kChunkFrames) == 0) return true;
  outputError = Mix_GetError();
  return false;
}

// Opens the output on the default driver, else on the dummy driver, which
// plays nothing but consumes samples in real time.
void acquireOutput() {
  if (outputUsers++ > 0) return;
  Mix_Init(MIX_INIT_MP3);
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
    if (openMixer()) {
      outputIsOpen = true;
      return;
    }
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  // NOTE: the mixer starts the audio subsystem itself when it is not
  // running, so the dummy driver is chosen through the hint that subsystem
  // reads (overriding an environment variable that named the failed driver).
  SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) == 0) {
    outputIsOpen = openMixer();
    if (!outputIsOpen) SDL_QuitSubSystem(SDL_INIT_AUDIO);
  } else {
    outputError = SDL_GetError();
  }
}

void releaseOutput() {
  if (--outputUsers > 0) return;
  if (outputIsOpen) {
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  outputIsOpen = false;
  Mix_Quit();
}

}  // namespace

struct Music::State {
  Mix_Music* music = nullptr;
  bool paused = true;
  std::string error;
};

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
    state->error = "no sound output: " + outputError;
    return false;
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
  if (!state->music) return;
  Mix_HaltMusic();
  Mix_FreeMusic(state->music);
  state->music = nullptr;
  state->paused = true;
}

bool Music::isOpen() const { return state->music != nullptr; }

void Music::setPaused(bool paused) {
  if (!state->music) return;
  if (paused)
    Mix_PauseMusic();
  else
    Mix_ResumeMusic();
  state->paused = paused;
}

bool Music::isPaused() const { return state->paused; }

void Music::seekMs(int ms) {
  if (!state->music) return;
  Mix_SetMusicPosition(ms < 0 ? 0.0 : ms / 1000.0);
}

int Music::positionMs() const {
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
