#include "sdk/framework/ini_profile.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "platform/file.h"
#include "platform/sjis.h"
#include "sdk/framework/path_functions.h"

namespace {

// The position of the first c in a Shift-JIS line, skipping trail bytes.
size_t FindSjis(std::string_view line, char c) {
  for (size_t i = 0; i < line.size(); ++i) {
    if (platform::IsSjisLead(static_cast<unsigned char>(line[i]))) {
      ++i;
    } else if (line[i] == c) {
      return i;
    }
  }
  return std::string_view::npos;
}

// atoi, with values beyond the 32-bit range held at its ends.
int32_t ParseDecimal(const std::string& text) {
  const long long v = std::strtoll(text.c_str(), nullptr, 10);
  return static_cast<int32_t>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

bool CIniProfile::ReadProfile(const char* path) {
  m_path = path ? path : "";
  platform::ReadOnlyFile file;
  if (!file.Open(CanonicalizePath(m_path))) return false;
  constexpr size_t kChunk = 2048;
  unsigned char chunk[kChunk];
  std::string pending;
  uint64_t offset = 0;
  platform::FileStamp stamp;
  if (!file.Stamp(stamp)) return false;
  while (offset < stamp.size) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(kChunk, stamp.size - offset));
    if (!file.ReadAt(offset, std::span(chunk, n))) return false;
    offset += n;
    pending.append(reinterpret_cast<const char*>(chunk), n);
    size_t start = 0;
    for (size_t lf; (lf = pending.find('\n', start)) != std::string::npos; start = lf + 1) {
      size_t end = lf;
      if (end > start && pending[end - 1] == '\r') --end;
      ParseLine(std::string_view(pending).substr(start, end - start));
    }
    pending.erase(0, start);
  }
  if (!pending.empty()) ParseLine(pending);
  return true;
}

void CIniProfile::ParseLine(std::string_view line) {
  if (line.empty() || line.starts_with("//")) return;
  const size_t equals = line.find('=');  // "=" is never a trail byte
  if (line.front() == '[' && equals == std::string_view::npos && FindSjis(line, ']') == line.size() - 1) {
    AddSection(std::string(line.substr(1, line.size() - 2)));
    return;
  }
  if (m_sections.empty() || equals == std::string_view::npos) return;
  m_sections.back().entries.try_emplace(std::string(line.substr(0, equals)), line.substr(equals + 1));
}

bool CIniProfile::WriteProfile(const char* path, const char* comment) {
  if (path) m_path = path;
  std::vector<std::string> lines;
  if (comment) {
    lines.push_back(std::string("//") + comment);
    lines.emplace_back();
  }
  for (const CIniSection& section : m_sections) {
    lines.push_back("[" + section.name + "]");
    for (const auto& [key, value] : section.entries) lines.push_back(key + "=" + value);
    lines.emplace_back();
  }
  return WriteLines(lines);
}

bool CIniProfile::WriteLines(const std::vector<std::string>& lines) {
  if (m_path.empty()) return false;
  // Text mode on disk: every line feed, also one inside a value, is written as CR LF. The text is
  // put together first and written at once: a settings file has thousands of lines.
  size_t bytes = 0;
  for (const std::string& line : lines) bytes += line.size() + 2;
  std::string text;
  text.reserve(bytes);
  for (const std::string& line : lines) {
    std::string_view rest = line;
    for (size_t lf; (lf = rest.find('\n')) != std::string_view::npos; rest.remove_prefix(lf + 1)) {
      text.append(rest.substr(0, lf)).append("\r\n");
    }
    text.append(rest).append("\r\n");
  }
  platform::AtomicFileWriter writer(CanonicalizePath(m_path));
  writer.Write(text);
  return writer.Commit() == platform::WriteStatus::kOk;
}

void CIniProfile::AddSection(std::string name) {
  m_sections.push_back({std::move(name), {}});
  m_namedValid = false;
}

const std::vector<size_t>& CIniProfile::SectionsNamed(std::string_view name) const {
  if (m_namedValid && m_namedName == name) return m_named;
  m_named.clear();
  for (size_t i = 0; i < m_sections.size(); ++i) {
    if (m_sections[i].name == name) m_named.push_back(i);
  }
  m_namedName.assign(name);
  m_namedValid = true;
  return m_named;
}

bool CIniProfile::GetEntry(std::string_view section, std::string_view key, std::string& value) const {
  for (size_t i : SectionsNamed(section)) {
    const CIniSection& s = m_sections[i];
    auto it = s.entries.find(key);
    if (it != s.entries.end()) {
      value = it->second;
      return true;
    }
  }
  return false;
}

bool CIniProfile::SetEntry(std::string_view section, std::string_view key, std::string_view value) {
  const std::vector<size_t>& named = SectionsNamed(section);
  size_t at = named.empty() ? m_sections.size() : named.front();
  if (named.empty()) AddSection(std::string(section));
  m_sections[at].entries.insert_or_assign(std::string(key), std::string(value));
  return true;
}

bool CIniProfile::IOProfileBool(std::string_view section, std::string_view key, uint8_t* value) {
  if (!m_readMode) return SetEntry(section, key, *value == 1 ? "1" : "0");
  std::string text;
  if (!GetEntry(section, key, text)) return false;
  *value = text == "0" ? 0 : 1;
  return true;
}

bool CIniProfile::IOProfileData(std::string_view section, std::string_view key, int32_t* value) {
  if (!m_readMode) return SetEntry(section, key, std::to_string(*value));
  std::string text;
  if (!GetEntry(section, key, text)) return false;
  *value = ParseDecimal(text);
  return true;
}

bool CIniProfile::IOProfileWord(std::string_view section, std::string_view key, uint16_t* value) {
  if (!m_readMode) return SetEntry(section, key, std::to_string(*value));
  std::string text;
  if (!GetEntry(section, key, text)) return false;
  *value = static_cast<uint16_t>(ParseDecimal(text));
  return true;
}

bool CIniProfile::IOProfileChar(std::string_view section, std::string_view key, char* value) {
  if (!m_readMode) return SetEntry(section, key, *value ? std::string(1, *value) : std::string());
  std::string text;
  if (!GetEntry(section, key, text)) return false;
  *value = text.empty() ? 0 : text.front();
  return true;
}

bool CIniProfile::IOProfileString(std::string_view section, std::string_view key, char* buffer, size_t size) {
  if (buffer == nullptr) return false;
  if (!m_readMode) {
    const size_t length = size == 0 ? std::strlen(buffer) : strnlen(buffer, size);
    return SetEntry(section, key, std::string_view(buffer, length));
  }
  if (size == 0) return false;
  std::string text;
  if (!GetEntry(section, key, text)) return false;
  const size_t n = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = 0;
  return true;
}
