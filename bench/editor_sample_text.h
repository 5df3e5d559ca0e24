// The editor benchmarks' document: generated Shift-JIS text of kanji, kana of both widths, ASCII
// words and punctuation in CR LF lines, most of them narrower than 80 cells and one in 20 wider,
// written once to a temporary file (removed at exit) and read once so that it is warm in the page
// cache. VREL_BENCH_MB sets its size (default 100).
#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <unistd.h>

namespace editor_bench {

inline size_t SampleBytes() {
  const char* mb = std::getenv("VREL_BENCH_MB");
  const long n = mb ? std::atol(mb) : 100;
  return static_cast<size_t>(n > 0 ? n : 100) << 20;
}

// One character of the mix: its bytes and its cells.
inline void AddSampleChar(std::mt19937& rng, std::string& line, int& cells) {
  static constexpr const char* kPunctuation[] = {"\x81\x41", "\x81\x42", "\x81\x75", "\x81\x76",
                                                 "\x81\x45"};  // 、。「」・
  static constexpr const char* kWords[] = {"the ", "int ", "return ", "x = 1; ", "// ", "\"str\" ", "0x1F "};
  const unsigned kind = rng() % 20;
  if (kind < 7) {  // first-level kanji
    const unsigned lead = 0x89 + rng() % 15;
    unsigned trail = 0x40 + rng() % 188;
    if (trail >= 0x7F) ++trail;
    line += static_cast<char>(lead);
    line += static_cast<char>(trail);
    cells += 2;
  } else if (kind < 11) {  // hiragana
    line += '\x82';
    line += static_cast<char>(0x9F + rng() % 83);
    cells += 2;
  } else if (kind < 13) {  // katakana
    unsigned trail = 0x40 + rng() % 86;
    if (trail >= 0x7F) ++trail;
    line += '\x83';
    line += static_cast<char>(trail);
    cells += 2;
  } else if (kind < 14) {  // half-width katakana
    line += static_cast<char>(0xA6 + rng() % 58);
    cells += 1;
  } else if (kind < 15) {
    line += kPunctuation[rng() % 5];
    cells += 2;
  } else {
    const std::string_view word = kWords[rng() % 7];
    line += word;
    cells += static_cast<int>(word.size());
  }
}

inline std::string MakeSampleSjis(size_t bytes) {
  std::mt19937 rng(2024);
  std::string text;
  text.reserve(bytes + 512);
  for (size_t n = 0; text.size() < bytes; ++n) {
    // Up to 78 cells, or 81 to 240 for one line in 20.
    const int want = n % 20 == 19 ? 81 + static_cast<int>(rng() % 160) : static_cast<int>(rng() % 79);
    std::string line;
    int cells = 0;
    while (cells < want) {
      std::string next;
      int nextCells = cells;
      AddSampleChar(rng, next, nextCells);
      if (want <= 78 && nextCells > 78) break;
      line += next;
      cells = nextCells;
    }
    text += line;
    text += "\r\n";
  }
  return text;
}

// A file holding the bytes for the life of the process.
class SampleFile {
 public:
  explicit SampleFile(std::string_view bytes) {
    std::string pattern = (std::filesystem::temp_directory_path() / "tovara-bench-XXXXXX").string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) std::abort();
    ::close(fd);
    m_path = pattern;
    std::ofstream(m_path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    Warm();
  }
  ~SampleFile() { std::remove(m_path.c_str()); }
  SampleFile(const SampleFile&) = delete;
  SampleFile& operator=(const SampleFile&) = delete;

  const std::string& path() const { return m_path; }

  // Reads the whole file, so that the runs find it in the page cache.
  void Warm() const {
    std::ifstream in(m_path, std::ios::binary);
    static char chunk[1 << 20];
    while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    }
  }

 private:
  std::string m_path;
};

}  // namespace editor_bench
