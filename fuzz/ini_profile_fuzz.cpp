// An ini profile as the game reads scene.ini and picture.ini: read, every entry taken through the
// typed calls, written back and read again; the second read must give exactly what was written.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "sdk/framework/ini_profile.h"

namespace {

bool SameSections(const std::vector<CIniSection>& a, const std::vector<CIniSection>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].name != b[i].name || a[i].entries != b[i].entries) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Environment();
  fuzz::WriteFile("in.ini", {data, size});
  CIniProfile read;
  if (!read.ReadProfile("in.ini")) std::abort();

  for (const CIniSection& section : read.GetSections()) {
    for (const auto& [key, value] : section.entries) {
      uint8_t flag = 0;
      int32_t number = 0;
      uint16_t word = 0;
      char c = 0;
      char text[16];
      read.IOProfileBool(section.name, key, &flag);
      read.IOProfileData(section.name, key, &number);
      read.IOProfileWord(section.name, key, &word);
      read.IOProfileChar(section.name, key, &c);
      read.IOProfileString(section.name, key, text, sizeof text);
    }
  }

  if (!read.WriteProfile("out.ini", "written back")) std::abort();
  CIniProfile again;
  if (!again.ReadProfile("out.ini")) std::abort();
  if (!SameSections(read.GetSections(), again.GetSections())) std::abort();
  return 0;
}
