// The toolkit's dialog behind MessageBox, answered from inside its own event loop the way a
// person would answer it: by reading its buttons and pressing one.
#include "platform/message_box.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "platform/sjis.h"
#include "platform/sjis_literal.h"

namespace {

using namespace platform;

struct Shown {
  std::vector<std::string> labels;  // Shift-JIS, sorted: the desktop's convention orders them
  std::string defaultLabel;
};

// Shows the dialog; once it is up, reads it and presses the button with that label (or, with an
// empty label, closes the box without one).
int ShowAndPress(UINT flags, const std::string& press, Shown* shown) {
  QTimer::singleShot(0, [press, shown] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    ASSERT_NE(box, nullptr);
    QAbstractButton* target = nullptr;
    for (QAbstractButton* b : box->buttons()) {
      const std::string label = Utf8ToSjis(b->text().toStdString());
      shown->labels.push_back(label);
      if (label == press) target = b;
    }
    std::sort(shown->labels.begin(), shown->labels.end());
    if (box->defaultButton()) shown->defaultLabel = Utf8ToSjis(box->defaultButton()->text().toStdString());
    if (target) {
      target->click();
    } else {
      box->reject();
    }
  });
  return ShowMessageDialog(MessageBoxRequest{nullptr, "本文"_sj, "見出し"_sj, flags});
}

TEST(MessageDialog, ButtonsReadInJapaneseAndAnswerWithTheirIds) {
  const std::string ok = "OK", cancel = "キャンセル"_sj, yes = "はい(&Y)"_sj, no = "いいえ(&N)"_sj;
  const std::string abort = "中止(&A)"_sj, retry = "再試行(&R)"_sj, ignore = "無視(&I)"_sj;
  struct Case {
    const char* name;
    UINT flags;
    std::vector<std::string> labels;
    std::string defaultLabel;
    std::string press;  // empty: closed without a button
    int answer;
  } cases[] = {
      {"ok", MB_OK, {ok}, ok, ok, IDOK},
      {"ok closed", MB_OK | MB_ICONHAND, {ok}, ok, "", IDOK},
      {"ok cancel", MB_OKCANCEL, {ok, cancel}, ok, cancel, IDCANCEL},
      {"yes no", MB_YESNO | MB_ICONQUESTION, {yes, no}, yes, yes, IDYES},
      {"yes no, second default", MB_YESNO | MB_DEFBUTTON2 | MB_TOPMOST, {yes, no}, no, no, IDNO},
      {"yes no closed", MB_YESNO, {yes, no}, yes, "", IDNO},
      {"yes no cancel closed", MB_YESNOCANCEL, {yes, no, cancel}, yes, "", IDCANCEL},
      {"retry cancel", MB_RETRYCANCEL, {retry, cancel}, retry, retry, IDRETRY},
      {"abort retry ignore", MB_ABORTRETRYIGNORE, {abort, retry, ignore}, abort, ignore, IDIGNORE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Shown shown;
    EXPECT_EQ(ShowAndPress(c.flags, c.press, &shown), c.answer);
    std::vector<std::string> labels = c.labels;
    std::sort(labels.begin(), labels.end());
    EXPECT_EQ(shown.labels, labels);
    EXPECT_EQ(shown.defaultLabel, c.defaultLabel);
  }
}

}  // namespace
