// File services of the save files and the menu: does a file exist, look at a file without
// changing its times, and make every folder of a path; and what to say of a file the game could
// not use.
#pragma once

#include <cstdint>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>

#include "platform/file.h"

// True when a file or a folder is found under the path (letter case of ASCII letters aside).
bool FileExists(std::string_view path);

// True when the game's file layer finds a file of this name: a plain file or an entry of a packed
// archive. It reads the file whole: it is for explaining a failure, not for every load.
bool GameFileFound(std::string_view name);
// Said after a name: the file is there, but what it holds could not be read.
extern const char* const kUnreadableFileText;
// What the message log says of a file the game could not use: "ファイルが見つかりません" when it
// is not there, else its name followed by kUnreadableFileText.
std::string FileFailureText(std::string_view name);

// An open file with the times and size it had when it was opened.
struct FileTimeRecord {
  platform::TimeKeepingFile file;
  uint64_t size = 0;
  int64_t creationNs = 0;
  int64_t accessNs = 0;
  int64_t writeNs = 0;
};

// Opens an existing file for reading; none when it is missing or a folder.
std::unique_ptr<FileTimeRecord> OpenFileKeepTimes(std::string_view path);
// Puts the access and write times back as they were when the file was opened, and closes it.
void CloseFileRestoreTimes(std::unique_ptr<FileTimeRecord> record);

// The file's last-write time in local time, read through OpenFileKeepTimes (so a read-only file
// counts and no time changes); false when the file is missing or a folder.
bool FileLocalWriteTime(std::string_view path, std::tm* local);
// A file time in nanoseconds since 1970 as local time; false when it has none.
bool LocalTimeOfNs(int64_t nanoseconds, std::tm* local);

// Makes every folder of the path in turn, then the path itself; errors are passed over. True.
bool CreateDirectories(std::string_view path);
