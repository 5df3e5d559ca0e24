// The system's open and save dialogs: GetOpenFileName and GetSaveFileName over the fields and
// flags of an OPENFILENAME, with a caller's template and hook below the standard controls.
//
// Contract:
// - The dialog is a modal dialog of the dialog facility (platform/dialog.h, template "FileDialog"),
//   so tests drive it by control id (platform/dialog_test.h, and platform/file_dialog_test.h for
//   the browser): a browser of the file system (the toolkit's own, never the desktop's native one,
//   without its own name field and buttons) above the label 1090 and the edit 1148 that holds the
//   name, the list 1136 of file types (label 1089), the read-only check box 1040 (not with
//   OFN_HIDEREADONLY; checked with OFN_READONLY), the Help button 1038 (only with OFN_SHOWHELP),
//   IDOK (the default button) and IDCANCEL, and the place 1119 that holds the caller's template.
//   The caption is "開く" or "名前を付けて保存". The dialog can always be resized.
// - Texts and paths are Shift-JIS; paths are exact (platform/path.h: "/" alone separates levels).
// - Filters: lpstrFilter holds pairs of NUL-terminated texts (a description, then patterns joined
//   by ";") and ends with an empty text. The descriptions fill 1136; nFilterIndex (from 1; 0 or
//   one past the end taken as 1) picks the first shown. The browser lists the folders and the
//   files that the chosen patterns match, without regard to case; "*.*" matches every name.
// - Where it starts: when lpstrFile names an existing folder, there with 1148 empty; otherwise the
//   folder of lpstrFile when it has one that exists, with the name after its last "/" in 1148;
//   otherwise lpstrInitialDir when it exists, else the process's current folder.
// - The browser: a file the user points at puts its name into 1148 (a name that Shift-JIS cannot
//   spell empties it instead); double-clicking a file is IDOK, a folder is entered.
// - IDOK (Enter, or a WM_KEYDOWN of VK_RETURN posted to 1148) acts on the name in 1148, taken
//   within the folder shown unless it starts with "/" ("." and ".." levels are resolved):
//   1. An empty name does nothing, unless the file pointed at has a name that Shift-JIS cannot
//      spell: that is refused (as in 3).
//   2. A folder is shown in the browser and 1148 emptied; the dialog stays.
//   3. Refused with a message (the message box of platform/message_box.h, owned by the dialog,
//      with its caption), the dialog staying open: a path that Shift-JIS cannot spell (the folder
//      shown has such a name, or the file pointed at), a path longer than nMaxFile - 1 bytes, a
//      folder that does not exist.
//   4. A file that does not exist: with OFN_CREATEPROMPT the question "%s は存在しません。\n
//      作成しますか？" (the path; Yes takes the name, No leaves the dialog open), also when
//      OFN_FILEMUSTEXIST is set; otherwise OFN_FILEMUSTEXIST refuses it with a message.
//   5. A file that exists, in the save dialog with OFN_OVERWRITEPROMPT: the question "%s は既に
//      存在します。\n上書きしますか？" (Yes takes it, No leaves the dialog open).
//   6. With a hook, WM_NOTIFY with an OFNOTIFY of CDN_FILEOK goes to it, lpstrFile already holding
//      the path; a hook that answers TRUE with a nonzero DWLP_MSGRESULT keeps the dialog open (and
//      the buffer is as it was before).
//   7. The call returns TRUE: lpstrFile holds the path, nFilterIndex the type shown, and Flags has
//      OFN_READONLY when the shown 1040 is checked (and not when it is not).
// - IDCANCEL, Esc and the close button: FALSE, the buffer as it was, CommDlgExtendedError 0.
// - The template: with OFN_ENABLETEMPLATE the dialog template named lpTemplateName (registered
//   with platform/dialog.h) is made as a dialog inside 1119 with the hook as its procedure.
//   OFN_ENABLEHOOK asks for the hook; a hook needs a template here (otherwise CDERR_NOTEMPLATE).
//   The hook hears WM_INITDIALOG (lParam the OPENFILENAME) once the standard dialog's controls
//   hold their first values, before it shows; WM_COMMAND of the template's controls; WM_SIZE
//   each time the standard dialog's size changes; WM_HELP and WM_CONTEXTMENU on its controls;
//   CDN_FILEOK; WM_DESTROY while the standard dialog is still there. GetFileDialog gives the
//   standard dialog of the template's handle. Enter and Esc in the template act on the standard
//   dialog; F1 asks the hook.
// - The standard dialog is a dialog window of its own: its procedure can be replaced
//   (SetWindowLongPtr with GWLP_WNDPROC; the replacement calls the one it replaced through
//   CallWindowProc) and hears WM_MOVE and WM_SIZE, and WM_COMMAND of IDOK, IDCANCEL, 1038 and 1040.
// - CommDlgExtendedError gives the last call's error: 0 after a choice or a cancel;
//   CDERR_STRUCTSIZE for an lStructSize other than sizeof(OPENFILENAME); CDERR_INITIALIZATION
//   without a buffer or off the GUI thread; CDERR_NOHOOK for OFN_ENABLEHOOK without a hook;
//   CDERR_NOTEMPLATE for a hook without a template, or OFN_ENABLETEMPLATE without a name;
//   CDERR_FINDRESFAILURE for a template that is not registered.
// - Without a screen and without a test's shown-hook the dialog facility answers IDCANCEL at once:
//   FALSE, error 0.
#pragma once

#include <cstdint>

#include "platform/dialog.h"
#include "platform/win_types.h"

using LPOFNHOOKPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAME {
  DWORD lStructSize = 0;
  HWND hwndOwner = nullptr;
  HINSTANCE hInstance = nullptr;
  const char* lpstrFilter = nullptr;
  DWORD nFilterIndex = 0;
  char* lpstrFile = nullptr;
  DWORD nMaxFile = 0;
  const char* lpstrInitialDir = nullptr;
  DWORD Flags = 0;
  LPARAM lCustData = 0;
  LPOFNHOOKPROC lpfnHook = nullptr;
  const char* lpTemplateName = nullptr;
};

// What CDN_ notifications carry.
struct OFNOTIFY {
  NMHDR hdr;
  OPENFILENAME* lpOFN = nullptr;
  char* pszFile = nullptr;
};

constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_SHOWHELP = 0x00000010;
constexpr DWORD OFN_ENABLEHOOK = 0x00000020;
constexpr DWORD OFN_ENABLETEMPLATE = 0x00000040;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_CREATEPROMPT = 0x00002000;
constexpr DWORD OFN_EXPLORER = 0x00080000;
constexpr DWORD OFN_ENABLESIZING = 0x00800000;

constexpr UINT CDN_FIRST = 0U - 601U;
constexpr UINT CDN_FILEOK = CDN_FIRST - 0x0005;

constexpr DWORD CDERR_DIALOGFAILURE = 0xFFFF;
constexpr DWORD CDERR_STRUCTSIZE = 0x0001;
constexpr DWORD CDERR_INITIALIZATION = 0x0002;
constexpr DWORD CDERR_NOTEMPLATE = 0x0003;
constexpr DWORD CDERR_NOHINSTANCE = 0x0004;
constexpr DWORD CDERR_LOADSTRFAILURE = 0x0005;
constexpr DWORD CDERR_FINDRESFAILURE = 0x0006;
constexpr DWORD CDERR_LOADRESFAILURE = 0x0007;
constexpr DWORD CDERR_LOCKRESFAILURE = 0x0008;
constexpr DWORD CDERR_MEMALLOCFAILURE = 0x0009;
constexpr DWORD CDERR_MEMLOCKFAILURE = 0x000A;
constexpr DWORD CDERR_NOHOOK = 0x000B;
constexpr DWORD FNERR_SUBCLASSFAILURE = 0x3001;
constexpr DWORD FNERR_INVALIDFILENAME = 0x3002;
constexpr DWORD FNERR_BUFFERTOOSMALL = 0x3003;

namespace platform {

// The ids of the standard dialog's controls.
constexpr int kFileDialogTypeLabel = 1089;
constexpr int kFileDialogNameLabel = 1090;
constexpr int kFileDialogTemplatePlace = 1119;
constexpr int kFileDialogTypes = 1136;
constexpr int kFileDialogName = 1148;
constexpr int kFileDialogHelp = 1038;
constexpr int kFileDialogReadOnly = 1040;

BOOL GetOpenFileName(OPENFILENAME* ofn);
BOOL GetSaveFileName(OPENFILENAME* ofn);
// The error of the last call on this thread (0 for none).
DWORD CommDlgExtendedError();
// The standard dialog that holds a template's dialog; null for any other handle.
HWND GetFileDialog(HWND templateDialog);

}  // namespace platform
