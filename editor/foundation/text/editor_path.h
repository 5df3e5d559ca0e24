// Paths of the editor: Linux paths with "/" between levels, kept and handed to the file layer in
// its exact mode (platform/path.h): "\" is a byte of a name, letters' case matters, and a path the
// system cannot be given as it stands is refused, never read as another name. A path holds at most
// kMaxPath - 1 bytes; a longer one is refused, never shortened.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

inline constexpr int kMaxPath = 260;

// Folder (without a final "/", except the root "/") and file name; either output may be null.
void SplitFolderAndFile(const char* pszPath, std::string* pFolder, std::string* pFile);
// Removes a final "/" (not the root's).
void RemoveTrailingBackslash(std::string& path);
// Appends "/" unless the path ends with one (the root does); an empty path stays empty.
void AddTrailingBackslash(std::string& path);
// 0 when the text already ends with c; -1 when it would not fit a buffer of nSize; else appends it
// and gives 1.
int AppendCharIfMissing(char* pszText, int nSize, char c);
// The number of "/" between levels ("." levels not counted, ".." levels counted), minus 1 for an
// absolute path.
int GetPathDepth(const char* pszPath);
// The existing file or folder that the text starts with (quotes removed; a command line of a path
// and arguments gives the path); empty when there is none.
void NormalizeExistingPath(std::string& out, const char* pszText);
// Drive (always empty), folder (ending with "/"), name and extension (with its dot) of the existing
// path the text names; each output may be null.
void SplitPath(const char* pszPath, std::string* pDrive, std::string* pFolder, std::string* pName, std::string* pExt);
// The editor's own current folder, ending with "/": where relative names are looked up, where the
// file dialogs start and where new editor processes begin. Opening a file sets it to the file's
// folder. The process's folder is never changed, because an edit window may run inside the game's
// process, whose relative paths must keep their meaning. It starts as the process's folder.
std::string EditorCurrentFolder();
void SetEditorCurrentFolder(const std::string& folder);
// The absolute path of a name (a relative one taken from the editor's current folder), without "." and ".." levels; false when it cannot be told or would
// not fit kMaxPath.
bool GetLongPath(const char* pszName, std::string& out);
// The path names an existing file (or, without bNoFolders, a folder).
bool IsExistingFile(const char* pszPath, bool bNoFolders);
// What the file checks of the original asked with an access mode: 0 whether the path exists, 2
// whether it may be written, 4 whether it may be read, 6 both. The mode bits decide, also for root
// (platform::PathAllows).
bool CheckPathAccess(const char* pszPath, int nMode);
// Every path is on a fixed drive here.
bool IsFixedDrivePath(const char* pszPath);
// Last-write time in nanoseconds since the epoch; false when nothing is there.
bool GetFileWriteTime(const char* pszPath, int64_t* pModifiedNs);
// The first existing file named in a line of text (see the .cpp); its start and length.
bool FindFilePathInLine(const char* pszLine, int* pnStart, int* pnLength, bool bNoFolders);
// The same with the question "does this candidate name a file?" answered by the caller: callers
// that resolve relative names against a folder of their own, and tests without files.
bool FindFilePathInLine(const char* pszLine, int* pnStart, int* pnLength,
                        const std::function<bool(const std::string&)>& isFile);
