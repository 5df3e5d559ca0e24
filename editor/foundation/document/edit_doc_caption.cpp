// Captions, tab captions, printed headers and command lines from templates: plain text with "$"
// codes for facts about the document and ${X?first$:second$} choices by its state.
#include <algorithm>
#include <cinttypes>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/memory.h"
#include "editor/foundation/text/sjis_char.h"
#include "platform/local_time.h"
#include "platform/path.h"
#include "platform/sjis_literal.h"

namespace {

constexpr auto kUntitled = "(無題)"_sj;
constexpr auto kNeverSaved = "(保存されていません)"_sj;
constexpr auto kPreviewOnly = "(印刷プレビューでのみ使用できます)"_sj;

constexpr int kGrepKeyBytes = 32;
constexpr int kSelectedTextBytes = 259;
constexpr int kNicknamedPathSize = 1024;
constexpr int kCaptionSize = 1024;
// More than any template has "$:" separators: skips to the end of the condition.
constexpr int kRestOfCondition = INT_MAX;

// The output of an expansion: within size - 1 bytes, always terminated, cut after the last whole
// character that fits. Characters are told in the output as it stands (a lone lead byte of the
// template pairs with the text inserted after it), so the text is gathered until it passes the
// room and cut once: a cut output is always the start of the full one.
class CaptionOutput {
 public:
  CaptionOutput(char* out, int size) : m_out(out), m_room(size - 1) { m_out[0] = '\0'; }
  ~CaptionOutput() {
    const int length = WholeCharsPrefixLength(m_text.data(), static_cast<int>(m_text.size()), m_room);
    std::memcpy(m_out, m_text.data(), static_cast<size_t>(length));
    m_out[length] = '\0';
  }
  CaptionOutput(const CaptionOutput&) = delete;
  CaptionOutput& operator=(const CaptionOutput&) = delete;

  void Put(std::string_view text) {
    if (!Full()) m_text.append(text);
  }
  void PutNumber(int value) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%d", value);
    Put(digits);
  }
  int Room() const { return std::max(0, m_room - static_cast<int>(m_text.size())); }
  // Past the room: nothing more can be kept, and the last character that fits is known.
  bool Full() const { return static_cast<int>(m_text.size()) > m_room; }

 private:
  char* m_out;
  int m_room;
  std::string m_text;
};

SYSTEMTIME LocalNow() {
  SYSTEMTIME local{};
  platform::LocalSystemTimeOf(platform::WallClockNs(), &local);
  return local;
}

enum class TimePart { kDate, kTime };

void PutTime(CaptionOutput& out, const SYSTEMTIME& time, TimePart part) {
  char text[256];
  CShareData* share = CShareData::GetInstance();
  if (part == TimePart::kDate) {
    share ? share->FormatDate(time, text, sizeof text) : CShareData::FormatDateWith(time, text, sizeof text, 0, nullptr);
  } else {
    share ? share->FormatTime(time, text, sizeof text) : CShareData::FormatTimeWith(time, text, sizeof text, 0, nullptr);
  }
  out.Put(text);
}

// The file name without its extension: before the last ".", unless the name has none or its only
// one starts it.
std::string_view NameWithoutExtension(std::string_view name) {
  const size_t dot = name.rfind('.');
  return dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
}

std::string_view FileNameOf(const char* path) {
  const char* slash = std::strrchr(path, '/');
  return slash ? slash + 1 : path;
}

// The character after a "$" (whole when double-byte); empty at the end of the template.
std::string_view CharAt(const char* p) { return {p, static_cast<size_t>(SjisCharSizeZ(p))}; }

}  // namespace

int CEditDoc::EvalCaptionCondition(char letter) {
  switch (letter) {
    case 'I':
      return m_ports.frame && m_ports.frame->IsMinimized() ? 0 : 1;
    case 'M':
      return m_ports.macros && m_ports.macros->IsRecordingHere() ? 0 : 1;
    case 'R':
      if (m_bReadOnly) return 0;
      return m_nLockMode != kLockNone && !HoldsFileLock() ? 1 : 2;
    case 'U':
      return m_bIsModified ? 0 : 1;
    case 'w':
      if (m_bGrepWindow) return 0;
      return m_bOutputWindow ? 1 : 2;
    default:
      return 0;
  }
}

const char* CEditDoc::SkipCaptionBranch(const char* position, int branches) {
  if (branches == 0) return position;
  const char* p = position;
  int depth = 0;
  while (*p) {
    if (*p != '$') {
      p += SjisCharSizeZ(p);
      continue;
    }
    const char code = p[1];
    if (code == '\0') return p + 1;
    if (code == '{') {
      ++depth;
    } else if (code == '}') {
      if (depth == 0) return p + 2;
      --depth;
    } else if (code == ':' && depth == 0) {
      if (--branches == 0) return p + 2;
    }
    p += 1 + CharAt(p + 1).size();
  }
  return p;
}

void CEditDoc::ExpandCaptionFormat(const char* pszTemplate, char* pszOut, int nSize) {
  if (!pszOut || nSize < 1) return;
  CaptionOutput out(pszOut, nSize);
  if (!pszTemplate) return;
  const bool untitled = m_szFilePath[0] == '\0';
  const IDocPane* pane = ActivePane();
  const char* p = pszTemplate;
  while (*p && !out.Full()) {
    if (*p != '$') {
      const std::string_view c = CharAt(p);
      out.Put(c);
      p += c.size();
      continue;
    }
    const std::string_view code = CharAt(p + 1);
    if (code.empty()) {
      out.Put("$");
      break;
    }
    // The character after "$" is taken whole: a double-byte one is no code and stays as it is.
    p += 1 + code.size();
    switch (code.size() == 1 ? code[0] : '\0') {
      case '$':
        out.Put("$");
        break;
      case 'F':
      case '/':  // "/" already separates the levels
        out.Put(untitled ? std::string_view(kUntitled) : std::string_view(m_szFilePath));
        break;
      case 'f':
        out.Put(untitled ? std::string_view(kUntitled) : FileNameOf(m_szFilePath));
        break;
      case 'g':
        out.Put(untitled ? std::string_view(kUntitled) : NameWithoutExtension(FileNameOf(m_szFilePath)));
        break;
      case 'N': {
        if (untitled) {
          out.Put(kUntitled);
        } else if (CShareData* share = CShareData::GetInstance()) {
          char shortened[kNicknamedPathSize];
          out.Put(share->ApplyFileNameNicknames(m_szFilePath, shortened, sizeof shortened));
        } else {
          out.Put(m_szFilePath);
        }
        break;
      }
      case 'C':
        if (pane) {
          CMemory text;
          pane->GetSelectedTextOrWord(&text, kSelectedTextBytes);
          const int length = std::min(text.GetLength(), kSelectedTextBytes);
          if (length > 0) {
            out.Put({text.GetPtr(), static_cast<size_t>(WholeCharsPrefixLength(text.GetPtr(), length, length))});
          }
        }
        break;
      case 'x':
        if (pane) out.PutNumber(pane->Caret().x + 1);
        break;
      case 'y':
        if (pane) out.PutNumber(pane->Caret().y + 1);
        break;
      case 'd':
        PutTime(out, LocalNow(), TimePart::kDate);
        break;
      case 't':
        PutTime(out, LocalNow(), TimePart::kTime);
        break;
      case 'D':
      case 'T': {
        SYSTEMTIME written{};
        if (m_nFileTime != 0 && platform::LocalSystemTimeOf(m_nFileTime, &written)) {
          PutTime(out, written, code[0] == 'D' ? TimePart::kDate : TimePart::kTime);
        } else {
          out.Put(kNeverSaved);
        }
        break;
      }
      case 'p':
      case 'P':
        if (m_ports.preview) {
          out.PutNumber(code[0] == 'p' ? m_ports.preview->CurrentPage() : m_ports.preview->PageCount());
        } else {
          out.Put(kPreviewOnly);
        }
        break;
      case 'V': {
        const uint32_t high = static_cast<uint32_t>(ProductVersionHigh());
        const uint32_t low = static_cast<uint32_t>(ProductVersionLow());
        char version[32];
        std::snprintf(version, sizeof version, "%u.%u.%u.%u", high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF);
        out.Put(version);
        break;
      }
      case 'S': {
        std::string executable;
        if (platform::ExactModuleFileName(executable)) out.Put(executable);
        break;
      }
      case 'h': {
        const std::string_view key = m_szGrepKey.c_str();
        const int limit = std::max(0, std::min(kGrepKeyBytes, out.Room() - 3));
        const int keep = WholeCharsPrefixLength(key.data(), static_cast<int>(key.size()), limit);
        out.Put(key.substr(0, static_cast<size_t>(keep)));
        if (keep < static_cast<int>(key.size())) out.Put("...");
        break;
      }
      case 'M': {
        const int running = m_ports.macros ? m_ports.macros->RunningMacro() : IDocMacros::kNone;
        CShareData* share = CShareData::GetInstance();
        if (running == IDocMacros::kNone || !share) break;
        char path[kMaxPath];
        const int slot = running == IDocMacros::kTemporary ? -1 : running;
        if (share->GetMacroFilePath(slot, path, sizeof path) > 0) out.Put(path);
        break;
      }
      case '{': {
        // ${X?...: the letter chooses the branch that is copied.
        const std::string_view letter = CharAt(p);
        if (letter.empty()) break;
        const int branch = letter.size() == 1 ? EvalCaptionCondition(letter[0]) : 0;
        while (*p && *p != '?') p += SjisCharSizeZ(p);
        if (*p == '?') ++p;
        p = SkipCaptionBranch(p, branch);
        break;
      }
      case ':':  // the end of the branch being copied
        p = SkipCaptionBranch(p, kRestOfCondition);
        break;
      case '}':
        break;
      default:
        out.Put("$");
        out.Put(code);
        break;
    }
  }
}

void CEditDoc::UpdateCaption(bool inactive) {
  const IDocPane* pane = ActivePane();
  if (!FrameWindow() || !pane || !pane->Window() || !m_pShareData) return;
  const CommonSettings& common = m_pShareData->Common;
  // The templates live in the shared record, written by other processes: read within the field.
  const auto expand = [this](const char(&field)[256], char* out) {
    char format[sizeof field + 1];
    std::memcpy(format, field, sizeof field);
    format[sizeof field] = '\0';
    ExpandCaptionFormat(format, out, kCaptionSize);
  };
  char caption[kCaptionSize];
  expand(inactive ? common.szWinCaptionInactive : common.szWinCaptionActive, caption);
  m_ports.frame->SetCaption(caption);
  expand(common.szTabWndCaption, caption);
  m_ports.frame->SetWindowListEntry(caption, m_szFilePath, m_bGrepWindow);
}
