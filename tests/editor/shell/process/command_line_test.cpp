#include "editor/shell/process/command_line.h"

#include <climits>
#include <filesystem>
#include <gtest/gtest.h>
#include <ostream>
#include <set>
#include <string>
#include <vector>

#include "editor/foundation/text/editor_path.h"
#include "editor/shell/process/launch_arguments.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"
#include "tests/editor/foundation/message_box_capture.h"

namespace {

// Names that exist, and the executable, without a file anywhere.
class FakeSystem final : public CommandLineSystem {
 public:
  FakeSystem(std::set<std::string> existing, std::string exe)
      : m_existing(std::move(existing)), m_exe(std::move(exe)) {}
  bool PathExists(const std::string& name) const override {
    asked.push_back(name);
    return m_existing.contains(name);
  }
  std::string ExecutablePath() const override { return m_exe; }
  mutable std::vector<std::string> asked;

 private:
  std::set<std::string> m_existing;
  std::string m_exe;
};

// Everything the parse can set, compared whole so that a case also shows what it must not touch.
struct Parsed {
  std::string path = {};
  int x = -1, y = -1, viewLeft = -1, viewTop = -1;
  int code = 99;
  std::string type = {};
  int width = -1, height = -1, left = INT32_MIN, top = INT32_MIN;
  bool readOnly = false, noWindow = false, grepMode = false, grepDialog = false, debug = false;
  std::string grepKey = {}, grepFile = {}, grepFolder = {};
  std::string grepLetters = {};  // of "SLRPW", those set
  int grepStyle = 1, grepCode = 0;
  bool operator==(const Parsed&) const = default;
};

void PrintTo(const Parsed& p, std::ostream* os) {
  *os << "{path \"" << p.path << "\" x " << p.x << " y " << p.y << " vx " << p.viewLeft << " vy " << p.viewTop
      << " code " << p.code << " type \"" << p.type << "\" size " << p.width << "," << p.height << " pos " << p.left
      << "," << p.top << " R " << p.readOnly << " NOWIN " << p.noWindow << " GREPMODE " << p.grepMode << " GREPDLG "
      << p.grepDialog << " DEBUGMODE " << p.debug << " key \"" << p.grepKey << "\" files \"" << p.grepFile
      << "\" folder \"" << p.grepFolder << "\" letters " << p.grepLetters << " style " << p.grepStyle << " gcode "
      << p.grepCode << "}";
}

Parsed Summary(const CCommandLineOptions& o) {
  Parsed p;
  p.path = o.m_fi.szPath;
  p.x = o.m_fi.nX;
  p.y = o.m_fi.nY;
  p.viewLeft = o.m_fi.nViewLeftCol;
  p.viewTop = o.m_fi.nViewTopLine;
  p.code = o.m_fi.nCharCode;
  p.type = o.m_fi.szTypeText;
  p.width = o.m_fi.nRequestWidth;
  p.height = o.m_fi.nRequestHeight;
  p.left = o.m_fi.nRequestX;
  p.top = o.m_fi.nRequestY;
  p.readOnly = o.m_bReadOnly;
  p.noWindow = o.m_bNoWindow;
  p.grepMode = o.m_bGrepMode;
  p.grepDialog = o.m_bGrepDlg;
  p.debug = o.m_bDebugMode;
  p.grepKey = o.m_cmGrepKey.View();
  p.grepFile = o.m_cmGrepFile.View();
  p.grepFolder = o.m_cmGrepFolder.View();
  const bool letters[] = {o.m_bGrepSubFolder, o.m_bGrepLoHiCase, o.m_bGrepRegularExp, o.m_bGrepOutputLine,
                          o.m_bGrepWordOnly};
  for (int i = 0; i < 5; ++i) {
    if (letters[i]) p.grepLetters += "SLRPW"[i];
  }
  p.grepStyle = o.m_nGrepOutputStyle;
  p.grepCode = o.m_nGrepCharSet;
  return p;
}

std::string FileNameErrorText(const std::string& name) {
  return name + "\r\n上記のファイル名は不正です。ファイル名に \\ / : * ? \" < > | の文字は使えません。 "_sj;
}

const std::string kExe = "/usr/bin/tovara";
const std::string kLong259 = "/" + std::string(258, 'n');

TEST(CommandLine, OptionsFileNamesAndTheirEdges) {
  const std::string here = EditorCurrentFolder();
  struct Case {
    const char* name;
    std::string text;
    std::set<std::string> existing;
    std::string exe;
    Parsed expected;
    std::string refused;  // the name the "FileNameError" box shows; empty: no box
  };
  const Case cases[] = {
      {"nothing given", "", {}, kExe, {}, ""},
      {"VX is not X: one letter needs its separator", "-VX=3", {}, kExe, {.viewLeft = 2}, ""},
      {"positions and sizes are stored minus one",
       "-X=4 -Y=10 -VY=7 -SX=800 -SY=600 -WX=-5 -WY=20",
       {},
       kExe,
       {.x = 3, .y = 9, .viewTop = 6, .width = 799, .height = 599, .left = -5, .top = 20},
       ""},
      {"lower case is no option", "-y=3 -nowin -r", {}, kExe, {}, ""},
      {"colon is a separator too; one quote or apostrophe is skipped",
       "-X:5 -Y=\"6\" -VX='7",
       {},
       kExe,
       {.x = 4, .y = 5, .viewLeft = 6},
       ""},
      {"no digits read 0, which is not given", "-Y=abc -X=0 -SX=", {}, kExe, {}, ""},
      {"no separator is no option", "-Y5 -NOWINX", {}, kExe, {}, ""},
      {"numbers saturate",
       "-Y=99999999999 -X=-99999999999 -WX=99999999999 -WY=-99999999999",
       {},
       kExe,
       {.x = INT32_MIN, .y = INT32_MAX - 1, .left = INT32_MAX, .top = INT32_MIN},
       ""},
      {"flags",
       "-R -NOWIN -GREPMODE -GREPDLG -DEBUGMODE",
       {},
       kExe,
       {.readOnly = true, .noWindow = true, .grepMode = true, .grepDialog = true, .debug = true},
       ""},
      {"type keeps seven bytes", "-TYPE=abcdefghij", {}, kExe, {.type = "abcdefg"}, ""},
      {"type keeps whole characters", "-TYPE="_sj + std::string("表表表表"_sj), {}, kExe, {.type = "表表表"_sj}, ""},
      {"GKEY drops whatever encloses it", "-GKEY=abc", {}, kExe, {.grepKey = "b"}, ""},
      {"grep texts: quotes dropped, pairs made one, spaces kept",
       "-GKEY=\"a \"\"b\"\"\" -GFILE=\"*.c *.h\" -GFOLDER=\"/d/My Documents\"",
       {},
       kExe,
       {.grepKey = "a \"b\"", .grepFile = "*.c *.h", .grepFolder = "/d/My Documents"},
       ""},
      {"grep texts shorter than two characters are empty", "-GKEY=a -GFILE= -GFOLDER=\"", {}, kExe, {}, ""},
      {"grep texts drop whole characters",
       "-GKEY="_sj + std::string("表a表"_sj) + " -GFILE=" + "表"_sj,
       {},
       kExe,
       {.grepKey = "a"},
       ""},
      {"GOPT letters", "-GOPT=SRK2", {}, kExe, {.grepLetters = "SR", .grepStyle = 2, .grepCode = 99}, ""},
      {"GOPT all letters, others skipped",
       "-GOPT=xWPLSR12 -GCODE=4",
       {},
       kExe,
       {.grepLetters = "SLRPW", .grepStyle = 2, .grepCode = 4},
       ""},
      {"GOPT skips a double-byte character whose second byte is S",
       "-GOPT="_sj + std::string("ゴ"_sj),
       {},
       kExe,
       {},
       ""},
      {"a 2 before the executable's extension opens as EUC", "", {}, "/usr/bin/tovara2.bin", {.code = 2}, ""},
      {"CODE overrides the executable's name", "-CODE=4", {}, "/usr/bin/tovara2.bin", {.code = 4}, ""},
      {"a folder's dot is not the executable's extension", "", {}, "/home/u/build2.x/app/vrel", {}, ""},
      {"only 0 to 6 are codes", "", {}, "/usr/bin/tovara9.bin", {}, ""},
      {"a name starting with its dot has no extension", "", {}, "/usr/bin/.2", {}, ""},
      {"a leading file name with options",
       "/d/a.txt -Y=5 -R",
       {"/d/a.txt"},
       kExe,
       {.path = "/d/a.txt", .y = 4, .readOnly = true},
       ""},
      {"the longest existing prefix wins",
       "/d/My Documents/a.txt -Y=5",
       {"/d/My", "/d/My Documents/a.txt"},
       kExe,
       {.path = "/d/My Documents/a.txt", .y = 4},
       ""},
      {"a shorter prefix when the whole does not exist",
       "/d/My Documents/a.txt",
       {"/d/My"},
       kExe,
       {.path = "/d/My"},
       ""},
      {"after a leading name a bare word is an option nobody knows",
       "/d/a.txt word",
       {"/d/a.txt"},
       kExe,
       {.path = "/d/a.txt"},
       ""},
      {"after a leading name the first character is never read",
       "/d/a.txt xY=3",
       {"/d/a.txt"},
       kExe,
       {.path = "/d/a.txt", .y = 2},
       ""},
      {"a text starting with a minus sign has no leading name",
       "-R \"/d/My Documents/a.txt\"",
       {"-R"},
       kExe,
       {.path = "/d/My Documents/a.txt", .readOnly = true},
       ""},
      {"a leading name is not checked for refused characters",
       "/d/a|b.txt -Y=2",
       {"/d/a|b.txt"},
       kExe,
       {.path = "/d/a|b.txt", .y = 1},
       ""},
      {"a leading name is made absolute",
       "sub/../a.txt -X=2",
       {"sub/../a.txt"},
       kExe,
       {.path = here + "a.txt", .x = 1},
       ""},
      {"a file-name token is made absolute", "b.txt", {}, kExe, {.path = here + "b.txt"}, ""},
      {"the last file name wins", "one.txt two.txt", {}, kExe, {.path = here + "two.txt"}, ""},
      {"an empty quoted name clears the file name", "one.txt \"\"", {}, kExe, {}, ""},
      {"a quoted name keeps its spaces; an unclosed quote too",
       "\"/d/a b.txt -Y=2",
       {},
       kExe,
       {.path = "/d/a b.txt -Y=2"},
       ""},
      {"a file URL keeps its path", "file:///d/a.txt", {}, kExe, {.path = "/d/a.txt"}, ""},
      {"a doubled quote inside a quoted name is refused", "\"/d/a\"\"b.txt\"", {}, kExe, {}, "/d/a\"b.txt"},
      {"a refused character", "/d/a*b.txt -Y=3", {}, kExe, {.y = 2}, "/d/a*b.txt"},
      {"a refused character after a double-byte one",
       "/d/"_sj + std::string("＝|.txt"_sj),
       {},
       kExe,
       {},
       "/d/＝|.txt"_sj},
      {"a double-byte character whose second byte is |",
       "/d/"_sj + std::string("ポ.txt"_sj),
       {},
       kExe,
       {.path = "/d/ポ.txt"_sj},
       ""},
      {"a name of 259 bytes fits", kLong259, {}, kExe, {.path = kLong259}, ""},
      {"a name of 260 bytes is refused", kLong259 + "n", {}, kExe, {}, kLong259},
      {"a refused name leaves no file name, not the one before it",
       "/a.txt " + kLong259 + "nn",
       {},
       kExe,
       {},
       kLong259},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const FakeSystem system(c.existing, c.exe);
    MessageBoxCapture boxes;
    CCommandLineOptions options;
    options.Parse(c.text, system);
    EXPECT_EQ(Summary(options), c.expected);
    EXPECT_EQ(options.m_szCmdLine, c.text);
    if (c.refused.empty()) {
      EXPECT_TRUE(boxes.requests.empty());
    } else {
      ASSERT_EQ(boxes.requests.size(), 1u);
      EXPECT_EQ(boxes.requests[0].caption, "FileNameError");
      EXPECT_EQ(boxes.requests[0].flags, static_cast<UINT>(MB_OK));
      EXPECT_EQ(boxes.requests[0].owner, nullptr);
      EXPECT_EQ(boxes.requests[0].text, FileNameErrorText(c.refused));
    }
  }
}

TEST(CommandLine, TheLeadingNameIsLookedForAtSpacesWithin259Bytes) {
  struct Case {
    const char* name;
    std::string text;
    std::vector<std::string> asked;
  };
  const std::string near = std::string(250, 'a') + " b" + " " + std::string(20, 'c');
  const Case cases[] = {
      {"every prefix ending at a space or the end", "a b  c", {"a", "a b", "a b ", "a b  c"}},
      {"a space first asks nothing for the empty prefix", " a", {" a"}},
      {"a minus sign first asks nothing", "-a b", {}},
      {"nothing beyond 259 bytes", near, {std::string(250, 'a'), std::string(250, 'a') + " b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const FakeSystem system({}, kExe);
    MessageBoxCapture boxes;
    CCommandLineOptions options;
    options.Parse(c.text, system);
    EXPECT_EQ(system.asked, c.asked);
  }
}

TEST(CommandLine, ATextEndsAtItsFirstZeroByte) {
  const FakeSystem system({}, kExe);
  CCommandLineOptions options;
  options.Parse(std::string_view("-Y=3\0-R", 7), system);
  EXPECT_EQ(options.m_szCmdLine, "-Y=3");
  EXPECT_EQ(options.m_fi.nY, 2);
  EXPECT_FALSE(options.m_bReadOnly);
}

TEST(CommandLine, LookupOptionNamesTheOptionAndItsValue) {
  struct Case {
    const char* token;
    int id;
    const char* value;  // null: not a value option
  };
  const Case cases[] = {
      {"X=5", kOptX, "5"},
      {"VX=3", kOptVX, "3"},
      {"X:", kOptX, ""},
      {"X", kOptNone, nullptr},
      {"XX=1", kOptNone, nullptr},
      {"GOPT:SR", kOptGrepOptions, "SR"},
      {"GFOLDER=/d", kOptGrepFolder, "/d"},
      {"GCODE=2", kOptGrepCode, "2"},
      {"TYPE==", kOptType, "="},
      {"CODE=1", kOptCode, "1"},
      {"NOWIN", kOptNoWindow, nullptr},
      {"NOWIN=1", kOptNone, nullptr},
      {"R", kOptReadOnly, nullptr},
      {"DEBUGMODE", kOptDebugMode, nullptr},
      {"", kOptNone, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.token);
    const char* value = nullptr;
    EXPECT_EQ(CCommandLineOptions::LookupOption(c.token, &value), c.id);
    if (c.value) {
      ASSERT_NE(value, nullptr);
      EXPECT_STREQ(value, c.value);
    } else {
      EXPECT_EQ(value, nullptr);
    }
  }
  EXPECT_EQ(CCommandLineOptions::LookupOption(nullptr, nullptr), kOptNone);
}

// The game makes an editor process for every script it opens: each must see its own text.
TEST(CommandLine, EveryTextGivenIsParsedAndTheLatestKept) {
  const FakeSystem system({"/d/one.txt", "/d/two.txt"}, kExe);
  CCommandLineOptions* first = CCommandLineOptions::GetInstance("/d/one.txt -Y=3", system);
  ASSERT_NE(first, nullptr);
  EXPECT_STREQ(first->m_fi.szPath, "/d/one.txt");
  CCommandLineOptions* second = CCommandLineOptions::GetInstance("/d/two.txt -R", system);
  EXPECT_EQ(second, first);
  EXPECT_STREQ(second->m_fi.szPath, "/d/two.txt");
  EXPECT_EQ(second->m_fi.nY, -1);
  EXPECT_TRUE(second->m_bReadOnly);
  CCommandLineOptions* kept = CCommandLineOptions::GetInstance(nullptr, system);
  EXPECT_EQ(kept, first);
  EXPECT_EQ(kept->m_szCmdLine, "/d/two.txt -R");
  EXPECT_STREQ(kept->m_fi.szPath, "/d/two.txt");
}

TEST(CommandLine, TheHostSystemSeesRealFilesAndTheExecutable) {
  const CommandLineSystem& host = HostCommandLineSystem();
  EXPECT_TRUE(host.PathExists("/"));
  EXPECT_FALSE(host.PathExists("/no such folder/at all"));
  EXPECT_FALSE(host.PathExists(""));
  const std::string exe = host.ExecutablePath();
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(exe[0], '/');
  EXPECT_TRUE(host.PathExists(exe));
}

// A relative name is the editor's, never the process's: the game's folder stays the process's.
TEST(CommandLine, ARelativeLeadingNameIsFoundInTheEditorsFolder) {
  const ScopedTempDir dir;
  dir.Write("My Documents/a.txt", "x");
  const std::string before = EditorCurrentFolder();
  const std::filesystem::path processFolder = std::filesystem::current_path();
  SetEditorCurrentFolder(dir.path().string());
  MessageBoxCapture boxes;
  CCommandLineOptions options;
  options.Parse("My Documents/a.txt -Y=2", HostCommandLineSystem());
  SetEditorCurrentFolder(before);
  EXPECT_EQ(std::string(options.m_fi.szPath), dir.File("My Documents/a.txt"));
  EXPECT_EQ(options.m_fi.nY, 1);
  EXPECT_TRUE(boxes.requests.empty());
  EXPECT_EQ(std::filesystem::current_path(), processFolder);
}

std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

TEST(LaunchArguments, ArgumentsJoinIntoOneShiftJisText) {
  const std::string kanji = Utf8(u8"表 計.txt");
  const std::string emoji = "\xF0\x9F\x98\x80.txt";
  const std::string broken = "a\xFF";
  struct Case {
    const char* name;
    std::vector<const char*> args;
    std::string text;
    std::string refused;  // the names the box lists; empty: no box
  };
  const Case cases[] = {
      {"no arguments", {"tovara"}, "", ""},
      {"joined by spaces", {"tovara", "a.txt", "-Y=5", "-R"}, "a.txt -Y=5 -R", ""},
      {"a name with a space is quoted",
       {"tovara", "/d/My Documents/a.txt", "-Y=5"},
       "\"/d/My Documents/a.txt\" -Y=5",
       ""},
      {"quotes inside a quoted name are doubled", {"tovara", "a \"b\".txt"}, "\"a \"\"b\"\".txt\"", ""},
      {"quotes without a space stay as they are", {"tovara", "a\"b"}, "a\"b", ""},
      {"an option with a space stays as it is", {"tovara", "-GKEY=\"a b\""}, "-GKEY=\"a b\"", ""},
      {"a quoted argument stays as it is", {"tovara", "\"a b\""}, "\"a b\"", ""},
      {"converted to Shift-JIS", {"tovara", kanji.c_str()}, "\"表 計.txt\""_sj, ""},
      {"empty arguments add nothing", {"tovara", "", "a", ""}, "a", ""},
      {"arguments without a Shift-JIS form are left out and named",
       {"tovara", emoji.c_str(), "-Y=2", broken.c_str()},
       "-Y=2",
       "\r\n\"?.txt\"\r\n\"a?\""},
      {"after the marker the next argument as it stands",
       {"tovara", kEditorLaunchMarker, "\x95\x5C x y", "z"},
       "\x95\x5C x y",
       ""},
      {"the marker alone", {"tovara", kEditorLaunchMarker}, "", ""},
      {"the marker elsewhere is an argument", {"tovara", "a", kEditorLaunchMarker}, "a --tovara-launched-with", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MessageBoxCapture boxes;
    EXPECT_EQ(JoinEditorArguments(c.args), c.text);
    if (c.refused.empty()) {
      EXPECT_TRUE(boxes.requests.empty());
    } else {
      ASSERT_EQ(boxes.requests.size(), 1u);
      EXPECT_EQ(boxes.requests[0].caption, "tovara");
      EXPECT_EQ(boxes.requests[0].text, "次の引数はShift-JISで表せない文字を含むため、使いません。"_sj + c.refused);
    }
  }
}

TEST(LaunchArguments, AJoinedNameParsesBackWhole) {
  const std::vector<const char*> args = {"tovara", "/d/My \"Documents\"/a.txt", "-Y=3"};
  const FakeSystem system({"/d/My"}, kExe);
  MessageBoxCapture boxes;
  CCommandLineOptions options;
  options.Parse(JoinEditorArguments(args), system);
  // The quoted name is one token: the check then refuses the quotes it holds, as a typed one.
  ASSERT_EQ(boxes.requests.size(), 1u);
  EXPECT_EQ(boxes.requests[0].text, FileNameErrorText("/d/My \"Documents\"/a.txt"));
  EXPECT_EQ(options.m_fi.nY, 2);

  const std::vector<const char*> spaced = {"tovara", "/d/My Documents/a.txt", "-Y=3"};
  options.Parse(JoinEditorArguments(spaced), system);
  EXPECT_STREQ(options.m_fi.szPath, "/d/My Documents/a.txt");
  EXPECT_EQ(options.m_fi.nY, 2);
}

}  // namespace
