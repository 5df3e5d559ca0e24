#include "editor/foundation/settings/dll_loader.h"

#include <dlfcn.h>
#include <gtest/gtest.h>

#include "editor/foundation/settings/html_help_dll.h"
#include "editor/foundation/settings/regexp_dll.h"
#include "tests/editor/foundation/message_box_capture.h"
#include "platform/sjis_literal.h"

namespace {

// A library known to the test alone: the help stand-in, whose load the system can be asked about.
constexpr const char* kTestModule = "TESTLIB.DLL";

bool IsLoadedInProcess(const char* path) {
  void* handle = dlopen(path, RTLD_NOW | RTLD_NOLOAD);
  if (!handle) return false;
  dlclose(handle);
  return true;
}

class TestLoader : public CDllLoader {
 public:
  int deinitResult = 0;
  const char* name = kTestModule;
  int initCalls = 0;
  void* entry = nullptr;

 protected:
  int InitDll() override {
    ++initCalls;
    const ImportEntry table[] = {{&entry, "HtmlHelpA"}, {nullptr, nullptr}};
    return BindEntryPoints(table) ? 0 : 5;
  }
  int DeinitDll() override { return deinitResult; }
  const char* GetDllName(const char*) override { return name; }
};

class DllLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { CDllLoader::SetModuleFile(kTestModule, VREL_TEST_HTML_HELP_PLUGIN); }
  void TearDown() override { CDllLoader::SetModuleFile(kTestModule, nullptr); }
};

TEST_F(DllLoaderTest, LoadsOnceAndKeepsTheLibraryWhileItIsBusy) {
  ASSERT_FALSE(IsLoadedInProcess(VREL_TEST_HTML_HELP_PLUGIN));
  {
    TestLoader loader;
    EXPECT_FALSE(loader.IsAvailable());
    EXPECT_EQ(loader.Unload(false), 0);
    ASSERT_EQ(loader.Load(), 0);
    EXPECT_EQ(loader.Load(), 0);
    EXPECT_EQ(loader.initCalls, 1);
    EXPECT_TRUE(loader.IsAvailable());
    EXPECT_NE(loader.entry, nullptr);
    loader.deinitResult = 3;
    EXPECT_EQ(loader.Unload(false), 3);
    EXPECT_TRUE(loader.IsAvailable());
    EXPECT_TRUE(IsLoadedInProcess(VREL_TEST_HTML_HELP_PLUGIN));
  }
  // The destructor releases it, busy or not.
  EXPECT_FALSE(IsLoadedInProcess(VREL_TEST_HTML_HELP_PLUGIN));
  TestLoader forced;
  ASSERT_EQ(forced.Load(), 0);
  forced.deinitResult = 3;
  EXPECT_EQ(forced.Unload(true), 3);
  EXPECT_FALSE(forced.IsAvailable());
}

TEST_F(DllLoaderTest, FailuresLeaveNothingLoaded) {
  TestLoader unnamed;
  unnamed.name = nullptr;
  EXPECT_EQ(unnamed.Load(), -1);
  TestLoader unknown;
  unknown.name = "NOWHERE.DLL";
  EXPECT_EQ(unknown.Load(), -2);
  TestLoader ppa;
  ppa.name = "PPA.DLL";
  EXPECT_EQ(ppa.Load(), -2);  // nothing stands for it here
  CDllLoader::SetModuleFile(kTestModule, "/nonexistent/folder/lib.so");
  TestLoader missing;
  EXPECT_EQ(missing.Load(), -2);
  EXPECT_FALSE(missing.IsAvailable());
}

TEST(CRegexpDll, AMissingLibraryMakesEveryOperationFalse) {
  CDllLoader::SetModuleFile("BREGEXP.DLL", "/nonexistent/folder/tovara_regexp.so");
  CRegexpDll regexp;
  EXPECT_EQ(regexp.Load(), -2);
  CDllLoader::SetModuleFile("BREGEXP.DLL", nullptr);
  EXPECT_FALSE(regexp.IsAvailable());
  EXPECT_FALSE(regexp.Compile("abc", nullptr, 0));
  EXPECT_FALSE(regexp.Compile("abc", "x", 0));
  EXPECT_FALSE(regexp.Match("abc", 3, 0));
  EXPECT_FALSE(regexp.Replace("abc", 3, 0));
  EXPECT_EQ(regexp.CheckPatternAnchors("^abc$"), 5);
  EXPECT_EQ(regexp.GetPatternFlags(), CRegexpDll::kAnalysed);
  EXPECT_EQ(regexp.MakePattern("abc$", nullptr, 0),
            "m\xFF"
            "abc$\xFFkmi");
  EXPECT_EQ(regexp.GetResult(), nullptr);
}

TEST(CRegexpDll, ALibraryLackingARequiredEntryIsReleased) {
  CDllLoader::SetModuleFile("BREGEXP.DLL", VREL_TEST_REGEXP_WITHOUT_BSPLIT);
  CRegexpDll regexp;
  EXPECT_EQ(regexp.Load(), 1);
  CDllLoader::SetModuleFile("BREGEXP.DLL", nullptr);
  EXPECT_FALSE(regexp.IsAvailable());
  EXPECT_FALSE(regexp.Compile("abc", nullptr, 0));
  EXPECT_FALSE(IsLoadedInProcess(VREL_TEST_REGEXP_WITHOUT_BSPLIT));
}

TEST(HtmlHelp, AbsentControlWarnsOnlyWhenAskedAndIsTriedAgain) {
  MessageBoxCapture boxes;
  EXPECT_EQ(OpenHtmlHelp(nullptr, "help.chm", 1, 0, false), nullptr);
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_EQ(OpenHtmlHelp(nullptr, "help.chm", 1, 0, true), nullptr);
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].caption, std::string("情報"_sj));
  EXPECT_EQ(boxes.requests[0].text,
            std::string("HHCTRL.OCXが見つかりません。\r\nHTMLヘルプを利用するにはHHCTRL.OCXが必要です。\r\n"_sj));
  EXPECT_EQ(boxes.requests[0].flags, MB_OK | MB_ICONEXCLAMATION);

  // A control that turns up later is used by the next request, and loaded once for two.
  CDllLoader::SetModuleFile("HHCTRL.OCX", VREL_TEST_HTML_HELP_PLUGIN);
  const HWND first = OpenHtmlHelp(nullptr, "help.chm", 1, 0, true);
  const HWND second = OpenHtmlHelp(nullptr, "help.chm", 2, 0, true);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(first), 0x4001u);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(second), 0x4002u);
  EXPECT_EQ(boxes.requests.size(), 1u);
  void* plugin = dlopen(VREL_TEST_HTML_HELP_PLUGIN, RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(plugin, nullptr);
  auto loads = reinterpret_cast<int (*)()>(dlsym(plugin, "TestHtmlHelpLoadCount"));
  ASSERT_NE(loads, nullptr);
  EXPECT_EQ(loads(), 1);
  dlclose(plugin);
  GetHtmlHelpDll().Unload(true);
  CDllLoader::SetModuleFile("HHCTRL.OCX", nullptr);
}

}  // namespace
