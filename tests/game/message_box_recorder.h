// Answers every message box of a test with its first button and records what was asked.
#pragma once

#include <string>
#include <vector>

#include "platform/message_box.h"

class MessageBoxRecorder {
 public:
  MessageBoxRecorder() {
    m_previous = platform::SetMessageBoxHook([this](const platform::MessageBoxRequest& r) {
      m_boxes.push_back(r);
      return m_answer;
    });
  }
  ~MessageBoxRecorder() { platform::SetMessageBoxHook(std::move(m_previous)); }
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

  const std::vector<platform::MessageBoxRequest>& boxes() const { return m_boxes; }
  std::vector<std::string> texts() const {
    std::vector<std::string> t;
    for (const auto& b : m_boxes) t.push_back(b.text);
    return t;
  }
  void Clear() { m_boxes.clear(); }
  // The button every later question is answered with.
  void SetAnswer(int answer) { m_answer = answer; }

 private:
  std::vector<platform::MessageBoxRequest> m_boxes;
  platform::MessageBoxHook m_previous;
  int m_answer = IDOK;
};
