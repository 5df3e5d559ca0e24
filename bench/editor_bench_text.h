// The text the editor's load, wrap and search benchmarks work on: Shift-JIS lines of kanji,
// hiragana, katakana, half-width katakana and ASCII words ending in CR LF, most shorter than 80
// cells and one in 20 longer, with the comments and strings a source file has. Made the same way
// on every run. VREL_BENCH_MB sets its size (default 100). Also the type settings the benchmarks
// wrap with, the text as a file warm in the page cache, and the baseline every loader is measured
// against: read() of that file and a memchr split into lines.
#pragma once

#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

#include "editor/foundation/settings/shared_settings.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/wrap_line_mgr.h"
#include "platform/sjis_literal.h"

inline size_t EditorBenchTextBytes() {
  const char* mb = std::getenv("VREL_BENCH_MB");
  const long n = mb ? std::atol(mb) : 100;
  return static_cast<size_t>(n > 0 ? n : 100) << 20;
}

inline std::string MakeEditorBenchText(size_t bytes) {
  std::mt19937 rng(932);
  auto below = [&](unsigned n) { return static_cast<unsigned>(rng() % n); };
  std::string text;
  text.reserve(bytes + 512);
  for (unsigned line = 0; text.size() < bytes; ++line) {
    // Cells of the line: 8-78, or 81-200 on every 20th.
    const int cells = line % 20 == 19 ? 81 + static_cast<int>(below(120)) : 8 + static_cast<int>(below(71));
    int x = 0;
    if (line % 16 == 3) {
      text += "// ";
      x = 3;
    } else if (line % 64 == 10) {
      text += "/* ";
      x = 3;
    } else if (line % 64 == 13) {
      text += "*/ ";
      x = 3;
    }
    while (x < cells) {
      const unsigned kind = below(20);
      if (x + 2 <= cells && kind < 7) {  // kanji of the first level
        const unsigned lead = 0x89 + below(15);
        unsigned trail = 0x40 + below(188);
        if (trail >= 0x7F) ++trail;
        text += static_cast<char>(lead);
        text += static_cast<char>(trail);
        x += 2;
      } else if (x + 2 <= cells && kind < 11) {  // hiragana
        text += '\x82';
        text += static_cast<char>(0x9F + below(83));
        x += 2;
      } else if (x + 2 <= cells && kind < 13) {  // katakana
        unsigned trail = 0x40 + below(86);
        if (trail >= 0x7F) ++trail;
        text += '\x83';
        text += static_cast<char>(trail);
        x += 2;
      } else if (x + 2 <= cells && kind < 14) {  // the ideographic full stop and comma
        text += kind % 2 ? "\x81\x42" : "\x81\x41";
        x += 2;
      } else if (kind < 15) {  // half-width katakana
        text += static_cast<char>(0xA6 + below(58));
        x += 1;
      } else if (kind < 16 && x + 6 <= cells) {  // a short string
        text += "\"abc\"";
        x += 5;
      } else {  // an ASCII word and a space
        const int len = 1 + static_cast<int>(below(8));
        for (int i = 0; i < len && x < cells; ++i, ++x) text += static_cast<char>('a' + below(26));
        if (x < cells) {
          text += ' ';
          ++x;
        }
      }
    }
    text += "\r\n";
  }
  return text;
}

// Width 80 with every rule on, the Japanese line-head and line-end characters, and comments and
// strings coloured.
// The text of the size VREL_BENCH_MB gives, made once per program.
inline const std::string& EditorBenchText() {
  static const std::string text = MakeEditorBenchText(EditorBenchTextBytes());
  return text;
}

// A conversion of the whole input as a file is read or written through one working buffer: in a
// buffer whose block grew in a first, untimed run; each round puts the input back untimed.
template <typename Convert>
void RunInGrownBuffer(benchmark::State& state, const std::string& input, Convert convert) {
  CMemory m(input.data(), static_cast<int>(input.size()));
  convert(m);
  for (auto _ : state) {
    state.PauseTiming();
    m.Assign(input.data(), static_cast<int>(input.size()));
    state.ResumeTiming();
    convert(m);
    benchmark::DoNotOptimize(m.GetPtr());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(input.size()));
}

inline double ElapsedMs(std::chrono::steady_clock::time_point a, std::chrono::steady_clock::time_point b) {
  return std::chrono::duration<double, std::milli>(b - a).count();
}

inline std::unique_ptr<TypeSettings> MakeEditorBenchWrapType() {
  auto t = std::make_unique<TypeSettings>();
  t->nWrapColumn = 80;
  t->nTabWidth = 4;
  t->bEnglishWordWrap = 1;
  t->bKinsokuHead = t->bKinsokuTail = t->bKinsokuRet = t->bKinsokuKuto = 1;
  std::strcpy(t->szKinsokuHead, "!%),.:;?]}°’”‰′″℃、。々〉》」』】〕゛゜ゝゞ・ヽヾ！％），．：；？］｝｡｣､･ﾞﾟ"_sj);
  std::strcpy(t->szKinsokuTail, "$([{\\‘“〈《「『【〔＄（［｛｢"_sj);
  t->LineComments.Set(0, "//", -1);
  t->BlockComments.SetPair(0, "/*", "*/");
  t->Colors[CWrapLineMgr::COLOR_LINE_COMMENT].bShow = 1;
  t->Colors[CWrapLineMgr::COLOR_SINGLE_QUOTE].bShow = 1;
  t->Colors[CWrapLineMgr::COLOR_DOUBLE_QUOTE].bShow = 1;
  return t;
}

// read() of the whole file into the buffer (grown as needed), then its lines counted with memchr;
// -1 when the file cannot be read.
inline int64_t EditorBenchReadAndSplit(const std::string& path, std::vector<char>& buffer) {
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) return -1;
  size_t len = 0;
  for (;;) {
    if (len == buffer.size()) buffer.resize(buffer.size() * 2 + 4096);
    const ssize_t n = read(fd, buffer.data() + len, buffer.size() - len);
    if (n <= 0) break;
    len += static_cast<size_t>(n);
  }
  close(fd);
  int64_t lines = 0;
  const char* p = buffer.data();
  const char* end = p + len;
  while (p < end) {
    const void* nl = std::memchr(p, '\n', static_cast<size_t>(end - p));
    ++lines;
    if (!nl) break;
    p = static_cast<const char*>(nl) + 1;
  }
  return lines;
}

// Bytes written to a temporary file for the life of the object, and read once so that the runs
// find them in the page cache.
class EditorBenchFile {
 public:
  explicit EditorBenchFile(std::string_view bytes) {
    char name[] = "/tmp/editor_bench_XXXXXX";
    const int fd = mkstemp(name);
    if (fd < 0) std::abort();
    size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
      if (n <= 0) std::abort();
      done += static_cast<size_t>(n);
    }
    close(fd);
    m_path = name;
    std::vector<char> buffer;
    EditorBenchReadAndSplit(m_path, buffer);
  }
  ~EditorBenchFile() { unlink(m_path.c_str()); }
  EditorBenchFile(const EditorBenchFile&) = delete;
  EditorBenchFile& operator=(const EditorBenchFile&) = delete;

  const std::string& path() const { return m_path; }

 private:
  std::string m_path;
};
