// The process's access to the shared settings record: the defaults a new record receives, the
// histories, file types, nicknames, help files, dates and times, and the settings file.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/foundation/settings/shared_settings.h"
#include "platform/named_lock.h"
#include "platform/win_types.h"

namespace platform {
class SharedMemory;
}

// Messages between editor windows; their data travel in the record's exchange area.
constexpr UINT MYWM_CLOSE = 0x80C8;
constexpr UINT MYWM_GETFILEINFO = 0x80CB;
constexpr UINT MYWM_SETCARETPOS = 0x80CC;
constexpr UINT MYWM_GETCARETPOS = 0x80CD;
constexpr UINT MYWM_ADDSTRING = 0x80CE;
constexpr UINT MYWM_GETLINEDATA = 0x80D0;
constexpr UINT MYWM_NOTIFYCLOSE = 0x80D1;
constexpr UINT MYWM_HTMLHELP = 0x80D4;
constexpr UINT MYWM_TAB_WINDOW_NOTIFY = 0x80D5;
constexpr UINT MYWM_CHANGESETTING = 0x85F0;

// The window class of an edit window.
constexpr const char* kEditWindowClass = "TextEditorWindow";

// A window that takes part: an id of platform/ipc.
using EditWindowId = uint32_t;

// A window of another process that is still there and is an edit window.
bool IsEditWindow(EditWindowId window);

// The caret request MYWM_SETCARETPOS carries and MYWM_GETCARETPOS answers: two ints (document
// column, line; 0-based) at the start of the exchange area. Written and read under the exchange
// lock together with the send.
void WriteExchangePosition(SharedSettings& record, int32_t column, int32_t line);
void ReadExchangePosition(const SharedSettings& record, int32_t* column, int32_t* line);

// Brings an edit window (of any process) to the front, shown as it stands (a minimised one
// restored). When the process's record holds a valid saved placement and the tabs show every
// window in one (bDispTabWnd on, bDispTabWndMultiWin off), the window takes that placement first,
// so that switching tabs keeps the frame where it was. False when the window is not there.
bool ActivateEditWindow(EditWindowId window);

class CShareData {
 public:
  CShareData();
  ~CShareData();
  CShareData(const CShareData&) = delete;
  CShareData& operator=(const CShareData&) = delete;

  // Attaches the shared record of that name, making it with every default when no process holds
  // it; false when it cannot be had or another version of the editor made it. The object becomes
  // the process's instance.
  bool Init(const char* recordName = "CShareData");
  // Unmaps the record; false when none was mapped.
  bool UnmapView();

  // Works on a record this object does not own (a test's, or one a process mapped elsewhere),
  // whose locks bear the record name. The object becomes the process's instance, as Init makes it.
  void Attach(SharedSettings* settings, const char* recordName = "CShareData");
  static CShareData* GetInstance();
  SharedSettings* GetShareData() const { return m_pShareData; }

  // Writes the version word and every default into a zero-filled record.
  static void InitDefaults(SharedSettings& settings);
  static void SetDefaultKeyAssignments(SharedSettings& settings);
  static void SetKeyAssignment(SharedSettings& settings, int index, int keyCode, const char* keyName,
                               const int (&commands)[8]);
  static void SetDefaultToolbar(SharedSettings& settings);
  static void SetDefaultCustomMenus(SharedSettings& settings);
  static void SetDefaultPrintSettings(SharedSettings& settings);
  static void SetDefaultKeywordSets(SharedSettings& settings);
  static void SetDefaultTypes(SharedSettings& settings);

  // The folder the executable lies in, with a final "/"; empty when it cannot be told.
  static std::string ExecutableFolder();

  // The settings file: "<executable's base name>.ini" beside the executable when the user may
  // write that folder, else in "$XDG_CONFIG_HOME/tovara/" (one place for reading and writing).
  static std::string GetIniFilePath();
  static std::string IniFilePathFor(const std::string& executablePath);
  // False when the file cannot be read; the record is then untouched.
  bool LoadFromIni();
  // False when the file could not be written; the old file then stays whole.
  bool SaveToIni();
  // Both directions through one key list, on the given file.
  bool IOSettings(bool load, const std::string& path);

  // The edit windows, most recently active first. Changes of the list and its counter are made
  // under the record's lock; no lock is held across a message.
  bool RegisterEditWindow(EditWindowId window);
  void UnregisterEditWindow(EditWindowId window);
  int GetEditWindowCount();
  // Copies of the live entries (sorted by window number when asked), their first int replaced by
  // the entry's index in the shared list.
  std::vector<EditWindowEntry> GetEditWindowList(bool sortByNumber);
  bool PostToAllEditWindows(UINT message, WPARAM wParam, LPARAM lParam, EditWindowId last);
  bool SendToAllEditWindows(UINT message, WPARAM wParam, LPARAM lParam, EditWindowId last);
  bool RequestCloseAllEditWindows();
  // The window that has this exact path open; its file information is asked for under the exchange
  // lock, so no other request reads or writes the exchange area meanwhile.
  bool FindEditWindowByPath(const char* path, EditWindowId* window);
  // A window's file information (its answer to MYWM_GETFILEINFO), asked for under the exchange
  // lock; the empty record when the lock cannot be had. The texts are terminated.
  RecentFileRecord AskWindowFileInfo(EditWindowId window);

  // The record's lock, recursive within the process, held briefly around multi-field changes; and
  // the exchange lock around write-send-read, whose wait serves incoming sends.
  class RecordLock {
   public:
    explicit RecordLock(CShareData& share);
    ~RecordLock();
    RecordLock(const RecordLock&) = delete;
    RecordLock& operator=(const RecordLock&) = delete;
  };
  class ExchangeLock {
   public:
    explicit ExchangeLock(CShareData& share);
    ~ExchangeLock();
    bool Held() const { return m_bHeld; }
    ExchangeLock(const ExchangeLock&) = delete;
    ExchangeLock& operator=(const ExchangeLock&) = delete;

   private:
    CShareData& m_share;
    bool m_bHeld = false;
  };

  // The answer to a line request: the line's bytes into the exchange text, at most its 32,000
  // bytes and no terminator; gives the line's full length.
  int SetExchangeLine(const char* line, int length);

  // Sends formatted text (at most 1023 bytes) to the output window; when none is there, starts one
  // through the launcher and waits for it (10 s at most), else writes the text to stderr.
  void DebugPrint(const char* format, ...) __attribute__((format(printf, 2, 3)));
  // The seam through which the tray application starts the output window's process.
  static void SetOutputWindowLauncher(std::function<void()> launch);
  static void SetOutputWindowWait(std::chrono::milliseconds limit);

  // The tag-jump return ring: 100 points, the oldest overwritten when full.
  void PushReturnPoint(const TagJumpReturnPoint& point);
  bool PopReturnPoint(TagJumpReturnPoint* point);

  // Histories: a text goes to the top (an existing one moves there), the oldest falls off.
  bool AddSearchKey(const char* text);
  bool AddReplaceKey(const char* text);
  bool AddGrepFile(const char* text);
  bool AddGrepFolder(const char* text);

  // The type whose extension list (split at blanks, ";" and ",") holds the extension, without
  // regard to case; 0 when none does.
  int GetTypeByExtension(const char* extension);
  int GetTypeByPath(const char* path);

  bool IsExtHelpSet(int type);
  const char* GetExtHelpPath(int type);
  bool IsExtHtmlHelpSet(int type);
  const char* GetExtHtmlHelpPath(int type);
  bool IsHtmlHelpSingle(int type);

  // Dates and times by the common settings' pictures (type 0: the long forms).
  const char* FormatDate(const SYSTEMTIME& time, char* buffer, int size);
  static const char* FormatDateWith(const SYSTEMTIME& time, char* buffer, int size, int type, const char* picture);
  const char* FormatTime(const SYSTEMTIME& time, char* buffer, int size);
  static const char* FormatTimeWith(const SYSTEMTIME& time, char* buffer, int size, int type, const char* picture);

  // The path of a macro slot's file (slot -1: the temporary key macro "RecKey.mac"): its length, 0
  // for a slot without a file, minus the needed length when the buffer is null or too small.
  int GetMacroFilePath(int slot, char* buffer, int size);
  bool IsMacroReloadOnExecute(int slot);

  // File-name nicknames: the display form of a path.
  int ExpandNicknameSources();
  const char* ApplyFileNameNicknames(const char* path, char* out, int outSize);

 private:
  SharedSettings* m_pShareData = nullptr;
  std::unique_ptr<platform::SharedMemory> m_pMemory;
  std::string m_recordName = "CShareData";
  platform::NamedLock m_exchangeLock;
  int m_nNicknameCount = -1;  // -1: the cache is not built
  char m_szNicknameSources[kNicknameSlots][kMaxPath] = {};
  int m_nNicknameIndex[kNicknameSlots] = {};
};

// The version the build gives the product, as the record stores it (major << 16 | minor, and
// build << 16 | revision).
int32_t ProductVersionHigh();
int32_t ProductVersionLow();

// The font the system would use for small interface texts, as a fixed description.
LOGFONT InterfaceFont();

class CIniProfile;

// The 44 colour items of a type as "C[TXT]" ... "C[MRK]" keys of a section, in the direction of the
// profile's mode (the settings file and the colour files share them).
void IOColorItems(CIniProfile& profile, std::string_view section, ColorItem* colors);

// Copies text into out (at most outSize - 1 bytes, always terminated), replacing every occurrence
// of find, without regard to ASCII case, by replacement; double-byte characters are never split.
void ReplaceSubstringICase(const char* text, char* out, int outSize, const char* find, const char* replacement);

// Replaces %name% by the folder it names: the user's folders ("DeskTop", "Personal", "My Music",
// ... and their short aliases), "TEMP", "TOVARA" (the executable's folder), else the environment
// variable; "%%" gives "%". An unknown name stays as it is. False when the result does not fit
// outSize - 1 bytes or a name is too long; out is terminated either way.
bool ExpandSpecialFolder(const char* text, char* out, int outSize);
