// MessageBox: a modal message with a caption, an icon and Ok or Yes/No.
//
// With a display this is an SDL message box. Without one (or when SDL's
// video cannot start) the text and caption go to standard error and the
// default answer is taken, so nothing ever blocks a headless run.
#pragma once

#include <functional>
#include <string>

namespace platform {

enum class MessageIcon { None, Warning, Stop, Information };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

MessageAnswer messageBox(const char* text, const char* caption, MessageIcon icon,
                         MessageButtons buttons = MessageButtons::Ok);

// Every message box also goes to this observer when one is set, so a
// caller can see what the show told the viewer. It may return an answer to take
// instead of asking; std::nullopt-like "no preference" is Ok for Ok boxes.
struct MessageRecord {
  std::string text;
  std::string caption;
  MessageIcon icon;
  MessageButtons buttons;
};
using MessageObserver = std::function<MessageAnswer(const MessageRecord&)>;
void setMessageObserver(MessageObserver observer);

}  // namespace platform
