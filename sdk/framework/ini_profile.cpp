#include "sdk/framework/ini_profile.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <functional>
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

// Appends "key=value" and its CR LF as AppendLine does, in one step when neither holds a line
// feed: a settings file writes thousands of entries.
void AppendEntry(std::string& text, std::string_view key, std::string_view value) {
  if (key.find('\n') != std::string_view::npos || value.find('\n') != std::string_view::npos) {
    AppendLine(text, {key, "=", value});
    return;
  }
  const size_t at = text.size();
  text.resize(at + key.size() + value.size() + 3);
  char* out = text.data() + at;
  std::memcpy(out, key.data(), key.size());
  out[key.size()] = '=';
  std::memcpy(out + key.size() + 1, value.data(), value.size());
  std::memcpy(out + key.size() + 1 + value.size(), "\r\n", 2);
}

}  // namespace

uint32_t CIniEntries::Hash(std::string_view key) {
  return static_cast<uint32_t>(std::hash<std::string_view>{}(key));
}

uint32_t CIniEntries::Store(std::string_view bytes) {
  const auto at = static_cast<uint32_t>(m_text.size());
  m_text.append(bytes).push_back('\0');
  return at;
}

size_t CIniEntries::SlotOf(std::string_view key, uint32_t hash) const {
  const size_t mask = m_table.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const uint32_t held = m_table[i];
    if (held == 0 || (m_items[held - 1].hash == hash && Key(held - 1) == key)) return i;
  }
}

void CIniEntries::GrowTable(size_t n) {
  size_t slots = std::max<size_t>(m_table.size(), 16);
  while (slots < 2 * n) slots *= 2;
  if (slots == m_table.size()) return;
  m_table.assign(slots, 0);
  const size_t mask = slots - 1;
  for (size_t item = 0; item < m_items.size(); ++item) {
    size_t i = m_items[item].hash & mask;
    while (m_table[i] != 0) i = (i + 1) & mask;
    m_table[i] = static_cast<uint32_t>(item + 1);
  }
}

void CIniEntries::reserve(size_t n, size_t bytes) {
  m_items.reserve(n);
  m_order.reserve(n);
  m_text.reserve(bytes);
  GrowTable(n);
}

void CIniEntries::Insert(size_t slot, std::string_view key, std::string_view value, uint32_t hash) {
  const auto item = static_cast<uint32_t>(m_items.size());
  // The order grows with the entries while they come in it; once one does not, it waits for the
  // next walk.
  if (m_order.size() == m_items.size() && (m_order.empty() || Key(m_order.back()) < key)) m_order.push_back(item);
  // Key and value, each followed by a zero byte, stored in one step: a file adds thousands.
  const auto keyAt = static_cast<uint32_t>(m_text.size());
  const auto valueAt = static_cast<uint32_t>(keyAt + key.size() + 1);
  m_text.resize(valueAt + value.size() + 1);
  std::memcpy(m_text.data() + keyAt, key.data(), key.size());
  std::memcpy(m_text.data() + valueAt, value.data(), value.size());
  m_items.push_back({keyAt, static_cast<uint32_t>(key.size()), valueAt, static_cast<uint32_t>(value.size()), hash});
  m_table[slot] = item + 1;
}

size_t CIniEntries::SlotForSetting(std::string_view key, uint32_t hash) {
  // A section set key by key starts with room for a few dozen: settings sections hold that many
  // and more, and growing from one entry would move them again and again.
  if (m_items.capacity() == 0) reserve(32, 1024);
  if (2 * (m_items.size() + 1) > m_table.size()) GrowTable(m_items.size() + 1);
  return SlotOf(key, hash);
}

const std::vector<uint32_t>& CIniEntries::Ordered() const {
  if (m_order.size() == m_items.size()) return m_order;
  // Keys are told apart by their first eight bytes, read as one big-endian number (zeros after a
  // shorter key, which orders it before the longer ones it begins); only keys that share those
  // bytes are compared as text. A settings section holds a hundred keys and more, sorted at every
  // save.
  struct Sortable {
    uint64_t head;
    uint32_t item;
  };
  std::vector<Sortable> keys(m_items.size());
  for (size_t i = 0; i < keys.size(); ++i) {
    const std::string_view key = Key(static_cast<uint32_t>(i));
    uint64_t head = 0;
    std::memcpy(&head, key.data(), std::min(key.size(), sizeof head));
    if constexpr (std::endian::native == std::endian::little) head = __builtin_bswap64(head);
    keys[i] = {head, static_cast<uint32_t>(i)};
  }
  std::sort(keys.begin(), keys.end(), [](const Sortable& a, const Sortable& b) { return a.head < b.head; });
  for (auto run = keys.begin(); run != keys.end();) {
    auto next = run + 1;
    while (next != keys.end() && next->head == run->head) ++next;
    if (next - run > 1) {
      std::sort(run, next, [this](const Sortable& a, const Sortable& b) { return Key(a.item) < Key(b.item); });
    }
    run = next;
  }
  m_order.resize(keys.size());
  for (size_t i = 0; i < keys.size(); ++i) m_order[i] = keys[i].item;
  return m_order;
}

std::optional<std::string_view> CIniEntries::find(std::string_view key) const {
  if (m_items.empty()) return std::nullopt;
  const uint32_t held = m_table[SlotOf(key, Hash(key))];
  if (held == 0) return std::nullopt;
  return Entry(held - 1).second;
}

std::string_view CIniEntries::at(std::string_view key) const {
  const std::optional<std::string_view> value = find(key);
  if (!value) throw std::out_of_range("no such ini key");
  return *value;
}

void CIniEntries::Add(std::string_view key, std::string_view value) {
  const uint32_t hash = Hash(key);
  const size_t slot = SlotForSetting(key, hash);
  if (m_table[slot] == 0) Insert(slot, key, value, hash);
}

void CIniEntries::Set(std::string_view key, std::string_view value) {
  const uint32_t hash = Hash(key);
  const size_t slot = SlotForSetting(key, hash);
  if (m_table[slot] != 0) {
    // The old value's bytes stay in the block, unused: a value is rarely set twice.
    Item& item = m_items[m_table[slot] - 1];
    item.value = Store(value);
    item.valueLength = static_cast<uint32_t>(value.size());
  } else {
    Insert(slot, key, value, hash);
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
  size_t lines = 1;  // counted a line end at a time, not byte by byte
  for (size_t lf = 0; (lf = text.find('\n', lf)) != std::string::npos; ++lf) ++lines;
  pending.reserve(lines);
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
    for (const auto& [key, value] : section.entries) AppendEntry(text, key, value);
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
    if (const std::optional<std::string_view> value = s.entries.find(key)) return value;
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
