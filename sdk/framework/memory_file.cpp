#include "sdk/framework/memory_file.h"

#include <cstdio>
#include <mutex>
#include <unordered_map>

namespace {

struct Registry {
  std::mutex mutex;
  uint32_t nextId = 1;
  std::unordered_map<uint32_t, std::span<unsigned char>> blocks;
};

Registry& Blocks() {
  static Registry registry;
  return registry;
}

// Reads hexadecimal digits at pos; false when there are none.
bool ParseHex(std::string_view text, size_t& pos, uint64_t& value) {
  size_t start = pos;
  value = 0;
  while (pos < text.size()) {
    char c = text[pos];
    unsigned digit;
    if (c >= '0' && c <= '9') {
      digit = static_cast<unsigned>(c - '0');
    } else if (c >= 'a' && c <= 'f') {
      digit = static_cast<unsigned>(c - 'a' + 10);
    } else if (c >= 'A' && c <= 'F') {
      digit = static_cast<unsigned>(c - 'A' + 10);
    } else {
      break;
    }
    if (value > (UINT64_MAX >> 4)) return false;
    value = value << 4 | digit;
    ++pos;
  }
  return pos > start;
}

}  // namespace

CMemoryFile::CMemoryFile(std::span<unsigned char> block) {
  Registry& r = Blocks();
  std::lock_guard lock(r.mutex);
  do {
    m_id = r.nextId++;
  } while (m_id == 0 || r.blocks.contains(m_id));
  r.blocks.emplace(m_id, block);
  char name[40];
  std::snprintf(name, sizeof(name), "!%x,%zx", m_id, block.size());
  m_name = name;
}

CMemoryFile::~CMemoryFile() {
  Registry& r = Blocks();
  std::lock_guard lock(r.mutex);
  r.blocks.erase(m_id);
}

int FindMemoryFile(std::string_view name, std::span<unsigned char>& block) {
  uint64_t id = 0;
  uint64_t size = 0;
  size_t pos = 1;
  if (!name.starts_with('!') || !ParseHex(name, pos, id) || pos >= name.size() || name[pos] != ',' ||
      !ParseHex(name, ++pos, size)) {
    return 6;
  }
  Registry& r = Blocks();
  std::lock_guard lock(r.mutex);
  auto it = r.blocks.find(static_cast<uint32_t>(id));
  if (id > UINT32_MAX || it == r.blocks.end() || it->second.size() != size) return 1;
  block = it->second;
  return 0;
}
