// Files named by program paths (see path.h): reading an existing file, replacing a file in one
// step, removing one, and making unique temporary files.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

#include "platform/path.h"

namespace platform {

// What tells two states of a file apart, for caches that must notice a replaced or changed file.
struct FileStamp {
  uint64_t device = 0;
  uint64_t inode = 0;
  uint64_t size = 0;
  int64_t modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
};

// An existing regular file opened for reading.
class ReadOnlyFile {
 public:
  ReadOnlyFile() = default;
  ReadOnlyFile(const ReadOnlyFile&) = delete;
  ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
  ReadOnlyFile(ReadOnlyFile&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
  ReadOnlyFile& operator=(ReadOnlyFile&& other) noexcept;
  ~ReadOnlyFile();

  // Opens the file, with the case-insensitive lookup when the exact name is missing (kLookup) or
  // by its exact name only (kExact, see path.h). Folders do not open.
  bool Open(std::string_view programPath, PathMode mode = PathMode::kLookup);
  bool IsOpen() const { return m_fd >= 0; }
  bool Stamp(FileStamp& stamp) const;
  // Reads exactly out.size() bytes at offset; false on an error or when the file ends first.
  bool ReadAt(uint64_t offset, std::span<unsigned char> out) const;
  // Reads up to out.size() bytes at offset: the count read, 0 at the end of the file, -1 on an
  // error.
  int64_t ReadSome(uint64_t offset, std::span<unsigned char> out) const;
  // Tells the system that the file will be read from start to end, so that it reads ahead.
  void AdviseSequential() const;
  // Whether the mode bits let anyone read the file: the editor goes by them even where the system
  // lets its user through anyway (root), as PathAllows does.
  bool HasReadBit() const;
  // Whether another holder has the file under an exclusive lock (file_lock.h), asked through this
  // open file rather than by opening it again.
  bool IsLockedExclusively() const;
  // False when the system reports an error on closing.
  bool Close();

 private:
  int m_fd = -1;
};

enum class WriteStatus {
  kOk,
  kCannotCreate,  // the file cannot be created where it is to go
  kWriteFailed,
  kCommitFailed,  // flushing or putting the new file in place failed
};

// Writes a new version of a file beside it (same folder, temporary name) and renames it over the
// old one on Commit, so that a reader, or a crash, sees the old file or the new one, never a part.
// Without a successful Commit the old file stays as it was and the temporary file is removed. A
// folder, and a file without any write permission (marked read-only), are never replaced.
class AtomicFileWriter {
 public:
  // With kExact a refused path opens nothing (Commit gives kCannotCreate).
  explicit AtomicFileWriter(std::string_view programPath, PathMode mode = PathMode::kLookup);
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;
  ~AtomicFileWriter();

  bool IsOpen() const { return m_fd >= 0; }
  bool Write(std::span<const unsigned char> bytes);
  bool Write(std::string_view text);
  // Flushes, closes and renames; kCannotCreate when the temporary file could not be made, and
  // kWriteFailed when an earlier Write failed.
  WriteStatus Commit();

 private:
  void Discard();

  std::string m_target;     // host path of the file to replace
  std::string m_temporary;  // host path of the new version while it is written
  int m_fd = -1;
  bool m_failed = false;
};

// What the system tells of an existing file or folder (a link is followed).
struct PathStatus {
  bool folder = false;
  FileStamp stamp;
};

// False when nothing is there, or when an exact path is refused.
bool StatPath(std::string_view path, PathMode mode, PathStatus& status);

// Whether the file or folder may be read or written. The mode bits decide even for a user the
// system lets through anyway (root): a file with no read bit, or no write bit, is refused, as
// AtomicFileWriter refuses to replace one. kExists only asks whether anything is there. kSearch
// asks whether the path is a folder whose entries may be listed and opened (read and execute).
enum class Access { kExists, kRead, kWrite, kSearch };
bool PathAllows(std::string_view path, PathMode mode, Access access);

// Replaces (or creates) a whole file in one step.
WriteStatus WriteFileAtomically(std::string_view programPath, std::span<const unsigned char> bytes);

// Removes a file; false when it cannot be removed.
bool RemoveFile(std::string_view programPath);

// Creates a new empty file named prefix + six unique characters + ".tmp" in folder (program form)
// and gives its program path; false when none can be made.
bool CreateUniqueFile(std::string_view folder, std::string_view prefix, std::string& programPath);

// fopen with a program path (binary: the program writes its own line ends).
FILE* OpenStdioFile(std::string_view programPath, const char* mode);

// What the file system records of a file or folder, found with the case-insensitive lookup.
struct FileInfo {
  bool isFolder = false;
  uint64_t size = 0;
  int64_t accessNs = 0;
  int64_t modifiedNs = 0;
  // When the file was made where the file system records it, else its modification time: Linux
  // gives no way to set it, so it is only ever read.
  int64_t birthNs = 0;
};
bool QueryFileInfo(std::string_view programPath, FileInfo& info);

// An existing regular file opened for reading whose access and modification times are put back
// as they were when it is closed, so that looking at a file leaves no trace on it.
class TimeKeepingFile {
 public:
  TimeKeepingFile() = default;
  TimeKeepingFile(const TimeKeepingFile&) = delete;
  TimeKeepingFile& operator=(const TimeKeepingFile&) = delete;
  ~TimeKeepingFile() { Close(); }
  // False when the file is missing or is a folder.
  bool Open(std::string_view programPath);
  bool IsOpen() const { return m_fd >= 0; }
  const FileInfo& Info() const { return m_info; }
  // Reads up to out.size() bytes from offset; the bytes read (fewer at the file's end, 0 on an
  // error or when not open).
  size_t ReadSome(uint64_t offset, std::span<unsigned char> out) const;
  // Restores the two times and closes; nothing when not open.
  void Close();

 private:
  int m_fd = -1;
  FileInfo m_info;
};

// Makes one folder; false when it cannot be made (an existing folder included).
bool MakeFolder(std::string_view programPath);

}  // namespace platform
