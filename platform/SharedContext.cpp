// SharedContext: a second SDL GL context on the window's surface.
#include "platform/SharedContext.h"

#include <SDL2/SDL.h>

namespace platform {

struct SharedContext {
  SDL_Window* window;
  SDL_GLContext context;
  SDL_GLContext creatorContext;
};

SharedContext* createSharedContext(bool shareLists) {
  SDL_Window* window = SDL_GL_GetCurrentWindow();
  SDL_GLContext creator = SDL_GL_GetCurrentContext();
  if (window == nullptr || creator == nullptr) return nullptr;
  SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, shareLists ? 1 : 0);
  // NOTE: SDL makes a new context current; the creator's is put back below.
  SDL_GLContext context = SDL_GL_CreateContext(window);
  SDL_GL_SetAttribute(SDL_GL_SHARE_WITH_CURRENT_CONTEXT, 0);
  if (context == nullptr) {
    SDL_GL_MakeCurrent(window, creator);
    return nullptr;
  }
  if (SDL_GL_MakeCurrent(window, creator) != 0) {
    SDL_GL_DeleteContext(context);
    return nullptr;
  }
  return new SharedContext{window, context, creator};
}

bool makeSharedContextCurrent(SharedContext* shared) {
  return shared != nullptr && SDL_GL_MakeCurrent(shared->window, shared->context) == 0;
}

bool restoreCreatorContext(SharedContext* shared) {
  return shared != nullptr && SDL_GL_MakeCurrent(shared->window, shared->creatorContext) == 0;
}

void destroySharedContext(SharedContext* shared) {
  if (shared == nullptr) return;
  if (SDL_GL_GetCurrentContext() == shared->context) SDL_GL_MakeCurrent(shared->window, shared->creatorContext);
  SDL_GL_DeleteContext(shared->context);
  delete shared;
}

}  // namespace platform
