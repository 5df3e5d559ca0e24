#include <gtest/gtest.h>

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "editor/foundation/document/auto_save_timer.h"
#include "fake_ports.h"
#include "save_doc_fixture.h"
#include "editor/foundation/document/local_time_pin.h"
#include "platform/clock.h"
#include "platform/dialog_test.h"
#include "platform/sjis_literal.h"

namespace {

namespace dt = platform::dialog_test;

constexpr uint32_t kMinute = 60000;

void SetFileTime(const std::string& path, int64_t ns) {
  const timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

TEST(AutoSaveTimer, Periods) {
  struct Case {
    const char* name;
    int minutes;
    uint32_t start;
    uint32_t period;  // ms
  };
  const Case cases[] = {
      {"0 minutes count as 1", 0, 1000, kMinute},
      {"negative minutes count as 1", -5, 1000, kMinute},
      {"5 minutes", 5, 1000, 5 * kMinute},
      {"a huge interval is held at 35791 minutes", 1 << 30, 1000, 35791u * kMinute},
      {"the tick counter wraps within the period", 2, 0xFFFFFFFFu - 30000, 2 * kMinute},
  };
  for (const Case& c : cases) {
    platform::ManualClock clock(c.start);
    CAutoSaveTimer timer;
    timer.SetInterval(c.minutes);
    EXPECT_FALSE(timer.IsDue()) << c.name << ": disabled";
    timer.Enable(true);
    clock.Advance(c.period - 1);
    EXPECT_FALSE(timer.IsDue()) << c.name;
    clock.Advance(1);
    EXPECT_TRUE(timer.IsDue()) << c.name;
    EXPECT_FALSE(timer.IsDue()) << c.name << ": the period restarted";
    clock.Advance(c.period);
    EXPECT_TRUE(timer.IsDue()) << c.name;
  }
}

// Switching on restarts the period; the same state again changes nothing.
TEST(AutoSaveTimer, EnableRestartsOnlyWhenSwitchedOn) {
  platform::ManualClock clock(0);
  CAutoSaveTimer timer;
  timer.SetInterval(1);
  timer.Enable(true);
  clock.Advance(kMinute / 2);
  timer.Enable(true);
  clock.Advance(kMinute / 2);
  EXPECT_TRUE(timer.IsDue());
  clock.Advance(kMinute / 2);
  timer.Enable(false);
  timer.Enable(true);
  clock.Advance(kMinute / 2);
  EXPECT_FALSE(timer.IsDue());
  clock.Advance(kMinute / 2);
  EXPECT_TRUE(timer.IsDue());
}

class DocAutoSave : public SaveDocFixture {
 protected:
  DocAutoSave() {
    Common().bBackUpType2_Opt1 |= 0x40;
    Common().bBackUpType2_Opt3 = 1;
  }
  platform::ManualClock clock{0};
};

TEST_F(DocAutoSave, SavesAModifiedNamedDocumentEachPeriod) {
  dir.Write("a.txt", "old");
  auto doc = MakeDoc(dir.File("a.txt"), {"new"});
  doc->ReloadAutoSaveSettings();
  clock.Advance(kMinute - 1);
  doc->CheckAutoSave();
  EXPECT_EQ(dir.Read("a.txt"), "old");
  // The save takes a while: the next period starts after it.
  onBox = [&](const platform::MessageBoxRequest&) { clock.Advance(kMinute / 2); };
  Common().bBackUp = 1;
  Common().bBackUpDialog = 1;
  Common().nBackUpType = 5;
  answers["バックアップ作成の確認"_sj] = IDNO;
  clock.Advance(1);
  doc->CheckAutoSave();
  EXPECT_EQ(dir.Read("a.txt"), "new\r\n");
  EXPECT_FALSE(doc->m_bIsModified);
  EXPECT_TRUE(doc->m_cAutoSaveTimer.IsEnabled());
  doc->m_bIsModified = true;
  clock.Advance(kMinute - 1);
  EXPECT_FALSE(doc->m_cAutoSaveTimer.IsDue());
  clock.Advance(1);
  EXPECT_TRUE(doc->m_cAutoSaveTimer.IsDue());
}

// Documents without a path, without changes, or read-only are not written; their period restarts.
TEST_F(DocAutoSave, SkipsWhatMustNotBeSaved) {
  struct Case {
    const char* name;
    bool path;
    bool modified;
    bool readOnly;
  };
  const Case cases[] = {
      {"no path", false, true, false},
      {"no changes", true, false, false},
      {"read-only", true, true, true},
  };
  for (const Case& c : cases) {
    dir.Write("a.txt", "old");
    auto doc = MakeDoc(c.path ? dir.File("a.txt") : "", {"new"});
    doc->m_bIsModified = c.modified;
    doc->m_bReadOnly = c.readOnly;
    doc->ReloadAutoSaveSettings();
    clock.Advance(kMinute);
    doc->CheckAutoSave();
    EXPECT_EQ(dir.Read("a.txt"), "old") << c.name;
    EXPECT_EQ(doc->m_bIsModified, c.modified) << c.name;
    EXPECT_EQ(dir.List(), std::vector<std::string>{"a.txt"}) << c.name;
    EXPECT_FALSE(doc->m_cAutoSaveTimer.IsDue()) << c.name << ": the period restarted";
  }
  EXPECT_TRUE(boxes.empty());
}

class DocChangeWatch : public SaveDocFixture {
 protected:
  DocChangeWatch() {
    Common().bCheckFileTimeStamp = 1;
    OpenDoc();
  }
  // The file as written at 01:02:03, opened in a document of the frame.
  void OpenDoc() {
    dir.Write("a.txt", "old\r\n");
    SetFileTime(dir.File("a.txt"), LocalTimePin::NsOf(2006, 1, 1, 1, 2, 3));
    doc = MakeDoc(dir.File("a.txt"), {"old"});
    doc->m_bIsModified = false;
    GetFileWriteTime(doc->m_szFilePath, &doc->m_nFileTime);
    DocPorts ports;
    ports.frame = &frame;
    doc->SetPorts(ports);
  }
  ~DocChangeWatch() override { dt::SetShownHook(m_previous); }

  // Another program writes the file at 10:20:30.
  void ChangeOnDisk(const std::string& text = "changed\r\n") {
    dir.Write("a.txt", text);
    SetFileTime(dir.File("a.txt"), LocalTimePin::NsOf(2006, 1, 1, 10, 20, 30));
  }
  // Answers the questions with the button and keeps what each showed.
  void AnswerWith(int button) {
    m_previous = dt::SetShownHook([this, button](HWND dialog) {
      Shown shown{dt::TemplateOf(dialog), "", ""};
      if (auto path = dt::Query(dialog, 1440)) shown.path = path->text;
      if (auto question = dt::Query(dialog, 1441)) shown.question = question->text;
      questions.push_back(shown);
      if (whileAsked) whileAsked();
      dt::Click(dialog, button);
    });
  }

  struct Shown {
    std::string templateName;
    std::string path;
    std::string question;
  };
  LocalTimePin time{2006, 1, 1, 12};
  FakeFrame frame;
  std::unique_ptr<CEditDoc> doc;
  std::vector<Shown> questions;
  std::function<void()> whileAsked;

 private:
  dt::ShownHook m_previous;
};

// A new file time shows the reload question (template 225); each button sets what happens next,
// and reloading brings the new text in.
TEST_F(DocChangeWatch, QuestionAndAnswers) {
  struct Case {
    const char* name;
    int button;
    int watchAfter;
    bool reloaded;
  };
  const Case cases[] = {
      {"reload", 1433, CEditDoc::kWatchAsk, true},
      {"notify only", 1435, CEditDoc::kWatchNotify, false},
      {"stop watching", 1438, CEditDoc::kWatchOff, false},
      {"cancel", IDCANCEL, CEditDoc::kWatchAsk, false},
  };
  for (const Case& c : cases) {
    OpenDoc();
    questions.clear();
    AnswerWith(c.button);
    ChangeOnDisk("changed " + std::to_string(c.button) + "\r\n");
    doc->CheckFileChangedOnDisk();
    ASSERT_EQ(questions.size(), 1u) << c.name;
    EXPECT_EQ(questions[0].templateName, "225") << c.name;
    EXPECT_EQ(questions[0].path, dir.File("a.txt")) << c.name;
    EXPECT_EQ(questions[0].question, "再ロードしますか?"_sj) << c.name;
    EXPECT_EQ(doc->m_nChangeWatch, c.watchAfter) << c.name;
    int len = 0;
    const char* first = doc->m_cDocLineMgr.GetLineText(0, &len);
    EXPECT_EQ(std::string(first, len), c.reloaded ? "changed " + std::to_string(c.button) + "\r\n" : "old\r\n")
        << c.name;
    EXPECT_EQ(doc->m_nFileTime, LocalTimePin::NsOf(2006, 1, 1, 10, 20, 30)) << c.name;
    doc->CheckFileChangedOnDisk();
    EXPECT_EQ(questions.size(), 1u) << c.name << ": the same time asks nothing";
    EXPECT_TRUE(frame.messageTexts.empty()) << c.name;
  }
}

// A modified document is warned, and further ticks while the question is open ask nothing.
TEST_F(DocChangeWatch, ModifiedDocumentAndTicksWhileAsking) {
  doc->m_bIsModified = true;
  AnswerWith(IDCANCEL);
  whileAsked = [this] {
    ChangeOnDisk("again\r\n");
    SetFileTime(dir.File("a.txt"), LocalTimePin::NsOf(2006, 1, 1, 11, 0, 0));
    doc->CheckFileChangedOnDisk();
  };
  ChangeOnDisk();
  doc->CheckFileChangedOnDisk();
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_EQ(questions[0].question, "再ロードを行うと変更が失われますがよろしいですか?"_sj);
}

// Notify only: each later change writes the file's new time to the status line and asks nothing.
TEST_F(DocChangeWatch, NotifyOnlyWritesTheStatusLine) {
  AnswerWith(IDCANCEL);
  doc->m_nChangeWatch = CEditDoc::kWatchNotify;
  ChangeOnDisk();
  doc->CheckFileChangedOnDisk();
  EXPECT_TRUE(questions.empty());
  EXPECT_EQ(frame.messageTexts, std::vector<std::string>{"★ファイル更新 10:20:30"_sj});
}

// Nothing is watched without the setting, with a lock mode, while off, without the frame being
// the active window, or without a stored file time.
TEST_F(DocChangeWatch, WhenNothingIsWatched) {
  struct Case {
    const char* name;
    std::function<void()> set;
  };
  const Case cases[] = {
      {"the setting is off", [&] { Common().bCheckFileTimeStamp = 0; }},
      {"a lock mode is set", [&] { Common().nFileShareMode = CEditDoc::kLockDenyWrite; }},
      {"watching is off", [&] { doc->m_nChangeWatch = CEditDoc::kWatchOff; }},
      {"another window is active", [&] { frame.active = false; }},
      {"no stored time", [&] { doc->m_nFileTime = 0; }},
  };
  AnswerWith(IDCANCEL);
  for (const Case& c : cases) {
    Common().bCheckFileTimeStamp = 1;
    Common().nFileShareMode = 0;
    doc->m_nChangeWatch = CEditDoc::kWatchAsk;
    frame.active = true;
    GetFileWriteTime(doc->m_szFilePath, &doc->m_nFileTime);
    const int64_t stored = doc->m_nFileTime;
    c.set();
    ChangeOnDisk();
    doc->CheckFileChangedOnDisk();
    EXPECT_TRUE(questions.empty()) << c.name;
    EXPECT_TRUE(frame.messageTexts.empty()) << c.name;
    if (stored != 0 && c.name != std::string("no stored time")) {
      EXPECT_EQ(doc->m_nFileTime, stored) << c.name;
    }
    SetFileTime(dir.File("a.txt"), LocalTimePin::NsOf(2006, 1, 1, 1, 2, 3));
  }
}

}  // namespace
