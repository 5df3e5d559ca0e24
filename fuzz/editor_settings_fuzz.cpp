// The settings file read into a fresh record: whatever it holds, the record written and read again
// must give the same file.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

#include "editor/foundation/settings/share_data.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// Loads path into a record with the defaults and writes it to out; false when either step fails.
bool LoadAndSave(const std::string& path, const std::string& out) {
  auto record = std::make_unique<SharedSettings>();
  CShareData::InitDefaults(*record);
  CShareData share;
  share.Attach(record.get());
  return share.IOSettings(true, path) && share.IOSettings(false, out);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > (1u << 18)) return 0;
  const std::string base = "/tmp/editor_settings_fuzz_" + std::to_string(::getpid());
  const std::string in = base + ".in.ini", first = base + ".1.ini", second = base + ".2.ini";
  std::ofstream(in, std::ios::binary).write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!LoadAndSave(in, first) || !LoadAndSave(first, second)) __builtin_trap();
  if (ReadAll(first) != ReadAll(second)) __builtin_trap();
  std::remove(in.c_str());
  std::remove(first.c_str());
  std::remove(second.c_str());
  return 0;
}
