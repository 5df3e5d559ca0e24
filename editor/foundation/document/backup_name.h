// Names of backup copies: where the copy of a file goes before the file is overwritten, by one of
// the naming modes or by the free format of the common settings. Building a name writes nothing.
//
// Naming modes ("name" the file name without its extension, ".ext" the extension with its dot,
// L the generation letter): 1 name.bak, 2 name_DATE.ext with the current local time, 3 name.L00,
// 4 name_DATE.ext with the file's last-write time, 5 name.ext.bak, 6 name.ext.L00. The free
// format expands date codes, then "$0" (name), "$1"-"$9" (the folders that hold the file, counted
// upward by "/" levels), "*" (the extension without its dot) and "?" ("_"); "\" is a byte of a
// name like any other.
#pragma once

struct CommonSettings;

// The backup path of the file at pszPath (absolute, "/" between levels) into pszOut, which holds
// kMaxPath bytes. The copy goes into the backup folder when one is set, else beside the file.
// False, with pszOut empty, when no name can be made: an unknown naming mode, a name that would
// not fit kMaxPath - 1 bytes (it is never cut, a shorter name could be another file's) or that
// names no file (bytes that are no Shift-JIS characters).
bool BuildBackupPath(const CommonSettings& settings, const char* pszPath, char* pszOut);

// Backups keep numbered generations, the number being the path's last two bytes: naming modes 3
// and 6 only. A free-format name has no place of its own for a number (numbering its last two
// bytes would delete and rename files it never made), so it keeps no generations.
bool BackupKeepsGenerations(const CommonSettings& settings);

// How many generations to keep, 0-99.
int BackupKeepCount(const CommonSettings& settings);

// The generation letter: a printable ASCII character other than "/", else 'b'.
char BackupGenerationLetter(const CommonSettings& settings);
