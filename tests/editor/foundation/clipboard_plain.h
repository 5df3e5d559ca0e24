// The desktop clipboard's plain text as another program would read and write it.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/clipboard.h"

// The plain text (up to its NUL); nothing when the clipboard holds no text.
inline std::optional<std::string> ClipboardPlain() {
  if (!platform::OpenClipboard(nullptr)) return std::nullopt;
  std::optional<std::string> data = platform::GetClipboardData(CF_OEMTEXT);
  platform::CloseClipboard();
  if (data) data->resize(data->find('\0') == std::string::npos ? data->size() : data->find('\0'));
  return data;
}

// Puts plain text on the clipboard.
inline void SetClipboardPlain(const std::string& text) {
  ASSERT_TRUE(platform::OpenClipboard(nullptr));
  platform::EmptyClipboard();
  platform::SetClipboardData(CF_OEMTEXT, text);
  platform::CloseClipboard();
}
