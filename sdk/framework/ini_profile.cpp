#include "sdk/framework/ini_profile.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <stdexcept>

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
int32_t ParseDecimal(std::string_view text) {
  // Every value is followed by a zero byte, where strtoll stops at the latest.
  const long long v = std::strtoll(text.data(), nullptr, 10);
  return static_cast<int32_t>(std::clamp<long long>(v, INT32_MIN, INT32_MAX));
}

// Appends the parts as one line and its CR LF. Text mode on disk: every line feed, also one inside
// a value, is written as CR LF.
void AppendLine(std::string& text, std::initializer_list<std::string_view> parts) {
  for (std::string_view rest : parts) {
    for (size_t lf; (lf = rest.find('\n')) != std::string_view::npos; rest.remove_prefix(lf + 1)) {
      text.append(rest.substr(0, lf)).append("\r\n");
    }
    text.append(rest);
  }
  text.append("\r\n");
}

}  // namespace

std::vector<uint32_t>::const_iterator CIniEntries::LowerBound(std::string_view key) const {
  // A file written by this class holds its keys in order: each goes after the last one held.
  if (m_order.empty() || Key(m_order.back()) < key) return m_order.end();
  return std::lower_bound(m_order.begin(), m_order.end(), key,
                          [this](uint32_t item, std::string_view k) { return Key(item) < k; });
}

uint32_t CIniEntries::Store(std::string_view bytes) {
  const auto at = static_cast<uint32_t>(m_text.size());
  m_text.append(bytes).push_back('\0');
  return at;
}

void CIniEntries::Insert(std::vector<uint32_t>::const_iterator at, std::string_view key, std::string_view value) {
  m_order.insert(at, static_cast<uint32_t>(m_items.size()));
  const uint32_t keyAt = Store(key);
  const uint32_t valueAt = Store(value);
  m_items.push_back({keyAt, static_cast<uint32_t>(key.size()), valueAt, static_cast<uint32_t>(value.size())});
}

CIniEntries::const_iterator CIniEntries::find(std::string_view key) const {
  auto at = LowerBound(key);
  return Holds(at, key) ? const_iterator(this, at) : end();
}

std::string_view CIniEntries::at(std::string_view key) const {
  auto it = find(key);
  if (it == end()) throw std::out_of_range("no such ini key");
  return it->second;
}

void CIniEntries::Add(std::string_view key, std::string_view value) {
  auto at = LowerBound(key);
  if (!Holds(at, key)) Insert(at, key, value);
}

void CIniEntries::Set(std::string_view key, std::string_view value) {
  auto at = LowerBound(key);
  if (Holds(at, key)) {
    // The old value's bytes stay in the block, unused: a value is rarely set twice.
    Item& item = m_items[*at];
    item.value = Store(value);
    item.valueLength = static_cast<uint32_t>(value.size());
  } else {
    Insert(at, key, value);
  }
}

bool CIniEntries::operator==(const CIniEntries& other) const {
  return std::equal(begin(), end(), other.begin(), other.end());
}

bool CIniProfile::ReadProfile(const char* path) {
  m_path = path ? path : "";
  platform::ReadOnlyFile file;
  if (!file.Open(CanonicalizePath(m_path))) return false;
  platform::FileStamp stamp;
  if (!file.Stamp(stamp)) return false;
  // The whole file in one block, its lines parsed in place: a settings file has thousands.
  std::string text(static_cast<size_t>(stamp.size), '\0');
  if (!text.empty() && !file.ReadAt(0, std::span(reinterpret_cast<unsigned char*>(text.data()), text.size()))) {
    return false;
  }
  // The lines are sorted out first and each section's entries added in one go, with room made
  // for all of them: a section of a settings file holds thousands, and growing its tables entry
  // by entry would move them again and again.
  const size_t firstNew = m_sections.size();
  std::vector<PendingEntry> pending;
  pending.reserve(static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  std::string_view rest = text;
  for (size_t lf; (lf = rest.find('\n')) != std::string_view::npos; rest.remove_prefix(lf + 1)) {
    size_t end = lf;
    if (end > 0 && rest[end - 1] == '\r') --end;
    ParseLine(rest.substr(0, end), pending);
  }
  if (!rest.empty()) ParseLine(rest, pending);
  std::vector<size_t> counts(m_sections.size() - std::min(firstNew, m_sections.size()) + 1);
  std::vector<size_t> bytes(counts.size());
  for (const PendingEntry& entry : pending) {
    if (entry.section < firstNew) continue;
    ++counts[entry.section - firstNew];
    bytes[entry.section - firstNew] += entry.key.size() + entry.value.size() + 2;
  }
  for (size_t i = firstNew; i < m_sections.size(); ++i) {
    m_sections[i].entries.reserve(counts[i - firstNew], bytes[i - firstNew]);
  }
  for (const PendingEntry& entry : pending) m_sections[entry.section].entries.Add(entry.key, entry.value);
  return true;
}

void CIniProfile::ParseLine(std::string_view line, std::vector<PendingEntry>& pending) {
  if (line.empty() || line.starts_with("//")) return;
  const size_t equals = line.find('=');  // "=" is never a trail byte
  if (line.front() == '[' && equals == std::string_view::npos && FindSjis(line, ']') == line.size() - 1) {
    AddSection(std::string(line.substr(1, line.size() - 2)));
    return;
  }
  if (m_sections.empty() || equals == std::string_view::npos) return;
  pending.push_back({m_sections.size() - 1, line.substr(0, equals), line.substr(equals + 1)});
}

bool CIniProfile::WriteProfile(const char* path, const char* comment) {
  if (path) m_path = path;
  // Put together in one block, line by line as WriteLines would write them.
  size_t bytes = comment ? std::strlen(comment) + 6 : 0;
  for (const CIniSection& section : m_sections) {
    bytes += section.name.size() + 6;
    for (const auto& [key, value] : section.entries) bytes += key.size() + value.size() + 3;
  }
  std::string text;
  text.reserve(bytes);
  if (comment) {
    AppendLine(text, {"//", comment});
    AppendLine(text, {});
  }
  for (const CIniSection& section : m_sections) {
    AppendLine(text, {"[", section.name, "]"});
    for (const auto& [key, value] : section.entries) AppendLine(text, {key, "=", value});
    AppendLine(text, {});
  }
  return WriteText(text);
}

bool CIniProfile::WriteLines(const std::vector<std::string>& lines) {
  size_t bytes = 0;
  for (const std::string& line : lines) bytes += line.size() + 2;
  std::string text;
  text.reserve(bytes);
  for (const std::string& line : lines) AppendLine(text, {line});
  return WriteText(text);
}

bool CIniProfile::WriteText(std::string_view text) const {
  if (m_path.empty()) return false;
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

std::optional<std::string_view> CIniProfile::FindEntry(std::string_view section, std::string_view key) const {
  for (size_t i : SectionsNamed(section)) {
    const CIniSection& s = m_sections[i];
    auto it = s.entries.find(key);
    if (it != s.entries.end()) return it->second;
  }
  return std::nullopt;
}

bool CIniProfile::GetEntry(std::string_view section, std::string_view key, std::string& value) const {
  const std::optional<std::string_view> found = FindEntry(section, key);
  if (found) value.assign(*found);
  return found.has_value();
}

bool CIniProfile::SetEntry(std::string_view section, std::string_view key, std::string_view value) {
  const std::vector<size_t>& named = SectionsNamed(section);
  size_t at = named.empty() ? m_sections.size() : named.front();
  if (named.empty()) AddSection(std::string(section));
  m_sections[at].entries.Set(key, value);
  return true;
}

bool CIniProfile::IOProfileBool(std::string_view section, std::string_view key, uint8_t* value) {
  if (!m_readMode) return SetEntry(section, key, *value == 1 ? "1" : "0");
  const std::optional<std::string_view> found = FindEntry(section, key);
  if (!found) return false;
  const std::string_view text = *found;
  *value = text == "0" ? 0 : 1;
  return true;
}

bool CIniProfile::IOProfileData(std::string_view section, std::string_view key, int32_t* value) {
  if (!m_readMode) return SetEntry(section, key, std::to_string(*value));
  const std::optional<std::string_view> found = FindEntry(section, key);
  if (!found) return false;
  const std::string_view text = *found;
  *value = ParseDecimal(text);
  return true;
}

bool CIniProfile::IOProfileWord(std::string_view section, std::string_view key, uint16_t* value) {
  if (!m_readMode) return SetEntry(section, key, std::to_string(*value));
  const std::optional<std::string_view> found = FindEntry(section, key);
  if (!found) return false;
  const std::string_view text = *found;
  *value = static_cast<uint16_t>(ParseDecimal(text));
  return true;
}

bool CIniProfile::IOProfileChar(std::string_view section, std::string_view key, char* value) {
  if (!m_readMode) return SetEntry(section, key, std::string_view(value, *value ? 1 : 0));
  const std::optional<std::string_view> found = FindEntry(section, key);
  if (!found) return false;
  const std::string_view text = *found;
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
  const std::optional<std::string_view> found = FindEntry(section, key);
  if (!found) return false;
  const std::string_view text = *found;
  const size_t n = std::min(text.size(), size - 1);
  std::memcpy(buffer, text.data(), n);
  buffer[n] = 0;
  return true;
}
