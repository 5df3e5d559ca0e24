#include "editor/foundation/settings/migemo_dll.h"

#include <cstring>
#include <dlfcn.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>

#include "editor/foundation/settings/regexp_dll.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/fixed_text.h"
#include "platform/sjis_literal.h"
#include "scoped_named_objects.h"
#include "scoped_temp_dir.h"

namespace {

// The counting stand-in for the library, held open by the test so that its counts outlive the
// wrapper's release of it.
class CountingLibrary {
 public:
  explicit CountingLibrary(const char* path) : m_handle(dlopen(path, RTLD_NOW | RTLD_LOCAL)) {
    if (!m_handle) return;
    m_reset = reinterpret_cast<void (*)(int)>(dlsym(m_handle, "TestMigemoReset"));
    m_count = reinterpret_cast<int (*)(const char*)>(dlsym(m_handle, "TestMigemoCount"));
    m_loadId = reinterpret_cast<int (*)(int)>(dlsym(m_handle, "TestMigemoLoadId"));
    m_loadPath = reinterpret_cast<const char* (*)(int)>(dlsym(m_handle, "TestMigemoLoadPath"));
    if (m_reset) m_reset(0);
  }
  ~CountingLibrary() {
    if (m_handle) dlclose(m_handle);
  }
  CountingLibrary(const CountingLibrary&) = delete;
  CountingLibrary& operator=(const CountingLibrary&) = delete;

  bool Ready() const { return m_reset && m_count && m_loadId && m_loadPath; }
  void FailOpen() const { m_reset(1); }
  int Count(const char* what) const { return m_count(what); }
  int LoadId(int i) const { return m_loadId(i); }
  std::string LoadPath(int i) const { return m_loadPath(i); }

 private:
  void* m_handle;
  void (*m_reset)(int) = nullptr;
  int (*m_count)(const char*) = nullptr;
  int (*m_loadId)(int) = nullptr;
  const char* (*m_loadPath)(int) = nullptr;
};

// A "dict" folder beside the test program holding the four dictionary files (empty: the stand-in
// only opens them), removed at the end.
class DictBesideExecutable {
 public:
  DictBesideExecutable() : m_path(CShareData::ExecutableFolder() + "dict") {
    std::filesystem::create_directory(m_path);
    for (const char* file : {"migemo-dict", "han2zen.dat", "hira2kata.dat", "roma2hira.dat"}) {
      std::ofstream(m_path + "/" + file);
    }
  }
  ~DictBesideExecutable() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
  }
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

class MigemoDllTest : public testing::Test {
 protected:
  void SetUp() override {
    record = std::make_unique<SharedSettings>();
    CShareData::InitDefaults(*record);
    share.Attach(record.get(), names.c_str());
    ASSERT_FALSE(std::filesystem::exists(CShareData::ExecutableFolder() + "dict"));
  }
  CommonSettings& Common() { return record->Common; }
  void UseLibrary(const char* path) { CopyText(Common().szMigemoDll, path); }

  const ScopedNamedObjects names{"CMigemoDll-test"};
  std::unique_ptr<SharedSettings> record;
  CShareData share;
};

TEST_F(MigemoDllTest, LoadsFourDictionariesOnceAndClosesTheObjectBeforeTheLibraryGoes) {
  CountingLibrary library(VREL_TEST_MIGEMO_PLUGIN);
  ASSERT_TRUE(library.Ready());
  UseLibrary(VREL_TEST_MIGEMO_PLUGIN);
  const DictBesideExecutable dict;
  CMigemoDll migemo;
  EXPECT_FALSE(migemo.IsEnabled());
  ASSERT_EQ(migemo.Load(), 0);
  EXPECT_EQ(library.Count("open"), 1);
  EXPECT_FALSE(migemo.IsEnabled());

  migemo.LoadDictionaries();
  ASSERT_EQ(library.Count("load"), 4);
  const struct {
    int id;
    const char* file;
  } expected[] = {{1, "migemo-dict"}, {4, "han2zen.dat"}, {3, "hira2kata.dat"}, {2, "roma2hira.dat"}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(library.LoadId(i), expected[i].id);
    EXPECT_EQ(library.LoadPath(i), dict.Path() + "/" + expected[i].file);
  }
  EXPECT_TRUE(migemo.IsEnabled());
  migemo.LoadDictionaries();
  EXPECT_EQ(library.Count("load"), 4);

  char* pattern = migemo.Query("kanji");
  ASSERT_NE(pattern, nullptr);
  EXPECT_STREQ(pattern, "(kanji)");
  migemo.ReleaseResult(pattern);
  EXPECT_EQ(library.Count("release"), 1);

  EXPECT_EQ(library.Count("close"), 0);
  EXPECT_EQ(migemo.Unload(false), 0);
  EXPECT_EQ(library.Count("close"), 1);
  EXPECT_FALSE(migemo.IsAvailable());
  EXPECT_EQ(migemo.Query("kanji"), nullptr);
  EXPECT_FALSE(migemo.IsEnabled());
  migemo.LoadDictionaries();
  EXPECT_EQ(library.Count("load"), 4);

  // Loaded again and destroyed with the process: the destructor closes it too.
  {
    CMigemoDll again;
    ASSERT_EQ(again.Load(), 0);
    again.LoadDictionaries();
    EXPECT_EQ(library.Count("load"), 8) << "a new object starts without dictionaries";
  }
  EXPECT_EQ(library.Count("open"), 2);
  EXPECT_EQ(library.Count("close"), 2);
  EXPECT_EQ(library.Count("foreign"), 0);
  EXPECT_EQ(library.Count("other"), 0);
}

TEST_F(MigemoDllTest, TheSetLibraryPathIsAbsoluteOrBesideTheExecutable) {
  CountingLibrary library(VREL_TEST_MIGEMO_PLUGIN);
  ASSERT_TRUE(library.Ready());
  const std::string folder = CShareData::ExecutableFolder();
  const std::string plugin = VREL_TEST_MIGEMO_PLUGIN;
  ASSERT_EQ(plugin.compare(0, folder.size(), folder), 0) << "the test libraries lie below the test program";
  const struct {
    const char* name;
    std::string path;
    int load;
  } cases[] = {
      {"absolute", plugin, 0},
      {"relative to the executable", plugin.substr(folder.size()), 0},
      {"missing file", folder + "plugins/no_such_migemo.so", -2},
      {"a bare name is beside the executable", "test_migemo_plugin.so", -2},
  };
  for (const auto& c : cases) {
    UseLibrary(c.path.c_str());
    CMigemoDll migemo;
    EXPECT_EQ(migemo.Load(), c.load) << c.name;
    EXPECT_EQ(migemo.IsAvailable(), c.load == 0) << c.name;
    if (c.load != 0) {
      migemo.LoadDictionaries();
      EXPECT_EQ(migemo.Query("a"), nullptr) << c.name;
      EXPECT_FALSE(migemo.IsEnabled()) << c.name;
    }
  }
  EXPECT_EQ(library.Count("open"), 2);
  EXPECT_EQ(library.Count("close"), 2);
  EXPECT_EQ(library.Count("load"), 0);
}

TEST_F(MigemoDllTest, ALibraryThatCannotServeIsReleasedWithNothingLeftOpen) {
  {
    // One of the ten entry points missing, though the program never calls it.
    CountingLibrary library(VREL_TEST_MIGEMO_WITHOUT_INT2CHAR);
    ASSERT_TRUE(library.Ready());
    UseLibrary(VREL_TEST_MIGEMO_WITHOUT_INT2CHAR);
    CMigemoDll migemo;
    EXPECT_EQ(migemo.Load(), 1);
    EXPECT_FALSE(migemo.IsAvailable());
    EXPECT_EQ(library.Count("open"), 0);
  }
  CountingLibrary library(VREL_TEST_MIGEMO_PLUGIN);
  ASSERT_TRUE(library.Ready());
  library.FailOpen();
  UseLibrary(VREL_TEST_MIGEMO_PLUGIN);
  CMigemoDll migemo;
  EXPECT_EQ(migemo.Load(), 2);
  EXPECT_FALSE(migemo.IsAvailable());
  EXPECT_EQ(migemo.Query("a"), nullptr);
  migemo.LoadDictionaries();
  EXPECT_EQ(migemo.Unload(true), 0);
  EXPECT_EQ(library.Count("open"), 1);
  EXPECT_EQ(library.Count("close"), 0);
  EXPECT_EQ(library.Count("load"), 0);
  EXPECT_EQ(library.Count("foreign"), 0);
}

TEST_F(MigemoDllTest, DictionaryFolder) {
  const std::string exe = CShareData::ExecutableFolder();
  CMigemoDll migemo;
  const struct {
    const char* setting;
    bool dictBeside;
    std::string folder;
  } cases[] = {
      {"/srv/migemo/dict", false, "/srv/migemo/dict"},
      {"mydict", false, exe + "mydict"},
      {"mydict", true, exe + "mydict"},
      {"", true, exe + "dict"},
      {"", false, CMigemoDll::kInstalledDictionaryFolder},
  };
  for (const auto& c : cases) {
    CopyText(Common().szMigemoDict, c.setting);
    std::unique_ptr<DictBesideExecutable> dict;
    if (c.dictBeside) dict = std::make_unique<DictBesideExecutable>();
    EXPECT_EQ(migemo.DictionaryFolder(), c.folder) << c.setting << (c.dictBeside ? " with dict" : "");
  }
}

TEST_F(MigemoDllTest, DictionaryPathsAreTheSystemsSpellingOfTheFolder) {
  CountingLibrary library(VREL_TEST_MIGEMO_PLUGIN);
  ASSERT_TRUE(library.Ready());
  UseLibrary(VREL_TEST_MIGEMO_PLUGIN);
  CMigemoDll migemo;
  ASSERT_EQ(migemo.Load(), 0);

  // A folder ending with "/" and a Shift-JIS name reach the library as UTF-8 paths.
  CopyText(Common().szMigemoDict, "/srv/辞書/"_sj);
  migemo.LoadDictionaries();
  ASSERT_EQ(library.Count("load"), 4);
  EXPECT_EQ(library.LoadPath(0), "/srv/\xE8\xBE\x9E\xE6\x9B\xB8/migemo-dict");

  // A name no character of which the system could spell loads nothing, not some other file.
  CopyText(Common().szMigemoDict, "/srv/\x80");
  migemo.LoadDictionaries();
  EXPECT_EQ(library.Count("load"), 4);

  // A field filled to its last byte is read no further.
  std::memset(Common().szMigemoDict, 'a', sizeof(Common().szMigemoDict));
  Common().szMigemoDict[0] = '/';
  EXPECT_EQ(migemo.DictionaryFolder().size(), sizeof(Common().szMigemoDict));
}

TEST_F(MigemoDllTest, TheProcessInstanceIsTheLastOneMadeUntilItGoes) {
  EXPECT_EQ(GetMigemoDll(), nullptr);
  {
    CMigemoDll first;
    EXPECT_EQ(GetMigemoDll(), &first);
    {
      auto second = std::make_unique<CMigemoDll>();
      EXPECT_EQ(GetMigemoDll(), second.get());
      auto third = std::make_unique<CMigemoDll>();
      second.reset();
      EXPECT_EQ(GetMigemoDll(), third.get());
    }
    EXPECT_EQ(GetMigemoDll(), nullptr);
  }
  EXPECT_EQ(GetMigemoDll(), nullptr);
}

// The system's library with its Shift-JIS dictionaries, as the editor finds them with no settings.
TEST_F(MigemoDllTest, TheInstalledLibraryTurnsRomajiIntoAPatternForKanji) {
  void* installed = dlopen("libmigemo.so.1", RTLD_NOW | RTLD_LOCAL);
  if (!installed) GTEST_SKIP() << "libmigemo.so.1 is not installed";
  dlclose(installed);
  if (!std::filesystem::exists(std::string(CMigemoDll::kInstalledDictionaryFolder) + "/migemo-dict")) {
    GTEST_SKIP() << "no dictionary in " << CMigemoDll::kInstalledDictionaryFolder;
  }
  CMigemoDll migemo;
  ASSERT_EQ(migemo.Load(), 0);
  migemo.LoadDictionaries();
  ASSERT_TRUE(migemo.IsEnabled());

  char* pattern = migemo.Query("kanji");
  ASSERT_NE(pattern, nullptr);
  const std::string expression = pattern;
  migemo.ReleaseResult(pattern);
  CRegexpDll regexp;
  ASSERT_EQ(regexp.Load(), 0);
  ASSERT_TRUE(regexp.Compile(expression.c_str(), nullptr, 0)) << regexp.GetErrorText();
  const std::string line = "これは漢字です\r\n"_sj;
  ASSERT_TRUE(regexp.Match(line.data(), static_cast<int>(line.size()), 0));
  const BREGEXP* result = regexp.GetResult();
  EXPECT_EQ(std::string(result->startp[0], result->endp[0]), std::string("漢字"_sj));
  const std::string other = "ひらがなだけ\r\n"_sj;
  EXPECT_FALSE(regexp.Match(other.data(), static_cast<int>(other.size()), 0));

  // A folder without dictionaries leaves a fresh object not enabled.
  const ScopedTempDir empty;
  CopyText(Common().szMigemoDict, empty.path().c_str());
  CMigemoDll bare;
  ASSERT_EQ(bare.Load(), 0);
  bare.LoadDictionaries();
  EXPECT_FALSE(bare.IsEnabled());
}

}  // namespace
