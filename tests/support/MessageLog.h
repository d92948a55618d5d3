// MessageLog: collects every message box the show raises while it lives,
// answering each with its default.
#pragma once

#include <vector>

#include "platform/MessageBox.h"

namespace testsupport {

struct MessageLog {
  std::vector<platform::MessageRecord> boxes;
  MessageLog() {
    platform::setMessageObserver([this](const platform::MessageRecord& record) {
      boxes.push_back(record);
      return record.buttons == platform::MessageButtons::YesNo ? platform::MessageAnswer::Yes
                                                               : platform::MessageAnswer::Ok;
    });
  }
  ~MessageLog() { platform::setMessageObserver(nullptr); }
  MessageLog(const MessageLog&) = delete;
  MessageLog& operator=(const MessageLog&) = delete;
};

}  // namespace testsupport
