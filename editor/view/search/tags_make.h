// Making a "tags" file: the tags program run over the chosen folder through the runner of outside
// programs, with the cancel dialog while it works and a message for what came of it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/outside_program.h"
#include "platform/win_types.h"

// The program that makes tags files, looked up on PATH (the name the distribution gives it; a
// plain "ctags" may be another program).
inline constexpr const char* kTagsProgramName = "ctags-universal";

struct TagsMakeRequest {
  std::string folder;        // exact path (Shift-JIS) ending with "/": where the program runs
  int options = 0;           // bit 0: the subfolders too
  std::string extraOptions;  // the user's options, split by the double-quote rule
};

// Where the program is looked for: a name with "/" is taken as a path; any other name is looked
// for in the folders of searchPath (":" between them, host spelling), or of $PATH when it is empty.
struct TagsProgramLookup {
  std::string name = kTagsProgramName;
  std::string searchPath;
};

// The exact path of the program, or empty when it is not there.
std::string FindTagsProgram(const TagsProgramLookup& lookup);

// The arguments after the program's name: "--excmd=n", "-R" with bit 0, the extra options, then
// the folder's entries in name order except those starting with "." (an entry whose name
// Shift-JIS cannot spell is left out, and its name, as near as Shift-JIS comes, is added to
// *refused when it is given, one "\r\n" and quoted name each).
std::vector<std::string> TagsProgramArguments(const TagsMakeRequest& request, std::string* refused = nullptr);

// The command line as the messages show it: the program and its arguments, blanks between them, an
// argument holding a blank or nothing in double quotes.
std::string TagsCommandLineText(std::string_view program, const std::vector<std::string>& arguments);

// Runs the program for the request and says what came of it, every message under owner:
// - program missing: the "not found" failure, nothing runs;
// - the program cannot be started: the failure with the command line;
// - any output: the failure with the output (at most 1022 bytes, in Shift-JIS), after which the
//   program is ended;
// - a non-zero exit without output, unless the user cancelled: the failure with the command line;
// - otherwise (also after a cancel, which ends the program's whole group): "finished".
// While it runs, the cancel dialog (template 191) shows and messages are pumped every 200 ms.
void RunTagsMake(HWND owner, const TagsMakeRequest& request, platform::OutsidePrograms& programs,
                 const TagsProgramLookup& lookup = {});
