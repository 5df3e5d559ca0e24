// The fixture's document shown in a real pane window: the splitter tests' plain frame (offscreen)
// holds the pane as its child, 640 x 480, with the fake edit window as its edit window. The pane
// is made by CEditView::Create, so it has its scroll bars, split boxes, tip window and timer.
#pragma once

#include "editor/view/pane/edit_view.h"
#include "platform/window.h"
#include "splitter_fixture.h"
#include "tests/platform/recording_window.h"
#include "view_fixture.h"

class PaneWindowFixture : public ViewFixture {
 protected:
  static constexpr int kWidth = 640;
  static constexpr int kHeight = 480;

  void SetUp() override {
    ViewFixture::SetUp();
    Pump();
    top = splitter_test::MakeFrame("pane test", kWidth + 20, kHeight + 20);
    ASSERT_NE(top, nullptr);
    editWindow.window = top;
    view = std::make_unique<CEditView>();
    view->SetEditWindow(&editWindow);
    ASSERT_EQ(view->Create(nullptr, top, doc.get(), 0, true), 1);
    DocPorts ports = doc->Ports();
    ports.panes[0] = view.get();
    doc->SetPorts(ports);
    platform::MoveWindow(view->Window(), 0, 0, kWidth, kHeight, 1);
    Pump();
  }
  void TearDown() override {
    view.reset();
    if (platform::IsWindow(top)) platform::DestroyWindow(top);
    Pump();
    ViewFixture::TearDown();
  }

  // A program's pump: typed keys become characters.
  static void Pump() { platform_test::PumpTranslated(); }
  static const char* TopClass() { return splitter_test::FrameClass(); }

  HWND top = nullptr;
};
