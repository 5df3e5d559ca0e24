#include "editor/shell/window/command_state.h"

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/text/line_end.h"

namespace {

const IDocPane* ActivePane(const CEditDoc& doc) {
  const int index = doc.GetActivePane();
  if (index < 0 || index >= static_cast<int>(doc.Ports().panes.size())) return nullptr;
  return doc.Ports().panes[static_cast<size_t>(index)];
}

bool HasPath(const CEditDoc& doc) { return doc.m_szFilePath[0] != '\0'; }

// While a key macro is recorded, its commands belong to the recording window alone.
bool IsRecordingElsewhere(const CEditDoc& doc, const SharedSettings& record) {
  if (!record.bKeyMacroRecording) return false;
  const IDocFrame* frame = doc.Ports().frame;
  return !frame || frame->WindowId() != record.hwndKeyMacroRecorder;
}

bool IsRecordingHere(const CEditDoc& doc, const SharedSettings& record) {
  return record.bKeyMacroRecording && !IsRecordingElsewhere(doc, record);
}

bool InRange(int command, int first, int last) { return command >= first && command <= last; }

// The commands that work on the selection.
bool NeedsSelection(int command) {
  return InRange(command, 30610, 30612) || command == 30800 || command == 30801 || InRange(command, 30810, 30817) ||
         command == 30830 || command == 30831 || InRange(command, 30850, 30856) || InRange(command, 30860, 30863) ||
         command == 30870 || command == 30880;
}

// The commands that need the document's file name.
bool NeedsPath(int command) {
  return InRange(command, 30160, 30162) || command == 30171 || command == 30180 || command == 30190 ||
         InRange(command, 30620, 30622) || command == 30944 || command == 30946;
}

}  // namespace

bool IsCommandEnabled(const CEditDoc& doc, const SharedSettings& record, int command) {
  if (doc.IsCommandRefusedReadOnly(command)) return false;
  const IDocPane* pane = ActivePane(doc);
  const bool fixedPitch = record.Common.bFontIs_FIXED_PITCH == 1;
  if (NeedsPath(command)) return HasPath(doc);
  if (NeedsSelection(command)) return doc.IsTextSelected();
  switch (command) {
    case 30101:  // a new window
    case 30910:  // grep opens a window
      return record.nEditWindowCount < kEditWindowSlots;
    case 30103:
      return !doc.m_bReadOnly && (doc.m_bIsModified || record.Common.bEnableUnmodifiedOverwrite);
    case 30210:
      return doc.CanUndo();
    case 30211:
      return doc.CanRedo();
    case 30244:  // line commands that would take the selection for the line
    case 30245:
    case 30400:
      return !doc.IsTextSelected();
    case 30370:
      return pane && pane->HasCursorHistory(false);
    case 30371:
      return pane && pane->HasCursorHistory(true);
    case 30510:
      return fixedPitch;
    case 30604:
      return doc.CanPaste();
    case 30605:
      return doc.CanPaste() && fixedPitch;
    case 30909:
      return pane && pane->HasSearchStart();
    case 30950:
      return record.nEditWindowCount > 1;
    case 30978:
    case 30979:
    case 30980:
      return doc.m_cDocLineMgr.IsDiffPresent();
    case 31250:
    case 31252:
      return !IsRecordingElsewhere(doc, record);
    case 31251:
      if (record.bKeyMacroRecording) return !IsRecordingElsewhere(doc, record);
      return doc.Ports().macros && doc.Ports().macros->HasTemporaryKeyMacro();
    case 31253:
      if (record.bKeyMacroRecording) return !IsRecordingElsewhere(doc, record);
      return record.szKeyMacroFile[0] != '\0';
    case 31333:
      return record.Common.bDispTabWnd != 0;
    default:
      return true;
  }
}

bool IsCommandChecked(const CEditDoc& doc, const SharedSettings& record, int command) {
  const IDocFrame* frame = doc.Ports().frame;
  const IDocPane* pane = ActivePane(doc);
  if (InRange(command, 30111, 30117)) return doc.m_nCharCode == command - 30111;
  if (InRange(command, 30981, 30986)) return pane && pane->IsISearchChecked(command);
  switch (command) {
    case 30185:
      return doc.m_bReadOnly;
    case 30931:
      return doc.Ports().companions && doc.Ports().companions->IsOutlineOpen();
    case 31001:
      return doc.m_bInsMode;
    case 31081:
      return doc.m_nNewLineType == CLineEnd::CRLF;
    case 31082:
      return doc.m_nNewLineType == CLineEnd::LF;
    case 31083:
      return doc.m_nNewLineType == CLineEnd::CR;
    case 31100:
      return frame && frame->HasToolBar();
    case 31101:
      return frame && frame->HasFuncKeyBar();
    case 31102:
      return frame && frame->HasStatusBar();
    case 31103:
      return frame && frame->HasTabBar();
    case 31250:
      return IsRecordingHere(doc, record);
    case 31333:
      return record.Common.bDispTabWnd && !record.Common.bDispTabWndMultiWin;
    case 31334:
      return frame && frame->IsTopMost();
    default:
      return false;
  }
}
