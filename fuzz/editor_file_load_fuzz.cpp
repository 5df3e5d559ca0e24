// Loading a text file into document lines, cutting it into display lines, and saving it back.
// The input is a code byte (0-6, 7 for detection), a header of wrap settings (a length byte and
// that many bytes: wrap width, tab width, two bytes of switches, then the line-head and line-end
// characters, the indent characters, the line comment and two pairs of block comment delimiters,
// each ended by a zero byte), then the file. The lines must each end with the line end they
// record; the display lines must cover every document line once, in order, cut only between
// characters; positions must go to the display and back unchanged; saving in the same code and
// loading again must give the same lines in Shift-JIS and the Unicode codes, and in Shift-JIS the
// very same bytes.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "editor/foundation/settings/shared_settings.h"
#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/doc_line_mgr.h"
#include "editor/foundation/text/sjis_char.h"
#include "editor/foundation/text/wrap_line_mgr.h"
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

// The wrap settings of the header; absent bytes leave width 80, tab 4 and every switch off.
std::unique_ptr<TypeSettings> ReadWrapType(const uint8_t* h, size_t n) {
  auto t = std::make_unique<TypeSettings>();
  auto byte = [&](size_t i) { return i < n ? h[i] : 0; };
  t->nWrapColumn = n > 0 ? 1 + h[0] : 80;
  t->nTabWidth = n > 1 ? 1 + h[1] % 64 : 4;
  const uint8_t a = byte(2);
  const uint8_t b = byte(3);
  t->bEnglishWordWrap = a & 1;
  t->bKinsokuHead = (a >> 1) & 1;
  t->bKinsokuTail = (a >> 2) & 1;
  t->bKinsokuRet = (a >> 3) & 1;
  t->bKinsokuKuto = (a >> 4) & 1;
  t->bAutoIndent_ZENSPACE = (a >> 5) & 1;
  t->Colors[CWrapLineMgr::COLOR_LINE_COMMENT].bShow = (a >> 6) & 1;
  t->Colors[CWrapLineMgr::COLOR_SINGLE_QUOTE].bShow = (a >> 7) & 1;
  t->Colors[CWrapLineMgr::COLOR_DOUBLE_QUOTE].bShow = b & 1;
  t->nQuoteEscape = (b >> 1) % 3;
  t->nIndentLayout = (b >> 3) % 3;
  const int commentColumn = (b >> 5) & 1 ? 0 : -1;
  // The texts, each ended by a zero byte (or the header's end).
  std::vector<std::string> texts;
  for (size_t i = 4; i < n && texts.size() < 8;) {
    const size_t end = std::find(h + i, h + n, 0) - h;
    texts.emplace_back(reinterpret_cast<const char*>(h + i), end - i);
    i = end + 1;
  }
  texts.resize(8);
  auto copy = [](char* field, size_t size, const std::string& text) {
    const size_t len = std::min(text.size(), size - 1);
    std::memcpy(field, text.data(), len);
    field[len] = 0;
  };
  copy(t->szKinsokuHead, sizeof t->szKinsokuHead, texts[0]);
  copy(t->szKinsokuTail, sizeof t->szKinsokuTail, texts[1]);
  copy(t->szIndentChars, sizeof t->szIndentChars, texts[2]);
  t->LineComments.Set(0, texts[3].c_str(), commentColumn);
  t->BlockComments.SetPair(0, texts[4].c_str(), texts[5].c_str());
  t->BlockComments.SetPair(1, texts[6].c_str(), texts[7].c_str());
  return t;
}

// The display lines cover each document line once, in order, from its start to its end (the
// last piece holding one byte of its line end), never cutting a character.
void CheckPieces(CWrapLineMgr& wrap, CDocLineMgr& doc) {
  const CWrapLine* piece = wrap.GetLine(0);
  int pieces = 0;
  for (CDocLine* line = doc.GetFirstLine(); line; line = line->m_pNext) {
    int len = 0;
    const auto* s = reinterpret_cast<const unsigned char*>(line->GetText(&len));
    const int body = line->GetLengthWithoutEol();
    const int covered = body + (line->m_cLineEnd.GetCode() != CLineEnd::NONE ? 1 : 0);
    int offset = 0;
    int charStart = 0;
    do {
      if (!piece || piece->m_pDocLine != line || piece->m_nOffset != offset || piece->m_nLength <= 0) std::abort();
      offset += piece->m_nLength;
      while (charStart < offset && charStart < body) charStart += SjisCharSize(s, body, charStart);
      if (offset <= body && charStart != offset) std::abort();
      piece = piece->m_pNext;
      ++pieces;
    } while (offset < covered);
    if (offset != covered) std::abort();
  }
  if (piece || pieces != wrap.GetLineCount()) std::abort();
}

// Every document position at a character start goes to the display and back unchanged, and every
// display position at a character start comes back from the document.
void CheckRoundTrips(CWrapLineMgr& wrap, CDocLineMgr& doc) {
  int l = 0;
  for (CDocLine* line = doc.GetFirstLine(); line; line = line->m_pNext, ++l) {
    int len = 0;
    const auto* s = reinterpret_cast<const unsigned char*>(line->GetText(&len));
    const int body = line->GetLengthWithoutEol();
    for (int col = 0; col <= body; col += col < body ? SjisCharSize(s, body, col) : 1) {
      int x = -1, y = -1, backCol = -1, backLine = -1;
      wrap.DocToWrapPos(col, l, &x, &y);
      wrap.WrapToDocPos(x, y, &backCol, &backLine);
      if (backCol != col || backLine != l) std::abort();
    }
  }
  for (int y = 0; y < wrap.GetLineCount(); ++y) {
    const CWrapLine* piece = wrap.GetLine(y);
    const auto* s = reinterpret_cast<const unsigned char*>(piece->GetText());
    int x = piece->m_nIndent;
    for (int pos = 0; pos < piece->m_nLength;) {
      int col = -1, line = -1, backX = -1, backY = -1;
      wrap.WrapToDocPos(x, y, &col, &line);
      wrap.DocToWrapPos(col, line, &backX, &backY);
      if (backX != x || backY != y) std::abort();
      const int size = SjisCharSize(s, piece->m_nLength, pos);
      x += s[pos] == '\t' ? wrap.GetTabWidth() - x % wrap.GetTabWidth() : size;
      pos += size;
    }
  }
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

  CWrapLineMgr wrap;
  wrap.Attach(&doc);
  if (!wrap.SetWrapSettings(true, nullptr, *ReadWrapType(data + 2, data[1]))) std::abort();
  CheckPieces(wrap, doc);
  // Each lookup walks from the nearest known piece: a long line makes the walk quadratic.
  if (size - header <= 8192) CheckRoundTrips(wrap, doc);

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
