// Window: SDL2 window, OpenGL context and the message queue.
#include "platform/Window.h"

#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>

#include "res/icon.xpm"

namespace platform {

static bool videoReady = false;
static bool realDisplay = false;
static SDL_Window* window = nullptr;
static SDL_GLContext context = nullptr;
static std::deque<Message> pending;

bool initVideo() {
  if (videoReady) return true;
  if (SDL_WasInit(0) == 0) SDL_Init(0);
  SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0) {
    videoReady = true;
  } else if (SDL_SetHint(SDL_HINT_VIDEODRIVER, "offscreen"),
             SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0) {
    // No display: render headless through EGL.
    videoReady = true;
  } else {
    std::fprintf(stderr, "No video driver could be started: %s\n", SDL_GetError());
    return false;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  realDisplay = driver != nullptr && std::strcmp(driver, "offscreen") != 0 &&
                std::strcmp(driver, "dummy") != 0;
  return true;
}

bool hasDisplay() { return initVideo() && realDisplay; }

void desktopSize(int* width, int* height) {
  const char* standIn = std::getenv("ZOLT_OFFSCREEN_DESKTOP");
  int w = 0, h = 0;
  if (initVideo() && !realDisplay && standIn != nullptr &&
      std::sscanf(standIn, "%dx%d", &w, &h) == 2 && w > 0 && h > 0 && w <= 16384 && h <= 16384) {
    *width = w;
    *height = h;
    return;
  }
  SDL_DisplayMode mode;
  if (initVideo() && SDL_GetDesktopDisplayMode(0, &mode) == 0 && mode.w > 0 && mode.h > 0) {
    *width = mode.w;
    *height = mode.h;
  } else {
    *width = 640;
    *height = 480;
  }
}

bool displayModeAvailable(int width, int height) {
  if (!initVideo() || !realDisplay) return false;
  int count = SDL_GetNumDisplayModes(0);
  for (int i = 0; i < count; ++i) {
    SDL_DisplayMode mode;
    if (SDL_GetDisplayMode(0, i, &mode) == 0 && mode.w == width && mode.h == height &&
        SDL_BITSPERPIXEL(mode.format) >= 24)
      return true;
  }
  return false;
}

// The window's icon from the show's XPM (one character per pixel).
static void setWindowIcon() {
  int w = 0, h = 0, colours = 0, perPixel = 0;
  if (std::sscanf(zoltIcon[0], "%d %d %d %d", &w, &h, &colours, &perPixel) != 4 || perPixel != 1)
    return;
  std::map<char, Uint32> palette;
  for (int i = 1; i <= colours; ++i) {
    unsigned rgb = 0;
    const char* hash = std::strchr(zoltIcon[i], '#');
    if (hash != nullptr && std::sscanf(hash + 1, "%x", &rgb) == 1)
      palette[zoltIcon[i][0]] = 0xff000000u | rgb;
  }
  SDL_Surface* icon = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_ARGB8888);
  if (icon == nullptr) return;
  for (int y = 0; y < h; ++y) {
    Uint32* row = reinterpret_cast<Uint32*>(static_cast<Uint8*>(icon->pixels) + y * icon->pitch);
    for (int x = 0; x < w; ++x) row[x] = palette[zoltIcon[1 + colours + y][x]];
  }
  SDL_SetWindowIcon(window, icon);
  SDL_FreeSurface(icon);
}

bool createWindow(const char* title, int width, int height) {
  if (!initVideo()) return false;
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 1);
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 8);
  SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
  window = SDL_CreateWindow(title, SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, width, height,
                            SDL_WINDOW_OPENGL | SDL_WINDOW_BORDERLESS | SDL_WINDOW_HIDDEN);
  if (window == nullptr) {
    std::fprintf(stderr, "SDL_CreateWindow: %s\n", SDL_GetError());
    return false;
  }
  setWindowIcon();
  SDL_StartTextInput();
  return true;
}

void destroyWindow() {
  if (window != nullptr) SDL_DestroyWindow(window);
  window = nullptr;
}

bool windowExists() { return window != nullptr; }

bool enterFullScreen(int width, int height) {
  if (window == nullptr) return false;
  SDL_DisplayMode want{};
  want.w = width;
  want.h = height;
  SDL_DisplayMode mode;
  if (SDL_GetClosestDisplayMode(0, &want, &mode) == nullptr || mode.w != width ||
      mode.h != height)
    return false;
  if (SDL_SetWindowDisplayMode(window, &mode) != 0) return false;
  return SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) == 0;
}

bool enterDesktopFullScreen() {
  if (window == nullptr) return false;
  if (!realDisplay) return true;
  return SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
}

void leaveFullScreen() {
  if (window != nullptr) SDL_SetWindowFullscreen(window, 0);
}

void centerAndShowWindow() {
  if (window == nullptr) return;
  int desktopW, desktopH, w, h;
  desktopSize(&desktopW, &desktopH);
  SDL_GetWindowSize(window, &w, &h);
  SDL_SetWindowPosition(window, desktopW / 2 - w / 2, desktopH / 2 - h / 2);
  SDL_ShowWindow(window);
  SDL_RaiseWindow(window);
}

void showCursor(bool show) { SDL_ShowCursor(show ? SDL_ENABLE : SDL_DISABLE); }

void windowSize(int* width, int* height) {
  if (window == nullptr) {
    *width = *height = 0;
    return;
  }
  SDL_GetWindowSize(window, width, height);
}

void drawableSize(int* width, int* height) {
  *width = *height = 0;
  if (window != nullptr) SDL_GL_GetDrawableSize(window, width, height);
}

bool createContext() {
  if (window == nullptr) return false;
  context = SDL_GL_CreateContext(window);
  if (context == nullptr) std::fprintf(stderr, "SDL_GL_CreateContext: %s\n", SDL_GetError());
  return context != nullptr;
}

bool makeContextCurrent() {
  return window != nullptr && context != nullptr && SDL_GL_MakeCurrent(window, context) == 0;
}

bool releaseContext() { return SDL_GL_MakeCurrent(window, nullptr) == 0; }

bool deleteContext() {
  if (context == nullptr) return false;
  SDL_GL_DeleteContext(context);
  context = nullptr;
  return true;
}

bool contextExists() { return context != nullptr; }

static void (*beforeSwap)() = nullptr;

void setBeforeSwap(void (*hook)()) { beforeSwap = hook; }

void swapBuffers() {
  if (window == nullptr) return;
  if (beforeSwap != nullptr) beforeSwap();
  SDL_GL_SwapWindow(window);
}

void setSwapInterval(int interval) { SDL_GL_SetSwapInterval(interval); }

int virtualKeyFor(int32_t key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  if (key >= SDLK_F1 && key <= SDLK_F12) return 112 + (key - SDLK_F1);
  if (key >= SDLK_KP_1 && key <= SDLK_KP_9) return 97 + (key - SDLK_KP_1);
  struct KeyRow {
    int32_t sdl;
    int vk;
  };
  static const KeyRow table[] = {
      {SDLK_ESCAPE, 27},     {SDLK_RETURN, 13},    {SDLK_SPACE, 32},     {SDLK_BACKSPACE, 8},
      {SDLK_TAB, 9},         {SDLK_LEFT, 37},      {SDLK_UP, 38},        {SDLK_RIGHT, 39},
      {SDLK_DOWN, 40},       {SDLK_KP_0, 96},      {SDLK_KP_MULTIPLY, 106}, {SDLK_KP_PLUS, 107},
      {SDLK_KP_MINUS, 109},  {SDLK_KP_PERIOD, 110}, {SDLK_KP_DIVIDE, 111}, {SDLK_LSHIFT, 16},
      {SDLK_RSHIFT, 16},     {SDLK_LCTRL, 17},     {SDLK_RCTRL, 17},     {SDLK_LALT, 18},
      {SDLK_RALT, 18},       {SDLK_PAUSE, 19},     {SDLK_PAGEUP, 33},    {SDLK_PAGEDOWN, 34},
      {SDLK_END, 35},        {SDLK_HOME, 36},      {SDLK_INSERT, 45},    {SDLK_DELETE, 46},
  };
  for (const KeyRow& row : table)
    if (row.sdl == key) return row.vk;
  return 0;
}

// Turns one SDL event into the messages the loop understands.
static void translate(const SDL_Event& event) {
  Message m{};
  switch (event.type) {
    case SDL_QUIT:
      m.kind = MessageKind::Close;
      pending.push_back(m);
      break;
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          m.kind = MessageKind::Close;
          pending.push_back(m);
          break;
        case SDL_WINDOWEVENT_MINIMIZED:
          m.kind = MessageKind::Activate;
          m.minimized = true;
          pending.push_back(m);
          break;
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          m.kind = MessageKind::Activate;
          m.minimized = (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED) != 0;
          pending.push_back(m);
          break;
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          m.kind = MessageKind::Size;
          m.width = event.window.data1;
          m.height = event.window.data2;
          pending.push_back(m);
          break;
        default:
          break;
      }
      break;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
      int vk = virtualKeyFor(event.key.keysym.sym);
      if (vk == 0) break;
      m.kind = event.type == SDL_KEYDOWN ? MessageKind::KeyDown : MessageKind::KeyUp;
      m.param = vk;
      pending.push_back(m);
      // Escape has no text event of its own, but the window receives it as a
      // character too.
      if (event.type == SDL_KEYDOWN && vk == 27) {
        m.kind = MessageKind::Char;
        pending.push_back(m);
      }
      break;
    }
    case SDL_TEXTINPUT:
      for (const char* c = event.text.text; *c != '\0'; ++c) {
        unsigned char ch = static_cast<unsigned char>(*c);
        if (ch >= 0x80) continue;  // only single-byte characters have codes
        m.kind = MessageKind::Char;
        m.param = ch;
        pending.push_back(m);
      }
      break;
    default:
      break;
  }
}

bool peekMessage(Message* message) {
  if (pending.empty() && videoReady) {
    SDL_Event event;
    while (pending.empty() && SDL_PollEvent(&event)) translate(event);
  }
  if (pending.empty()) return false;
  *message = pending.front();
  pending.pop_front();
  return true;
}

void postQuit(int code) {
  Message m{};
  m.kind = MessageKind::Quit;
  m.param = code;
  pending.push_back(m);
}

void postMessage(const Message& message) { pending.push_back(message); }

}  // namespace platform
