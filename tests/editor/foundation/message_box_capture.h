// Answers every message box while a test runs and keeps what it was asked.
#pragma once

#include <string>
#include <vector>

#include "platform/message_box.h"

class MessageBoxCapture {
 public:
  explicit MessageBoxCapture(int answer = IDOK) {
    m_previous = platform::SetMessageBoxHook([this, answer](const platform::MessageBoxRequest& r) {
      requests.push_back(r);
      return answer;
    });
  }
  ~MessageBoxCapture() { platform::SetMessageBoxHook(m_previous); }
  MessageBoxCapture(const MessageBoxCapture&) = delete;
  MessageBoxCapture& operator=(const MessageBoxCapture&) = delete;

  std::vector<platform::MessageBoxRequest> requests;

 private:
  platform::MessageBoxHook m_previous;
};
