// Paths at the boundary between the program and the operating system.
//
// Inside the program a path is a Shift-JIS byte string whose levels are separated by "\" (or "/").
// The file layer's canonical form of an absolute path on Linux is a leading "/" followed by the
// levels joined with "\": the file /home/u/game/cg/a.png is "/home\u\game\cg\a.png" inside the
// program. A path that does not start with "/" is relative. At the operating-system boundary the
// path becomes UTF-8 with "/" between levels.
//
// Game data written on Windows mixes the case of ASCII letters freely, so a path whose exact name
// is missing is looked up level by level, comparing ASCII letters without case.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// True when the path's last character is "\" or "/": a double-byte character whose trail byte is
// 0x5C (as in "表") ends a name, not a folder.
bool EndsWithSeparator(std::string_view programPath);

// The operating system's spelling of a program path: UTF-8, "/" between levels. Trail bytes of
// double-byte characters equal to "\" stay part of their character.
std::string HostPath(std::string_view programPath);

// The program's spelling of an operating-system path: Shift-JIS, "\" between levels (a leading
// "/" kept). False when the path holds a character that Shift-JIS cannot represent.
bool ProgramPathFromHost(std::string_view hostPath, std::string& programPath);

// HostPath, and when nothing exists under that exact name, each level that is missing is replaced
// by the one entry of its folder whose name differs only in the case of ASCII letters (the first
// in byte order when several do). Levels that cannot be matched are kept as given, so the result
// also names a file that is about to be created beside existing, differently cased folders.
std::string ResolveHostPath(std::string_view programPath);

// The process's current directory in program form, ending with a separator. False when the
// system cannot tell it or Shift-JIS cannot spell it.
bool CurrentDirectory(std::string& programPath);

// The folder for temporary files ($TMPDIR, else /tmp), program form, ending with a separator.
std::string TempDirectory();

// The per-user data folder of the program ($XDG_DATA_HOME/vrel, else ~/.local/share/vrel),
// program form, ending with a separator; created when missing. Empty when it cannot be made.
std::string UserDataDirectory();

// The running executable's path in program form (the lossy Shift-JIS spelling when it holds
// characters that Shift-JIS lacks); empty when the system cannot tell.
std::string ModuleFileName();

// How a path given to the file layer is taken.
//   kLookup: a program path as above ("\" or "/" between levels, case-insensitive fallback).
//   kExact: the editor's form. The bytes are Shift-JIS and name exactly one file: "/" alone
//   separates levels ("\" is a byte of a name, as Linux allows), letters' case is never looked up,
//   and a path with a byte that does not decode is refused rather than spelled as some other name.
enum class PathMode { kLookup, kExact };

// The host spelling of an exact path: UTF-8 character for character. False for an empty path and
// for one holding a NUL, a byte that starts no CP932 character, or a lead byte without its trail.
bool ExactHostPath(std::string_view path, std::string& hostPath);

// The exact path of a host path: false when Shift-JIS cannot spell it so that it decodes back to
// the same host bytes (a name holding U+00A5 or U+301C has a CP932 code, but it comes back as
// another name).
bool ExactPathFromHost(std::string_view hostPath, std::string& path);

// The process's current directory as an exact path ending with "/"; false when the system cannot
// tell it or Shift-JIS cannot spell it.
bool ExactCurrentDirectory(std::string& path);

// The running executable's path as an exact path; false when it cannot be told or spelled.
bool ExactModuleFileName(std::string& path);

// Host spelling of a path in either mode; false only for an exact path that is refused.
bool HostPathFor(std::string_view path, PathMode mode, std::string& hostPath);

// Forgets every folder listing remembered by the case-insensitive lookup.
void ForgetPathCache();

}  // namespace platform
