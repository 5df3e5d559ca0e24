// What the document reaches of the windows around it. A document is built before its panes, its
// splitter and its edit window exist, and tests run it with none of them: every port may be null,
// and each operation that needs one does nothing (or answers with the stated fallback) without it.
#pragma once

#include <array>
#include <memory>

#include "editor/foundation/settings/share_data.h"
#include "platform/outside_program.h"
#include "platform/win_types.h"
#include "platform/window.h"

class CEditDoc;
class CJobProgressBar;
class CMemory;
struct CommonSettings;
struct TypeSettings;

// A pane's caret and the three selection ranges it keeps (the selection, its anchor range and the
// previous selection), in display coordinates (x column, y line). A range whose line is negative
// is not set.
struct PaneMarks {
  POINT caret{};
  std::array<POINT, 6> ranges{};  // from, to of each range in that order
};

// One of the four panes that show the document.
class IDocPane {
 public:
  virtual ~IDocPane() = default;
  virtual HWND Window() const = 0;
  // The pane's own message handling, for messages the document hands on.
  virtual LRESULT DispatchMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // Runs a command through the pane's command dispatcher.
  virtual LRESULT RunCommand(int command) = 0;

  virtual bool HasSelection() const = 0;
  virtual void ClearSelection(bool redraw) = 0;
  // For new text: cursor history back to its newest entry, selection cleared without redraw, fonts
  // recreated, caret at (0, 0) and the remembered column 0.
  virtual void ResetForNewText() = 0;
  // Focus moves between panes: losing it erases the bracket highlight, destroys the caret and hides
  // the caret-line underline; gaining it takes the focus and repaints the pane whole.
  virtual void OnFocusLost() = 0;
  virtual void OnFocusGained() = 0;
  virtual void Redraw() = 0;
  virtual void Invalidate() = 0;
  // Recomputes the text area's left edge (the line-number column's width); true when it moved.
  virtual bool UpdateTextAreaLeft(bool redraw) = 0;
  virtual void RecreateFonts() = 0;

  // Caret and view in display coordinates.
  virtual POINT Caret() const = 0;
  virtual int ViewTopLine() const = 0;
  virtual int ViewLeftColumn() const = 0;
  virtual void SetViewTopLeft(int topLine, int leftColumn) = 0;
  // Places the caret with the pane's standard scrolling and makes its column the remembered one.
  virtual void PlaceCaret(POINT position) = 0;
  virtual PaneMarks GetMarks() const = 0;
  // Places the caret (as PlaceCaret) and sets the ranges whose line is not negative.
  virtual void RestoreMarks(const PaneMarks& marks) = 0;
  // Shows the caret position in the edit window's status bar.
  virtual void ShowCaretPosition() = 0;
  // The selected text (its first line) or else the word at the caret, at most maxBytes bytes.
  virtual void GetSelectedTextOrWord(CMemory* out, int maxBytes) const = 0;

  // What the menus and the toolbar show of the pane's state.
  // The cursor history has an older (next false) or a newer (next true) entry to go to.
  virtual bool HasCursorHistory(bool next) const = 0;
  // The place where the last search began is remembered.
  virtual bool HasSearchStart() const = 0;
  // The incremental search runs in the mode and direction of that command (30981-30986).
  virtual bool IsISearchChecked(int command) const = 0;
  // What the wrap-width toggle would do next (a WrapToggle of wrap_toggle.h).
  virtual int NextWrapToggle() const = 0;
};

// The splitter window that holds the four panes.
class IDocSplitter {
 public:
  virtual ~IDocSplitter() = default;
  virtual HWND Window() const = 0;
  virtual void Move(int x, int y, int width, int height) = 0;
  virtual int Columns() const = 0;  // 1 or 2
  virtual int Rows() const = 0;     // 1 or 2
  // The next (previous) visible pane after (before) the index, -1 when there is none.
  virtual int NextVisiblePane(int index) const = 0;
  virtual int PrevVisiblePane(int index) const = 0;
  virtual void SetActivePane(int index) = 0;
};

// The edit window that owns the document: its frame, bars and place in the window list.
class IDocFrame {
 public:
  virtual ~IDocFrame() = default;
  virtual HWND FrameWindow() const = 0;
  virtual EditWindowId WindowId() const = 0;
  virtual bool IsMinimized() const = 0;
  // The frame is the active window of the desktop.
  virtual bool IsActiveWindow() const = 0;
  virtual void Activate() = 0;
  virtual void SetCaption(const char* text) = 0;
  // Hands the tab caption, path and grep flag to this window's entry of the shared window list.
  virtual void SetWindowListEntry(const char* tabCaption, const char* path, bool grepWindow) = 0;
  virtual void SetIcons(HICON small, HICON big) = 0;
  // The progress bar shown for a long job; null when the window has none.
  virtual CJobProgressBar* ShowProgress() = 0;
  virtual void HideProgress() = 0;
  virtual void ShowMessageText(const char* text) = 0;
  // This window stops being the process's output window.
  virtual void ReleaseOutputRole() = 0;
  virtual void RestartFunctionKeys() = 0;
  // The bars the frame shows now, and whether it stays above other windows.
  virtual bool HasToolBar() const = 0;
  virtual bool HasFuncKeyBar() const = 0;
  virtual bool HasStatusBar() const = 0;
  virtual bool HasTabBar() const = 0;
  virtual bool IsTopMost() const = 0;
};

// The modeless dialogs and the completion popup that work on the active pane.
class IDocCompanions {
 public:
  virtual ~IDocCompanions() = default;
  virtual void RebindToPane(int index) = 0;
  // The function-list (outline) dialog is open.
  virtual bool IsOutlineOpen() const = 0;
};

// The settings sheets; each false when cancelled (nothing changed).
class IDocSheets {
 public:
  virtual ~IDocSheets() = default;
  virtual bool RunCommonSheet(int page, CommonSettings* settings) = 0;
  virtual bool RunTypeSheet(int page, TypeSettings* type) = 0;
};

// Macros of this document's window.
class IDocMacros {
 public:
  virtual ~IDocMacros() = default;
  static constexpr int kNone = -2;
  static constexpr int kTemporary = -1;
  // kNone, kTemporary (the temporary key macro) or the slot being run.
  virtual int RunningMacro() const = 0;
  // Key-macro recording is on and this window records.
  virtual bool IsRecordingHere() const = 0;
  // The temporary slot holds a key macro (recorded or loaded).
  virtual bool HasTemporaryKeyMacro() const = 0;
};

// The print preview, when one is open.
class IDocPrintPreview {
 public:
  virtual ~IDocPrintPreview() = default;
  virtual int CurrentPage() const = 0;  // 1-based
  virtual int PageCount() const = 0;
};

// Starts another edit-window process: its command line is the text (arguments as the command line
// takes them; null for none), then " -CODE=%d" unless the code is 99 and " -R" when read-only. It
// starts in the folder given (the editor's current folder when null). With wait, the call returns
// once the new window is ready. False when no process was started (the launcher has told why).
class IDocLauncher {
 public:
  virtual ~IDocLauncher() = default;
  virtual bool LaunchEditorProcess(const char* text, int code, bool readOnly, bool wait, const char* folder) = 0;
};

struct DocPorts {
  IDocFrame* frame = nullptr;
  IDocSplitter* splitter = nullptr;
  std::array<IDocPane*, 4> panes{};
  IDocCompanions* companions = nullptr;
  IDocSheets* sheets = nullptr;
  IDocMacros* macros = nullptr;
  IDocPrintPreview* preview = nullptr;  // null while no preview is open
};

// The process's launcher, set once by the tray application's code; null: no new process starts.
IDocLauncher* GetDocLauncher();
void SetDocLauncher(IDocLauncher* launcher);

// The process's runner of outside programs (the tags maker, diff, the user's commands): the one
// set, else the system's (null only while the system has none to give). Tests set their own and
// set null again to return to the system's.
platform::OutsidePrograms* GetOutsidePrograms();
void SetOutsidePrograms(platform::OutsidePrograms* programs);

// The splitter and the four panes that CEditDoc::Create makes, owned by the document. They live in
// the view, above the document, which reaches them only through the ports the factory sets.
class IDocViews {
 public:
  virtual ~IDocViews() = default;
};
// Makes the views of a document inside the parent window and sets the document's splitter and pane
// ports; null when they cannot be made. editWindow is the edit window's interface for the view
// (null when there is no edit window).
using DocViewsFactory = std::unique_ptr<IDocViews> (*)(CEditDoc& doc, HINSTANCE instance, HWND parent,
                                                       void* editWindow);
// The process's factory, set by whoever links the view; null: CEditDoc::Create makes nothing.
DocViewsFactory GetDocViewsFactory();
void SetDocViewsFactory(DocViewsFactory factory);
