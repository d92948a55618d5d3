// Message boxes for fuzzers: counted, never shown, so a fuzzer links the
// loaders without SDL and runs at full speed.
#include "platform/MessageBox.h"

namespace platform {

int fuzzMessageBoxes = 0;

MessageAnswer messageBox(const char*, const char*, MessageIcon, MessageButtons) {
  ++fuzzMessageBoxes;
  return MessageAnswer::Ok;
}

void setMessageObserver(MessageObserver) {}

}  // namespace platform
