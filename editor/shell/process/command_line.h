// The editor's command line: what a process was started to do. The resident is started with
// "-NOWIN", edit windows with a file name and options, grep windows with the grep options, and the
// game hands over its script's path and a line. The text is parsed on every CCommandLineOptions::
// GetInstance that brings one, because the game makes a new editor process for every script it
// opens: the process-wide object holds the latest text's result.
//
// Grammar, in brief (tokens split at spaces outside double quotes, names compared with case):
// - A text that does not start with "-" may start with a file name, spaces and all: the longest
//   prefix, ending at a space or the end and at most 259 bytes, that names an existing file or
//   folder. After it every token is read as an option from its second character on.
// - "-NAME=value" or "-NAME:value" for X, Y, VX, VY, SX, SY (stored minus one: 0 is "not given"),
//   WX, WY, CODE, TYPE (7 bytes of whole characters), GKEY, GFILE, GFOLDER (the enclosing quotes
//   dropped, inner pairs of quotes made one), GOPT (letters S L R P W K 1 2), GCODE. A number skips
//   one leading double quote or apostrophe, then reads as atoi does, held at the ends of the 32-bit
//   range.
// - Flags "-R", "-NOWIN", "-GREPMODE", "-GREPDLG", "-DEBUGMODE"; anything else is ignored.
// - Any other token is a file name: a quoted one loses its quotes (pairs inside become one), then
//   "file://" before a "/" is dropped. A name longer than 259 bytes, or holding " * < > ? | as a
//   character of its own, is refused with the "FileNameError" box and leaves no file name.
// - At the end a file name is made absolute (from the editor's current folder), without "." and
//   ".." levels.
// - The executable's own name (the file name only) picks the default code: a digit 0-6 right before
//   its last "." is that code.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "editor/foundation/settings/shared_settings.h"
#include "editor/foundation/text/memory.h"

// What the parse asks of the system, so that tests and fuzzing need no files.
class CommandLineSystem {
 public:
  virtual ~CommandLineSystem() = default;
  // Whether a file or folder of this exact name exists; a relative name is taken from the editor's
  // current folder.
  virtual bool PathExists(const std::string& name) const = 0;
  // The running executable's exact path; empty when it cannot be told or spelled.
  virtual std::string ExecutablePath() const = 0;
};

// The file system and the executable as they are.
const CommandLineSystem& HostCommandLineSystem();

// Option ids of CCommandLineOptions::LookupOption.
enum CommandLineOptionId : int {
  kOptNone = 0,
  kOptX = 1,
  kOptY = 2,
  kOptVX = 3,
  kOptVY = 4,
  kOptType = 5,
  kOptCode = 6,
  kOptSX = 7,
  kOptSY = 8,
  kOptWX = 9,
  kOptWY = 10,
  kOptGrepKey = 101,
  kOptGrepFile = 102,
  kOptGrepFolder = 103,
  kOptGrepOptions = 104,
  kOptGrepCode = 105,
  kOptReadOnly = 1002,
  kOptNoWindow = 1003,
  kOptGrepMode = 1100,
  kOptGrepDialog = 1101,
  kOptDebugMode = 1999,
};

class CCommandLineOptions {
 public:
  // The defaults: nothing requested.
  CCommandLineOptions();

  // The process's object, its text parsed first when one is given (null keeps the last result; the
  // first call without a text parses the empty one). Null only when it cannot be allocated, and a
  // later call tries again. For the editor's main thread only.
  static CCommandLineOptions* GetInstance(const char* pszCmdLine,
                                          const CommandLineSystem& system = HostCommandLineSystem());

  // Back to the defaults, then the text parsed (up to a NUL, if it holds one).
  void Parse(std::string_view cmdLine, const CommandLineSystem& system);

  // The option a token names, read without its first character; for a value option *ppszValue
  // points after the separator. kOptNone when none matches.
  static int LookupOption(const char* pszToken, const char** ppszValue);

  std::string m_szCmdLine;  // the text parsed last
  bool m_bGrepMode = false;
  bool m_bGrepDlg = false;
  bool m_bDebugMode = false;
  bool m_bNoWindow = false;
  // Caret, view, code, path, type and window request; the rest of the record stays empty.
  RecentFileRecord m_fi;
  CMemory m_cmGrepKey;
  CMemory m_cmGrepFile;
  CMemory m_cmGrepFolder;
  bool m_bGrepWordOnly = false;
  bool m_bGrepSubFolder = false;
  bool m_bGrepLoHiCase = false;
  bool m_bGrepRegularExp = false;
  bool m_bGrepOutputLine = false;
  int m_nGrepOutputStyle = 1;
  int m_nGrepCharSet = 0;
  bool m_bReadOnly = false;

 private:
  void ApplyOption(int id, const char* pszValue);
  void TakeFileNameToken(const char* pszToken);
};
