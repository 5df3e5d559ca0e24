#include "editor/foundation/text/file_writer.h"

#include <cstring>

#include "editor/foundation/text/editor_path.h"

namespace {

// Lines are short; the file gets them in large writes.
constexpr int kBufferSize = 1 << 16;

bool RealWrite(platform::AtomicFileWriter& file, std::span<const unsigned char> bytes) { return file.Write(bytes); }
platform::WriteStatus RealCommit(platform::AtomicFileWriter& file) { return file.Commit(); }

CFileWriter::Output& CurrentOutput() {
  static CFileWriter::Output output{&RealWrite, &RealCommit};
  return output;
}

}  // namespace

CFileWriter::Output CFileWriter::SetOutputForTesting(const Output& output) {
  const Output previous = CurrentOutput();
  CurrentOutput() = Output{output.write ? output.write : &RealWrite, output.commit ? output.commit : &RealCommit};
  return previous;
}

CFileWriter::CFileWriter(const char* pszPath) {
  if (!pszPath || !*pszPath) throw CError_FileOpen();
  // An existing file that its mode bits mark read-only is not ours to replace, even for root.
  if (CheckPathAccess(pszPath, 0) && !CheckPathAccess(pszPath, 2)) throw CError_FileOpen();
  m_file = std::make_unique<platform::AtomicFileWriter>(pszPath, platform::PathMode::kExact);
  if (!m_file->IsOpen()) throw CError_FileOpen();
  m_pBuffer = std::make_unique<char[]>(kBufferSize);
}

CFileWriter::~CFileWriter() = default;

void CFileWriter::Flush() {
  if (m_nBuffered == 0) return;
  const int n = m_nBuffered;
  m_nBuffered = 0;
  if (!CurrentOutput().write(*m_file, std::span(reinterpret_cast<const unsigned char*>(m_pBuffer.get()), n))) {
    throw CError_FileWrite();
  }
}

void CFileWriter::Write(const char* pData, int nDataLen) {
  if (!m_file || nDataLen <= 0) return;
  if (nDataLen > kBufferSize - m_nBuffered) {
    Flush();
    if (nDataLen >= kBufferSize) {
      if (!CurrentOutput().write(*m_file, std::span(reinterpret_cast<const unsigned char*>(pData), nDataLen))) {
        throw CError_FileWrite();
      }
      return;
    }
  }
  std::memcpy(m_pBuffer.get() + m_nBuffered, pData, nDataLen);
  m_nBuffered += nDataLen;
}

void CFileWriter::Commit() {
  if (!m_file) throw CError_FileWrite();
  Flush();
  const platform::WriteStatus status = CurrentOutput().commit(*m_file);
  m_file.reset();
  if (status != platform::WriteStatus::kOk) throw CError_FileWrite();
}
