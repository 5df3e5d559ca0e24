// Stand-ins for the windows around a document (doc_interfaces.h): each records what the document
// asked of it and answers as the test sets it up. FakePorts bundles a frame, a splitter and four
// panes; Bind hands them to a document.
#pragma once

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "editor/foundation/document/doc_interfaces.h"
#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/job_progress.h"
#include "editor/foundation/text/memory.h"

class FakeProgressBar : public CJobProgressBar {
 public:
  void SetRange(int32_t low, int32_t high) override {
    this->low = low;
    this->high = high;
  }
  void SetPos(int32_t pos) override { positions.push_back(pos); }
  int32_t low = 0, high = 0;
  std::vector<int32_t> positions;
};

class FakeFrame : public IDocFrame {
 public:
  HWND FrameWindow() const override { return window; }
  EditWindowId WindowId() const override { return id; }
  bool IsMinimized() const override { return minimized; }
  bool IsActiveWindow() const override { return active; }
  void Activate() override { ++activations; }
  void SetCaption(const char* text) override { captions.emplace_back(text ? text : ""); }
  void SetWindowListEntry(const char* tabCaption, const char* path, bool grepWindow) override {
    listEntries.push_back({tabCaption ? tabCaption : "", path ? path : "", grepWindow});
  }
  void SetIcons(HICON small, HICON big) override {
    smallIcon = small;
    bigIcon = big;
    ++iconChanges;
  }
  CJobProgressBar* ShowProgress() override {
    ++progressShown;
    return hasProgress ? &progress : nullptr;
  }
  void HideProgress() override { ++progressHidden; }
  void ShowMessageText(const char* text) override { messageTexts.emplace_back(text ? text : ""); }
  void ReleaseOutputRole() override { ++outputRoleReleased; }
  void RestartFunctionKeys() override { ++functionKeyRestarts; }
  bool HasToolBar() const override { return toolBar; }
  bool HasFuncKeyBar() const override { return funcKeyBar; }
  bool HasStatusBar() const override { return statusBar; }
  bool HasTabBar() const override { return tabBar; }
  bool IsTopMost() const override { return topMost; }

  struct ListEntry {
    std::string tabCaption, path;
    bool grepWindow;
  };
  HWND window = nullptr;
  EditWindowId id = 0;
  bool minimized = false;
  bool active = true;
  bool hasProgress = true;
  int activations = 0;
  std::vector<std::string> captions;
  std::vector<ListEntry> listEntries;
  HICON smallIcon = nullptr, bigIcon = nullptr;
  int iconChanges = 0;
  FakeProgressBar progress;
  int progressShown = 0, progressHidden = 0;
  std::vector<std::string> messageTexts;
  int outputRoleReleased = 0;
  int functionKeyRestarts = 0;
  bool toolBar = false, funcKeyBar = false, statusBar = false, tabBar = false, topMost = false;
};

class FakePane : public IDocPane {
 public:
  HWND Window() const override { return window; }
  LRESULT DispatchMessage(HWND, UINT message, WPARAM, LPARAM) override {
    messages.push_back(message);
    return messageResult;
  }
  LRESULT RunCommand(int command) override {
    commands.push_back(command);
    auto it = commandResults.find(command);
    return it == commandResults.end() ? 0 : it->second;
  }
  bool HasSelection() const override { return selection; }
  void ClearSelection(bool redraw) override {
    selection = false;
    selectionClears.push_back(redraw);
  }
  void ResetForNewText() override {
    ++resets;
    selection = false;
    caret = POINT{0, 0};
    topLine = leftColumn = 0;
  }
  void OnFocusLost() override { ++focusLost; }
  void OnFocusGained() override { ++focusGained; }
  void Redraw() override { ++redraws; }
  void Invalidate() override { ++invalidations; }
  bool UpdateTextAreaLeft(bool redraw) override {
    textAreaUpdates.push_back(redraw);
    return textAreaMoves;
  }
  void RecreateFonts() override { ++fontRecreations; }
  POINT Caret() const override { return caret; }
  int ViewTopLine() const override { return topLine; }
  int ViewLeftColumn() const override { return leftColumn; }
  void SetViewTopLeft(int top, int left) override {
    topLine = top;
    leftColumn = left;
  }
  void PlaceCaret(POINT position) override {
    caret = position;
    placements.push_back(position);
  }
  PaneMarks GetMarks() const override {
    PaneMarks m = marks;
    m.caret = caret;
    return m;
  }
  void RestoreMarks(const PaneMarks& restored) override {
    caret = restored.caret;
    marks = restored;
    ++markRestores;
  }
  void ShowCaretPosition() override { ++caretShown; }
  void GetSelectedTextOrWord(CMemory* out, int) const override {
    if (out) out->Assign(word.data(), static_cast<int>(word.size()));
  }
  bool HasCursorHistory(bool next) const override { return next ? historyNext : historyPrev; }
  bool HasSearchStart() const override { return searchStart; }
  bool IsISearchChecked(int command) const override { return command == iSearchCommand; }
  int NextWrapToggle() const override { return wrapToggle; }

  HWND window = nullptr;
  std::vector<UINT> messages;
  LRESULT messageResult = 0;
  std::vector<int> commands;
  std::map<int, LRESULT> commandResults;
  bool selection = false;
  std::vector<bool> selectionClears;
  int resets = 0, focusLost = 0, focusGained = 0, redraws = 0, invalidations = 0;
  std::vector<bool> textAreaUpdates;
  bool textAreaMoves = false;
  int fontRecreations = 0;
  POINT caret{0, 0};
  int topLine = 0, leftColumn = 0;
  std::vector<POINT> placements;
  PaneMarks marks{};
  int markRestores = 0;
  int caretShown = 0;
  std::string word;
  bool historyPrev = false, historyNext = false, searchStart = false;
  int iSearchCommand = 0;
  int wrapToggle = 0;
};

// Panes laid out in columns x rows; a pane is visible when its column and row are.
class FakeSplitter : public IDocSplitter {
 public:
  HWND Window() const override { return window; }
  void Move(int x, int y, int width, int height) override { moves.push_back(RECT{x, y, x + width, y + height}); }
  int Columns() const override { return columns; }
  int Rows() const override { return rows; }
  int NextVisiblePane(int index) const override {
    for (int i = index + 1; i < 4; ++i)
      if (Visible(i)) return i;
    return -1;
  }
  int PrevVisiblePane(int index) const override {
    for (int i = index - 1; i >= 0; --i)
      if (Visible(i)) return i;
    return -1;
  }
  void SetActivePane(int index) override { activeIndices.push_back(index); }
  bool Visible(int index) const { return (index & 1) < columns && (index >> 1) < rows; }

  HWND window = nullptr;
  int columns = 1, rows = 1;
  std::vector<RECT> moves;
  std::vector<int> activeIndices;
};

class FakeCompanions : public IDocCompanions {
 public:
  void RebindToPane(int index) override { rebinds.push_back(index); }
  bool IsOutlineOpen() const override { return outlineOpen; }
  std::vector<int> rebinds;
  bool outlineOpen = false;
};

class FakeLauncher : public IDocLauncher {
 public:
  struct Launch {
    std::string text;
    int code;
    bool readOnly;
    bool wait;
    std::string folder;
  };
  bool LaunchEditorProcess(const char* text, int code, bool readOnly, bool wait, const char* folder) override {
    launches.push_back({text ? text : "", code, readOnly, wait, folder ? folder : ""});
    return result;
  }
  std::vector<Launch> launches;
  bool result = true;
};

// The launcher of the process for the scope of a test.
class LauncherScope {
 public:
  explicit LauncherScope(IDocLauncher* launcher) : m_previous(GetDocLauncher()) { SetDocLauncher(launcher); }
  ~LauncherScope() { SetDocLauncher(m_previous); }
  LauncherScope(const LauncherScope&) = delete;
  LauncherScope& operator=(const LauncherScope&) = delete;

 private:
  IDocLauncher* m_previous;
};

struct FakePorts {
  FakeFrame frame;
  FakeSplitter splitter;
  std::array<FakePane, 4> panes;
  FakeCompanions companions;

  DocPorts Ports() {
    DocPorts ports;
    ports.frame = &frame;
    ports.splitter = &splitter;
    for (int i = 0; i < 4; ++i) ports.panes[i] = &panes[i];
    ports.companions = &companions;
    return ports;
  }
  void Bind(CEditDoc& doc) { doc.SetPorts(Ports()); }
};
