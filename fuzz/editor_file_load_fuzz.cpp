// Loading a text file into document lines and saving it back. The input is a code byte (0-6, 7 for
// detection), a header (a length byte and that many bytes, left for the wrap settings and not read
// yet), then the file. The lines must each end with the line end they record; saving in the same
// code and loading again must give the same lines in Shift-JIS and the Unicode codes, and in
// Shift-JIS the very same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/doc_line_mgr.h"
#include "fuzz_support.h"

namespace {

struct Line {
  std::string text;
  int eol;
  bool operator==(const Line&) const = default;
};

std::vector<Line> Lines(CDocLineMgr& doc) {
  std::vector<Line> lines;
  for (CDocLine* l = doc.GetFirstLine(); l; l = l->m_pNext) {
    int len = 0;
    const char* text = l->GetText(&len);
    const CLineEnd& eol = l->m_cLineEnd;
    // Every line holds its own line end's bytes at its end, and is not empty.
    if (len < eol.GetLen() || len == 0 || !text) std::abort();
    if (std::memcmp(text + len - eol.GetLen(), eol.GetBytes(), eol.GetLen()) != 0) std::abort();
    lines.push_back({std::string(text, len - eol.GetLen()), eol.GetCode()});
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2 || size > (1u << 20)) return 0;
  const int code = data[0] % 8 == 7 ? kCodeDetect : data[0] % 8;
  const size_t header = 2 + data[1];
  if (size < header) return 0;
  const std::string in = fuzz::Environment().File("in.txt");
  const std::string out = fuzz::Environment().File("out.txt");
  fuzz::WriteFile("in.txt", {data + header, size - header});

  CDocLineMgr doc;
  bool bom = false;
  if (!doc.LoadFromFile(in.c_str(), nullptr, nullptr, code, nullptr, false, &bom)) std::abort();
  const std::vector<Line> lines = Lines(doc);
  if (code == kCodeSjis) {
    // Shift-JIS lines are the file's bytes cut at CR and LF.
    for (const Line& l : lines) {
      if (l.text.find_first_of("\r\n") != std::string::npos) std::abort();
    }
  }
  // Detection gave some code; saving and loading again works in that one.
  const int used = code == kCodeDetect ? CMemory::DetectCode(reinterpret_cast<const char*>(data + header),
                                                             static_cast<int>(std::min<size_t>(size - header, 32768)))
                                       : code;
  const int saveCode = used >= 0 && used < kCodeCount ? used : kCodeSjis;
  if (!doc.SaveToFile(out.c_str(), nullptr, nullptr, saveCode, nullptr, 0, bom)) std::abort();
  CDocLineMgr back;
  bool bomBack = false;
  if (!back.LoadFromFile(out.c_str(), nullptr, nullptr, saveCode, nullptr, false, &bomBack)) std::abort();
  if (saveCode == kCodeSjis) {
    if (Lines(back) != lines) std::abort();
    if (fuzz::Environment().Read("out.txt") != fuzz::Environment().Read("in.txt")) std::abort();
  } else if (saveCode == kCodeUtf8 || saveCode == kCodeUtf16Le || saveCode == kCodeUtf16Be) {
    // What came out of a Unicode code is text the Unicode codes hold.
    if (Lines(back) != lines) std::abort();
  } else {
    Lines(back);  // well formed, whatever the conversions made of the text
  }
  return 0;
}
