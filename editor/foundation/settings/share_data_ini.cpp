// The settings file: one routine per section, each reading its keys into the record or writing them
// from it, so every key list is written once. The file is outside input: every count read from it
// is a loop bound cut to its array, every value later code indexes with or divides by is brought
// into its range, and texts are cut on a whole character.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/fixed_text.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/sjis_char.h"
#include "platform/path.h"
#include "platform/sjis.h"
#include "platform/sjis_literal.h"
#include "sdk/framework/ini_profile.h"

namespace {

constexpr const char* kIniComment = " tovara.ini テキストエディタ設定ファイル"_sj;

// A key or section name made from a number or two, on the stack: a settings file has thousands,
// and a name is put together for every key read or written. The format holds one "%d", "%02d" or
// "%03d" for each number and gives what snprintf would (no other conversion is understood: its "%"
// is copied and the number dropped); the literal runs are copied whole. Names can be made when the
// program is compiled (see NameTable).
class Name {
 public:
  constexpr Name(std::string_view format, int a) { Put(format, {a}); }
  constexpr Name(std::string_view format, int a, int b) { Put(format, {a, b}); }
  // The parts one after the other.
  constexpr explicit Name(std::initializer_list<std::string_view> parts) {
    for (const std::string_view part : parts) Copy(part.substr(0, kLiteralRoom - m_length));
  }
  constexpr operator std::string_view() const { return {m_text, m_length}; }

 private:
  // Literal text, and room for the longest number with its sign, twice.
  static constexpr size_t kLiteralRoom = 64;
  static constexpr size_t kNumberRoom = 11;

  constexpr void Put(std::string_view format, std::initializer_list<int> numbers) {
    format = format.substr(0, kLiteralRoom);
    for (const int n : numbers) {
      const size_t percent = format.find('%');
      if (percent == std::string_view::npos) break;
      Copy(format.substr(0, percent));
      format.remove_prefix(percent + 1);
      size_t width = 0;
      if (format.size() >= 2 && format[0] == '0' && format[1] >= '1' && format[1] <= '9') {
        width = static_cast<size_t>(format[1] - '0');
        format.remove_prefix(2);
      }
      if (format.empty() || format[0] != 'd') {
        Copy("%");
        continue;
      }
      format.remove_prefix(1);
      PutNumber(n, width);
    }
    Copy(format);
  }
  constexpr void PutNumber(int n, size_t width) {
    char digits[10] = {};
    size_t count = 0;
    unsigned magnitude = n < 0 ? 0u - static_cast<unsigned>(n) : static_cast<unsigned>(n);
    do {
      digits[sizeof digits - ++count] = static_cast<char>('0' + magnitude % 10);
      magnitude /= 10;
    } while (magnitude != 0);
    if (n < 0) Copy("-");
    const size_t shown = count + (n < 0 ? 1 : 0);
    if (shown < width) Copy(std::string_view("000000000").substr(0, width - shown));
    Copy({digits + sizeof digits - count, count});
  }
  constexpr void Copy(std::string_view bytes) {
    std::copy(bytes.begin(), bytes.end(), m_text + m_length);
    m_length += bytes.size();
  }
  char m_text[kLiteralRoom + 2 * kNumberRoom] = {};
  size_t m_length = 0;
};

Name Format(const char* format, int a) { return Name(format, a); }
Name Format(const char* format, int a, int b) { return Name(format, a, b); }

// The names of a numbered family, "RxKey[000]" to "RxKey[099]", made when the program is compiled:
// every type's section asks for all of them whenever settings are read or written.
template <size_t Count>
class NameTable {
 public:
  // Format's names of first to first + Count - 1.
  consteval NameTable(std::string_view format, int first) : NameTable(format, first, std::make_index_sequence<Count>()) {}
  // The names "prefix" + name + "suffix".
  consteval NameTable(std::string_view prefix, const char* const (&names)[Count], std::string_view suffix)
      : NameTable(prefix, names, suffix, std::make_index_sequence<Count>()) {}
  std::string_view operator[](size_t i) const { return m_names[i]; }

 private:
  template <size_t... I>
  consteval NameTable(std::string_view format, int first, std::index_sequence<I...>)
      : m_names{Name(format, first + static_cast<int>(I))...} {}
  template <size_t... I>
  consteval NameTable(std::string_view prefix, const char* const (&names)[Count], std::string_view suffix,
                      std::index_sequence<I...>)
      : m_names{Name({prefix, names[I], suffix})...} {}
  Name m_names[Count];
};

constexpr NameTable<kRegexKeywordCount> kRegexKeywordKeys("RxKey[%03d]", 0);
constexpr NameTable<8> kKeywordSelectKeys("nKeywordSelect%d", 3);  // sets 3 to 10
constexpr NameTable<10> kVertLineKeys("nVertLineIdx%d", 1);
constexpr NameTable<kColorItemCount> kColorKeys("C[", kColorItemKeys, "]");

int Clamp(int v, int lo, int hi) { return v < lo ? lo : (v > hi ? hi : v); }

class Io {
 public:
  Io(CIniProfile& profile, bool load) : m_profile(profile), m_load(load) {}
  bool Load() const { return m_load; }

  bool Int(std::string_view section, std::string_view key, int32_t& v) {
    return m_profile.IOProfileData(section, key, &v);
  }
  bool Word(std::string_view section, std::string_view key, uint16_t& v) {
    return m_profile.IOProfileWord(section, key, &v);
  }
  bool Flag(std::string_view section, std::string_view key, uint8_t& v) {
    return m_profile.IOProfileBool(section, key, &v);
  }
  bool Char(std::string_view section, std::string_view key, char& v) {
    return m_profile.IOProfileChar(section, key, &v);
  }
  // A text field of size bytes; a value too long is cut on a whole character.
  bool Text(std::string_view section, std::string_view key, char* field, size_t size) {
    if (!m_load) {
      return m_profile.SetEntry(section, key, std::string_view(field, strnlen(field, size - 1)));
    }
    const std::optional<std::string_view> found = m_profile.FindEntry(section, key);
    if (!found) return false;
    const std::string_view value = *found;
    const int len = static_cast<int>(strnlen(value.data(), value.size()));
    const int n = WholeCharsPrefixLength(value.data(), len, static_cast<int>(size) - 1);
    std::memcpy(field, value.data(), n);
    field[n] = '\0';
    return true;
  }
  template <size_t N>
  bool Text(std::string_view section, std::string_view key, char (&field)[N]) {
    return Text(section, key, field, N);
  }
  // Numbers separated by ","; reading stops at the value's end, leaving the rest unchanged.
  template <typename Store, typename Fetch>
  bool List(std::string_view section, std::string_view key, int count, Store store, Fetch fetch) {
    if (!m_load) {
      std::string value;
      for (int i = 0; i < count; ++i) {
        if (i) value += ',';
        value += std::to_string(fetch(i));
      }
      return m_profile.SetEntry(section, key, value);
    }
    const std::optional<std::string_view> found = m_profile.FindEntry(section, key);
    if (!found) return false;
    const char* p = found->data();  // followed by a zero byte
    for (int i = 0; i < count && *p; ++i) {
      store(i, std::atoi(p));
      const char* comma = std::strchr(p, ',');
      if (!comma) break;
      p = comma + 1;
    }
    return true;
  }
  CIniProfile& Profile() { return m_profile; }
  bool Entry(std::string_view section, std::string_view key, std::string& value) {
    if (m_load) return m_profile.GetEntry(section, key, value);
    return m_profile.SetEntry(section, key, value);
  }

 private:
  CIniProfile& m_profile;
  bool m_load;
};

// A count read from the file becomes a loop bound within the array.
void IoCount(Io& io, std::string_view section, std::string_view key, int32_t& count, int capacity) {
  count = Clamp(count, 0, capacity);
  io.Int(section, key, count);
  count = Clamp(count, 0, capacity);
}

template <size_t Slots, size_t Size>
void IoTextList(Io& io, const char* section, const char* countKey, const char* itemKey, int32_t& count,
                char (&items)[Slots][Size]) {
  IoCount(io, section, countKey, count, static_cast<int>(Slots));
  for (int i = 0; i < count; ++i) io.Text(section, Format(itemKey, i), items[i]);
  if (io.Load())
    for (size_t i = count; i < Slots; ++i) std::memset(items[i], 0, Size);
}

void IoLogFont(Io& io, std::string_view section, std::string_view key, LOGFONT& f) {
  io.List(
      section, key, 13,
      [&](int i, int v) {
        switch (i) {
          case 0:
            f.lfHeight = v;
            break;
          case 1:
            f.lfWidth = v;
            break;
          case 2:
            f.lfEscapement = v;
            break;
          case 3:
            f.lfOrientation = v;
            break;
          case 4:
            f.lfWeight = v;
            break;
          case 5:
            f.lfItalic = static_cast<BYTE>(v);
            break;
          case 6:
            f.lfUnderline = static_cast<BYTE>(v);
            break;
          case 7:
            f.lfStrikeOut = static_cast<BYTE>(v);
            break;
          case 8:
            f.lfCharSet = static_cast<BYTE>(v);
            break;
          case 9:
            f.lfOutPrecision = static_cast<BYTE>(v);
            break;
          case 10:
            f.lfClipPrecision = static_cast<BYTE>(v);
            break;
          case 11:
            f.lfQuality = static_cast<BYTE>(v);
            break;
          default:
            f.lfPitchAndFamily = static_cast<BYTE>(v);
            break;
        }
      },
      [&](int i) -> int {
        const int values[13] = {f.lfHeight,        f.lfWidth,     f.lfEscapement,    f.lfOrientation, f.lfWeight,
                                f.lfItalic,        f.lfUnderline, f.lfStrikeOut,     f.lfCharSet,     f.lfOutPrecision,
                                f.lfClipPrecision, f.lfQuality,   f.lfPitchAndFamily};
        return values[i];
      });
}

// Gives a folder its final "/" unless it is empty or already ends with one (a double-byte
// character whose trail byte is "/" does not count; none exists, but the walk is the same).
template <size_t N>
void AddFinalSlash(char (&folder)[N]) {
  const int len = static_cast<int>(strnlen(folder, N - 1));
  if (len == 0) return;
  int last = 0;
  for (int i = 0; i < len;) {
    last = i;
    i += SjisCharSize(reinterpret_cast<const unsigned char*>(folder), len, i);
  }
  if (len - last == 1 && folder[last] == '/') return;
  if (len + 1 < static_cast<int>(N)) {
    folder[len] = '/';
    folder[len + 1] = '\0';
  }
}

void IoMRU(Io& io, SharedSettings& s) {
  const char* sec = "MRU";
  IoCount(io, sec, "_MRU_Counts", s.nRecentFileCount, kRecentFileSlots);
  for (int i = 0; i < s.nRecentFileCount; ++i) {
    RecentFileRecord& r = s.RecentFiles[i];
    io.Int(sec, Format("MRU[%02d].nViewTopLine", i), r.nViewTopLine);
    io.Int(sec, Format("MRU[%02d].nViewLeftCol", i), r.nViewLeftCol);
    io.Int(sec, Format("MRU[%02d].nX", i), r.nX);
    io.Int(sec, Format("MRU[%02d].nY", i), r.nY);
    io.Int(sec, Format("MRU[%02d].nCharCode", i), r.nCharCode);
    io.Text(sec, Format("MRU[%02d].szPath", i), r.szPath);
    io.Text(sec, Format("MRU[%02d].szMark", i), r.szMark);
    io.Flag(sec, Format("MRU[%02d].bFavorite", i), s.bRecentFileFavorite[i]);
  }
  if (io.Load())
    for (int i = s.nRecentFileCount; i < kRecentFileSlots; ++i) {
      s.RecentFiles[i] = kEmptyRecentFileRecord;
      s.bRecentFileFavorite[i] = 0;
    }
  IoCount(io, sec, "_MRUFOLDER_Counts", s.nRecentFolderCount, kRecentFolderSlots);
  for (int i = 0; i < s.nRecentFolderCount; ++i) {
    io.Text(sec, Format("MRUFOLDER[%02d]", i), s.szRecentFolders[i]);
    io.Flag(sec, Format("MRUFOLDER[%02d].bFavorite", i), s.bRecentFolderFavorite[i]);
  }
  if (io.Load())
    for (int i = s.nRecentFolderCount; i < kRecentFolderSlots; ++i) {
      std::memset(s.szRecentFolders[i], 0, kMaxPath);
      s.bRecentFolderFavorite[i] = 0;
    }
}

void IoKeysAndGrep(Io& io, SharedSettings& s) {
  IoTextList(io, "Keys", "_SEARCHKEY_Counts", "SEARCHKEY[%02d]", s.nSearchKeyCount, s.szSearchKeys);
  IoTextList(io, "Keys", "_REPLACEKEY_Counts", "REPLACEKEY[%02d]", s.nReplaceKeyCount, s.szReplaceKeys);
  IoTextList(io, "Grep", "_GREPFILE_Counts", "GREPFILE[%02d]", s.nGrepFileCount, s.szGrepFiles);
  IoTextList(io, "Grep", "_GREPFOLDER_Counts", "GREPFOLDER[%02d]", s.nGrepFolderCount, s.szGrepFolders);
  io.Text("Folders", "szMACROFOLDER", s.szMACROFOLDER);
  io.Text("Folders", "szIMPORTFOLDER", s.szIMPORTFOLDER);
  IoTextList(io, "Cmd", "nCmdArrNum", "szCmdArr[%02d]", s.nCmdArrNum, s.szCmdArr);
}

void IoNickname(Io& io, SharedSettings& s) {
  const char* sec = "Nickname";
  IoCount(io, sec, "ArrNum", s.nNicknameCount, kNicknameSlots);
  for (int i = 0; i < s.nNicknameCount; ++i) {
    io.Text(sec, Format("From%02d", i), s.szNicknameFrom[i]);
    io.Text(sec, Format("To%02d", i), s.szNicknameTo[i]);
  }
  if (io.Load())
    for (int i = s.nNicknameCount; i < kNicknameSlots; ++i) {
      std::memset(s.szNicknameFrom[i], 0, kMaxPath);
      std::memset(s.szNicknameTo[i], 0, kMaxPath);
    }
}

void IoCommon(Io& io, CommonSettings& c) {
  const std::string_view sec = "Common";
  auto I = [&](const char* key, int32_t& v) { io.Int(sec, key, v); };
  auto T = [&](const char* key, auto& field) { io.Text(sec, key, field); };
  I("nCaretType", c.nCaretType);
  I("bIsFreeCursorMode", c.bIsFreeCursorMode);
  I("bStopsBothEndsWhenSearchWord", c.bStopsBothEndsWhenSearchWord);
  I("bStopsBothEndsWhenSearchParagraph", c.bStopsBothEndsWhenSearchParagraph);
  I("m_bRestoreCurPosition", c.m_bRestoreCurPosition);
  I("m_bRestoreBookmarks", c.m_bRestoreBookmarks);
  I("bAddCRLFWhenCopy", c.bAddCRLFWhenCopy);
  I("nRepeatedScrollLineNum", c.nRepeatedScrollLineNum);
  I("nRepeatedScroll_Smooth", c.nRepeatedScroll_Smooth);
  I("bExitConfirm", c.bExitConfirm);
  I("bSearchRegularExp", c.bSearchRegularExp);
  I("bSearchLoHiCase", c.bSearchLoHiCase);
  I("bSearchWordOnly", c.bSearchWordOnly);
  I("bSearchNOTIFYNOTFOUND", c.bSearchNOTIFYNOTFOUND);
  I("bSearchAll", c.bSearchAll);
  I("bSearchSelectedArea", c.bSearchSelectedArea);
  I("bGrepSubFolder", c.bGrepSubFolder);
  I("bGrepOutputLine", c.bGrepOutputLine);
  I("nGrepOutputStyle", c.nGrepOutputStyle);
  I("bGrepDefaultFolder", c.bGrepDefaultFolder);
  I("nGrepCharSet", c.nGrepCharSet);
  I("bGrepRealTime", c.bGrepRealTime);
  I("bGTJW_RETURN", c.bGTJW_RETURN);
  I("bGTJW_LDBLCLK", c.bGTJW_LDBLCLK);
  I("bBackUp", c.bBackUp);
  I("bBackUpDialog", c.bBackUpDialog);
  I("bBackUpFolder", c.bBackUpFolder);
  if (!io.Load()) AddFinalSlash(c.szBackUpFolder);
  T("szBackUpFolder", c.szBackUpFolder);
  if (io.Load()) AddFinalSlash(c.szBackUpFolder);
  I("nBackUpType", c.nBackUpType);
  I("bBackUpType2_Opt1", c.bBackUpType2_Opt1);
  I("bBackUpType2_Opt2", c.bBackUpType2_Opt2);
  I("bBackUpType2_Opt3", c.bBackUpType2_Opt3);
  I("bBackUpType2_Opt4", c.bBackUpType2_Opt4);
  I("bBackUpDustBox", c.bBackUpDustBox);
  I("bBackUpPathAdvanced", c.bBackUpPathAdvanced);
  T("szBackUpPathAdvanced", c.szBackUpPathAdvanced);
  I("nFileShareMode", c.nFileShareMode);
  T("szExtHelp", c.szExtHelp);
  T("szExtHtmlHelp", c.szExtHtmlHelp);
  T("szMigemoDll", c.szMigemoDll);
  T("szMigemoDict", c.szMigemoDict);
  IoLogFont(io, sec, "khlf", c.khlf);
  T("khlfFaceName", c.khlf.lfFaceName);
  I("nMRUArrNum_MAX", c.nMRUArrNum_MAX);
  I("nOPENFOLDERArrNum_MAX", c.nOPENFOLDERArrNum_MAX);
  if (io.Load()) {
    c.nMRUArrNum_MAX = Clamp(c.nMRUArrNum_MAX, 0, kRecentFileSlots);
    c.nOPENFOLDERArrNum_MAX = Clamp(c.nOPENFOLDERArrNum_MAX, 0, kRecentFolderSlots);
  }
  I("bDispTOOLBAR", c.bDispTOOLBAR);
  I("bDispSTATUSBAR", c.bDispSTATUSBAR);
  I("bDispFUNCKEYWND", c.bDispFUNCKEYWND);
  I("nFUNCKEYWND_Place", c.nFUNCKEYWND_Place);
  I("nFUNCKEYWND_GroupNum", c.nFUNCKEYWND_GroupNum);
  I("bDispTabWnd", c.bDispTabWnd);
  I("bDispTabWndMultiWin", c.bDispTabWndMultiWin);
  T("szTabWndCaption", c.szTabWndCaption);
  I("bSameTabWidth", c.bSameTabWidth);
  I("bDispTabIcon", c.bDispTabIcon);
  I("bSortTabList", c.bSortTabList);
  I("bSplitterWndHScroll", c.bSplitterWndHScroll);
  I("bSplitterWndVScroll", c.bSplitterWndVScroll);
  T("szMidashiKigou", c.szMidashiKigou);
  T("szInyouKigou", c.szInyouKigou);
  I("bUseHokan", c.bUseHokan);
  I("bSaveWindowSize", c.bSaveWindowSize);
  I("nWinSizeType", c.nWinSizeType);
  I("nWinSizeCX", c.nWinSizeCX);
  I("nWinSizeCY", c.nWinSizeCY);
  I("nSaveWindowPos", c.nSaveWindowPos);
  I("nWinPosX", c.nWinPosX);
  I("nWinPosY", c.nWinPosY);
  I("bTaskTrayUse", c.bTaskTrayUse);
  I("bTaskTrayStay", c.bTaskTrayStay);
  io.Word(sec, "wTrayMenuHotKeyCode", c.wTrayMenuHotKeyCode);
  io.Word(sec, "wTrayMenuHotKeyMods", c.wTrayMenuHotKeyMods);
  I("bUseOLE_DragDrop", c.bUseOLE_DragDrop);
  I("bUseOLE_DropSource", c.bUseOLE_DropSource);
  I("bDispExitingDialog", c.bDispExitingDialog);
  I("bEnableUnmodifiedOverwrite", c.bEnableUnmodifiedOverwrite);
  I("bSelectClickedURL", c.bSelectClickedURL);
  I("bGrepExitConfirm", c.bGrepExitConfirm);
  I("nRulerHeight", c.nRulerHeight);
  I("nRulerBottomSpace", c.nRulerBottomSpace);
  I("nRulerType", c.nRulerType);
  I("nLineNumberRightSpace", c.nLineNumberRightSpace);
  I("nVertLineOffset", c.nVertLineOffset);
  I("bCopyAndDisablSelection", c.bCopyAndDisablSelection);
  I("bHtmlHelpIsSingle", c.bHtmlHelpIsSingle);
  I("bCompareAndTileHorz", c.bCompareAndTileHorz);
  I("bDropFileAndClose", c.bDropFileAndClose);
  I("nDropFileNumMax", c.nDropFileNumMax);
  I("bCheckFileTimeStamp", c.bCheckFileTimeStamp);
  I("bNotOverWriteCRLF", c.bNotOverWriteCRLF);
  I("bAutoCloseDlgFind", c.bAutoCloseDlgFind);
  I("bAutoCloseDlgFuncList", c.bAutoCloseDlgFuncList);
  I("bAutoCloseDlgReplace", c.bAutoCloseDlgReplace);
  I("bAutoColmnPaste", c.bAutoColmnPaste);
  I("bScrollBarHorz", c.bScrollBarHorz);
  I("bHokanKey_RETURN", c.bHokanKey_RETURN);
  I("bHokanKey_TAB", c.bHokanKey_TAB);
  I("bHokanKey_RIGHT", c.bHokanKey_RIGHT);
  I("bHokanKey_SPACE", c.bHokanKey_SPACE);
  I("nDateFormatType", c.nDateFormatType);
  T("szDateFormat", c.szDateFormat);
  I("nTimeFormatType", c.nTimeFormatType);
  T("szTimeFormat", c.szTimeFormat);
  I("bMenuIcon", c.bMenuIcon);
  I("bAutoMIMEdecode", c.bAutoMIMEdecode);
  I("bQueryIfCodeChange", c.bQueryIfCodeChange);
  I("bAlertIfFileNotExist", c.bAlertIfFileNotExist);
  RECT& rc = c.rcOpenDialog;
  io.List(
      sec, "rcOpenDialog", 4,
      [&](int i, int v) {
        (i == 0 ? rc.left : i == 1 ? rc.top : i == 2 ? rc.right : rc.bottom) = v;
      },
      [&](int i) -> int {
        return i == 0 ? rc.left : i == 1 ? rc.top : i == 2 ? rc.right : rc.bottom;
      });
  I("bMarkUpBlankLineEnable", c.bMarkUpBlankLineEnable);
  I("bFunclistSetFocusOnJump", c.bFunclistSetFocusOnJump);
  T("szWinCaptionActive", c.szWinCaptionActive);
  T("szWinCaptionInactive", c.szWinCaptionInactive);
  I("bRememberOutlineWindowPos", c.bRememberOutlineWindowPos);
  if (c.bRememberOutlineWindowPos) {
    I("widthOutlineWindow", c.widthOutlineWindow);
    I("heightOutlineWindow", c.heightOutlineWindow);
    I("xOutlineWindowPos", c.xOutlineWindowPos);
    I("yOutlineWindowPos", c.yOutlineWindowPos);
  }
  if (io.Load()) {
    // Values later code divides by or counts with, to the ranges the settings pages allow.
    c.nRepeatedScrollLineNum = Clamp(c.nRepeatedScrollLineNum, 1, 10);
    c.nRulerHeight = Clamp(c.nRulerHeight, 2, 32);
    // The function-key bar takes any other group size for 4.
    if (c.nFUNCKEYWND_GroupNum < 1 || c.nFUNCKEYWND_GroupNum > 12) c.nFUNCKEYWND_GroupNum = 4;
  }
}

void IoToolbarAndMenus(Io& io, CommonSettings& c) {
  IoCount(io, "Toolbar", "nToolBarButtonNum", c.nToolBarButtonNum, kToolBarButtonSlots);
  io.Int("Toolbar", "bToolBarIsFlat", c.bToolBarIsFlat);
  for (int i = 0; i < c.nToolBarButtonNum; ++i) {
    io.Int("Toolbar", Format("nTBB[%03d]", i), c.nTBB[i]);
    // A button is an index into the icon catalogue.
    if (io.Load()) c.nTBB[i] = Clamp(c.nTBB[i], 0, kToolBarButtonSlots);
  }
  if (io.Load())
    for (int i = c.nToolBarButtonNum; i < kToolBarButtonSlots; ++i) c.nTBB[i] = 0;

  for (int i = 0; i < kCustomMenuCount; ++i) {
    io.Text("CustMenu", Format("szCMN[%02d]", i), c.szCMN[i]);
    IoCount(io, "CustMenu", Format("nCMIN[%02d]", i), c.nCMIN[i], kCustomMenuItems);
    for (int j = 0; j < c.nCMIN[i]; ++j) {
      io.Int("CustMenu", Format("nCMIF[%02d][%02d]", i, j), c.nCMIF[i][j]);
      io.Char("CustMenu", Format("nCMIK[%02d][%02d]", i, j), c.nCMIK[i][j]);
    }
  }

  IoLogFont(io, "Font", "lf", c.lf);
  io.Text("Font", "lfFaceName", c.lf.lfFaceName);
  io.Int("Font", "bFontIs_FIXED_PITCH", c.bFontIs_FIXED_PITCH);
}

void IoKeyBind(Io& io, SharedSettings& s) {
  s.nKeyAssignCount = Clamp(s.nKeyAssignCount, 0, kKeyAssignSlots);
  for (int i = 0; i < s.nKeyAssignCount; ++i) {
    KeyAssignRecord& r = s.KeyAssigns[i];
    const std::string name(r.szKeyName, strnlen(r.szKeyName, sizeof r.szKeyName));
    io.List(
        "KeyBind", name, 8, [&](int m, int v) { r.nCommands[m] = v; }, [&](int m) -> int { return r.nCommands[m]; });
  }
}

void IoPrint(Io& io, SharedSettings& s) {
  const char* sec = "Print";
  for (int i = 0; i < kPrintSettingSlots; ++i) {
    PrintSettings& p = s.PrintSettingList[i];
    int32_t* ints[19] = {&p.nFontWidth,    &p.nFontHeight,   &p.nColumns,      &p.nColumnGap,    &p.nLineSpacing,
                         &p.nMarginTop,    &p.nMarginBottom, &p.nMarginLeft,   &p.nMarginRight,  &p.nOrientation,
                         &p.nPaperSize,    &p.bWrapWords,    &p.bLineNumbers,  &p.nHeaderOpt[0], &p.nHeaderOpt[1],
                         &p.nHeaderOpt[2], &p.nFooterOpt[0], &p.nFooterOpt[1], &p.nFooterOpt[2]};
    io.List(
        sec, Format("PS[%02d].nInts", i), 19, [&](int k, int v) { *ints[k] = v; },
        [&](int k) -> int { return *ints[k]; });
    io.Text(sec, Format("PS[%02d].szSName", i), p.szSName);
    io.Text(sec, Format("PS[%02d].szFF", i), p.szFF);
    io.Text(sec, Format("PS[%02d].szFFZ", i), p.szFFZ);
    for (int part = 0; part < 3; ++part) {
      io.Text(sec, Format("PS[%02d].szHF[%d]", i, part), p.szHF[part]);
      io.Text(sec, Format("PS[%02d].szFTF[%d]", i, part), p.szFTF[part]);
    }
    io.Text(sec, Format("PS[%02d].szDriver", i), p.DeviceBlock.szDriverName);
    io.Text(sec, Format("PS[%02d].szDevice", i), p.DeviceBlock.szDeviceName);
    io.Text(sec, Format("PS[%02d].szOutput", i), p.DeviceBlock.szOutputPort);
    // Templates of the older notation.
    if (std::strcmp(p.szHF[0], "&f") == 0 && std::strcmp(p.szFTF[0], "&C- &P -") == 0) {
      std::strcpy(p.szHF[0], "$f");
      p.szFTF[0][0] = '\0';
      std::strcpy(p.szFTF[1], "- $p -");
    }
    io.Int(sec, Format("PS[%02d].bKinsokuHead", i), p.bKinsokuHead);
    io.Int(sec, Format("PS[%02d].bKinsokuTail", i), p.bKinsokuTail);
    io.Int(sec, Format("PS[%02d].bKinsokuRet", i), p.bKinsokuRet);
    io.Int(sec, Format("PS[%02d].bKinsokuKuto", i), p.bKinsokuKuto);
    if (io.Load()) {
      // The page layout divides by the cell size, the columns and the line height: the ranges of
      // the print settings dialog (sizes and gaps in 0.1 mm; the height is twice the width there).
      p.nFontWidth = Clamp(p.nFontWidth, 7, 100);
      p.nFontHeight = Clamp(p.nFontHeight, 14, 200);
      p.nColumns = Clamp(p.nColumns, 1, 4);
      p.nColumnGap = Clamp(p.nColumnGap, 0, 300);
      p.nLineSpacing = Clamp(p.nLineSpacing, 0, 150);
      for (int32_t* margin : {&p.nMarginTop, &p.nMarginBottom, &p.nMarginLeft, &p.nMarginRight})
        *margin = Clamp(*margin, 0, 500);
    }
  }
}

int ColorCodeOfKey(const char* key) {
  const int k = FindColorItemIndex(key);
  return k >= 0 ? k : std::atoi(key);
}

void IoType(Io& io, SharedSettings& s, int index) {
  TypeSettings& t = s.TypeList[index];
  const Name sec = Format("Types(%d)", index);
  int32_t* ints[11] = {&t.nIndex,           &t.nWrapColumn,         &t.nCharSpacing,
                       &t.nTabWidth,        &t.nKeywordSelect[0],   &t.nKeywordSelect[1],
                       &t.nQuoteEscape,     &t.bCountDocumentLines, &t.nLineNumberSeparator,
                       &t.bEnglishWordWrap, &t.nPrintSetting};
  io.List(
      sec, "nInts", 11, [&](int k, int v) { *ints[k] = v; }, [&](int k) -> int { return *ints[k]; });
  for (int k = 3; k <= 10; ++k) io.Int(sec, kKeywordSelectKeys[k - 3], t.nKeywordSelect[k - 1]);
  if (!io.Load()) t.nLineSpace = Clamp(t.nLineSpace, 0, 128);
  io.Int(sec, "nLineSpace", t.nLineSpace);
  if (io.Load()) t.nLineSpace = Clamp(t.nLineSpace, 0, 16);
  io.Text(sec, "szTypeName", t.szTypeName);
  io.Text(sec, "szTypeExts", t.szTypeExts);
  io.Text(sec, "szTabViewString", t.szTabViewString);
  io.Int(sec, "bTabArrow", t.bTabArrow);
  io.Int(sec, "bInsSpace", t.bInsSpace);

  // Comment delimiters: a delimiter is taken only with both of its keys.
  const char* fromKeys[2] = {"szBlockCommentFrom", "szBlockCommentFrom2"};
  const char* toKeys[2] = {"szBlockCommentTo", "szBlockCommentTo2"};
  const char* lineKeys[3] = {"szLineComment", "szLineComment2", "szLineComment3"};
  const char* columnKeys[3] = {"nLineCommentColumn", "nLineCommentColumn2", "nLineCommentColumn3"};
  for (int k = 0; k < CCommentDelimiters::kPairs; ++k) {
    char from[CCommentDelimiters::kTextSize] = {};
    char to[CCommentDelimiters::kTextSize] = {};
    if (!io.Load()) {
      std::strcpy(from, t.BlockComments.GetStart(k));
      std::strcpy(to, t.BlockComments.GetEnd(k));
    }
    const bool a = io.Text(sec, fromKeys[k], from);
    const bool b = io.Text(sec, toKeys[k], to);
    if (io.Load() && a && b) t.BlockComments.SetPair(k, from, to);
  }
  for (int k = 0; k < CLineCommentSet::kCount; ++k) {
    char text[CLineCommentSet::kTextSize] = {};
    int32_t column = -1;
    if (!io.Load()) {
      std::strcpy(text, t.LineComments.GetText(k));
      column = t.LineComments.GetColumn(k);
    }
    const bool a = io.Text(sec, lineKeys[k], text);
    const bool b = io.Int(sec, columnKeys[k], column);
    if (io.Load() && a && b) t.LineComments.Set(k, text, column);
  }

  io.Text(sec, "szIndentChars", t.szIndentChars);
  io.Char(sec, "cLineTermChar", t.cLineTermChar);
  io.Int(sec, "nDefaultOutline", t.nDefaultOutline);
  io.Text(sec, "szOutlineRuleFilename", t.szOutlineRuleFilename);
  io.Int(sec, "nSmartIndent", t.nSmartIndent);
  io.Int(sec, "nImeState", t.nImeState);
  io.Text(sec, "szHokanFile", t.szHokanFile);
  io.Int(sec, "bUseKeyWordHelp", t.bUseKeyWordHelp);
  io.Text(sec, "szKeyWordHelpFile", t.szKeyWordHelpFile);
  io.Int(sec, "bHokanLoHiCase", t.bHokanLoHiCase);
  io.Int(sec, "bUseHokanByFile", t.bUseHokanByFile);
  io.Text(sec, "szExtHelp", t.szExtHelp);
  io.Text(sec, "szExtHtmlHelp", t.szExtHtmlHelp);
  io.Int(sec, "bHtmlHelpIsSingle", t.bHtmlHelpIsSingle);
  io.Int(sec, "bAutoIndent", t.bAutoIndent);
  io.Int(sec, "bAutoIndent_ZENSPACE", t.bAutoIndent_ZENSPACE);
  io.Int(sec, "bRTrimPrevLine", t.bRTrimPrevLine);
  io.Int(sec, "nIndentLayout", t.nIndentLayout);

  IOColorItems(io.Profile(), sec, t.Colors);

  for (int k = 1; k <= 10; ++k) {
    io.Int(sec, kVertLineKeys[k - 1], t.nVertLineIdx[k - 1]);
    if (t.nVertLineIdx[k - 1] == 0) break;
  }

  io.Int(sec, "bUseRegexKeyword", t.bUseRegexKeyword);
  for (int j = 0; j < kRegexKeywordCount; ++j) {
    RegexKeywordRecord& r = t.RegexKeywords[j];
    const std::string_view key = kRegexKeywordKeys[j];
    if (!io.Load()) {
      const size_t len = strnlen(r.szPattern, sizeof r.szPattern - 1);
      if (len == 0) continue;
      const int code = Clamp(r.nColorCode, 0, kColorItemCount - 1);
      std::string value = std::string(kColorItemKeys[code]) + "," + std::string(r.szPattern, len);
      io.Entry(sec, key, value);
      continue;
    }
    std::memset(r.szPattern, 0, sizeof r.szPattern);
    r.nColorCode = 29;
    std::string value;
    if (!io.Entry(sec, key, value)) continue;
    const size_t comma = value.find(',');
    if (comma == std::string::npos) continue;
    const std::string colorKey = value.substr(0, comma);
    int code = ColorCodeOfKey(colorKey.c_str());
    if (code < 0 || code >= kColorItemCount) code = 29;
    r.nColorCode = code;
    const std::string pattern = value.substr(comma + 1);
    const int plen = static_cast<int>(strnlen(pattern.c_str(), pattern.size()));
    const int n = WholeCharsPrefixLength(pattern.data(), plen, static_cast<int>(sizeof r.szPattern) - 1);
    std::memcpy(r.szPattern, pattern.data(), n);
  }

  io.Int(sec, "bKinsokuHead", t.bKinsokuHead);
  io.Int(sec, "bKinsokuTail", t.bKinsokuTail);
  io.Int(sec, "bKinsokuRet", t.bKinsokuRet);
  io.Int(sec, "bKinsokuKuto", t.bKinsokuKuto);
  io.Text(sec, "szKinsokuHead", t.szKinsokuHead);
  io.Text(sec, "szKinsokuTail", t.szKinsokuTail);
  io.Int(sec, "bUseDocumentIcon", t.bUseDocumentIcon);

  if (io.Load()) {
    // Values later code divides by or indexes with.
    t.nIndex = index;
    t.nWrapColumn = Clamp(t.nWrapColumn, 10, 10240);
    t.nCharSpacing = Clamp(t.nCharSpacing, 0, 64);
    t.nTabWidth = Clamp(t.nTabWidth, 1, 64);
    t.nPrintSetting = Clamp(t.nPrintSetting, 0, kPrintSettingSlots - 1);
    t.nColorCount = kColorItemCount;
  }
}

void IoKeyWords(Io& io, SharedSettings& s) {
  const char* sec = "KeyWords";
  CKeywordSetTable& k = s.KeywordSets;
  if (!io.Load()) {
    int32_t current = k.m_nCurrentSet;
    int32_t n = k.GetSetCount();
    io.Int(sec, "nCurrentKeyWordSetIdx", current);
    io.Int(sec, "nKeyWordSetNum", n);
    for (int i = 0; i < n; ++i) {
      char name[CKeywordSetTable::kNameSize];
      CopyText(name, k.GetSetName(i) ? k.GetSetName(i) : "");
      io.Text(sec, Format("szSN[%02d]", i), name);
      int32_t caseSensitive = k.IsCaseSensitive(i) ? 1 : 0;
      int32_t count = k.GetKeywordCount(i);
      io.Int(sec, Format("nCASE[%02d]", i), caseSensitive);
      io.Int(sec, Format("nKWN[%02d]", i), count);
      std::string words;
      for (int w = 0; w < count; ++w) {
        const char* word = k.GetKeyword(i, w);
        words += word ? word : "";
        words += '\t';
      }
      std::string size = std::to_string(words.size() + 1);
      io.Entry(sec, Format("szKW[%02d].Size", i), size);
      io.Entry(sec, Format("szKW[%02d]", i), words);
    }
    return;
  }
  int32_t current = k.m_nCurrentSet;
  int32_t n = 0;
  io.Int(sec, "nCurrentKeyWordSetIdx", current);
  if (!io.Int(sec, "nKeyWordSetNum", n)) return;
  n = Clamp(n, 0, CKeywordSetTable::kMaxSets);
  k.Reset();
  for (int i = 0; i < n; ++i) {
    char name[CKeywordSetTable::kNameSize] = {};
    int32_t caseSensitive = 0;
    int32_t count = 0;
    io.Text(sec, Format("szSN[%02d]", i), name);
    io.Int(sec, Format("nCASE[%02d]", i), caseSensitive);
    io.Int(sec, Format("nKWN[%02d]", i), count);
    count = Clamp(count, 0, k.GetFreeSpace());
    if (!k.AddSet(name, caseSensitive != 0, count)) break;
    std::string words;
    if (io.Entry(sec, Format("szKW[%02d]", i), words))
      k.SetKeywordsFromTabText(k.GetSetCount() - 1, count, words.c_str());
  }
  k.m_nCurrentSet = k.GetSetCount() > 0 ? Clamp(current, 0, k.GetSetCount() - 1) : 0;
}

void IoMacro(Io& io, SharedSettings& s) {
  const char* sec = "Macro";
  for (int i = 0; i < kMacroSlots; ++i) {
    MacroSlotRecord& m = s.MacroSlots[i];
    if (!io.Load() && m.Name[0] == '\0' && m.File[0] == '\0') continue;
    io.Text(sec, Format("Name[%03d]", i), m.Name, 63);
    io.Text(sec, Format("File[%03d]", i), m.File);
    io.Int(sec, Format("ReloadWhenExecute[%03d]", i), m.ReloadWhenExecute);
  }
}

void IoOther(Io& io, SharedSettings& s) {
  const char* sec = "Other";
  io.Int(sec, "bGetStdout", s.bGetStdout);
  io.Int(sec, "bLineNumIsCRLF", s.bLineNumIsCRLF);
  io.Int(sec, "nDiffFlgOpt", s.nDiffFlgOpt);
  io.Int(sec, "nTagsOpt", s.nTagsOpt);
  io.Text(sec, "szTagsCmdLine", s.szTagsCmdLine);
  IoTextList(io, sec, "_TagJumpKeyword_Counts", "TagJumpKeyword[%02d]", s.nTagJumpKeywordCount, s.szTagJumpKeywords);
  io.Int(sec, "m_bTagJumpICase", s.m_bTagJumpICase);
  io.Int(sec, "m_bTagJumpAnyWhere", s.m_bTagJumpAnyWhere);
  if (!io.Load()) {
    char version[64];
    std::snprintf(version, sizeof version, "%d.%d.%d.%d", (s.nProductVersionHigh >> 16) & 0xFFFF,
                  s.nProductVersionHigh & 0xFFFF, (s.nProductVersionLow >> 16) & 0xFFFF, s.nProductVersionLow & 0xFFFF);
    std::string value = version;
    io.Entry(sec, "szVersion", value);
  }
}

// A colour item as its value is written, "show,bold,text,back,underline" with the colours in
// lower-case hexadecimal of six digits at least: a file has a thousand of them.
class ColorValue {
 public:
  explicit ColorValue(const ColorItem& c) {
    Decimal(c.bShow);
    Decimal(c.bBold);
    Hex(c.colText);
    Hex(c.colBack);
    Decimal(c.bUnderline);
    --m_length;  // no "," after the last
  }
  operator std::string_view() const { return {m_text, m_length}; }

 private:
  // A field's text and its ",": every field fits, with room to spare.
  void Decimal(int32_t v) {
    char digits[12];
    Field({digits, static_cast<size_t>(std::to_chars(std::begin(digits), std::end(digits), v).ptr - digits)}, 0);
  }
  void Hex(uint32_t v) {
    char digits[8];
    Field({digits, static_cast<size_t>(std::to_chars(std::begin(digits), std::end(digits), v, 16).ptr - digits)}, 6);
  }
  // The digits, with zeros before them up to the width.
  void Field(std::string_view digits, size_t width) {
    const size_t zeros = digits.size() < width ? width - digits.size() : 0;
    if (m_length + zeros + digits.size() + 1 > sizeof m_text) return;
    std::memset(m_text + m_length, '0', zeros);
    std::memcpy(m_text + m_length + zeros, digits.data(), digits.size());
    m_length += zeros + digits.size();
    m_text[m_length++] = ',';
  }
  char m_text[5 * 13] = {};
  size_t m_length = 0;
};

// Keyword-set selections name a set of the table or none.
void ClampKeywordSelections(SharedSettings& s) {
  const int sets = s.KeywordSets.GetSetCount();
  for (TypeSettings& t : s.TypeList)
    for (int32_t& k : t.nKeywordSelect)
      if (k < -1 || k >= sets) k = -1;
}

// By the folder's mode bits, as the user's own class sees them (also for root, who could write
// anyway: a folder marked unwritable is meant to stay so).
bool FolderIsWritable(const std::string& folder) {
  std::string host;
  struct stat st {};
  if (!platform::ExactHostPath(folder, host) || ::stat(host.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return false;
  if (st.st_uid == ::getuid()) return (st.st_mode & S_IWUSR) != 0;
  if (st.st_gid == ::getgid()) return (st.st_mode & S_IWGRP) != 0;
  return (st.st_mode & S_IWOTH) != 0;
}

}  // namespace

void IOColorItems(CIniProfile& profile, std::string_view section, ColorItem* colors) {
  const bool load = profile.IsReadMode();
  Io io(profile, load);
  for (int i = 0; i < kColorItemCount; ++i) {
    ColorItem& c = colors[i];
    const std::string_view key = kColorKeys[i];
    if (!load) {
      profile.SetEntry(section, key, ColorValue(c));
      continue;
    }
    const std::optional<std::string_view> found = profile.FindEntry(section, key);
    if (!found) continue;
    const std::string_view value = *found;
    c.bUnderline = 0;
    int32_t show = c.bShow, bold = c.bBold, underline = 0;
    unsigned text = c.colText, back = c.colBack;
    // Fields in order; a value with fewer leaves the rest as they are.
    const char* p = value.data();  // followed by a zero byte
    for (int field = 0; field < 5 && *p; ++field) {
      if (field == 2 || field == 3)
        (field == 2 ? text : back) = static_cast<unsigned>(std::strtoul(p, nullptr, 16));
      else
        (field == 0 ? show : field == 1 ? bold : underline) = std::atoi(p);
      const char* comma = std::strchr(p, ',');
      if (!comma) break;
      p = comma + 1;
    }
    c.bShow = show;
    c.bBold = bold;
    c.bUnderline = underline;
    c.colText = text & 0xFFFFFF;
    c.colBack = back & 0xFFFFFF;
  }
}

std::string CShareData::IniFilePathFor(const std::string& executablePath) {
  std::string folder, file;
  SplitFolderAndFile(executablePath.c_str(), &folder, &file);
  const size_t dot = file.rfind('.');
  const std::string base = dot == std::string::npos || dot == 0 ? file : file.substr(0, dot);
  if (!folder.empty() && FolderIsWritable(folder)) {
    AddTrailingBackslash(folder);
    return folder + base + ".ini";
  }
  std::string config;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    config = xdg;
  else if (const char* home = std::getenv("HOME"); home && *home)
    config = std::string(home) + "/.config";
  else
    return {};
  // The folders are made here so that the first save finds them.
  ::mkdir(config.c_str(), 0700);
  ::mkdir((config + "/tovara").c_str(), 0700);
  return platform::Utf8ToSjis(config) + "/tovara/" + base + ".ini";
}

std::string CShareData::GetIniFilePath() {
  std::string exe;
  if (!platform::ExactModuleFileName(exe)) return {};
  return IniFilePathFor(exe);
}

bool CShareData::LoadFromIni() { return IOSettings(true, GetIniFilePath()); }
bool CShareData::SaveToIni() { return IOSettings(false, GetIniFilePath()); }

bool CShareData::IOSettings(bool load, const std::string& path) {
  if (!m_pShareData || path.empty()) return false;
  SharedSettings& s = *m_pShareData;
  CIniProfile profile(load);
  if (load && !profile.ReadProfile(path.c_str())) return false;
  Io io(profile, load);
  IoMRU(io, s);
  IoKeysAndGrep(io, s);
  IoNickname(io, s);
  IoCommon(io, s.Common);
  IoToolbarAndMenus(io, s.Common);
  IoKeyBind(io, s);
  IoPrint(io, s);
  for (int i = 0; i < kTypeSlots; ++i) IoType(io, s, i);
  IoKeyWords(io, s);
  IoMacro(io, s);
  IoOther(io, s);
  if (load) {
    ClampKeywordSelections(s);
    m_nNicknameCount = -1;
    return true;
  }
  return profile.WriteProfile(path.c_str(), kIniComment);
}
