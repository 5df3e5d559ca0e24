// vrel.xml as the game exchanges it: read at start, the player's settings written back at exit,
// and read again at the next start, which must succeed and give the same settings (whether the
// write replaced the file or, finding that its text would not read back, kept the old one).
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fuzz_support.h"
#include "game/app/config.h"

namespace {

GameConfig ReadConfig(bool& ok) {
  std::memset(&Config, 0, sizeof Config);
  ok = ExchangeConfig("vrel.xml", kConfigRead);
  return Config;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Environment();
  fuzz::WriteFile("vrel.xml", {data, size});
  bool ok = false;
  const GameConfig first = ReadConfig(ok);
  if (!ok) return 0;
  ExchangeConfig("vrel.xml", kConfigWrite);
  const GameConfig second = ReadConfig(ok);
  if (!ok || std::memcmp(&first, &second, sizeof first) != 0) std::abort();
  return 0;
}
