// A data file as the game reads it through CFileBuffer: scrambled when it begins with "QPK1",
// plain otherwise; then read line by line and as quoted texts. Scrambling what was read, saving
// and reading it back must give the same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "sdk/framework/file_buffer.h"
#include "sdk/framework/scramble.h"

namespace {

std::vector<unsigned char> Contents(const CFileBuffer& file) {
  return {file.GetData(), file.GetData() + file.GetSize()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::Environment();
  fuzz::WriteFile("file.txt", {data, size});
  CFileBuffer file;
  if (file.Read("file.txt") != kReadOk) std::abort();
  // What the reader must make of it.
  std::vector<unsigned char> expected(data, data + size);
  if (HasScrambleMagic(expected)) {
    expected.erase(expected.begin(), expected.begin() + kScrambleMagic.size());
    ScrambleBytes(expected);
  }
  if (Contents(file) != expected) std::abort();

  std::string line;
  while (file.ReadLine(line) == 0) {
  }
  file.Rewind();
  char small[8];
  for (int r = 0; r == 0 || r == 2;) r = file.ReadLineBuf(small, sizeof small);
  file.Rewind();
  char text[300];
  while (file.ReadQuotedText(text, sizeof text) == 0) {
  }

  if (file.Scramble() == 0) {
    if (file.Save("scrambled.txt") != 0) std::abort();
    CFileBuffer back;
    if (back.Read("scrambled.txt") != kReadOk || Contents(back) != expected) std::abort();
  }
  return 0;
}
