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

// Forgets every folder listing remembered by the case-insensitive lookup.
void ForgetPathCache();

}  // namespace platform
