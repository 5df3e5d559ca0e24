// Reading a text file line by line in any of the seven codes: the code is detected when asked, a
// byte-order mark of that code is skipped, lines are split in the file's own encoding (16-bit
// units for UTF-16) and each is handed out in Shift-JIS with its line end in single-byte form.
// The file is read in blocks of at most 32768 bytes; a line longer than a block is put together
// across reads, and a line end cut by a block boundary stays one line end.
#pragma once

#include <cstdint>

#include "editor/foundation/text/file_errors.h"
#include "editor/foundation/text/line_end.h"
#include "editor/foundation/text/memory.h"
#include "platform/file.h"

// The line splitters of UTF-16 text, over 16-bit units in the file's byte order: from *pnPos (in
// units) the line runs to the first unit 0x000D or 0x000A; *pnLineLen gets its length in units
// and *pcEol its line end; *pnPos moves past the line end. Null when *pnPos is at nUnitCount.
const char* SplitLineUtf16Le(const char* pUnits, int nUnitCount, int* pnPos, int* pnLineLen, CLineEnd* pcEol);
const char* SplitLineUtf16Be(const char* pUnits, int nUnitCount, int* pnPos, int* pnLineLen, CLineEnd* pcEol);

class CFileReader {
 public:
  // Sizes and positions are signed 32-bit: a file this large or larger does not open.
  static constexpr uint64_t kMaxFileSize = 0x80000000u;
  // Flag bits of Open.
  static constexpr int32_t kDecodeMimeHeaders = 1;  // MIME header words in JIS text

  CFileReader() = default;
  ~CFileReader();
  CFileReader(const CFileReader&) = delete;
  CFileReader& operator=(const CFileReader&) = delete;

  // Opens a regular file by its exact path for reading in the code (0-6, or 99 to detect it from
  // the first block; anything else reads as Shift-JIS) and reads the first block. Returns the code
  // in use; *pbBomPresent (when given) tells whether a mark of that code was skipped. Throws
  // CError_FileOpen when already open, when the file cannot be opened (a folder or a pipe cannot),
  // when its mode bits deny reading, when it holds 2^31 bytes or more, and while another holder
  // has it under an exclusive platform::FileLock (an editor process in lock mode 16);
  // CError_FileRead when the first read or the block's memory fails.
  int Open(const char* pszPath, int nCode, int32_t nFlags, bool* pbBomPresent = nullptr);

  // The next line in Shift-JIS with its line end (single-byte form), its length in *pnLen and its
  // line end in *pcEol; null at the end (a file ending with a line end yields no empty last line).
  // The bytes stay valid until the next call. Throws CError_FileRead when a read or memory fails.
  const char* ReadLine(int* pnLen, CLineEnd* pcEol);

  // 0-100: how much of the file's text has been handed out.
  int GetProgressPercent() const;
  // Characters the conversions to Shift-JIS could not represent (each became the geta mark), since
  // Open. The reader itself says nothing about them.
  int GetUnconvertedCount() const { return m_nUnconverted; }
  // Last-write time of the open file in nanoseconds since the epoch; false when not open.
  bool GetLastWriteTime(int64_t* pModifiedNs) const;

  void Close();

 private:
  enum : int32_t { kClosed = 0, kReading = 2, kEndOfFile = 3 };
  static constexpr int32_t kBlockSize = 32768;

  void FillBuffer();
  void FreeBuffer();
  // The next line of the block from the read position, in bytes; a 16-bit code counts whole units
  // only, except for an odd last byte of the file, which ends the last line.
  const char* SplitLine(int* pnLineLen, CLineEnd* pcEol);
  // Converts the raw line in the line buffer to Shift-JIS; false when memory ran out.
  bool ConvertLine();

  CMemory m_cLineBuffer;
  platform::ReadOnlyFile m_file;
  int32_t m_nFileSize = 0;
  int32_t m_nProgressTotal = 0;
  int32_t m_nConsumed = 0;
  int32_t m_nLineCount = -1;
  int32_t m_nCode = 0;
  int32_t m_bBomPresent = 0;
  int32_t m_nFlags = 0;
  int32_t m_nState = kClosed;
  char* m_pBlock = nullptr;
  int32_t m_nBlockCapacity = 0;
  int32_t m_nBlockFill = 0;
  int32_t m_nReadPos = 0;
  int64_t m_nFileOffset = 0;  // where the next read starts
  int32_t m_nUnconverted = 0;
};
