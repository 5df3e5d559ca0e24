// Turns a UTF-8 text file of the repository into the Shift-JIS file with CR LF line ends that the
// game reads: text_to_sjis <input> <output>. A character that Shift-JIS cannot hold stops the
// build with its line number instead of turning silently into '?'.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/file.h"
#include "platform/path.h"
#include "platform/sjis.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: text_to_sjis <utf-8 input> <shift-jis output>\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "text_to_sjis: cannot read %s\n", argv[1]);
    return 1;
  }
  std::string text((std::istreambuf_iterator<char>(in)), {});
  if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
  std::string out;
  size_t lineNumber = 1;
  for (size_t start = 0; start < text.size(); ++lineNumber) {
    size_t end = text.find('\n', start);
    bool hasEnd = end != std::string::npos;
    std::string line = text.substr(start, hasEnd ? end - start : std::string::npos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::string sjis = platform::Utf8ToSjis(line);
    if (platform::SjisToUtf8(sjis) != line) {
      std::fprintf(stderr, "%s:%zu: a character has no Shift-JIS code\n", argv[1], lineNumber);
      return 1;
    }
    out += sjis;
    if (hasEnd) out += "\r\n";
    start = hasEnd ? end + 1 : text.size();
  }
  // Replaced in one step, so that a failed run never leaves half a script behind for the build.
  std::string outPath;
  platform::AtomicFileWriter writer(platform::ProgramPathFromHost(argv[2], outPath) ? outPath : std::string());
  writer.Write(out);
  if (writer.Commit() != platform::WriteStatus::kOk) {
    std::fprintf(stderr, "text_to_sjis: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
