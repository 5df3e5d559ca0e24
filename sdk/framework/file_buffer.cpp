// Provisional: plain files only. The archive search, scrambling, memory blocks, text mode and the
// path model replace this.
#include "sdk/framework/file_buffer.h"

#include <cstdlib>
#include <cstring>
#include <fstream>

#include "platform/sjis.h"

namespace {
std::string HostPath(const std::string& name) {
  std::string p = platform::SjisToUtf8(name);
  for (char& c : p) {
    if (c == '\\') c = '/';
  }
  return p;
}
}  // namespace

CFileBuffer::~CFileBuffer() { Close(); }

int CFileBuffer::OpenText(const std::string& name, const char* mode) {
  Close();
  m_file = std::fopen(HostPath(name).c_str(), mode);
  if (!m_file) return 1;
  m_name = name;
  return 0;
}

int CFileBuffer::Write(const std::string& name, const void* data, uint32_t size) {
  FILE* f = std::fopen(HostPath(name).c_str(), "wb");
  if (!f) return 1;
  if (size && std::fwrite(data, 1, size, f) != size) {
    std::fclose(f);
    return 2;
  }
  return std::fclose(f) == 0 ? 0 : 3;
}

int CFileBuffer::PutString(const std::string& text) {
  if (!m_file) return -1;
  return std::fputs(text.c_str(), m_file) < 0 ? 1 : 0;
}

int CFileBuffer::Close() {
  if (m_file) {
    int r = std::fclose(m_file);
    m_file = nullptr;
    return r;
  }
  if (!m_memory) std::free(m_buffer);
  m_buffer = m_cursor = nullptr;
  m_size = 0;
  m_memory = m_scrambled = m_fromArchive = m_temporary = false;
  return 0;
}

int CFileBuffer::Read(const std::string& name) {
  if (name.empty()) return -1;
  Close();
  m_name = name;
  std::ifstream in(HostPath(name), std::ios::binary | std::ios::ate);
  if (!in) return 1;
  auto size = static_cast<uint64_t>(in.tellg());
  if (size >= 0xFFFFFFFFu) return 3;
  m_buffer = static_cast<unsigned char*>(std::malloc(size + 1));
  if (!m_buffer) return 3;
  in.seekg(0);
  if (size && !in.read(reinterpret_cast<char*>(m_buffer), static_cast<std::streamsize>(size))) {
    Close();
    return 4;
  }
  m_buffer[size] = 0;
  m_size = static_cast<uint32_t>(size);
  m_cursor = m_buffer;
  return 0;
}

std::string CFileBuffer::GetBaseName() const { return {}; }
std::string CFileBuffer::GetExtension() const { return {}; }
unsigned char* CFileBuffer::GetData() const { return m_scrambled ? m_buffer + 4 : m_buffer; }
uint32_t CFileBuffer::GetSize() const { return m_scrambled ? m_size - 4 : m_size; }
int CFileBuffer::ReadLine(std::string&) { return 3; }
int CFileBuffer::ReadLineBuf(char*, unsigned) { return 3; }
int CFileBuffer::ReadQuotedText(char*, int) { return 1; }

int CFileBuffer::ReadBytes(void* out, unsigned n) {
  if (!m_buffer) return 2;
  unsigned char* end = m_buffer + m_size;
  if (m_cursor >= end || n > static_cast<size_t>(end - m_cursor)) return 1;
  std::memcpy(out, m_cursor, n);
  m_cursor += n;
  return 0;
}

unsigned CFileBuffer::ReadUpTo(void* out, unsigned n) {
  if (!m_buffer) return 0;
  unsigned char* end = m_buffer + m_size;
  if (m_cursor >= end) return 0;
  unsigned k = static_cast<unsigned>(std::min<size_t>(n, end - m_cursor));
  std::memcpy(out, m_cursor, k);
  m_cursor += k;
  return k;
}

uint32_t CFileBuffer::Tell() const { return m_cursor ? static_cast<uint32_t>(m_cursor - GetData()) : 0; }

bool CFileBuffer::Seek(unsigned offset) {
  m_cursor = GetData() + std::min(offset, GetSize());
  return true;
}

int CFileBuffer::Scramble() { return 1; }
int CFileBuffer::Delete(const std::string& name) { return name.empty() ? -1 : (std::remove(HostPath(name).c_str()) == 0 ? 0 : 1); }
int CFileBuffer::MakeRealFile() { return m_buffer ? 0 : 1; }

int CFileBuffer::ReadToVector(const std::string& name, std::vector<unsigned char>& out) {
  int r = Read(name);
  if (r != 0) return r;
  out.assign(GetData(), GetData() + GetSize());
  return 0;
}

int CFileBuffer::WriteLines(const std::string& name, const std::vector<std::string>& lines) {
  FILE* f = std::fopen(HostPath(name).c_str(), "w");
  if (!f) return 1;
  for (auto& l : lines) {
    if (std::fputs(l.c_str(), f) < 0) {
      std::fclose(f);
      return 2;
    }
  }
  std::fclose(f);
  return 0;
}

int CFileBuffer::WriteVector(const std::string& name, const std::vector<unsigned char>& data) {
  return Write(name, data.empty() ? nullptr : data.data(), static_cast<uint32_t>(data.size()));
}
