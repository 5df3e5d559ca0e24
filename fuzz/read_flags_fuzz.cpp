// The read-flag file (meridiane.mfl) as the game loads it at start; a table that was loaded is
// written back and must read back the same.
#include <cstdint>
#include <cstdlib>

#include "fuzz_support.h"
#include "game/script/read_flag_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Environment();
  fuzz::WriteFile(kReadFlagFile, {data, size});
  LoadReadFlags(kReadFlagFile);
  const auto loaded = ReadFlagTable;
  for (int32_t line : {-1, 0, 1, 2, 199999, 200000, INT32_MAX, INT32_MIN}) IsLineRead(line);
  if (WriteReadFlags("again.mfl") != 0) std::abort();
  LoadReadFlags("again.mfl");
  if (ReadFlagTable != loaded) std::abort();
  return 0;
}
