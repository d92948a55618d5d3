// Window: the show's one window, its OpenGL context and its messages.
//
// Stands where the window class, the GDI pixel format, the WGL context and
// the message queue stood: an SDL2 window with an OpenGL compatibility
// context (double buffer, depth 16, stencil 1, RGBA 32). Without a display
// the offscreen driver (EGL) is used, so everything renders headless.
#pragma once

#include <cstdint>

namespace platform {

// Starts the video layer once; falls back to the offscreen driver when no
// display can be opened. False only when no driver works at all.
bool initVideo();
// True when a real display is in use (not the offscreen driver).
bool hasDisplay();
// Size of the desktop. Without a display the offscreen driver's desktop is
// ZOLT_OFFSCREEN_DESKTOP ("1920x1080") where that is set, so headless runs
// can stand in for any screen.
void desktopSize(int* width, int* height);

// Full screen: whether the display offers exactly width x height at 32 bits.
bool displayModeAvailable(int width, int height);

// Creates the borderless window, hidden; false on failure.
bool createWindow(const char* title, int width, int height);
void destroyWindow();
bool windowExists();
// Puts the window into the full-screen mode of its size; false on failure.
bool enterFullScreen(int width, int height);
void leaveFullScreen();
// Full screen at the desktop's own size, without a display-mode change;
// false on failure. Without a display the window stays as it is.
bool enterDesktopFullScreen();
void centerAndShowWindow();
void showCursor(bool show);
void windowSize(int* width, int* height);
// Pixels of the window's GL surface (more than its size on a scaled desktop).
void drawableSize(int* width, int* height);

// The window's OpenGL context.
bool createContext();
bool makeContextCurrent();
bool releaseContext();   // no context current
bool deleteContext();
bool contextExists();
void swapBuffers();
// Called at every swap just before the buffers change (null: none); the
// show lays an off-screen picture into the window this way.
void setBeforeSwap(void (*hook)());
// Vertical sync where the driver allows it.
void setSwapInterval(int interval);

// Messages, as the loop expects them: one at a time, never blocking.
enum class MessageKind { Quit, Activate, Size, Close, KeyDown, KeyUp, Char };
struct Message {
  MessageKind kind;
  int param = 0;       // quit code, virtual-key or character code
  int width = 0;       // Size
  int height = 0;      // Size
  bool minimized = false;  // Activate
};
// Removes the next waiting message; false when none is waiting.
bool peekMessage(Message* message);
// Queues a quit message with the given code.
void postQuit(int code);
// Queues a message as if the window had received it (the dialog hands
// messages on this way).
void postMessage(const Message& message);

// Windows virtual-key number for an SDL key code (0 when it has none).
int virtualKeyFor(int32_t sdlKey);

}  // namespace platform
