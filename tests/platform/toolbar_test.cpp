// Toolbar controls: their buttons' places and rows, the states the program sets, and what the
// parent hears when the user clicks, drops a menu down, waits for a tip or types in the search box.
#include "platform/toolbar.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QToolTip>
#include <string>
#include <vector>

#include "frame_window.h"
#include "platform/dialog.h"
#include "platform/sjis_literal.h"
#include "platform/window_qt.h"

namespace {

using namespace platform;
using platform_test::ClickWidget;
using platform_test::Frame;
using platform_test::FrameFixture;
using platform_test::FrameSeen;
using platform_test::FrameSeenOf;
using platform_test::PumpFrame;

constexpr int kNew = 30101;
constexpr int kOpen = 30102;
constexpr int kSave = 30103;
constexpr int kSearchBox = 30908;
constexpr int kFind = 30902;

TBBUTTON Button(int icon, int command, uint8_t state = TBSTATE_ENABLED, uint8_t style = TBSTYLE_BUTTON) {
  return TBBUTTON{icon, command, state, style, 0, 0};
}

class ToolbarTest : public testing::Test {
 protected:
  void SetUp() override {
    bar = CreateWindowEx(0, "ToolbarWindow32", nullptr, WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS, 0, 0, 0, 0,
                         windows.frame, reinterpret_cast<HMENU>(intptr_t{100}), nullptr, nullptr);
    ASSERT_NE(bar, nullptr);
    SendMessage(bar, TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON), 0);
  }
  void Add(std::vector<TBBUTTON> buttons) {
    ASSERT_TRUE(SendMessage(bar, TB_ADDBUTTONS, buttons.size(), reinterpret_cast<LPARAM>(buttons.data())));
  }
  RECT ItemRect(int index) {
    RECT r{};
    EXPECT_TRUE(SendMessage(bar, TB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)));
    return r;
  }
  // The button of a command: the entries' widgets in the order they were added.
  QToolButton* ButtonOf(int index) {
    const QList<QToolButton*> all = ChildFromHandle(bar)->widget()->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly);
    return index < all.size() ? all[index] : nullptr;
  }
  int BarHeight() {
    RECT r{};
    GetClientRect(bar, &r);
    return r.bottom - r.top;
  }

  FrameFixture windows;
  HWND bar = nullptr;
};

TEST_F(ToolbarTest, ButtonsAndGapsLieInRowsThatWrapWhereAnEntrySaysSo) {
  TBBUTTON gap = Button(0, 0, 0, TBSTYLE_SEP);
  TBBUTTON drop = Button(2, kSave, TBSTATE_ENABLED | TBSTATE_WRAP, TBSTYLE_DROPDOWN);
  SendMessage(bar, TB_SETEXTENDEDSTYLE, 0, TBSTYLE_EX_DRAWDDARROWS);
  Add({Button(0, kNew), gap, drop, Button(1, kOpen), Button(3, kFind, TBSTATE_ENABLED | TBSTATE_WRAP)});
  struct Case {
    const char* name;
    int index;
    RECT rect;
  };
  const int top = kToolbarMargin;
  const int second = kToolbarMargin + kButtonHeight;
  const Case cases[] = {
      {"first button", 0, {0, top, kButtonWidth, top + kButtonHeight}},
      {"gap", 1, {kButtonWidth, top, kButtonWidth + kSeparatorWidth, top + kButtonHeight}},
      {"drop-down with its arrow", 2,
       {kButtonWidth + kSeparatorWidth, top, 2 * kButtonWidth + kSeparatorWidth + kDropDownArrowWidth, top + kButtonHeight}},
      {"after the row break", 3, {0, second, kButtonWidth, second + kButtonHeight}},
      {"last, with a break of its own", 4, {kButtonWidth, second, 2 * kButtonWidth, second + kButtonHeight}},
  };
  for (const Case& c : cases) {
    const RECT r = ItemRect(c.index);
    EXPECT_EQ(r.left, c.rect.left) << c.name;
    EXPECT_EQ(r.top, c.rect.top) << c.name;
    EXPECT_EQ(r.right, c.rect.right) << c.name;
    EXPECT_EQ(r.bottom, c.rect.bottom) << c.name;
  }
  // Two rows: the break on the last entry opens no third one.
  EXPECT_EQ(BarHeight(), 2 * kButtonHeight + 2 * kToolbarMargin);
  EXPECT_EQ(SendMessage(bar, TB_BUTTONCOUNT, 0, 0), 5);
  RECT none{};
  EXPECT_FALSE(SendMessage(bar, TB_GETITEMRECT, 5, reinterpret_cast<LPARAM>(&none)));
  // The bar spans its parent, and follows it when told of a new size.
  RECT frame{};
  GetClientRect(windows.frame, &frame);
  RECT own{};
  GetClientRect(bar, &own);
  EXPECT_EQ(own.right, frame.right);
  MoveWindow(windows.frame, 40, 40, 520, 200, 1);
  SendMessage(bar, WM_SIZE, 0, 0);
  GetClientRect(bar, &own);
  EXPECT_EQ(own.right, 520);
}

TEST_F(ToolbarTest, AGapGivenAWidthMovesTheEntriesAfterIt) {
  Add({Button(0, kNew), Button(0, kSearchBox, TBSTATE_ENABLED, TBSTYLE_SEP), Button(1, kOpen)});
  TBBUTTONINFO info;
  info.dwMask = TBIF_SIZE;
  info.cx = 160;
  ASSERT_TRUE(SendMessage(bar, TB_SETBUTTONINFO, kSearchBox, reinterpret_cast<LPARAM>(&info)));
  EXPECT_EQ(ItemRect(1).right - ItemRect(1).left, 160);
  EXPECT_EQ(ItemRect(2).left, kButtonWidth + 160);
  EXPECT_FALSE(SendMessage(bar, TB_SETBUTTONINFO, 4242, reinterpret_cast<LPARAM>(&info)));
}

TEST_F(ToolbarTest, StatesAreTheProgramsAndAClickPostsTheCommand) {
  Add({Button(0, kNew), Button(1, kOpen), Button(2, kSave)});
  struct Case {
    const char* name;
    UINT message;
    int command;
    bool on;
    bool known;
    uint8_t state;  // after the message
  };
  const Case cases[] = {
      {"grey a button", TB_ENABLEBUTTON, kSave, false, true, 0},
      {"push one in", TB_CHECKBUTTON, kOpen, true, true, TBSTATE_ENABLED | TBSTATE_CHECKED},
      {"let it out", TB_CHECKBUTTON, kOpen, false, true, TBSTATE_ENABLED},
      {"enable again", TB_ENABLEBUTTON, kSave, true, true, TBSTATE_ENABLED},
      {"a command the bar lacks", TB_ENABLEBUTTON, 4242, true, false, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SendMessage(bar, c.message, static_cast<WPARAM>(c.command), MAKELPARAM(c.on ? 1 : 0, 0)) != 0, c.known) << c.name;
    if (!c.known) {
      EXPECT_EQ(SendMessage(bar, TB_GETSTATE, static_cast<WPARAM>(c.command), 0), -1) << c.name;
      continue;
    }
    EXPECT_EQ(SendMessage(bar, TB_GETSTATE, static_cast<WPARAM>(c.command), 0), c.state) << c.name;
    const int index = c.command - kNew;
    EXPECT_EQ(ButtonOf(index)->isEnabled(), (c.state & TBSTATE_ENABLED) != 0) << c.name;
    EXPECT_EQ(ButtonOf(index)->isChecked(), (c.state & TBSTATE_CHECKED) != 0) << c.name;
  }

  SendMessage(bar, TB_CHECKBUTTON, kOpen, MAKELPARAM(1, 0));
  SendMessage(bar, TB_ENABLEBUTTON, kSave, MAKELPARAM(0, 0));
  Frame().seen.clear();
  ClickWidget(ButtonOf(1), QPoint(5, 5));
  ClickWidget(ButtonOf(2), QPoint(5, 5));  // grey: nothing
  EXPECT_TRUE(FrameSeenOf(WM_COMMAND).empty());  // queued, not sent
  PumpFrame();
  const std::vector<FrameSeen> commands = FrameSeenOf(WM_COMMAND);
  ASSERT_EQ(commands.size(), 1u);
  EXPECT_EQ(commands[0].wParam, MAKEWPARAM(kOpen, BN_CLICKED));
  EXPECT_EQ(commands[0].lParam, reinterpret_cast<LPARAM>(bar));
  // A click between the buttons is the bar's: the frame under it hears nothing.
  Frame().seen.clear();
  ClickWidget(ChildFromHandle(bar)->widget(), QPoint(3 * kButtonWidth + 20, kToolbarMargin + 4));
  PumpFrame();
  EXPECT_TRUE(FrameSeenOf(WM_LBUTTONDOWN).empty());
  EXPECT_TRUE(FrameSeenOf(WM_COMMAND).empty());
  // The click did not let the pushed-in button out: only the program does.
  EXPECT_TRUE(ButtonOf(1)->isChecked());
  EXPECT_EQ(SendMessage(bar, TB_GETSTATE, kOpen, 0), TBSTATE_ENABLED | TBSTATE_CHECKED);
}

TEST_F(ToolbarTest, ADropDownButtonTellsItsParentAndAClickElsewhereIsACommand) {
  struct Case {
    const char* name;
    bool arrows;
    bool onArrow;
    bool dropDown;
  };
  const Case cases[] = {
      {"arrow pressed", true, true, true},
      {"button part clicked", true, false, false},
      {"no arrow: any press", false, false, true},
  };
  for (const Case& c : cases) {
    Frame().seen.clear();
    SendMessage(bar, TB_SETEXTENDEDSTYLE, 0, c.arrows ? TBSTYLE_EX_DRAWDDARROWS : 0);
    if (SendMessage(bar, TB_BUTTONCOUNT, 0, 0) == 0) Add({Button(0, kNew), Button(1, kOpen, TBSTATE_ENABLED, TBSTYLE_DROPDOWN)});
    QToolButton* drop = ButtonOf(1);
    const QPoint at = c.onArrow ? QPoint(drop->width() - 3, drop->height() / 2) : QPoint(4, drop->height() / 2);
    ClickWidget(drop, at);
    PumpFrame();
    const std::vector<FrameSeen> notes = FrameSeenOf(WM_NOTIFY);
    const std::vector<FrameSeen> commands = FrameSeenOf(WM_COMMAND);
    if (c.dropDown) {
      ASSERT_EQ(notes.size(), 1u) << c.name;
      EXPECT_EQ(notes[0].code, TBN_DROPDOWN) << c.name;
      EXPECT_EQ(notes[0].item, kOpen) << c.name;
      EXPECT_EQ(notes[0].idFrom, 100u) << c.name;
      EXPECT_EQ(notes[0].from, bar) << c.name;
      const RECT r = ItemRect(1);
      EXPECT_EQ(notes[0].rect.left, r.left) << c.name;
      EXPECT_EQ(notes[0].rect.right, r.right) << c.name;
      EXPECT_TRUE(commands.empty()) << c.name;
    } else {
      EXPECT_TRUE(notes.empty()) << c.name;
      ASSERT_EQ(commands.size(), 1u) << c.name;
      EXPECT_EQ(LOWORD(commands[0].wParam), kOpen) << c.name;
    }
  }
}

TEST_F(ToolbarTest, ATipShowsTheParentsTextCutOnAWholeCharacter) {
  Add({Button(0, kNew), Button(1, kOpen)});
  QToolButton* button = ButtonOf(1);
  auto hover = [&] {
    QHelpEvent help(QEvent::ToolTip, QPoint(4, 4), button->mapToGlobal(QPoint(4, 4)));
    QCoreApplication::sendEvent(button, &help);
  };
  struct Case {
    const char* name;
    std::string answer;
    QString shown;
  };
  // 1023 bytes of ASCII and a kanji whose second byte would be the 1025th.
  std::string cut(1023, 'a');
  cut += "開"_sj;
  const Case cases[] = {
      {"name and key", std::string("開く"_sj) + "\n        Ctrl+O", QString::fromUtf8(u8"開く\n        Ctrl+O")},
      {"cut before a split kanji", cut, QString(1023, 'a')},
  };
  for (const Case& c : cases) {
    Frame().seen.clear();
    Frame().tip = c.answer;
    hover();
    const std::vector<FrameSeen> notes = FrameSeenOf(WM_NOTIFY);
    ASSERT_EQ(notes.size(), 1u) << c.name;
    EXPECT_EQ(notes[0].code, TTN_NEEDTEXT) << c.name;
    EXPECT_EQ(notes[0].idFrom, static_cast<uintptr_t>(kOpen)) << c.name;
    EXPECT_EQ(QToolTip::text(), c.shown) << c.name;
  }
  // Without the tips style the parent is not asked.
  SendMessage(bar, TB_SETSTYLE, 0, WS_CHILD | WS_VISIBLE);
  Frame().seen.clear();
  hover();
  EXPECT_TRUE(FrameSeenOf(WM_NOTIFY).empty());
  QToolTip::hideText();
}

TEST_F(ToolbarTest, FlatStyleAndIconsOfTheStrip) {
  // A strip of two cells: red and green squares on the transparent colour.
  constexpr uint32_t kMagenta = 0xFF00FF;
  auto strip = CreateDIBSection32(32, 16);
  ASSERT_NE(strip, nullptr);
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 32; ++x) {
      const bool inside = (x % 16) >= 4 && (x % 16) < 12 && y >= 4 && y < 12;
      reinterpret_cast<uint32_t*>(strip->Row(y))[x] = !inside ? kMagenta : (x < 16 ? 0xFF0000u : 0x00FF00u);
    }
  Add({Button(0, kNew), Button(1, kOpen), Button(7, kSave)});
  ToolbarIconStrip icons;
  icons.strip = strip.get();
  icons.transparent = kMagenta;
  ASSERT_TRUE(SetToolbarIcons(bar, icons));
  EXPECT_FALSE(SetToolbarIcons(windows.frame, icons));
  struct Case {
    const char* name;
    int index;
    bool hasIcon;
    QRgb centre;
  };
  const Case cases[] = {
      {"red cell", 0, true, qRgb(255, 0, 0)},
      {"green cell", 1, true, qRgb(0, 255, 0)},
      {"a cell the strip lacks", 2, false, 0},
  };
  for (const Case& c : cases) {
    const QIcon icon = ButtonOf(c.index)->icon();
    ASSERT_EQ(!icon.isNull(), c.hasIcon) << c.name;
    if (!c.hasIcon) continue;
    const QImage image = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(image.pixel(8, 8), c.centre | 0xFF000000u) << c.name;
    EXPECT_EQ(qAlpha(image.pixel(1, 1)), 0) << c.name;  // the transparent colour lets the bar through
    // The toolkit draws the disabled look: not the normal picture.
    const QImage grey = icon.pixmap(QSize(16, 16), QIcon::Disabled).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_NE(grey.pixel(8, 8), image.pixel(8, 8)) << c.name;
  }
  EXPECT_FALSE(ButtonOf(0)->autoRaise());
  SendMessage(bar, TB_SETSTYLE, 0, SendMessage(bar, TB_GETSTYLE, 0, 0) | TBSTYLE_FLAT);
  EXPECT_TRUE(ButtonOf(0)->autoRaise());
  EXPECT_TRUE(ButtonOf(2)->autoRaise());
}

TEST_F(ToolbarTest, TheSearchBoxKeepsItsListAndLimitAndTellsThePartsOfItsUse) {
  Add({Button(0, kNew), Button(0, kSearchBox, TBSTATE_ENABLED, TBSTYLE_SEP)});
  HWND box = CreateWindowEx(0, "COMBOBOX", "Combo", WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                            kButtonWidth, kToolbarMargin + 1, 160, 10 * kButtonHeight, bar,
                            reinterpret_cast<HMENU>(intptr_t{kSearchBox}), nullptr, nullptr);
  ASSERT_NE(box, nullptr);
  auto* combo = qobject_cast<QComboBox*>(ChildFromHandle(box)->widget());
  ASSERT_NE(combo, nullptr);
  EXPECT_EQ(combo->parentWidget(), ChildFromHandle(bar)->widget());
  EXPECT_EQ(combo->x(), kButtonWidth);
  EXPECT_EQ(combo->width(), 160);
  EXPECT_LE(combo->height(), kButtonHeight);  // its list is a pop-up, not its height
  EXPECT_EQ(GetWindowLongPtr(box, GWLP_ID), kSearchBox);

  SendMessage(box, CB_LIMITTEXT, 4, 0);
  SendMessage(box, CB_RESETCONTENT, 0, 0);
  EXPECT_EQ(SendMessage(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("検索"_sj)), 0);
  EXPECT_EQ(SendMessage(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>("abc")), 1);
  EXPECT_EQ(SendMessage(box, CB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(SendMessage(box, CB_SETCURSEL, 0, 0), 0);
  char text[260] = {};
  EXPECT_EQ(SendMessage(box, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text)), 4);
  EXPECT_EQ(std::string(text), std::string("検索"_sj));
  EXPECT_EQ(SendMessage(box, CB_SETCURSEL, 5, 0), CB_ERR);
  // Typing counts Shift-JIS bytes: a fifth byte is refused.
  combo->lineEdit()->clear();
  combo->lineEdit()->insert(QString::fromUtf8(u8"漢字"));
  combo->lineEdit()->insert("x");
  EXPECT_EQ(combo->currentText(), QString::fromUtf8(u8"漢字"));

  Frame().seen.clear();
  combo->setFocus();
  QFocusEvent in(QEvent::FocusIn, Qt::OtherFocusReason);
  QCoreApplication::sendEvent(combo, &in);
  QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(combo, &enter);
  QFocusEvent out(QEvent::FocusOut, Qt::OtherFocusReason);
  QCoreApplication::sendEvent(combo, &out);
  MSG msg;
  std::vector<MSG> keys;
  for (int i = 0; i < 3; ++i)
    while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_KEYDOWN) keys.push_back(msg);
      DispatchMessage(&msg);
    }
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].hwnd, box);
  EXPECT_EQ(keys[0].wParam, static_cast<WPARAM>(VK_RETURN));
  // The program's loop asks the box for its messages, as for a dialog's.
  EXPECT_TRUE(IsDialogMessage(box, &keys[0]));
  MSG other{windows.frame, WM_KEYDOWN, VK_RETURN, 1};
  EXPECT_FALSE(IsDialogMessage(box, &other));
  std::vector<WORD> codes;
  for (const FrameSeen& s : FrameSeenOf(WM_COMMAND)) {
    EXPECT_EQ(LOWORD(s.wParam), kSearchBox);
    EXPECT_EQ(s.lParam, reinterpret_cast<LPARAM>(box));
    codes.push_back(HIWORD(s.wParam));
  }
  ASSERT_GE(codes.size(), 2u);
  EXPECT_EQ(codes.front(), CBN_SETFOCUS);
  EXPECT_EQ(codes.back(), CBN_KILLFOCUS);
  // A combo box elsewhere stays the plain window of the standard class.
  EXPECT_EQ(ChildFromHandle(CreateWindowEx(0, "COMBOBOX", "", WS_CHILD, 0, 0, 10, 10, windows.frame, nullptr, nullptr,
                                           nullptr)),
            nullptr);
}

}  // namespace
