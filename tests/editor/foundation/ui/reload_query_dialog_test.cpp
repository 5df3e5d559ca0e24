#include "editor/foundation/ui/reload_query_dialog.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/dialog_test.h"
#include "platform/sjis_literal.h"

namespace {

namespace dt = platform::dialog_test;

// Runs the question with the action of a person; returns the answer.
int Ask(const char* path, bool modified, const std::function<void(HWND)>& act) {
  const dt::ShownHook previous = dt::SetShownHook(act);
  CReloadQueryDialog dialog;
  const int answer = dialog.DoModal(nullptr, nullptr, path, modified);
  dt::SetShownHook(previous);
  return answer;
}

TEST(ReloadQueryDialog, ButtonsAndKeys) {
  struct Case {
    const char* name;
    std::function<bool(HWND)> act;
    int answer;
  };
  const Case cases[] = {
      {"reload", [](HWND d) { return dt::Click(d, 1433); }, CReloadQueryDialog::kReload},
      {"notify only", [](HWND d) { return dt::Click(d, 1435); }, CReloadQueryDialog::kNotifyOnly},
      {"stop watching", [](HWND d) { return dt::Click(d, 1438); }, CReloadQueryDialog::kStopWatching},
      {"cancel", [](HWND d) { return dt::Click(d, IDCANCEL); }, CReloadQueryDialog::kCancel},
      {"Enter reloads", [](HWND d) { return dt::PressKey(d, dt::Key::kEnter); }, CReloadQueryDialog::kReload},
      {"Esc cancels", [](HWND d) { return dt::PressKey(d, dt::Key::kEscape); }, CReloadQueryDialog::kCancel},
      {"the close button cancels", [](HWND d) { return dt::CloseButton(d); }, CReloadQueryDialog::kCancel},
  };
  for (const Case& c : cases) {
    bool acted = false;
    EXPECT_EQ(Ask("/p/a.txt", false, [&](HWND d) { acted = c.act(d); }), c.answer) << c.name;
    EXPECT_TRUE(acted) << c.name;
  }
}

TEST(ReloadQueryDialog, ShowsThePathAndTheQuestion) {
  for (const bool modified : {false, true}) {
    std::string templateName;
    std::string path;
    std::string question;
    Ask("/p/表&.txt"_sj, modified, [&](HWND d) {
      templateName = dt::TemplateOf(d);
      path = dt::Query(d, 1440)->text;
      question = dt::Query(d, 1441)->text;
      for (int id : {1433, 1435, 1438, static_cast<int>(IDCANCEL)}) EXPECT_TRUE(dt::Query(d, id)->enabled) << id;
      EXPECT_TRUE(dt::Query(d, 1433)->isDefault);
      if (modified) dt::SaveImage(d, (std::string(VREL_BINARY_DIR) + "/reload_query_dialog.png").c_str());
      dt::Click(d, IDCANCEL);
    });
    EXPECT_EQ(templateName, "225");
    EXPECT_EQ(path, "/p/表&.txt"_sj);
    EXPECT_EQ(question, modified ? "再ロードを行うと変更が失われますがよろしいですか?"_sj : "再ロードしますか?"_sj);
  }
}

}  // namespace
