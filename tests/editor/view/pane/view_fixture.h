// A document on a test record of its own (every default) shown in one pane without a window: the
// pane paints into its image at the client size given, in the box font (every glyph a known box),
// with a fake edit window that records status texts. Tests set the text with SetText and read
// pixels from view.GetViewDC().
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "box_font_engine.h"
#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/doc_line.h"
#include "editor/foundation/text/line_end.h"
#include "editor/view/pane/edit_view.h"
#include "editor/view/pane/edit_window.h"
#include "scoped_named_objects.h"

// An edit window that records what the pane tells it.
class FakeEditWindow : public IEditWindow {
 public:
  HWND Window() const override { return window; }
  bool IsActiveWindow() const override { return active; }
  void TakeFocus() override { ++focusTaken; }
  bool HasStatusBar() const override { return statusBar; }
  bool HasFuncKeyBarAtBottom() const override { return funcKeyBarAtBottom; }
  bool IsMaximized() const override { return maximized; }
  void SetStatusText(int part, const char* text) override { status[part] = text ? text : ""; }
  void SetCaptionMessage(const char* text) override { captionMessage = text ? text : ""; }
  bool IsPrintPreview() const override { return printPreview; }
  bool GetCommandName(int command, char* buffer, int size) const override {
    const std::string name = "cmd" + std::to_string(command);
    if (size <= 0) return false;
    snprintf(buffer, static_cast<size_t>(size), "%s", name.c_str());
    return true;
  }
  bool IsCommandEnabled(int command) const override { return !disabled.count(command); }
  bool IsCommandChecked(int) const override { return false; }
  IMenuDrawer* MenuDrawer() override { return nullptr; }
  bool GetKeyBindList(CMemory* out) const override {
    if (keyBindList.empty()) return false;
    out->Assign(keyBindList.data(), static_cast<int>(keyBindList.size()));
    return true;
  }

  HWND window = nullptr;
  bool active = true;
  bool statusBar = true;
  bool funcKeyBarAtBottom = false;
  bool maximized = false;
  bool printPreview = false;
  int focusTaken = 0;
  std::map<int, std::string> status;
  std::string captionMessage;
  std::map<int, bool> disabled;
  std::string keyBindList;
};

class ViewFixture : public testing::Test {
 protected:
  explicit ViewFixture(const char* recordStem = "CEditView-test") : names(recordStem) {}
  void SetUp() override {
    CShareData::InitDefaults(*record);
    share.Attach(record.get(), names.c_str());
    MakeDocumentAndPane();
  }
  // A new empty document shown in a new pane (the old ones go).
  void MakeDocumentAndPane() {
    view.reset();
    doc = std::make_unique<CEditDoc>();
    view = std::make_unique<CEditView>();
    view->SetEditWindow(&editWindow);
    view->AttachDocument(doc.get(), 0);
    DocPorts ports;
    ports.panes[0] = view.get();
    doc->SetPorts(ports);
    view->SetClientSize(640, 480);
  }
  void TearDown() override {
    view.reset();
    doc.reset();
  }

  // Replaces the document's text (Shift-JIS bytes; lines end as written: CR LF, LF or CR) and lays
  // it out again with the current type settings.
  void SetText(std::string_view text) {
    CDocLineMgr& lines = doc->m_cDocLineMgr;
    lines.FreeAllLines();
    lines.ResetList();
    size_t start = 0;
    while (start < text.size()) {
      size_t end = start;
      while (end < text.size() && text[end] != '\r' && text[end] != '\n') ++end;
      int eol = CLineEnd::NONE;
      size_t next = end;
      if (end < text.size()) {
        if (text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') {
          eol = CLineEnd::CRLF;
          next = end + 2;
        } else if (text[end] == '\n' && end + 1 < text.size() && text[end + 1] == '\r') {
          eol = CLineEnd::LFCR;
          next = end + 2;
        } else {
          eol = text[end] == '\n' ? CLineEnd::LF : CLineEnd::CR;
          next = end + 1;
        }
      }
      lines.AppendLine(text.data() + start, static_cast<int>(next - start), eol);
      start = next;
    }
    Relayout();
  }
  // The document's bytes, every line with its own line end.
  std::string DocBytes() {
    std::string bytes;
    CDocLineMgr& lines = doc->m_cDocLineMgr;
    for (int i = 0; i < lines.GetLineCount(); ++i) {
      int length = 0;
      const char* text = lines.GetLine(i)->GetText(&length);
      if (text) bytes.append(text, static_cast<size_t>(length));
    }
    return bytes;
  }
  // Lays the text out again after a change of the type settings.
  void Relayout() {
    doc->m_cLayoutMgr.SetWrapSettings(true, nullptr, type());
    view->RepaintAll();
  }

  CommonSettings& common() { return record->Common; }
  TypeSettings& type() { return record->TypeList[doc->m_nSettingType]; }

  BoxFontScope fonts;
  const ScopedNamedObjects names;
  std::unique_ptr<SharedSettings> record = std::make_unique<SharedSettings>();
  CShareData share;
  FakeEditWindow editWindow;
  std::unique_ptr<CEditDoc> doc;
  std::unique_ptr<CEditView> view;
};
