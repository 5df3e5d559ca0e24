#include "game/script/read_flag_table.h"

#include "sdk/framework/file_buffer.h"

std::array<uint8_t, kReadFlagCount> ReadFlagTable = {};

namespace {
bool HasFlag(int32_t line) { return line >= 1 && static_cast<size_t>(line) < kReadFlagCount; }
}  // namespace

bool IsLineRead(int32_t line) { return HasFlag(line) && ReadFlagTable[static_cast<size_t>(line)] != 0; }

void MarkLineRead(int32_t line) {
  if (HasFlag(line)) ReadFlagTable[static_cast<size_t>(line)] = 1;
}

void ClearReadFlags() { ReadFlagTable.fill(0); }

void LoadReadFlags(const std::string& path) {
  ClearReadFlags();
  CFileBuffer file;
  if (file.Read(path) == 0 && file.GetSize() == kReadFlagCount) {
    if (file.ReadBytes(ReadFlagTable.data(), kReadFlagCount) != 0) ClearReadFlags();
  }
  file.Close();
}

int WriteReadFlags(const std::string& path) {
  CFileBuffer file;
  return file.Write(path, ReadFlagTable.data(), kReadFlagCount);
}
