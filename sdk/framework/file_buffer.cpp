#include "sdk/framework/file_buffer.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <span>

#include "platform/file.h"
#include "sdk/framework/lzss_decoder.h"
#include "sdk/framework/memory_file.h"
#include "sdk/framework/packed_archive.h"
#include "sdk/framework/path_functions.h"
#include "sdk/framework/scramble.h"

namespace {

// Text written in text mode ends its lines with CR LF on disk, as the game's files always have.
std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

int WriteResult(platform::WriteStatus status) {
  switch (status) {
    case platform::WriteStatus::kOk:
      return 0;
    case platform::WriteStatus::kCannotCreate:
      return 1;
    case platform::WriteStatus::kWriteFailed:
      return 2;
    case platform::WriteStatus::kCommitFailed:
      return 3;
  }
  return 3;
}

}  // namespace

CStringVectorPtr& FileSearchPaths() {
  static CStringVectorPtr paths(new std::vector<std::string>());
  return paths;
}

CFileBuffer::~CFileBuffer() { Close(); }

int CFileBuffer::OpenText(const std::string& name, const char* mode) {
  Close();
  std::vector<std::string> candidates{name};
  if (CStringVectorPtr paths = FileSearchPaths(); paths) {
    for (const std::string& prefix : *paths) candidates.push_back(prefix + "/" + name);
  }
  for (const std::string& candidate : candidates) {
    std::string canonical = CanonicalizePath(candidate);
    if (FILE* f = platform::OpenStdioFile(canonical, mode)) {
      m_file = f;
      const std::string_view m = mode;
      m_textWrite = m.find('b') == std::string_view::npos && m.find_first_of("wa+") != std::string_view::npos;
      m_name = std::move(canonical);
      return 0;
    }
  }
  return 1;
}

int CFileBuffer::Write(const std::string& name, const void* data, uint32_t size) {
  if (size != 0 && data == nullptr) return 2;
  platform::AtomicFileWriter writer(CanonicalizePath(name));
  writer.Write(std::span(static_cast<const unsigned char*>(data), size));
  return WriteResult(writer.Commit());
}

int CFileBuffer::PutString(const std::string& text) {
  if (!m_file) return -1;
  const std::string out = m_textWrite ? WithCrLf(text) : text;
  return std::fwrite(out.data(), 1, out.size(), m_file) == out.size() ? 0 : 1;
}

int CFileBuffer::Close() {
  if (m_file) {
    // The stream is gone after fclose whatever it reports: forget it so nothing closes it again.
    FILE* f = m_file;
    m_file = nullptr;
    m_textWrite = false;
    return std::fclose(f);
  }
  m_owned.reset();
  m_buffer = m_cursor = nullptr;
  m_size = 0;
  m_memory = m_scrambled = m_fromArchive = false;
  if (m_temporary) {
    m_temporary = false;
    Delete(m_name);
  }
  return 0;
}

int CFileBuffer::Read(const std::string& name) {
  if (name.empty()) return kReadEmptyName;
  const int result = ReadOnce(name);
  if (result == kReadOk) return result;
  CStringVectorPtr paths = FileSearchPaths();
  if (paths) {
    for (const std::string& prefix : *paths) {
      if (ReadOnce(prefix + "/" + name) == kReadOk) return kReadOk;
    }
    m_name = name;
  }
  return result;
}

int CFileBuffer::ReadOnce(const std::string& name) {
  Close();
  m_name = name;
  if (name.starts_with('!')) {
    std::span<unsigned char> block;
    if (int r = FindMemoryFile(name, block); r != 0) return r;
    if (block.size() >= UINT32_MAX) return kReadNoMemory;
    m_buffer = m_cursor = block.data();
    m_size = static_cast<uint32_t>(block.size());
    m_memory = true;
    return kReadOk;
  }
  const std::string canonical = CanonicalizePath(name);
  platform::ReadOnlyFile file;
  if (file.Open(canonical)) {
    platform::FileStamp stamp;
    if (!file.Stamp(stamp)) return kReadNoSize;
    if (stamp.size >= UINT32_MAX || !Allocate(static_cast<uint32_t>(stamp.size))) return kReadNoMemory;
    if (!file.ReadAt(0, std::span(m_buffer, m_size))) {
      Close();
      return kReadFailed;
    }
    if (!file.Close()) {
      Close();
      return kReadCloseFailed;
    }
    FinishLoad();
    return kReadOk;
  }
  return LoadFromArchive(canonical);
}

int CFileBuffer::LoadFromArchive(const std::string& canonical) {
  ArchiveHit hit;
  if (!FindInPackedArchives(canonical, hit)) return kReadNotFound;
  const ArchiveEntry& e = hit.entry;
  if (!e.readable) return kReadFailed;
  if (!Allocate(e.size)) return kReadNoMemory;
  m_fromArchive = true;
  bool ok;
  if (!e.packed) {
    ok = hit.archive.ReadAt(e.offset, std::span(m_buffer, m_size));
  } else {
    CRingArrayPtr packed(e.storedSize);
    unsigned char* out = m_buffer;
    ok = hit.archive.ReadAt(e.offset, std::span(packed.Get(), e.storedSize)) &&
         CLzssDecoder().Decode(packed.Get(), e.storedSize, out, e.size, false) != 2;
  }
  if (!ok) {
    Close();
    return kReadFailed;
  }
  if (!hit.archive.Close()) {
    Close();
    return kReadCloseFailed;
  }
  FinishLoad();
  return kReadOk;
}

bool CFileBuffer::Allocate(uint32_t size) {
  m_owned.reset(new (std::nothrow) unsigned char[size_t{size} + 1]);
  if (!m_owned) return false;
  m_buffer = m_owned.get();
  m_buffer[size] = 0;
  m_size = size;
  m_cursor = m_buffer;
  return true;
}

void CFileBuffer::FinishLoad() {
  m_scrambled = HasScrambleMagic(std::span(m_buffer, m_size));
  if (m_scrambled) ScrambleBytes(std::span(m_buffer + kScrambleMagic.size(), m_size - kScrambleMagic.size()));
  m_cursor = GetData();
}

std::string CFileBuffer::GetBaseName() const { return GetFileNamePart(m_name); }
std::string CFileBuffer::GetExtension() const { return GetExtensionOf(m_name); }

unsigned char* CFileBuffer::GetData() const {
  return m_scrambled ? m_buffer + kScrambleMagic.size() : m_buffer;
}

uint32_t CFileBuffer::GetSize() const {
  return m_scrambled ? m_size - static_cast<uint32_t>(kScrambleMagic.size()) : m_size;
}

int CFileBuffer::ReadLine(std::string& line) {
  if (!m_buffer) return 3;
  const unsigned char* end = m_buffer + m_size;
  if (m_cursor >= end) return 1;
  const unsigned char* p = m_cursor;
  while (p < end && !(p[0] == '\r' && p + 1 < end && p[1] == '\n')) ++p;
  const char* begin = reinterpret_cast<const char*>(m_cursor);
  line.assign(begin, strnlen(begin, static_cast<size_t>(p - m_cursor)));
  m_cursor = p < end ? const_cast<unsigned char*>(p) + 2 : const_cast<unsigned char*>(end);
  return 0;
}

int CFileBuffer::ReadLineBuf(char* out, unsigned n) {
  if (!m_buffer) return 3;
  unsigned char* end = m_buffer + m_size;
  if (m_cursor >= end) return 1;
  if (n == 0 || out == nullptr) return 2;
  unsigned char* p = m_cursor;
  while (p < end && !(p[0] == '\r' && p + 1 < end && p[1] == '\n')) ++p;
  const size_t length = static_cast<size_t>(p - m_cursor);
  if (length > n - 1) {
    std::memcpy(out, m_cursor, n - 1);
    out[n - 1] = 0;
    m_cursor += n - 1;
    return 2;
  }
  std::memcpy(out, m_cursor, length);
  out[length] = 0;
  m_cursor = p < end ? p + 2 : end;
  return 0;
}

int CFileBuffer::ReadQuotedText(char* out, int n) {
  if (out == nullptr || n <= 0) return 1;
  out[0] = 0;
  constexpr unsigned kLineSize = 256;
  char line[kLineSize];
  if (ReadLineBuf(line, kLineSize) != 0 || std::strcmp(line, "\"END\"") == 0) return 1;
  std::string text = line[0] ? line + 1 : line;
  while (text.empty() || text.back() != '"') {
    if (ReadLineBuf(line, kLineSize) != 0) return 1;
    text += '\n';
    text += line;
  }
  text.pop_back();
  if (text.size() >= static_cast<size_t>(n)) return 1;
  std::memcpy(out, text.c_str(), text.size() + 1);
  return 0;
}

int CFileBuffer::ReadBytes(void* out, unsigned n) {
  if (!m_buffer) return 2;
  const unsigned char* end = m_buffer + m_size;
  if (m_cursor >= end || n > static_cast<size_t>(end - m_cursor)) return 1;
  if (n) std::memcpy(out, m_cursor, n);
  m_cursor += n;
  return 0;
}

unsigned CFileBuffer::ReadUpTo(void* out, unsigned n) {
  if (!m_buffer) return 0;
  const unsigned char* end = m_buffer + m_size;
  if (m_cursor >= end) return 0;
  const unsigned count = static_cast<unsigned>(std::min<size_t>(n, static_cast<size_t>(end - m_cursor)));
  if (count) std::memcpy(out, m_cursor, count);
  m_cursor += count;
  return count;
}

uint32_t CFileBuffer::Tell() const { return m_cursor ? static_cast<uint32_t>(m_cursor - GetData()) : 0; }

bool CFileBuffer::Seek(unsigned offset) {
  if (m_buffer) m_cursor = GetData() + std::min(offset, GetSize());
  return true;
}

int CFileBuffer::Scramble() {
  if (!m_buffer || m_scrambled) return 1;
  const unsigned char* end = m_buffer + m_size;
  if (m_cursor && m_cursor <= end && HasScrambleMagic(std::span<const unsigned char>(m_cursor, end))) return 1;
  if (m_size > UINT32_MAX - kScrambleMagic.size() - 1) return 1;
  const auto size = static_cast<uint32_t>(m_size + kScrambleMagic.size());
  std::unique_ptr<unsigned char[]> block(new (std::nothrow) unsigned char[size_t{size} + 1]);
  if (!block) return 1;
  std::copy(kScrambleMagic.begin(), kScrambleMagic.end(), block.get());
  std::transform(m_buffer, m_buffer + m_size, block.get() + kScrambleMagic.size(), ScrambleByte);
  block[size] = 0;
  Close();
  m_owned = std::move(block);
  m_buffer = m_cursor = m_owned.get();
  m_size = size;
  return 0;
}

int CFileBuffer::Delete(const std::string& name) {
  if (name.empty()) return -1;
  return platform::RemoveFile(CanonicalizePath(name)) ? 0 : 1;
}

int CFileBuffer::MakeRealFile() {
  if (!m_buffer) return 1;
  if (!m_fromArchive && !m_memory) {
    Close();
    return 0;
  }
  std::string temporary;
  if (MakeTempFileName(temporary) != 0) return 2;
  if (Save(temporary) != 0) {
    Delete(temporary);
    return 2;
  }
  Close();
  m_temporary = true;
  m_name = std::move(temporary);
  return 0;
}

int CFileBuffer::ReadToVector(const std::string& name, std::vector<unsigned char>& out) {
  if (int r = Read(name); r != 0) return r;
  out.assign(GetData(), GetData() + GetSize());
  return 0;
}

int CFileBuffer::WriteLines(const std::string& name, const std::vector<std::string>& lines) {
  platform::AtomicFileWriter writer(CanonicalizePath(name));
  for (const std::string& line : lines) writer.Write(WithCrLf(line));
  const int result = WriteResult(writer.Commit());
  return result == 3 ? 2 : result;
}

int CFileBuffer::WriteVector(const std::string& name, const std::vector<unsigned char>& data) {
  return Write(name, data.empty() ? nullptr : data.data(), static_cast<uint32_t>(data.size()));
}
