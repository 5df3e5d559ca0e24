#include "editor/view/search/tags_make.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "editor/foundation/settings/share_data.h"
#include "editor/view/search/tag_search.h"
#include "editor/view/search/tags_file.h"
#include "editor/view/search/tags_make_dialog.h"
#include "platform/dialog_test.h"
#include "platform/folder_dialog.h"
#include "platform/message_box.h"
#include "platform/sjis.h"
#include "platform/sjis_literal.h"
#include "scoped_named_objects.h"
#include "scoped_temp_dir.h"

namespace {

using namespace platform;
namespace dt = platform::dialog_test;
using platform::ProgramRequest;
using platform::RunningProgram;

// What a stand-in program does once started.
struct Script {
  std::string output;  // printed at the first poll
  int exitStatus = 0;
  bool sleeps = false;  // runs until it is ended
  std::function<void()> onPoll;
};

struct Record {
  std::vector<ProgramRequest> requests;
  int polls = 0;
  int terminated = 0;
  bool destroyed = false;
};

class StandIn final : public RunningProgram {
 public:
  StandIn(Script script, Record& record) : m_script(std::move(script)), m_record(record) {}
  ~StandIn() override { m_record.destroyed = true; }
  PollResult Poll(std::chrono::milliseconds) override {
    ++m_record.polls;
    if (m_script.onPoll) m_script.onPoll();
    if (m_ended) return PollResult::kEnded;
    if (!m_script.output.empty() && !m_printed) {
      m_printed = true;
      m_pipe = m_script.output;
      return PollResult::kOutput;
    }
    if (m_script.sleeps) return PollResult::kTimeout;
    m_ended = true;
    m_status = m_script.exitStatus;
    return PollResult::kEnded;
  }
  size_t Read(std::string* out) override {
    const size_t n = m_pipe.size();
    out->append(m_pipe);
    m_pipe.clear();
    return n;
  }
  bool Ended() const override { return m_ended; }
  std::optional<int> ExitStatus() const override { return m_ended ? std::optional<int>(m_status) : std::nullopt; }
  void Terminate() override {
    ++m_record.terminated;
    if (!m_ended) {
      m_ended = true;
      m_status = 128 + 9;
    }
  }

 private:
  Script m_script;
  Record& m_record;
  std::string m_pipe;
  bool m_printed = false;
  bool m_ended = false;
  int m_status = 0;
};

class StandInPrograms final : public platform::OutsidePrograms {
 public:
  explicit StandInPrograms(Record& record) : m_record(record) {}
  std::unique_ptr<RunningProgram> Start(const ProgramRequest& request, std::string* errorText) override {
    m_record.requests.push_back(request);
    if (failStart) {
      *errorText = "no";
      return nullptr;
    }
    return std::make_unique<StandIn>(script, m_record);
  }
  Script script;
  bool failStart = false;

 private:
  Record& m_record;
};

struct Shown {
  std::string text;
  UINT flags;
};

class TagsMakeTest : public testing::Test {
 protected:
  void SetUp() override {
    CShareData::InitDefaults(*record);
    share.Attach(record.get(), names.c_str());
    previous = platform::SetMessageBoxHook([this](const platform::MessageBoxRequest& r) {
      shown.push_back({r.text, r.flags});
      return IDOK;
    });
    // A program of the right name in a folder of its own stands in for the real one on PATH.
    dir.Write("bin/ctags-universal", "#!/bin/sh\n");
    ::chmod(dir.File("bin/ctags-universal").c_str(), 0755);
    lookup.searchPath = "/nonexistent-folder:" + dir.File("bin");
    dir.Write("src/b.c", "");
    dir.Write("src/a.c", "");
    dir.Write("src/.hidden", "");
    dir.Write("src/sub/c.c", "");
    dir.Write("src/\xe8\xa1\xa8.c", "");
    request.folder = dir.File("src") + "/";
  }
  void TearDown() override {
    platform::SetMessageBoxHook(previous);
    dt::SetShownHook(nullptr);
  }
  std::string Program() const { return dir.File("bin/ctags-universal"); }

  const ScopedNamedObjects names{"CTagsMake-test"};
  std::unique_ptr<SharedSettings> record = std::make_unique<SharedSettings>();
  CShareData share;
  platform::MessageBoxHook previous;
  std::vector<Shown> shown;
  ScopedTempDir dir;
  TagsProgramLookup lookup;
  TagsMakeRequest request;
  Record ran;
  StandInPrograms programs{ran};
};

TEST_F(TagsMakeTest, TheProgramIsFoundOnThePathAndGetsItsArgumentsWithoutAShell) {
  EXPECT_EQ(FindTagsProgram(lookup), Program());
  request.options = 1;
  request.extraOptions = "--langmap=c:.c  \"--exclude=a b\" \"\" 表"_sj;
  RunTagsMake(nullptr, request, programs, lookup);
  ASSERT_EQ(ran.requests.size(), 1u);
  const ProgramRequest& r = ran.requests[0];
  EXPECT_EQ(r.program, Program());
  EXPECT_EQ(r.folder, request.folder) << "it runs in the chosen folder";
  EXPECT_EQ(r.arguments, (std::vector<std::string>{"--excmd=n", "-R", "--langmap=c:.c", "--exclude=a b", "", "表"_sj,
                                                   "a.c", "b.c", "sub", "表.c"_sj}));
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "タグファイルの作成が終了しました。"_sj);
  EXPECT_EQ(shown[0].flags & MB_ICONINFORMATION, static_cast<UINT>(MB_ICONINFORMATION));
  EXPECT_TRUE(ran.destroyed);

  request.options = 0;
  request.extraOptions.clear();
  EXPECT_EQ(TagsProgramArguments(request), (std::vector<std::string>{"--excmd=n", "a.c", "b.c", "sub", "表.c"_sj}));
}

TEST_F(TagsMakeTest, OutcomesAndTheirMessages) {
  const std::string commandLine = Program() + " --excmd=n a.c b.c sub " + "表.c"_sj;
  struct Case {
    const char* name;
    Script script;
    bool failStart;
    std::string message;
    int terminated;
  };
  const std::vector<Case> cases = {
      {"a clean run", {}, false, "タグファイルの作成が終了しました。"_sj, 0},
      {"output is a failure, shown in Shift-JIS, and the program is ended",
       {"ctags: Warning: \xe8\xa1\xa8 is odd\n", 0, true, {}},
       false,
       "\"tags\" はタグファイルではないため上書き出来ません。\nタグ作成コマンド実行は失敗しました。\n\nctags: Warning: 表 is odd\n"_sj,
       1},
      {"a silent non-zero exit is a failure", {"", 1, false, {}}, false,
       "タグ作成コマンド実行は失敗しました。\n\n"_sj + commandLine, 0},
      {"a program that cannot start", {}, true, "タグ作成コマンド実行は失敗しました。\n\n"_sj + commandLine, 0},
  };
  for (const Case& c : cases) {
    shown.clear();
    ran = Record();
    programs.script = c.script;
    programs.failStart = c.failStart;
    RunTagsMake(nullptr, request, programs, lookup);
    ASSERT_EQ(shown.size(), 1u) << c.name;
    EXPECT_EQ(shown[0].text, c.message) << c.name;
    EXPECT_EQ(ran.terminated, c.terminated) << c.name;
    if (!c.failStart) {
      EXPECT_TRUE(ran.destroyed) << c.name;
    }
  }
}

TEST_F(TagsMakeTest, LongOutputIsCutOnAWholeCharacter) {
  const std::string head = "\"tags\" はタグファイルではないため上書き出来ません。\nタグ作成コマンド実行は失敗しました。\n\n"_sj;
  // The kanji would end one byte past what a message holds.
  const size_t before = 1023 - head.size() - 1;
  programs.script.output = std::string(before, 'x') + "\xe8\xa1\xa8" + std::string(1500, 'y');
  RunTagsMake(nullptr, request, programs, lookup);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, head + std::string(before, 'x'));
}

TEST_F(TagsMakeTest, ANameShiftJisCannotSpellIsToldAndLeftOut) {
  // U+1F600 has no CP932 form: any spelling of it would be another file's name.
  dir.Write("src/\xf0\x9f\x98\x80.c", "");
  std::string refused;
  EXPECT_EQ(TagsProgramArguments(request, &refused),
            (std::vector<std::string>{"--excmd=n", "a.c", "b.c", "sub", "表.c"_sj}));
  EXPECT_EQ(refused, "\r\n\"" + platform::Utf8ToSjis("\xf0\x9f\x98\x80.c") + "\"");

  RunTagsMake(nullptr, request, programs, lookup);
  ASSERT_EQ(ran.requests.size(), 1u) << "the other names still get their tags";
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "次のファイル名はShift-JISで表せない文字を含むため、タグ作成に渡しません。"_sj + refused);
  EXPECT_EQ(shown[1].text, "タグファイルの作成が終了しました。"_sj);
}

TEST_F(TagsMakeTest, CancelEndsASleepingProgramAndStillSaysFinished) {
  std::string cancelText;
  programs.script.sleeps = true;
  programs.script.onPoll = [&] {
    if (ran.polls < 3) return;
    for (HWND d : dt::OpenDialogs()) {
      if (dt::TemplateOf(d) != "191" || !IsWindowVisible(d)) continue;
      cancelText = dt::Query(d, 1330)->text;
      dt::Click(d, IDCANCEL);
    }
  };
  RunTagsMake(nullptr, request, programs, lookup);
  EXPECT_EQ(cancelText, "タグファイルを作成中です。"_sj);
  EXPECT_EQ(ran.terminated, 1);
  EXPECT_GE(ran.polls, 3);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "タグファイルの作成が終了しました。"_sj) << "a cancel is no failure, though killed";
}

TEST_F(TagsMakeTest, AMissingProgramIsSaidAndNothingRuns) {
  lookup.searchPath = dir.File("src");
  RunTagsMake(nullptr, request, programs, lookup);
  EXPECT_TRUE(ran.requests.empty());
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "タグ作成コマンド実行は失敗しました。\n\nCTAGS.EXE が見つかりません。"_sj);
  EXPECT_EQ(shown[0].flags & MB_ICONEXCLAMATION, static_cast<UINT>(MB_ICONEXCLAMATION));
  // A file that may not be run is not the program either.
  ::chmod(Program().c_str(), 0644);
  lookup.searchPath = dir.File("bin");
  EXPECT_EQ(FindTagsProgram(lookup), "");
}

TEST_F(TagsMakeTest, TheDialogStoresTheFolderWithAFinalSlashAndTheOptions) {
  record->nTagsOpt = 0;
  std::snprintf(record->szTagsCmdLine, sizeof record->szTagsCmdLine, "%s", "--old");
  struct Seen {
    std::string folder;
    bool sub = true;
    std::string options;
    int folderLimit = 0;
    int optionsLimit = 0;
  } seen;
  const std::string chooseIn = dir.File("src/sub");
  dt::SetShownHook([&](HWND d) {
    if (dt::TemplateOf(d) == "FolderChooser") {
      SetDlgItemText(d, platform::kFolderChooserPath, chooseIn.c_str());
      dt::PressKey(d, dt::Key::kEnter);
      return;
    }
    ASSERT_EQ(dt::TemplateOf(d), "229");
    seen.folder = dt::Query(d, CTagsMakeDialog::kFolder)->text;
    seen.sub = dt::Query(d, CTagsMakeDialog::kSubfolders)->check == BST_CHECKED;
    seen.options = dt::Query(d, CTagsMakeDialog::kOptions)->text;
    seen.folderLimit = dt::Query(d, CTagsMakeDialog::kFolder)->limit;
    seen.optionsLimit = dt::Query(d, CTagsMakeDialog::kOptions)->limit;
    dt::Click(d, CTagsMakeDialog::kBrowse);
    EXPECT_EQ(dt::Query(d, CTagsMakeDialog::kFolder)->text, chooseIn + "/") << "the choice gets a final slash";
    SetDlgItemText(d, CTagsMakeDialog::kFolder, dir.File("src").c_str());
    dt::Click(d, CTagsMakeDialog::kSubfolders);
    dt::Type(d, CTagsMakeDialog::kOptions, " --new");
    dt::Click(d, IDOK);
  });
  CTagsMakeDialog dialog;
  ASSERT_EQ(dialog.DoModal(nullptr, nullptr, (dir.File("start") + "/").c_str()), 1);
  EXPECT_EQ(seen.folder, dir.File("start") + "/");
  EXPECT_FALSE(seen.sub);
  EXPECT_EQ(seen.options, "--old");
  EXPECT_EQ(seen.folderLimit, 261);
  EXPECT_EQ(seen.optionsLimit, 260);
  EXPECT_EQ(std::string(dialog.m_szPath), dir.File("src") + "/");
  EXPECT_EQ(dialog.m_nTagsOpt, 1);
  EXPECT_EQ(record->nTagsOpt, 1);
  EXPECT_EQ(std::string(record->szTagsCmdLine), "--old --new");

  // Cancel keeps the settings.
  dt::SetShownHook([](HWND d) { dt::Click(d, IDCANCEL); });
  CTagsMakeDialog again;
  EXPECT_EQ(again.DoModal(nullptr, nullptr, "/x/"), 0);
  EXPECT_EQ(record->nTagsOpt, 1);
}

TEST_F(TagsMakeTest, MakeTagsFileRunsTheDialogThenTheProgramFromThePath) {
  // Only a cancelled dialog here: the program on PATH is the real one or none.
  dt::SetShownHook([](HWND d) { dt::Click(d, IDCANCEL); });
  MakeTagsFile(request.folder, nullptr, programs);
  EXPECT_TRUE(ran.requests.empty());
  EXPECT_TRUE(shown.empty());
}

// A real runner whose programs call back at every poll, so that a test can act while one runs.
class WatchedPrograms final : public platform::OutsidePrograms {
 public:
  WatchedPrograms(platform::OutsidePrograms& real, std::function<void()> onPoll) : m_real(real), m_onPoll(std::move(onPoll)) {}
  std::unique_ptr<RunningProgram> Start(const ProgramRequest& request, std::string* errorText) override {
    std::unique_ptr<RunningProgram> child = m_real.Start(request, errorText);
    return child ? std::make_unique<Watched>(std::move(child), m_onPoll) : nullptr;
  }

 private:
  class Watched final : public RunningProgram {
   public:
    Watched(std::unique_ptr<RunningProgram> child, std::function<void()>& onPoll) : m_child(std::move(child)), m_onPoll(onPoll) {}
    PollResult Poll(std::chrono::milliseconds limit) override {
      if (m_onPoll) m_onPoll();
      return m_child->Poll(limit);
    }
    size_t Read(std::string* out) override { return m_child->Read(out); }
    bool Ended() const override { return m_child->Ended(); }
    std::optional<int> ExitStatus() const override { return m_child->ExitStatus(); }
    void Terminate() override { m_child->Terminate(); }

   private:
    std::unique_ptr<RunningProgram> m_child;
    std::function<void()>& m_onPoll;
  };
  platform::OutsidePrograms& m_real;
  std::function<void()> m_onPoll;
};

// Stand-in programs run as real processes: each writes its process id, and none is left running
// (or unreaped) once the run has said what came of it.
TEST_F(TagsMakeTest, StandInProcessesPrintFailOrSleepUntilCancelled) {
  const std::shared_ptr<platform::OutsidePrograms> system = platform::SystemOutsidePrograms();
  ASSERT_TRUE(system);
  const std::string pidFile = dir.File("pid");
  struct Case {
    const char* name;
    std::string script;
    bool cancel;
    std::string message;
  };
  const std::string commandLine = Program() + " --excmd=n a.c b.c sub " + "表.c"_sj;
  const Case cases[] = {
      {"prints text, then would sleep", "echo \"\xe8\xa1\xa8: not a tags file\"\nexec sleep 30\n", false,
       "\"tags\" はタグファイルではないため上書き出来ません。\nタグ作成コマンド実行は失敗しました。\n\n表: not a tags file\n"_sj},
      {"exits 1 silently", "exit 1\n", false, "タグ作成コマンド実行は失敗しました。\n\n"_sj + commandLine},
      {"sleeps until cancelled", "exec sleep 30\n", true, "タグファイルの作成が終了しました。"_sj},
      {"works quietly", "exit 0\n", false, "タグファイルの作成が終了しました。"_sj},
  };
  for (const Case& c : cases) {
    std::remove(pidFile.c_str());
    dir.Write("bin/ctags-universal", "#!/bin/sh\necho $$ > '" + pidFile + "'\n" + c.script);
    bool cancelled = false;
    WatchedPrograms watched(*system, [&] {
      if (!c.cancel || cancelled || !dir.Exists("pid")) return;
      for (HWND d : dt::OpenDialogs()) {
        if (dt::TemplateOf(d) == "191" && IsWindowVisible(d)) cancelled = dt::Click(d, IDCANCEL);
      }
    });
    shown.clear();
    const auto start = std::chrono::steady_clock::now();
    RunTagsMake(nullptr, request, watched, lookup);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20)) << c.name << ": nothing waits for the sleep";
    EXPECT_EQ(cancelled, c.cancel) << c.name;
    ASSERT_EQ(shown.size(), 1u) << c.name;
    EXPECT_EQ(shown[0].text, c.message) << c.name;
    const int pid = std::atoi(dir.Read("pid").c_str());
    ASSERT_GT(pid, 0) << c.name;
    errno = 0;
    EXPECT_EQ(::kill(pid, 0), -1) << c.name << ": the program is gone and reaped";
    EXPECT_EQ(errno, ESRCH) << c.name;
  }
}

// The real program, through the real runner: a tree it tags is then searched.
TEST_F(TagsMakeTest, TheRealProgramMakesATagsFileTheSearchReads) {
  const std::shared_ptr<platform::OutsidePrograms> system = platform::SystemOutsidePrograms();
  TagsProgramLookup real;
  if (FindTagsProgram(real).empty()) GTEST_SKIP() << "ctags-universal is not on PATH (the universal-ctags package)";
  if (!system) GTEST_SKIP() << "the runner of outside programs is not built yet";
  ScopedTempDir tree;
  tree.Write("proj/sub/impl.c", "#include <stdio.h>\n\nint helper(void);\n\nint helper(void)\n{\n  return 1;\n}\n");
  tree.Write("proj/main.c", "int helper(void);\nint main(void) { return helper(); }\n");
  TagsMakeRequest make;
  make.folder = tree.File("proj") + "/";
  make.options = 1;
  RunTagsMake(nullptr, make, *system, real);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "タグファイルの作成が終了しました。"_sj);
  ASSERT_TRUE(tree.Exists("proj/tags"));

  DirectTagHits hits;
  ASSERT_TRUE(FindTagsDirect(tree.File("proj/main.c"), "helper", &hits));
  bool definition = false;
  for (const TagEntry& e : hits.entries) {
    if (e.kind == 'f') {
      definition = true;
      EXPECT_EQ(TagEntryPath(hits.folder, e.file), tree.File("proj/sub/impl.c"));
      EXPECT_EQ(e.line, 5);
    }
  }
  EXPECT_TRUE(definition);
}

}  // namespace
