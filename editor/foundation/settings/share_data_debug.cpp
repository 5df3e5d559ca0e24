// Debug output into the output window, which another process may still be starting.
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/sjis_char.h"
#include "platform/ipc.h"
#include "platform/sjis.h"

namespace {

constexpr int kDebugTextSize = 1024;

struct DebugOutput {
  std::mutex lock;
  std::function<void()> launch;
  std::chrono::milliseconds wait{10000};
};
DebugOutput& Output() {
  static DebugOutput output;
  return output;
}

}  // namespace

void CShareData::SetOutputWindowLauncher(std::function<void()> launch) {
  std::lock_guard guard(Output().lock);
  Output().launch = std::move(launch);
}

void CShareData::SetOutputWindowWait(std::chrono::milliseconds limit) {
  std::lock_guard guard(Output().lock);
  Output().wait = limit;
}

void CShareData::DebugPrint(const char* format, ...) {
  char text[kDebugTextSize] = "";
  if (format) {
    va_list args;
    va_start(args, format);
    const int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n >= static_cast<int>(sizeof text)) text[WholeCharsPrefixLength(text, sizeof text - 1, sizeof text - 1)] = '\0';
    if (n < 0) text[0] = '\0';
  }

  std::function<void()> launch;
  std::chrono::milliseconds wait;
  {
    std::lock_guard guard(Output().lock);
    launch = Output().launch;
    wait = Output().wait;
  }
  // The output window is registered by its own process once it runs: give it time to come.
  bool live = m_pShareData && IsEditWindow(m_pShareData->hwndOutput);
  if (!live && m_pShareData && launch) {
    launch();
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (!live && std::chrono::steady_clock::now() < deadline) {
      platform::ipc::ServeIncomingSends();
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      live = IsEditWindow(m_pShareData->hwndOutput);
    }
  }
  if (!live) {
    std::fprintf(stderr, "%s", platform::SjisToUtf8(text).c_str());
    return;
  }
  const EditWindowId output = m_pShareData->hwndOutput;
  platform::ipc::Activate(output);
  ExchangeLock exchange(*this);
  if (!exchange.Held()) {
    std::fprintf(stderr, "%s", platform::SjisToUtf8(text).c_str());
    return;
  }
  std::memcpy(m_pShareData->szExchangeText, text, std::strlen(text) + 1);
  platform::ipc::SendMessage(output, MYWM_ADDSTRING, 0, 0);
}
