// Loading a text file into document lines, wrapping it and saving it back. The input is a code byte
// (0-6, 7 for detection), a header (a length byte and that many bytes: the wrap settings), then the
// file. The lines must each end with the line end they record; the display lines must cover each
// line once, in order, and positions must go to the display and back unchanged; saving in the same
// code and loading again must give the same lines in Shift-JIS and the Unicode codes, and in
// Shift-JIS the very same bytes.
//
// The wrap settings: wrap width (two bytes, low first), tab width, switches (1 word wrap, 2
// line-head rule, 4 line-end rule, 8 hanging line end, 16 hanging punctuation, 32 comments, 64
// single quotes, 128 double quotes), then indent rule (bits 0-1), string escape style (bits 2-3),
// ideographic space as indent (bit 4) and line comment at column 0 only (bit 5), then texts
// separated by NUL: line-head characters, line-end characters, indent characters, line comment,
// block comment start and end, second block comment start and end. A header shorter than five
// bytes wraps at 80 with every rule, C comments and both quotes.
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

void CopyText(char* field, size_t size, const std::string& text) {
  const size_t n = std::min(text.size(), size - 1);
  std::memcpy(field, text.data(), n);
  field[n] = 0;
}

std::unique_ptr<TypeSettings> WrapSettings(const uint8_t* header, size_t size) {
  auto t = std::make_unique<TypeSettings>();
  if (size < 5) {
    t->nWrapColumn = 80;
    t->nTabWidth = 4;
    t->bEnglishWordWrap = t->bKinsokuHead = t->bKinsokuTail = t->bKinsokuRet = t->bKinsokuKuto = 1;
    CopyText(t->szKinsokuHead, sizeof t->szKinsokuHead, "\x81\x41\x81\x42\x81\x76),.");  // 、。」
    CopyText(t->szKinsokuTail, sizeof t->szKinsokuTail, "\x81\x75(");                  // 「
    t->LineComments.Set(0, "//", -1);
    t->BlockComments.SetPair(0, "/*", "*/");
    for (int c : {CWrapLineMgr::COLOR_LINE_COMMENT, CWrapLineMgr::COLOR_SINGLE_QUOTE, CWrapLineMgr::COLOR_DOUBLE_QUOTE}) {
      t->Colors[c].bShow = 1;
    }
    return t;
  }
  t->nWrapColumn = header[0] | header[1] << 8;
  t->nTabWidth = header[2];
  const unsigned on = header[3];
  t->bEnglishWordWrap = (on >> 0) & 1;
  t->bKinsokuHead = (on >> 1) & 1;
  t->bKinsokuTail = (on >> 2) & 1;
  t->bKinsokuRet = (on >> 3) & 1;
  t->bKinsokuKuto = (on >> 4) & 1;
  t->Colors[CWrapLineMgr::COLOR_LINE_COMMENT].bShow = (on >> 5) & 1;
  t->Colors[CWrapLineMgr::COLOR_SINGLE_QUOTE].bShow = (on >> 6) & 1;
  t->Colors[CWrapLineMgr::COLOR_DOUBLE_QUOTE].bShow = (on >> 7) & 1;
  t->nIndentLayout = header[4] & 3;
  t->nQuoteEscape = (header[4] >> 2) & 3;
  t->bAutoIndent_ZENSPACE = (header[4] >> 4) & 1;
  std::vector<std::string> texts(8);
  size_t k = 0;
  for (size_t i = 5; i < size && k < texts.size(); ++i) {
    if (header[i] == 0) {
      ++k;
    } else {
      texts[k] += static_cast<char>(header[i]);
    }
  }
  CopyText(t->szKinsokuHead, sizeof t->szKinsokuHead, texts[0]);
  CopyText(t->szKinsokuTail, sizeof t->szKinsokuTail, texts[1]);
  CopyText(t->szIndentChars, sizeof t->szIndentChars, texts[2]);
  t->LineComments.Set(0, texts[3].c_str(), (header[4] >> 5) & 1 ? 0 : -1);
  t->BlockComments.SetPair(0, texts[4].c_str(), texts[5].c_str());
  t->BlockComments.SetPair(1, texts[6].c_str(), texts[7].c_str());
  return t;
}

// The display lines cover every document line once, in order, each with its text and the first
// byte of its line end.
void CheckPieces(CDocLineMgr& doc, CWrapLineMgr& wrap) {
  CWrapLine* piece = wrap.GetLine(0);
  int index = 0;
  int docIndex = 0;
  for (CDocLine* line = doc.GetFirstLine(); line; line = line->m_pNext, ++docIndex) {
    int len = 0;
    line->GetText(&len);
    const int end = len - std::max(line->m_cLineEnd.GetLen() - 1, 0);
    for (int at = 0; at < end; ++index) {
      if (!piece || piece->m_pDocLine != line || piece->m_nOffset != at || piece->m_nLength <= 0) std::abort();
      if (wrap.GetDocLineIndex(index) != docIndex) std::abort();
      at += piece->m_nLength;
      if (at > end) std::abort();
      piece = piece->m_pNext;
    }
  }
  if (piece || index != wrap.GetLineCount()) std::abort();
}

// Document positions at character starts go to the display and back unchanged (a few per line on
// long lines), and so does the start of every display line.
void CheckPositions(CDocLineMgr& doc, CWrapLineMgr& wrap) {
  for (int l = 0; l < doc.GetLineCount(); ++l) {
    int len = 0;
    const auto* s = reinterpret_cast<const unsigned char*>(doc.GetLineTextNoLineEnd(l, &len));
    const int stride = std::max(1, len / 64);
    for (int col = 0, next = 0; col <= len; col += col < len ? SjisCharSize(s, len, col) : 1) {
      if (col < next && col < len) continue;
      next = col + stride;
      int x = 0;
      int y = 0;
      wrap.DocToWrapPos(col, l, &x, &y);
      int backCol = 0;
      int backLine = 0;
      wrap.WrapToDocPos(x, y, &backCol, &backLine);
      if (backCol != col || backLine != l) std::abort();
    }
  }
  for (int y = 0; y < wrap.GetLineCount(); ++y) {
    const int x = wrap.GetLine(y)->m_nIndent;
    int col = 0;
    int l = 0;
    wrap.WrapToDocPos(x, y, &col, &l);
    int backX = 0;
    int backY = 0;
    wrap.DocToWrapPos(col, l, &backX, &backY);
    if (backX != x || backY != y) std::abort();
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
  {
    CWrapLineMgr wrap;
    wrap.Attach(&doc);
    if (!wrap.SetWrapSettings(true, nullptr, *WrapSettings(data + 2, header - 2))) std::abort();
    CheckPieces(doc, wrap);
    CheckPositions(doc, wrap);
  }
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
