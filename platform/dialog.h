// Dialog boxes: a template declares a dialog's caption and its controls in rows, columns and group
// boxes; the layer makes the toolkit's widgets, lays them out, and speaks to the dialog procedure
// in the messages a dialog manager sends. Every later dialog is a template registered under its
// number (or name) plus the procedure that serves it.
//
// Contract:
// - A dialog is a top-level window of its own (a handle like any window: posted to, timed,
//   destroyed by DestroyWindow), owned by the window given as its owner (or by none). Its
//   controls are child windows with their ids (GetDlgItem).
// - DialogBoxParam disables the owner, shows the dialog and runs a loop over the message queue
//   (posts, timers, sends from other processes) until EndDialog; it then enables the owner,
//   destroys the dialog and returns the EndDialog value. A WM_QUIT met in the loop ends the dialog
//   with 0 and is posted again, so the loop outside ends too. Without a screen and without a
//   test's shown-hook (platform/dialog_test.h) it returns IDCANCEL at once, saying so on stderr.
//   CreateDialogParam makes the dialog modeless and hidden; the caller shows it. An unknown
//   template gives -1 (modal) or null (modeless).
// - Messages to the procedure, as a dialog manager sends them: WM_SIZE and WM_MOVE when the
//   dialog is made (before WM_INITDIALOG) and on every later change of its size or position,
//   however made (the user, MoveWindow, SetWindowPlacement); WM_INITDIALOG (wParam the first
//   control that takes Tab, lParam the caller's value; TRUE gives that control the focus);
//   WM_COMMAND from the controls; WM_ACTIVATE; WM_TIMER; WM_HELP; WM_CONTEXTMENU; WM_DESTROY.
//   A procedure that returns FALSE leaves the message to the default handling; one that returns
//   TRUE answers with its DWLP_MSGRESULT (WM_INITDIALOG answers with the returned value itself).
//   Default handling: WM_CLOSE (the title bar's close button) becomes WM_COMMAND IDCANCEL;
//   WM_SETICON and WM_GETICON keep the dialog's small and big icons.
// - Notifications (WM_COMMAND, the code in the high word of wParam, the control's handle in
//   lParam) come only from the user's actions: BN_CLICKED (a check box or radio button has
//   already changed), CBN_SELCHANGE, LBN_SELCHANGE, LBN_DBLCLK, CBN_EDITCHANGE, CBN_DROPDOWN
//   (before the list opens) and EN_CHANGE. Changes the program makes send none, except EN_CHANGE
//   after the text of a one-line edit is set. List views notify through WM_NOTIFY (wParam the
//   control's id): LVN_ITEMCHANGED (an NMLISTVIEW) when the user selects a row, NM_DBLCLK (an
//   NMITEMACTIVATE) when the user double-clicks one, LVN_COLUMNCLICK (an NMLISTVIEW, iItem -1,
//   iSubItem the column) when the user clicks a header, LVN_KEYDOWN (an NMLVKEYDOWN) for each key
//   pressed in it. Tree views: TVN_SELCHANGED (an NMTREEVIEW, the old and the new item) when the
//   user selects an item, NM_DBLCLK (an NMHDR) on a double click, TVN_KEYDOWN (an NMTVKEYDOWN) for
//   each key pressed in it, NM_KILLFOCUS when it loses the focus. An up-down control sends
//   UDN_DELTAPOS (an NMUPDOWN) when the user clicks an arrow: the up arrow a delta of -1, the down
//   arrow +1; the control changes no number itself (its procedure writes the edit beside it). The
//   program's own changes (selecting, sorting, expanding) send none of these.
// - Keys: Enter gives the default push button's id, or IDOK without one (a multi-line edit takes
//   Enter as a line break; Space presses the focused button); Esc and the close button give
//   IDCANCEL; a disabled target button makes them do nothing. A WM_KEYDOWN of VK_RETURN or
//   VK_ESCAPE posted to a control (not a multi-line edit) acts so too when the dialog's loop
//   takes it. Only EndDialog and DestroyWindow close a dialog. Tab moves through the controls in the order of their declaration; "&" in a text marks
//   the access key of the letter after it ("&&" is a plain "&"). F1 sends WM_HELP with a HELPINFO
//   for the focused control (X11 has no "?" in the title bar); a right click on a control other
//   than an edit sends WM_CONTEXTMENU (an edit shows its own menu).
// - Text is Shift-JIS at this interface. An edit holds at most its limit in Shift-JIS bytes
//   (32,767 unless EM_LIMITTEXT or CB_LIMITTEXT sets another; a line break of a multi-line edit
//   counts as CR LF): typed or pasted text is cut at the limit on a whole character, and a
//   character without a Shift-JIS code is refused; what is refused beeps. Multi-line text comes
//   and goes with CR LF line ends.
// - A dialog is placed and measured by its client area (GetWindowRect, MoveWindow, the window
//   placement): the frame is the window manager's and its size is not known before the dialog
//   shows. The first show is centred on the owner (on the screen without one); SetWindowPlacement
//   moves a rectangle that is off every screen onto the nearest.
// Everything here belongs on the GUI thread; elsewhere it fails and changes nothing.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/win_types.h"
#include "platform/window.h"

using INT_PTR = intptr_t;
using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

// GetWindowLongPtr / SetWindowLongPtr slots of a dialog.
constexpr int DWLP_MSGRESULT = 0;
constexpr int DWLP_DLGPROC = 8;
constexpr int DWLP_USER = 16;

// Button check states.
constexpr UINT BST_UNCHECKED = 0;
constexpr UINT BST_CHECKED = 1;
constexpr UINT BST_INDETERMINATE = 2;

// Notification codes.
constexpr WORD BN_CLICKED = 0;
constexpr WORD CBN_SELCHANGE = 1;
constexpr WORD CBN_EDITCHANGE = 5;
constexpr WORD CBN_DROPDOWN = 7;
constexpr WORD LBN_SELCHANGE = 1;
constexpr WORD LBN_DBLCLK = 2;
constexpr WORD EN_CHANGE = 0x0300;

// Control messages.
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_GETLIMITTEXT = 0x00D5;
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr UINT CB_LIMITTEXT = 0x0141;
constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_DELETESTRING = 0x0144;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_GETLBTEXT = 0x0148;
constexpr UINT CB_GETLBTEXTLEN = 0x0149;
constexpr UINT CB_INSERTSTRING = 0x014A;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_FINDSTRING = 0x014C;
constexpr UINT CB_SELECTSTRING = 0x014D;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_GETITEMDATA = 0x0150;
constexpr UINT CB_SETITEMDATA = 0x0151;
constexpr UINT CB_SETEXTENDEDUI = 0x0155;
constexpr UINT CB_FINDSTRINGEXACT = 0x0158;
constexpr UINT LB_ADDSTRING = 0x0180;
constexpr UINT LB_INSERTSTRING = 0x0181;
constexpr UINT LB_DELETESTRING = 0x0182;
constexpr UINT LB_RESETCONTENT = 0x0184;
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETTEXT = 0x0189;
constexpr UINT LB_GETTEXTLEN = 0x018A;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr UINT LB_SELECTSTRING = 0x018C;
constexpr UINT LB_FINDSTRING = 0x018F;
constexpr UINT LB_GETITEMDATA = 0x0199;
constexpr UINT LB_SETITEMDATA = 0x019A;
constexpr UINT LB_FINDSTRINGEXACT = 0x01A2;
constexpr UINT PBM_SETRANGE = WM_USER + 1;
constexpr UINT PBM_SETPOS = WM_USER + 2;
constexpr UINT PBM_SETRANGE32 = WM_USER + 6;
constexpr UINT PBM_GETPOS = WM_USER + 8;
// List view (report style: a header of columns over rows; one row selected at most). Texts are
// Shift-JIS; a row's column 0 is its item, the other columns its subitems.
constexpr UINT LVM_GETITEMCOUNT = 0x1004;
constexpr UINT LVM_GETITEM = 0x1005;
constexpr UINT LVM_SETITEM = 0x1006;
constexpr UINT LVM_INSERTITEM = 0x1007;
constexpr UINT LVM_DELETEITEM = 0x1008;
constexpr UINT LVM_DELETEALLITEMS = 0x1009;
constexpr UINT LVM_GETNEXTITEM = 0x100C;
constexpr UINT LVM_ENSUREVISIBLE = 0x1013;
constexpr UINT LVM_INSERTCOLUMN = 0x101B;
constexpr UINT LVM_GETCOLUMNWIDTH = 0x101D;
constexpr UINT LVM_SETCOLUMNWIDTH = 0x101E;
// LVM_SETCOLUMNWIDTH's width that fits the column to the longest text of its rows (the header's
// text left out); the width is then in pixels.
constexpr int LVSCW_AUTOSIZE = -1;
constexpr UINT LVM_GETTOPINDEX = 0x1027;
constexpr UINT LVM_GETCOUNTPERPAGE = 0x1028;
constexpr UINT LVM_GETCOLUMN = 0x1019;
constexpr UINT LVM_SETCOLUMN = 0x101A;
constexpr UINT LVM_SORTITEMS = 0x1030;
constexpr UINT LVM_SETITEMSTATE = 0x102B;
constexpr UINT LVM_GETITEMSTATE = 0x102C;
constexpr UINT LVM_GETITEMTEXT = 0x102D;
constexpr UINT LVM_SETITEMTEXT = 0x102E;
constexpr UINT LVM_SETEXTENDEDLISTVIEWSTYLE = 0x1036;
constexpr UINT LVM_GETEXTENDEDLISTVIEWSTYLE = 0x1037;

constexpr DWORD LVS_EX_FULLROWSELECT = 0x0020;

// LVCOLUMN's mask. LVCF_PERCENT is this layer's own: cx is then a percentage of the list's
// client width, and the column keeps that share as the list is resized.
constexpr UINT LVCF_FMT = 0x0001;
constexpr UINT LVCF_WIDTH = 0x0002;
constexpr UINT LVCF_TEXT = 0x0004;
constexpr UINT LVCF_SUBITEM = 0x0008;
constexpr UINT LVCF_PERCENT = 0x8000;
constexpr int LVCFMT_LEFT = 0;
constexpr int LVCFMT_RIGHT = 1;
constexpr int LVCFMT_CENTER = 2;

struct LVCOLUMN {
  UINT mask = 0;
  int fmt = LVCFMT_LEFT;
  int cx = 0;
  char* pszText = nullptr;
  int cchTextMax = 0;
  int iSubItem = 0;
};

constexpr UINT LVIF_TEXT = 0x0001;
constexpr UINT LVIF_PARAM = 0x0004;
constexpr UINT LVIF_STATE = 0x0008;
constexpr UINT LVIS_FOCUSED = 0x0001;
constexpr UINT LVIS_SELECTED = 0x0002;
constexpr UINT LVNI_ALL = 0x0000;
constexpr UINT LVNI_FOCUSED = 0x0001;
constexpr UINT LVNI_SELECTED = 0x0002;

struct LVITEM {
  UINT mask = 0;
  int iItem = 0;
  int iSubItem = 0;
  UINT state = 0;
  UINT stateMask = 0;
  char* pszText = nullptr;
  int cchTextMax = 0;
  int iImage = 0;
  LPARAM lParam = 0;
};

constexpr UINT LVN_ITEMCHANGED = static_cast<UINT>(-101);
constexpr UINT LVN_COLUMNCLICK = static_cast<UINT>(-108);
constexpr UINT LVN_KEYDOWN = static_cast<UINT>(-155);

// LVM_SORTITEMS (wParam the caller's value, lParam the function): the rows are ordered by the
// function over their LVIF_PARAM values (negative: the first goes before the second); rows it
// calls equal keep their order; the selected and focused rows stay so.
using PFNLVCOMPARE = int (*)(LPARAM first, LPARAM second, LPARAM sortParam);

struct NMLVKEYDOWN {
  NMHDR hdr;
  WORD wVKey = 0;  // the virtual-key code (platform/key_map.h)
  UINT flags = 0;
};

struct NMLISTVIEW {
  NMHDR hdr;
  int iItem = -1;
  int iSubItem = 0;
  UINT uNewState = 0;
  UINT uOldState = 0;
  UINT uChanged = 0;
  POINT ptAction;
  LPARAM lParam = 0;
};

struct NMITEMACTIVATE {
  NMHDR hdr;
  int iItem = -1;
  int iSubItem = 0;
  UINT uNewState = 0;
  UINT uOldState = 0;
  UINT uChanged = 0;
  POINT ptAction;
  LPARAM lParam = 0;
  UINT uKeyFlags = 0;
};

// Tree view. Texts are Shift-JIS; an item is a handle, valid until the item is deleted (a deleted
// or made-up handle is refused). TVI_ROOT (or null) as a parent is the top level; as an insertion
// place, TVI_FIRST, TVI_LAST (or null), TVI_SORT (before the first sibling whose text sorts
// after the new one) or a sibling to insert after.
struct TreeItemTag;
using HTREEITEM = TreeItemTag*;
inline const HTREEITEM TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x10000));
inline const HTREEITEM TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFF));
inline const HTREEITEM TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFE));
inline const HTREEITEM TVI_SORT = reinterpret_cast<HTREEITEM>(static_cast<intptr_t>(-0x0FFFD));

constexpr UINT TVM_INSERTITEM = 0x1100;
constexpr UINT TVM_DELETEITEM = 0x1101;  // TVI_ROOT or null: every item
constexpr UINT TVM_EXPAND = 0x1102;      // wParam TVE_*, lParam the item
constexpr UINT TVM_GETCOUNT = 0x1105;
constexpr UINT TVM_GETNEXTITEM = 0x110A;  // wParam TVGN_*, lParam the item it starts from
constexpr UINT TVM_SELECTITEM = 0x110B;   // wParam TVGN_CARET (null clears) or TVGN_FIRSTVISIBLE
constexpr UINT TVM_GETITEM = 0x110C;
constexpr UINT TVM_SETITEM = 0x110D;
// The children of lParam (TVI_ROOT or null: the top level) ordered by their texts (Shift-JIS
// bytes, ASCII letters without case); wParam TRUE sorts every level below too.
constexpr UINT TVM_SORTCHILDREN = 0x1113;
constexpr UINT TVM_ENSUREVISIBLE = 0x1114;
// The same by a TVSORTCB's function over the items' TVIF_PARAM values.
constexpr UINT TVM_SORTCHILDRENCB = 0x1115;

constexpr UINT TVIF_TEXT = 0x0001;
constexpr UINT TVIF_PARAM = 0x0004;
constexpr UINT TVIF_STATE = 0x0008;
constexpr UINT TVIF_HANDLE = 0x0010;
constexpr UINT TVIF_CHILDREN = 0x0040;
constexpr UINT TVIS_SELECTED = 0x0002;
constexpr UINT TVIS_EXPANDED = 0x0020;
constexpr WPARAM TVE_COLLAPSE = 1;
constexpr WPARAM TVE_EXPAND = 2;
constexpr WPARAM TVE_TOGGLE = 3;
constexpr WPARAM TVGN_ROOT = 0;
constexpr WPARAM TVGN_NEXT = 1;
constexpr WPARAM TVGN_PREVIOUS = 2;
constexpr WPARAM TVGN_PARENT = 3;
constexpr WPARAM TVGN_CHILD = 4;
constexpr WPARAM TVGN_FIRSTVISIBLE = 5;
constexpr WPARAM TVGN_CARET = 9;
constexpr UINT TVC_UNKNOWN = 0;
constexpr UINT TVC_BYMOUSE = 1;
constexpr UINT TVC_BYKEYBOARD = 2;

struct TVITEM {
  UINT mask = 0;
  HTREEITEM hItem = nullptr;
  UINT state = 0;
  UINT stateMask = 0;
  char* pszText = nullptr;
  int cchTextMax = 0;
  int iImage = 0;
  int iSelectedImage = 0;
  int cChildren = 0;  // TVIF_CHILDREN: 1 when the item has children
  LPARAM lParam = 0;
};

struct TVINSERTSTRUCT {
  HTREEITEM hParent = nullptr;
  HTREEITEM hInsertAfter = nullptr;
  TVITEM item;
};

using PFNTVCOMPARE = int (*)(LPARAM first, LPARAM second, LPARAM sortParam);
struct TVSORTCB {
  HTREEITEM hParent = nullptr;
  PFNTVCOMPARE lpfnCompare = nullptr;
  LPARAM lParam = 0;
};

constexpr UINT TVN_SELCHANGED = static_cast<UINT>(-402);
constexpr UINT TVN_KEYDOWN = static_cast<UINT>(-412);
constexpr UINT NM_KILLFOCUS = static_cast<UINT>(-8);

struct NMTREEVIEW {
  NMHDR hdr;
  UINT action = TVC_UNKNOWN;
  TVITEM itemOld;  // hItem, state and lParam
  TVITEM itemNew;
  POINT ptDrag;
};

struct NMTVKEYDOWN {
  NMHDR hdr;
  WORD wVKey = 0;
  UINT flags = 0;
};

// Up-down control.
constexpr UINT UDN_DELTAPOS = static_cast<UINT>(-722);
struct NMUPDOWN {
  NMHDR hdr;
  int iPos = 0;
  int iDelta = 0;
};

constexpr LRESULT CB_OKAY = 0;
constexpr LRESULT CB_ERR = -1;
constexpr LRESULT LB_OKAY = 0;
constexpr LRESULT LB_ERR = -1;

// WM_HELP's description of what help was asked for.
constexpr int HELPINFO_WINDOW = 1;
struct HELPINFO {
  UINT cbSize = sizeof(HELPINFO);
  int iContextType = HELPINFO_WINDOW;
  int iCtrlId = 0;
  HWND hItemHandle = nullptr;
  uintptr_t dwContextId = 0;
  POINT MousePos;
};

namespace platform {

enum class ControlKind {
  kPushButton,
  kCheckBox,
  kRadioButton,
  kGroupBox,
  kStaticText,
  kEdit,
  kMultiLineEdit,
  kDropDownList,  // a list that drops down, without an edit
  kComboBox,      // a list that drops down, with an edit
  kListBox,
  kProgressBar,
  kListView,  // report style
  kTreeView,
  kUpDown,  // two arrows beside the control declared before it
};

// What a template function declares. Controls go into the current box, which starts as a column;
// Row, Column and Group take a function that declares their contents.
class DialogBuilder {
 public:
  // The options of the control declared last; each returns the builder for the next one.
  class Options {
   public:
    // A push button: the one Enter presses.
    Options& Default();
    // Starts a new group of radio buttons (a run of radio buttons is one group until then).
    Options& NewGroup();
    // The control's width in average characters, and (multi-line edit, list box, list view) its
    // height in lines; it still grows with a resizable dialog.
    Options& Width(int characters);
    Options& Lines(int lines);
    // Static text whose "&" is shown as it is (a file name, a count).
    Options& NoPrefix();
    Options& Disabled();

   private:
    friend class DialogBuilder;
    explicit Options(DialogBuilder& builder) : m_builder(builder) {}
    DialogBuilder& m_builder;
  };

  struct Impl;
  explicit DialogBuilder(Impl& impl) : m_impl(impl), m_options(*this) {}
  DialogBuilder(const DialogBuilder&) = delete;
  DialogBuilder& operator=(const DialogBuilder&) = delete;

  void Caption(std::string_view text);
  // The user may resize the dialog (and maximise it).
  void Resizable();

  void Row(const std::function<void()>& contents);
  void Column(const std::function<void()>& contents);
  // Controls that share one place, as controls laid out by coordinates may: the program shows one
  // of them at a time (a list and a tree of the same items, say).
  void Overlay(const std::function<void()>& contents);
  // A group box with an id and a caption, its contents in a column.
  Options& Group(int id, std::string_view text, const std::function<void()>& contents);
  // Space that takes what the box has left (pushes what follows to the end of a row).
  void Stretch();

  Options& PushButton(int id, std::string_view text);
  Options& CheckBox(int id, std::string_view text);
  Options& RadioButton(int id, std::string_view text);
  Options& StaticText(int id, std::string_view text);
  Options& Edit(int id, std::string_view text = {});
  Options& MultiLineEdit(int id, std::string_view text = {});
  Options& DropDownList(int id);
  Options& ComboBox(int id);
  Options& ListBox(int id);
  Options& ProgressBar(int id);
  Options& ListView(int id);
  Options& TreeView(int id);
  // Up and down arrows; declare it right after the edit it serves, in the same row.
  Options& UpDown(int id);

 private:
  Impl& m_impl;
  Options m_options;
};

using DialogTemplateFn = std::function<void(DialogBuilder&)>;

// Registers (or replaces) the template of a number or a name. False for an empty name or no
// function.
bool RegisterDialogTemplate(int id, DialogTemplateFn declare);
bool RegisterDialogTemplate(std::string_view name, DialogTemplateFn declare);

// The template is MAKEINTRESOURCE(number) or a name.
INT_PTR DialogBoxParam(HINSTANCE instance, const char* templateName, HWND owner, DLGPROC proc, LPARAM param);
HWND CreateDialogParam(HINSTANCE instance, const char* templateName, HWND owner, DLGPROC proc, LPARAM param);
// Ends a modal dialog with the result once its procedure returns (a modeless one is hidden).
BOOL EndDialog(HWND dialog, INT_PTR result);
// Dispatches a message for the dialog or one of its controls and returns TRUE; FALSE for any other.
// Given a control outside any dialog (a toolbar's search box), the messages queued for that
// control are its own in the same way.
// (The dialog's keys are handled as they come from the toolkit, before they are messages.)
BOOL IsDialogMessage(HWND dialog, MSG* msg);

HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND control);
LRESULT SendDlgItemMessage(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam);
BOOL SetDlgItemText(HWND dialog, int id, const char* text);
// Copies at most size - 1 bytes, cut on a whole character, and a NUL; returns the bytes copied.
UINT GetDlgItemText(HWND dialog, int id, char* text, int size);
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL isSigned);
// The number in the text (blanks around it allowed, a "-" when signed); 0 and *translated FALSE
// when the text is not one or does not fit.
UINT GetDlgItemInt(HWND dialog, int id, BOOL* translated, BOOL isSigned);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
// Checks the button check and unchecks the other buttons with ids from first to last.
BOOL CheckRadioButton(HWND dialog, int first, int last, int check);

}  // namespace platform
