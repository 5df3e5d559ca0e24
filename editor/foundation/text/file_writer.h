// Writing a text file: the bytes go to a new file beside the old one, which replaces it only when
// everything has been written and Commit succeeds. Until then, and whenever anything fails, the
// old file stays as it was, byte for byte. A link is followed (its target is replaced), the mode
// bits of the old file are kept, and a file whose mode bits forbid writing is never replaced.
#pragma once

#include <memory>
#include <span>

#include "editor/foundation/text/file_errors.h"
#include "platform/file.h"

class CFileWriter {
 public:
  // Prepares the new version of the file at the exact path. Throws CError_FileOpen when the path
  // names a folder or a file that may not be written, or when nothing can be created there.
  explicit CFileWriter(const char* pszPath);
  // Without a successful Commit the new version is thrown away.
  ~CFileWriter();
  CFileWriter(const CFileWriter&) = delete;
  CFileWriter& operator=(const CFileWriter&) = delete;

  // Adds bytes as they are (no line-end translation). Throws CError_FileWrite when they cannot be
  // written.
  void Write(const char* pData, int nDataLen);
  // Puts the new version in place of the old file. Throws CError_FileWrite when that fails (the old
  // file is then unchanged).
  void Commit();

  // What the writer does with its file, replaced by tests to make writing or committing fail.
  struct Output {
    bool (*write)(platform::AtomicFileWriter& file, std::span<const unsigned char> bytes);
    platform::WriteStatus (*commit)(platform::AtomicFileWriter& file);
  };
  // Installs an output (a null member keeps the real one) and returns the previous one.
  static Output SetOutputForTesting(const Output& output);

 private:
  void Flush();

  std::unique_ptr<platform::AtomicFileWriter> m_file;
  std::unique_ptr<char[]> m_pBuffer;  // bytes gathered for one write
  int m_nBuffered = 0;
};
