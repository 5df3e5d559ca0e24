// Path functions over Shift-JIS path strings, and the current-directory cache that relative paths
// resolve against.
//
// The canonical (absolute) form on Linux: a leading "/" followed by the levels joined with "\",
// for example "/home\u\game\cg\a.png" (see platform/path.h). A path is taken as absolute when it
// begins with "/" (a Linux absolute path), begins with "\\" (a share name) or holds a ":" (a drive
// letter); every other path is relative to the current-directory cache, and a leading "\" does not
// lead to the root: "\x" names x in the current directory. Every scan skips the trail byte of a
// double-byte character, so a trail byte equal to "\" is never taken for a separator.
#pragma once

#include <string>
#include <string_view>

// The absolute form of a path: leading "." and ".." levels of a relative path are resolved against
// the current directory, and "/" becomes "\" (a leading "/" of an absolute Linux path stays).
std::string CanonicalizePath(std::string_view path);

// Cuts the path in place to its parent directory, keeping the trailing separator. 0, or 1 (path
// unchanged) when it has no parent: "/" , "C:\" and a share root "\\server\share\" have none.
int GetParentDir(std::string& path);

// The text after the last separator; the whole path when there is none.
std::string GetFileNamePart(std::string_view path);

// The text after the last "." of the file-name part; empty when that part has no dot.
std::string GetExtensionOf(std::string_view path);

// Lower-cases the ASCII letters A to Z in place, leaving trail bytes of double-byte characters alone.
void ToLowerSJIS(std::string& text);

// A copy of the current-directory cache (always ending with a separator); filled from the process's
// current directory on first use. When Shift-JIS cannot spell that directory the cache is ".\", so
// that paths stay relative to it.
std::string GetCurrentDir();

// Refills the cache from the process's current directory; called once at start-up, so relative
// paths keep resolving against the start directory whatever the current directory becomes.
void RecordCurrentDir();

// An empty path changes nothing; otherwise the cache becomes the path, with "\" appended unless it
// already ends with "\" or "/".
void SetCurrentDir(std::string_view path);

// The folder the wallpaper is copied into: the per-user data folder of the program, ending with a
// separator (empty when it cannot be made).
std::string GetWindowsDir();

// Creates a new empty file "QIB......tmp" in the temporary folder and gives its path; 0, or 2 when
// no such file can be made.
int MakeTempFileName(std::string& out);
