// The name of a backup copy: the backup settings (naming mode, date parts, generations, time
// source, the folder and free-format switches, the folder and the free format) and a document path
// go into BuildBackupPath, which writes nothing. The name is NUL-terminated within kMaxPath bytes
// and names a file: it spells in the exact path form, so no character is cut. Without a name the
// output is empty.
//
// Input: mode, date parts, time source, switches (1 folder, 2 free format), the generation word
// (4 bytes, little-endian), then the folder, the free format and the path, separated by NUL.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <string_view>

#include "editor/foundation/document/backup_name.h"
#include "editor/foundation/settings/shared_settings.h"
#include "fuzz_support.h"
#include "platform/local_time.h"
#include "platform/path.h"

namespace {

// Copies the next NUL-separated field (at most size - 1 bytes) and moves past it.
std::string NextField(std::string_view& in, size_t limit) {
  const size_t end = in.find('\0');
  std::string field(in.substr(0, end));
  in = end == std::string_view::npos ? std::string_view() : in.substr(end + 1);
  if (field.size() > limit) field.resize(limit);
  return field;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool ready = [] {
    fuzz::Environment();
    // The same day for every run, read in UTC.
    platform::LocalTimeHooks hooks;
    hooks.now = [] { return int64_t{1136073600} * 1'000'000'000 + 45296'000'000'000; };
    hooks.toLocal = [](int64_t ns, std::tm* out) {
      const time_t s = static_cast<time_t>(ns / 1'000'000'000);
      return ::gmtime_r(&s, out) != nullptr;
    };
    platform::SetLocalTimeHooks(hooks);
    return true;
  }();
  (void)ready;
  if (size < 8) return 0;
  static auto settings = std::make_unique<CommonSettings>();
  CommonSettings& c = *settings;
  std::memset(static_cast<void*>(&c), 0, sizeof c);
  c.nBackUpType = static_cast<int8_t>(data[0]);
  c.bBackUpType2_Opt1 = data[1];
  c.bBackUpType2_Opt4 = data[2];
  c.bBackUpFolder = data[3] & 1;
  c.bBackUpPathAdvanced = (data[3] >> 1) & 1;
  c.bBackUpType2_Opt2 = static_cast<int32_t>(data[4] | (data[5] << 8) | (data[6] << 16) | (uint32_t{data[7]} << 24));
  std::string_view rest(reinterpret_cast<const char*>(data + 8), size - 8);
  // The record's fields need not end in NUL: the folder and the format fill all their bytes.
  const std::string folder = NextField(rest, sizeof c.szBackUpFolder);
  const std::string format = NextField(rest, sizeof c.szBackUpPathAdvanced);
  const std::string path = NextField(rest, kMaxPath - 1);  // a document's path always ends in NUL
  std::memcpy(c.szBackUpFolder, folder.data(), folder.size());
  std::memcpy(c.szBackUpPathAdvanced, format.data(), format.size());

  char out[kMaxPath];
  std::memset(out, 0x81, sizeof out);  // lead bytes: a name that is not terminated or is cut shows
  const bool built = BuildBackupPath(c, path.c_str(), out);
  const size_t len = strnlen(out, sizeof out);
  if (len == sizeof out) __builtin_trap();
  if (!built && len != 0) __builtin_trap();
  std::string host;
  if (built && !platform::ExactHostPath(std::string_view(out, len), host)) __builtin_trap();
  return 0;
}
