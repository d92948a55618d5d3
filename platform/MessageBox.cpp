// MessageBox: SDL message boxes, or standard error without a display.
#include "platform/MessageBox.h"

#include <SDL2/SDL.h>

#include <cstdio>

#include "platform/Window.h"

namespace platform {

static MessageObserver observer;

void setMessageObserver(MessageObserver o) { observer = std::move(o); }

static Uint32 iconFlags(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Warning: return SDL_MESSAGEBOX_WARNING;
    case MessageIcon::Stop: return SDL_MESSAGEBOX_ERROR;
    case MessageIcon::Information: return SDL_MESSAGEBOX_INFORMATION;
    case MessageIcon::None: break;
  }
  return 0;
}

MessageAnswer messageBox(const char* text, const char* caption, MessageIcon icon,
                         MessageButtons buttons) {
  // The first button is the default answer, as on the desktop the show was
  // made for.
  const MessageAnswer defaultAnswer =
      buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
  if (observer) return observer(MessageRecord{text, caption, icon, buttons});

  if (!hasDisplay()) {
    std::fprintf(stderr, "[%s] %s\n", caption, text);
    return defaultAnswer;
  }

  SDL_MessageBoxButtonData yesNo[2] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
      {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
  };
  SDL_MessageBoxButtonData ok[1] = {
      {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT | SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 1, "OK"},
  };
  SDL_MessageBoxData data{};
  data.flags = iconFlags(icon);
  data.title = caption;
  data.message = text;
  if (buttons == MessageButtons::YesNo) {
    data.numbuttons = 2;
    data.buttons = yesNo;
  } else {
    data.numbuttons = 1;
    data.buttons = ok;
  }
  int pressed = -1;
  if (SDL_ShowMessageBox(&data, &pressed) != 0) {
    std::fprintf(stderr, "[%s] %s\n", caption, text);
    return defaultAnswer;
  }
  if (buttons == MessageButtons::YesNo) return pressed == 0 ? MessageAnswer::No : MessageAnswer::Yes;
  return MessageAnswer::Ok;
}

}  // namespace platform
