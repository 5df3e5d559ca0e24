// The print preview as the edit window switches to it: made on one of the shared print settings,
// it tells whether it found a printer to lay pages out for, and takes the frame's paint, size,
// wheel and scroll messages while it shows. Until the preview is built the frame's default one
// finds no printer, so entering the preview takes the "install a printer" path.
#pragma once

#include <functional>
#include <memory>

#include "editor/foundation/document/doc_interfaces.h"
#include "platform/win_types.h"

class IEditPrintPreview : public IDocPrintPreview {
 public:
  // Reads the printer's information and lays the pages out; false when there is no printer.
  virtual bool Init() = 0;
  // The frame's messages while the preview shows (WM_PAINT, WM_SIZE, WM_MOUSEWHEEL, WM_HSCROLL,
  // WM_VSCROLL, WM_MOUSEMOVE, focus).
  virtual LRESULT DispatchEvent(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // Shows the pages of another of the shared print settings.
  virtual void SetPrintSetting(int index) = 0;
};

// Makes the preview of the frame on the print setting of that index.
using PrintPreviewMaker = std::function<std::unique_ptr<IEditPrintPreview>(HWND frame, int printSetting)>;

// The maker of a preview that finds no printer.
PrintPreviewMaker NoPrinterPreviewMaker();
