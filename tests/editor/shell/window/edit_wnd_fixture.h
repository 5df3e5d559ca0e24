// Edit windows made as a process makes its one, offscreen, on a shared record of the test's own
// (every default), with the real splitter and panes in the box font and every message box answered
// and recorded. New editor processes are not started: a launcher records what would have been.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "box_font_engine.h"
#include "editor/foundation/document/doc_interfaces.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/shell/window/edit_menu_bar.h"
#include "editor/shell/window/edit_wnd.h"
#include "editor/view/pane/doc_views.h"
#include "platform/gui_app.h"
#include "platform/menu.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "scoped_named_objects.h"
#include "tests/platform/recording_window.h"

class RecordingLauncher : public IDocLauncher {
 public:
  bool LaunchEditorProcess(const char* text, int code, bool readOnly, bool, const char*) override {
    launched.push_back(Launch{text ? text : "", code, readOnly});
    return true;
  }
  struct Launch {
    std::string text;
    int code;
    bool readOnly;
  };
  std::vector<Launch> launched;
};

class EditWndFixture : public testing::Test {
 protected:
  explicit EditWndFixture(const char* stem = "CEditWnd-test") : names(stem) {}

  void SetUp() override {
    platform::EnsureGuiApp();
    CShareData::InitDefaults(*record);
    share.Attach(record.get(), names.c_str());
    InstallDocViews();
    platform::UseMenuBars();
    RegisterEditMenuResource();
    previousBox = platform::SetMessageBoxHook([this](const platform::MessageBoxRequest& request) {
      boxes.push_back(request.text);
      return IDOK;
    });
    previousLauncher = GetDocLauncher();
    SetDocLauncher(&launcher);
    folder = std::filesystem::temp_directory_path() / ("editwnd-" + std::to_string(::getpid()) + "-" +
                                                       testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder);
  }
  void TearDown() override {
    windows.clear();
    Pump();
    SetDocViewsFactory(nullptr);
    SetDocLauncher(previousLauncher);
    platform::SetMessageBoxHook(previousBox);
    std::error_code error;
    std::filesystem::remove_all(folder, error);
  }

  // A window as Create makes it; null when Create refused.
  CEditWnd* Make(const char* path = nullptr, const RecentFileRecord& request = kEmptyRecentFileRecord,
                 EditWindowId resident = 0) {
    auto window = std::make_unique<CEditWnd>(share);
    window->SetWindowRequest(request);
    if (!window->Create(nullptr, resident, path, 99, false, -1)) return nullptr;
    windows.push_back(std::move(window));
    Pump();
    return windows.back().get();
  }
  // A file of the test's folder with these bytes; its path.
  std::string File(const std::string& name, const std::string& bytes) {
    const std::filesystem::path path = folder / name;
    std::ofstream(path, std::ios::binary) << bytes;
    return path.string();
  }
  static void Pump() { platform_test::PumpTranslated(); }
  static RECT Outer(HWND hwnd) {
    RECT rc{};
    platform::GetWindowRect(hwnd, &rc);
    return rc;
  }
  static RECT Client(HWND hwnd) {
    RECT rc{};
    platform::GetClientRect(hwnd, &rc);
    return rc;
  }

  BoxFontScope fonts;
  const ScopedNamedObjects names;
  std::unique_ptr<SharedSettings> record = std::make_unique<SharedSettings>();
  CShareData share;
  RecordingLauncher launcher;
  IDocLauncher* previousLauncher = nullptr;
  platform::MessageBoxHook previousBox;
  std::vector<std::string> boxes;
  std::filesystem::path folder;
  std::vector<std::unique_ptr<CEditWnd>> windows;
};
