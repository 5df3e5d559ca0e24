// A process launcher that starts nothing: it keeps what each launch asked for and answers as told.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/process.h"

class FakeProcessLauncher final : public platform::ProcessLauncher {
 public:
  struct Call {
    std::string text;
    std::string folder;
    std::optional<std::chrono::milliseconds> limit;
  };
  Result Launch(std::string_view commandText, std::string_view folder,
                std::optional<std::chrono::milliseconds> readyLimit) override {
    calls.push_back({std::string(commandText), std::string(folder), readyLimit});
    return answer;
  }
  std::vector<Call> calls;
  Result answer{Status::kStarted, {}};
};
