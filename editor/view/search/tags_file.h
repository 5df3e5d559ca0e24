// Reading "tags" files: the lines a tags program writes (name, file, line number, kind, remark),
// looked for in the document's folder and in every folder above it, and the names of the kind
// letters by the file's extension. Plain objects over the file system, without a window.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CTagCandidateList;

// One usable line of a tags file; the views point into the line they were scanned from.
struct TagsLine {
  std::string_view name;
  std::string_view file;  // as the file holds it: a host name (UTF-8)
  int line = 0;           // above 0
  std::string_view kind;  // one word, its first byte the kind letter
  std::string_view remark;  // the first word after the kind; may be empty
};

// Scans one line (without its line end). False for a line that is not used: its first byte, read
// as a signed 8-bit value, is not above "!" (pseudo-tags, empty lines, blanks, control bytes and
// bytes from 0x80), the scan stops before the kind, or the line number is not above 0 (or does
// not fit an int).
bool ScanTagsLine(std::string_view text, TagsLine* out);

// The longest piece of a line the searches take (without the line end): the direct search reads
// 1023 bytes, the keyword search 1039. What a longer line holds beyond its piece is skipped, never
// read as a line of its own.
inline constexpr int kDirectTagsPiece = 1023;
inline constexpr int kKeywordTagsPiece = 1039;

// Calls take(piece) for each line of the file's bytes, cut to at most pieceLimit bytes including
// its "\n"; take returns false to stop. False when the file cannot be opened as a regular file
// (exact path, Shift-JIS).
bool ReadTagsPieces(std::string_view path, int pieceLimit, const std::function<bool(std::string_view)>& take);

// The folders whose "tags" files the searches read, nearest first: the folder of the document
// (its path up to the last "/"), then each folder above it, cut at "/" (never "../", which a
// symbolic link would lead elsewhere); as many as the path has levels above the file (at most
// 131). Each ends with "/". Empty for a path without a "/".
std::vector<std::string> TagsFolders(std::string_view documentPath);

// The folder depth of a path (its levels above the file), limited to 0..130.
int TagsBaseDepth(std::string_view documentPath);

// A tag found in a tags file, its file made an exact path (Shift-JIS) as the tags file wrote it
// (absolute, or relative to the tags file's folder).
struct TagEntry {
  std::string name;
  std::string file;
  int line = 0;
  int kind = 0;  // the kind letter (a byte)
  std::string remark;
};

// The file of an entry as a path to open: one starting with "/" as it is, any other joined to the
// folder of its tags file (which ends with "/").
std::string TagEntryPath(std::string_view tagsFolder, std::string_view file);

// The direct search: the nearest tags file (from the document's folder upward) that names the tag
// exactly (bytes). Its hits are the run of lines with that name (a sorted file keeps them
// together); the run ends at the first line after a hit that is not one. A line whose file has no
// Shift-JIS form is passed over. False when no tags file names it.
struct DirectTagHits {
  int depth = 0;       // levels above the document's folder
  std::string folder;  // the tags file's folder, ending with "/"
  std::vector<TagEntry> entries;
};
bool FindTagsDirect(std::string_view documentPath, std::string_view name, DirectTagHits* hits);

// The keyword search over every tags file from the document's folder upward, into the list
// (cleared first; its capacity bounds what it keeps): a name that starts with the keyword, or with
// anywhere one that holds it; with ignoreCase ASCII letters compare without case (never bytes of
// double-byte characters), else bytes. In the byte-prefix mode the reading of a file stops at the
// first name that sorts after the keyword. An empty keyword finds nothing. A line whose file has
// no Shift-JIS form, or whose file would not fit a candidate (259 bytes), is passed over.
void FindTagsByKeyword(std::string_view documentPath, std::string_view keyword, bool ignoreCase, bool anywhere,
                       CTagCandidateList& list);

// The name and the extension of a path's last level, split at its last dot (no extension without
// one): a dot in a folder's name is not the file's.
void SplitTagFileName(std::string_view path, std::string_view* name, std::string_view* ext);

// The name of a kind letter for a file (by its extension, without case; "c" when it has none);
// empty when the table has no entry.
std::string_view TagKindName(std::string_view file, int kindLetter);
