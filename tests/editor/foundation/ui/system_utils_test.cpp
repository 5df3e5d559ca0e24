#include "editor/foundation/ui/system_utils.h"

#include <Qt>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>
#include <vector>

#include "editor/foundation/beep_capture.h"
#include "editor/foundation/message_box_capture.h"
#include "editor/foundation/settings/dll_loader.h"
#include "editor/foundation/settings/regexp_dll.h"
#include "editor/foundation/settings/share_data.h"
#include "platform/clipboard.h"
#include "platform/dialog.h"
#include "platform/dialog_test.h"
#include "platform/folder_dialog.h"
#include "platform/gui_app.h"
#include "platform/icon_file.h"
#include "platform/simulated_input.h"
#include "platform/sjis_literal.h"
#include "platform/win_help.h"
#include "scoped_temp_dir.h"

namespace {

std::vector<UINT> dispatched;  // the program's own messages that reached the window

LRESULT RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message >= WM_USER) dispatched.push_back(message);
  return platform::DefWindowProc(hwnd, message, wParam, lParam);
}

void Pump() {
  MSG msg;
  while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) platform::DispatchMessage(&msg);
}

// A window of the program, for the tests that need one.
class WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::EnsureGuiApp();
    static const bool registered = [] {
      WNDCLASSEX wc;
      wc.lpfnWndProc = RecordingProc;
      wc.lpszClassName = "SystemUtilsTestWindow";
      return platform::RegisterClassEx(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    hwnd = platform::CreateWindowEx(0, "SystemUtilsTestWindow", "", WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                                    nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    Pump();
    dispatched.clear();
  }
  void TearDown() override {
    platform::DestroyWindow(hwnd);
    Pump();
  }
  HWND hwnd = nullptr;
};

using PumpTest = WindowTest;

TEST_F(PumpTest, DispatchesEverythingWaitingAndAnswersTrue) {
  platform::PostMessage(hwnd, WM_USER + 1, 0, 0);
  platform::PostMessage(hwnd, WM_USER + 2, 0, 0);
  EXPECT_TRUE(PumpPendingMessages(nullptr));
  EXPECT_EQ(dispatched, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
  MSG msg;
  EXPECT_FALSE(platform::PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(PumpTest, AQuitStopsThePumpAndStaysForTheOuterLoop) {
  platform::PostMessage(hwnd, WM_USER + 1, 0, 0);
  platform::PostQuitMessage(7);
  EXPECT_FALSE(PumpPendingMessages(nullptr));
  EXPECT_EQ(dispatched, std::vector<UINT>{WM_USER + 1});
  // A second job step meets the same request, and the outer loop still ends with its code.
  EXPECT_FALSE(PumpPendingMessages(nullptr));
  MSG msg;
  ASSERT_TRUE(platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 7u);
  EXPECT_TRUE(PumpPendingMessages(nullptr));
}

class FolderChoiceTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::EnsureGuiApp(); }
  void TearDown() override { platform::dialog_test::SetShownHook(nullptr); }
  // The user types the folder (over what the edit shows) and presses Enter; the edit's first text
  // is kept.
  void ChooseBy(const std::string& typed) {
    platform::dialog_test::SetShownHook([this, typed](HWND d) {
      shown = platform::dialog_test::Query(d, platform::kFolderChooserPath)->text;
      platform::SetDlgItemText(d, platform::kFolderChooserPath, "");
      platform::dialog_test::Type(d, platform::kFolderChooserPath, typed);
      platform::dialog_test::PressKey(d, typed.empty() ? platform::dialog_test::Key::kEscape
                                                       : platform::dialog_test::Key::kEnter);
    });
  }
  ScopedTempDir dir;
  std::string shown;
};

TEST_F(FolderChoiceTest, StartsAtTheInitialFolderWithoutItsFinalSlash) {
  std::filesystem::create_directories(dir.path() / "work");
  const std::string root = dir.path().string();
  ChooseBy(root + "/work");
  std::string folder = "unchanged";
  EXPECT_TRUE(SelectFolderDialog(nullptr, "フォルダーの指定"_sj, (root + "/").c_str(), folder));
  EXPECT_EQ(shown, root);
  EXPECT_EQ(folder, root + "/work");

  ChooseBy("");  // the user cancels
  folder = "unchanged";
  EXPECT_FALSE(SelectFolderDialog(nullptr, "", root.c_str(), folder));
  EXPECT_EQ(folder, "unchanged");
}

TEST_F(FolderChoiceTest, AFolderTooLongForTheEditorIsNotTaken) {
  std::filesystem::path deep = dir.path();
  while (deep.string().size() < static_cast<size_t>(kMaxPath)) deep /= "a-long-folder-name-for-depth";
  std::filesystem::create_directories(deep);
  ChooseBy(deep.string());
  std::string folder = "unchanged";
  EXPECT_FALSE(SelectFolderDialog(nullptr, "", dir.path().c_str(), folder));
  EXPECT_EQ(folder, "unchanged");
}

using ModifierTest = WindowTest;

TEST_F(ModifierTest, ShiftCtrlAndAltAreBitsZeroOneAndTwo) {
  EXPECT_EQ(GetModifierKeyState(), 0);
  platform::SimulateKey(hwnd, Qt::Key_Control, true);
  Pump();
  EXPECT_EQ(GetModifierKeyState(), 2);
  platform::SimulateKey(hwnd, Qt::Key_Shift, true);
  platform::SimulateKey(hwnd, Qt::Key_Alt, true);
  Pump();
  EXPECT_EQ(GetModifierKeyState(), 7);
  platform::SimulateKey(hwnd, Qt::Key_Control, false);
  platform::SimulateKey(hwnd, Qt::Key_Shift, false);
  Pump();
  EXPECT_EQ(GetModifierKeyState(), 4);
  platform::SimulateKey(hwnd, Qt::Key_Alt, false);
  Pump();
  EXPECT_EQ(GetModifierKeyState(), 0);
}

using MonitorTest = WindowTest;

TEST_F(MonitorTest, TheWindowsAndThePointsMonitorWithEitherOutputLeftOut) {
  MONITORINFO info;
  ASSERT_TRUE(platform::GetMonitorInfo(platform::MonitorFromPoint(POINT{1, 1}, MONITOR_DEFAULTTOPRIMARY), &info));
  RECT work{}, monitor{};
  EXPECT_TRUE(GetMonitorRectsOfWindow(hwnd, &work, &monitor));
  EXPECT_EQ(std::memcmp(&work, &info.rcWork, sizeof work), 0);
  EXPECT_EQ(std::memcmp(&monitor, &info.rcMonitor, sizeof monitor), 0);
  // A point far off every screen belongs to the nearest one.
  RECT farWork{};
  EXPECT_TRUE(GetMonitorRectsOfPoint(-100000, -100000, &farWork, nullptr));
  EXPECT_EQ(std::memcmp(&farWork, &info.rcWork, sizeof farWork), 0);
  EXPECT_TRUE(GetMonitorRectsOfPoint(1, 1, nullptr, nullptr));
  EXPECT_FALSE(GetMonitorRects(nullptr, &work, &monitor));
}

TEST(ClipboardTextTest, JapaneseTextReachesTheDesktopAsItsCharacters) {
  platform::EnsureGuiApp();
  const std::string text = "日本語ｶﾅ"_sj;
  ASSERT_TRUE(SetClipboardText(nullptr, text.c_str(), static_cast<int>(text.size())));
  ASSERT_TRUE(platform::OpenClipboard(nullptr));
  const auto oem = platform::GetClipboardData(CF_OEMTEXT);
  const auto unicode = platform::GetClipboardData(CF_UNICODETEXT);
  platform::CloseClipboard();
  EXPECT_EQ(oem, text + '\0');
  std::string utf16le;
  for (char16_t c : std::u16string_view(u"日本語ｶﾅ\0", 6)) {
    utf16le.push_back(static_cast<char>(c & 0xFF));
    utf16le.push_back(static_cast<char>(c >> 8));
  }
  EXPECT_EQ(unicode, utf16le);

  // Only the given length goes: the rest of the buffer stays off the clipboard.
  ASSERT_TRUE(SetClipboardText(nullptr, "abcdef", 3));
  ASSERT_TRUE(platform::OpenClipboard(nullptr));
  EXPECT_EQ(platform::GetClipboardData(CF_OEMTEXT), std::string("abc", 4));
  // While another window holds the clipboard open, it cannot be had.
  EXPECT_FALSE(SetClipboardText(reinterpret_cast<HWND>(uintptr_t{0x40}), "x", 1));
  platform::CloseClipboard();
}

TEST(CommandToHelpIdTest, NamedTopicsRowNumbersAndNone) {
  struct Case {
    int command;
    int topic;
  };
  const Case cases[] = {
      {10000, 97}, {10255, 97}, {11000, 29}, {11035, 29}, {12000, 23}, {12035, 23},  // the ranges' ends
      {30101, 25}, {30102, 15}, {30108, 15}, {30103, 20}, {32014, 277},              // the named topics
      {30104, 1006},  // the row after 30103 (rows counted from 0)
      {31081, 1160}, {31083, 1160},  // a range without a topic of its own
      {31501, 1203}, {31524, 1203},  // the other one
      {32013, 1218},
      {9999, 0}, {10256, 0}, {11036, 0}, {30106, 0}, {31084, 0}, {31500, 0}, {31525, 0}, {32015, 0}, {0, 0}, {-1, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(CommandToHelpId(c.command), c.topic) << c.command;
}

// The regular-expression module is pointed at a file that is not there.
class RegexMissingTest : public ::testing::Test {
 protected:
  void SetUp() override { CDllLoader::SetModuleFile("BREGEXP.DLL", "/nonexistent/tovara_regexp.so"); }
  void TearDown() override { CDllLoader::SetModuleFile("BREGEXP.DLL", nullptr); }
  MessageBoxCapture boxes;
  BeepCapture beeps;
};

const char* const kRegexMissingText =
    "BREGEXP.DLLが見つかりません。\r\n正規表現を利用するにはBREGEXP.DLLが必要です。\r\n入手方法はヘルプを参照してください。"_sj;

TEST_F(RegexMissingTest, LoadingWarnsWithABeepAndTheBoxOnlyWhenAsked) {
  CRegexpDll regexp;
  EXPECT_FALSE(LoadRegexDllOrWarn(nullptr, regexp, false));
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_TRUE(beeps.beeps.empty());

  auto owner = reinterpret_cast<HWND>(uintptr_t{0x50});
  EXPECT_FALSE(LoadRegexDllOrWarn(owner, regexp, true));
  EXPECT_EQ(beeps.beeps, std::vector<UINT>{MB_ICONEXCLAMATION});
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].owner, owner);
  EXPECT_EQ(boxes.requests[0].text, kRegexMissingText);
  EXPECT_EQ(boxes.requests[0].caption, "情報"_sj);
  EXPECT_EQ(boxes.requests[0].flags, MB_OK | MB_ICONEXCLAMATION);
  EXPECT_FALSE(regexp.IsAvailable());
}

TEST_F(RegexMissingTest, ASyntaxCheckFailsWithTheMissingLibrarysBox) {
  EXPECT_FALSE(CheckRegexSyntax("a+", nullptr, false, CRegexpDll::kCaseSensitive));
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_FALSE(CheckRegexSyntax("a+", nullptr, true, CRegexpDll::kCaseSensitive));
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].text, kRegexMissingText);
}

constexpr int kVersionTemplate = 7912;
constexpr int kVersionText = 1300;

INT_PTR QuietProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

// A dialog with a text that shows the library's version.
HWND OpenVersionDialog() {
  platform::EnsureGuiApp();
  platform::RegisterDialogTemplate(kVersionTemplate, [](platform::DialogBuilder& b) {
    b.Caption("version");
    b.StaticText(kVersionText, "unchanged");
    b.PushButton(IDOK, "OK").Default();
  });
  return platform::CreateDialogParam(nullptr, MAKEINTRESOURCE(kVersionTemplate), nullptr, QuietProc, 0);
}

std::string VersionShown(HWND dialog) {
  char text[256];
  platform::GetDlgItemText(dialog, kVersionText, text, sizeof text);
  return text;
}

TEST_F(RegexMissingTest, TheVersionShownIsABlank) {
  HWND dialog = OpenVersionDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(ShowRegexDllVersion(dialog, kVersionText, false));
  EXPECT_EQ(VersionShown(dialog), " ");
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_FALSE(ShowRegexDllVersion(dialog, kVersionText, true));
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].owner, dialog);
  EXPECT_EQ(boxes.requests[0].text, kRegexMissingText);
  platform::DestroyWindow(dialog);
}

TEST(RegexVersionTest, TheLoadedLibrarysVersionIsShown) {
  HWND dialog = OpenVersionDialog();
  ASSERT_NE(dialog, nullptr);
  CRegexpDll regexp;
  ASSERT_EQ(regexp.Load(), 0);
  const std::string version = regexp.GetVersion();
  EXPECT_FALSE(version.empty());
  EXPECT_TRUE(ShowRegexDllVersion(dialog, kVersionText, true));
  EXPECT_EQ(VersionShown(dialog), version);
  platform::DestroyWindow(dialog);
}

TEST(RegexSyntaxTest, AValidPatternPassesAndABrokenOneShowsTheEnginesError) {
  MessageBoxCapture boxes;
  EXPECT_TRUE(CheckRegexSyntax("表[あ-ん]+$"_sj, nullptr, true, 0));
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_FALSE(CheckRegexSyntax("a(b", nullptr, false, 0));
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_FALSE(CheckRegexSyntax("a(b", nullptr, true, 0));
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].caption, "正規表現エラー"_sj);
  EXPECT_FALSE(boxes.requests[0].text.empty());
  EXPECT_EQ(boxes.requests[0].flags, MB_OK | MB_ICONEXCLAMATION);
}

TEST(HelpTest, TheContentsPageIsAskedForWithTheContentsMacro) {
  std::vector<std::string> asked;
  auto previous = platform::SetWinHelpHook([&](const platform::WinHelpRequest& r) {
    EXPECT_EQ(r.command, HELP_COMMAND);
    asked.push_back(r.helpFile + "|" + reinterpret_cast<const char*>(r.data));
    return BOOL{1};
  });
  EXPECT_TRUE(OpenHelpContents(nullptr, "/opt/tovara/tovara.hlp"));
  EXPECT_EQ(asked, std::vector<std::string>{"/opt/tovara/tovara.hlp|CONTENTS()"});
  platform::SetWinHelpHook([](const platform::WinHelpRequest&) { return BOOL{0}; });
  EXPECT_FALSE(OpenHelpContents(nullptr, "/opt/tovara/tovara.hlp"));
  platform::SetWinHelpHook(previous);
}

TEST(SystemInformationTest, TheExecutablesVersionAndNothingForOtherModules) {
  DWORD ms = 1, ls = 1;
  ReadVersionResource(nullptr, 1, &ms, &ls);
  EXPECT_EQ(ms, static_cast<DWORD>(ProductVersionHigh()));
  EXPECT_EQ(ls, static_cast<DWORD>(ProductVersionLow()));
  EXPECT_NE(ms | ls, 0u);
  ReadVersionResource(reinterpret_cast<HINSTANCE>(uintptr_t{0x1234}), 1, &ms, &ls);
  EXPECT_EQ(ms, 0u);
  EXPECT_EQ(ls, 0u);
  ReadVersionResource(nullptr, 1, nullptr, nullptr);
}

TEST(SystemInformationTest, WithoutResourceCountersTheCheckPassesSilently) {
  MessageBoxCapture boxes;
  BeepCapture beeps;
  int system = -1, user = -1, gdi = -1;
  EXPECT_FALSE(GetFreeSystemResources(&system, &user, &gdi));
  EXPECT_EQ(system, -1);
  EXPECT_TRUE(CheckSystemResources("tovara"));
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_TRUE(beeps.beeps.empty());
}

TEST(SystemInformationTest, NoRegistryNoShortcutsNoNetworkShares) {
  char buffer[8] = "keep";
  EXPECT_FALSE(ReadRegistryString(HKEY_CURRENT_USER, "Software", "Value", buffer, sizeof buffer));
  EXPECT_STREQ(buffer, "keep");
  char target[kMaxPath] = "keep";
  EXPECT_FALSE(ResolveShortcut(nullptr, "/home/user/link.lnk", target));
  EXPECT_STREQ(target, "keep");
  for (const char* path : {"C:\\folder", "/mnt/share", "\\\\server\\share\\file", "\\\\", ""}) {
    EXPECT_EQ(ConnectNetworkShare(path), 67u) << path;
  }
}

TEST(ExecutableFolderTest, AbsoluteMeansStartingWithASlash) {
  struct Case {
    const char* path;
    bool absolute;
  };
  for (const Case& c : {Case{"/", true}, Case{"/usr/share", true}, Case{"C:\\x", false}, Case{"\\\\server\\x", false},
                        Case{"a/b", false}, Case{"", false}, Case{"./a", false}}) {
    EXPECT_EQ(IsAbsolutePath(c.path), c.absolute) << c.path;
  }
  EXPECT_FALSE(IsAbsolutePath(nullptr));
}

TEST(ExecutableFolderTest, PathsBesideTheExecutable) {
  std::string folder = CShareData::ExecutableFolder();
  ASSERT_GT(folder.size(), 1u);
  EXPECT_EQ(GetExeRelativePath(nullptr) + "/", folder);
  EXPECT_EQ(GetExeRelativePath("tovara.ini"), folder + "tovara.ini");

  char help[kMaxPath];
  GetHelpFilePath(help, sizeof help);
  EXPECT_EQ(std::string(help), folder + "tovara.hlp");
  const int exact = static_cast<int>(folder.size() + 11);  // the path and its NUL
  char tight[kMaxPath];
  GetHelpFilePath(tight, exact);
  EXPECT_EQ(std::string(tight), folder + "tovara.hlp");
  GetHelpFilePath(tight, exact - 1);
  EXPECT_STREQ(tight, "");
}

// Runs a test in a current folder of its own, and goes back to the previous one after it.
class InOtherFolder {
 public:
  InOtherFolder() {
    char cwd[4096];
    if (::getcwd(cwd, sizeof cwd)) m_previous = cwd;
    EXPECT_EQ(::chdir(m_dir.path().c_str()), 0);
  }
  ~InOtherFolder() { EXPECT_EQ(::chdir(m_previous.c_str()), 0); }
  std::string File(std::string_view name) const { return m_dir.File(name); }

 private:
  ScopedTempDir m_dir;
  std::string m_previous;
};

TEST(ExecutableFolderTest, ABareNameOpensBesideTheExecutableNotInTheCurrentFolder) {
  InOtherFolder other;
  const std::string name = "system_utils_test_" + std::to_string(::getpid()) + ".txt";
  const std::string besideExe = GetExeRelativePath(name.c_str());
  const std::string inCwd = other.File(name);
  std::ofstream(besideExe) << "beside the executable";
  std::ofstream(inCwd) << "in the current folder";

  auto readAll = [](FILE* f) {
    std::string text;
    if (!f) return text;
    char buffer[64];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) text.append(buffer, n);
    std::fclose(f);
    return text;
  };
  EXPECT_EQ(readAll(OpenFileExeRelative(name.c_str(), "rb")), "beside the executable");
  EXPECT_EQ(readAll(OpenFileExeRelative(inCwd.c_str(), "rb")), "in the current folder");
  EXPECT_EQ(OpenFileExeRelative("no_such_file_here.txt", "rb"), nullptr);
  std::remove(besideExe.c_str());
}

// A 48 x 48 grey picture as a 24-bit BMP file.
std::string Bitmap48() {
  constexpr int kSide = 48;
  constexpr int kPixels = kSide * kSide * 3;  // rows of 144 bytes need no padding
  std::string file;
  auto put = [&](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) file.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  };
  file += "BM";
  put(14 + 40 + kPixels, 4);
  put(0, 4);
  put(14 + 40, 4);
  put(40, 4);
  put(kSide, 4);
  put(kSide, 4);
  put(1, 2);
  put(24, 2);
  put(0, 4);
  put(kPixels, 4);
  put(2835, 4);
  put(2835, 4);
  put(0, 4);
  put(0, 4);
  file.append(kPixels, static_cast<char>(0x80));
  return file;
}

TEST(IconFileTest, TheFileBesideTheExecutableElseTheResourceIcon) {
  platform::EnsureGuiApp();
  // A 48 x 48 picture: the file's icon comes at the asked size.
  const std::string bmp = Bitmap48();
  const std::span bytes(reinterpret_cast<const uint8_t*>(bmp.data()), bmp.size());
  ASSERT_TRUE(platform::RegisterIconResource("#230", bytes));
  const HICON resource = platform::LoadIcon(nullptr, "#230");
  ASSERT_NE(resource, nullptr);

  EXPECT_EQ(LoadIconFile(nullptr, 230, "no_such_icon.ico", true), resource);
  EXPECT_EQ(LoadIconFile(nullptr, 230, nullptr, false), resource);
  EXPECT_EQ(LoadIconFile(nullptr, 231, "no_such_icon.ico", true), nullptr);

  const std::string name = "system_utils_test_" + std::to_string(::getpid()) + ".bmp";
  const std::string path = GetExeRelativePath(name.c_str());
  std::ofstream(path, std::ios::binary) << bmp;
  const HICON small = LoadIconFile(nullptr, 230, name.c_str(), true);
  const HICON big = LoadIconFile(nullptr, 230, name.c_str(), false);
  std::remove(path.c_str());
  ASSERT_NE(small, nullptr);
  EXPECT_NE(small, resource);
  SIZE size;
  ASSERT_TRUE(platform::GetIconSize(small, &size));
  EXPECT_EQ(size.cx, 16);
  ASSERT_TRUE(platform::GetIconSize(big, &size));
  EXPECT_EQ(size.cx, 32);
}

TEST(ColorItemKeyTest, KeysAndIndicesBothWays) {
  EXPECT_EQ(FindColorItemIndex("TXT"), 0);
  EXPECT_EQ(FindColorItemIndex("MRK"), 43);
  EXPECT_EQ(FindColorItemIndex("CMT"), 25);
  EXPECT_EQ(FindColorItemIndex("txt"), -1);  // compared exactly
  EXPECT_EQ(FindColorItemIndex("TX"), -1);
  EXPECT_EQ(FindColorItemIndex(""), -1);
  EXPECT_EQ(FindColorItemIndex(nullptr), -1);
  for (int i = 0; i < kColorItemCount; ++i) EXPECT_EQ(FindColorItemIndex(GetColorItemKey(i)), i);
  EXPECT_EQ(GetColorItemKey(-1), nullptr);
  EXPECT_EQ(GetColorItemKey(44), nullptr);
}

}  // namespace
