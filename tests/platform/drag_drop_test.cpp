// Drop targets fed by the toolkit's drag events (synthesised here, offscreen), and drags started
// through the hook that takes the user's place.
#include "platform/drag_drop.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <functional>
#include <memory>
#include <algorithm>
#include <utility>
#include <optional>
#include <string>
#include <vector>

#include "platform/clipboard.h"
#include "platform/sjis_literal.h"
#include "platform/window_qt.h"
#include "recording_window.h"

namespace {

using namespace platform;
using platform_test::ChildWindowFixture;

struct Call {
  std::string kind;  // "enter", "over", "leave", "drop"
  DropData data;
  DWORD keyState = 0;
  POINT point{};
};

class RecordingTarget final : public DropTarget {
 public:
  bool DragEnter(const DropData& data, DWORD keyState, POINT point, DWORD* effect) override {
    calls.push_back({"enter", data, keyState, point});
    *effect = enterEffect;
    return acceptEnter;
  }
  DWORD DragOver(DWORD keyState, POINT point) override {
    calls.push_back({"over", {}, keyState, point});
    return overEffect;
  }
  void DragLeave() override { calls.push_back({"leave", {}, 0, {}}); }
  DWORD Drop(const DropData& data, DWORD keyState, POINT point) override {
    calls.push_back({"drop", data, keyState, point});
    return dropEffect;
  }

  std::vector<std::string> Kinds() const {
    std::vector<std::string> kinds;
    for (const Call& c : calls) kinds.push_back(c.kind);
    return kinds;
  }

  std::vector<Call> calls;
  bool acceptEnter = true;
  DWORD enterEffect = DROPEFFECT_COPY;
  DWORD overEffect = DROPEFFECT_COPY;
  DWORD dropEffect = DROPEFFECT_COPY;
};

// A drag as another program would bring it: enter, a move and the drop at one point.
struct Delivered {
  bool enterTaken = false;
  bool moveTaken = false;
  bool dropTaken = false;
  Qt::DropAction action = Qt::IgnoreAction;
};

Delivered Deliver(HWND hwnd, const QMimeData& mime, QPoint at, Qt::MouseButtons buttons = Qt::LeftButton,
                  Qt::KeyboardModifiers modifiers = Qt::NoModifier,
                  Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
  QWidget* canvas = WindowFromHandle(hwnd)->canvas();
  Delivered d;
  QDragEnterEvent enter(at, actions, &mime, buttons, modifiers);
  QCoreApplication::sendEvent(canvas, &enter);
  d.enterTaken = enter.isAccepted();
  QDragMoveEvent move(at, actions, &mime, buttons, modifiers);
  QCoreApplication::sendEvent(canvas, &move);
  d.moveTaken = move.isAccepted();
  QDropEvent drop(QPointF(at), actions, &mime, Qt::NoButton, modifiers);
  QCoreApplication::sendEvent(canvas, &drop);
  d.dropTaken = drop.isAccepted();
  d.action = drop.dropAction();
  return d;
}

class DragDropTest : public testing::Test {
 protected:
  void TearDown() override {
    SetDragHook({});
    if (IsWindow(windows.child)) RevokeDropTarget(windows.child);
    if (IsWindow(windows.parent)) RevokeDropTarget(windows.parent);
  }
  ChildWindowFixture windows;
  RecordingTarget target;
};

TEST_F(DragDropTest, WhatTheDropCarries) {
  const UINT privateFormat = RegisterClipboardFormat("TOVARAClip");
  const UINT otherFormat = RegisterClipboardFormat("Some Other Format");
  const QString privateType = QString::fromStdString(RegisteredFormatMimeType(privateFormat));
  struct Case {
    const char* name;
    std::function<void(QMimeData&)> fill;
    std::optional<std::u16string> text;
    std::vector<std::pair<UINT, std::string>> formats;
    std::vector<std::string> files;
  };
  const std::string withNul("\x05\0\0\0ab\0cd", 9);
  const Case cases[] = {
      {"plain text, ended at its NUL",
       [](QMimeData& m) { m.setText(QString::fromUtf8(u8"あ\tb") + QChar(char16_t{0}) + QStringLiteral("tail")); },
       std::u16string(u"あ\tb"),
       {},
       {}},
      {"characters beyond the BMP as their pairs",
       [](QMimeData& m) { m.setText(QString::fromUtf8(u8"é\U0001F600z")); },
       std::u16string(u"é\U0001F600z"),
       {},
       {}},
      {"registered formats byte for byte beside the text",
       [&](QMimeData& m) {
         m.setText("plain");
         m.setData(privateType, QByteArray(withNul.data(), static_cast<qsizetype>(withNul.size())));
         m.setData(QString::fromStdString(RegisteredFormatMimeType(otherFormat)), QByteArray("\xff", 1));
         m.setData("application/x-tovara-12", QByteArray("not registered"));
       },
       std::u16string(u"plain"),
       {{privateFormat, withNul}, {otherFormat, "\xff"}},
       {}},
      {"a format without text", [&](QMimeData& m) { m.setData(privateType, QByteArray("xy")); }, std::nullopt,
       {{privateFormat, "xy"}}, {}},
      {"a list of local files is a file drop, not text",
       [](QMimeData& m) { m.setUrls({QUrl::fromLocalFile("/tmp/a b.txt"), QUrl::fromLocalFile("/home/u/x.c")}); },
       std::nullopt,
       {},
       {"/tmp/a b.txt", "/home/u/x.c"}},
      {"files with their names as plain text are still a file drop",
       [](QMimeData& m) {
         m.setUrls({QUrl::fromLocalFile("/tmp/a.txt")});
         m.setText("/tmp/a.txt");
       },
       std::nullopt,
       {},
       {"/tmp/a.txt"}},
      {"a web address with its text is text",
       [](QMimeData& m) {
         m.setUrls({QUrl("https://example.org/")});
         m.setText("https://example.org/");
       },
       std::u16string(u"https://example.org/"),
       {},
       {}},
      {"a web address alone is no text", [](QMimeData& m) { m.setUrls({QUrl("https://example.org/")}); },
       std::nullopt, {}, {}},
      {"a picture is no text", [](QMimeData& m) { m.setData("image/png", QByteArray("\x89PNG", 4)); }, std::nullopt,
       {}, {}},
  };
  ASSERT_TRUE(RegisterDropTarget(windows.child, &target));
  for (const Case& c : cases) {
    target.calls.clear();
    QMimeData mime;
    c.fill(mime);
    Deliver(windows.child, mime, QPoint(5, 6));
    ASSERT_EQ(target.Kinds(), (std::vector<std::string>{"enter", "over", "drop"})) << c.name;
    for (const Call& call : {target.calls[0], target.calls[2]}) {
      EXPECT_EQ(call.data.text, c.text) << c.name << " " << call.kind;
      std::vector<std::pair<UINT, std::string>> formats;
      for (const DragFormat& f : call.data.formats) formats.emplace_back(f.format, f.bytes);
      std::sort(formats.begin(), formats.end());
      std::vector<std::pair<UINT, std::string>> expected = c.formats;
      std::sort(expected.begin(), expected.end());
      EXPECT_EQ(formats, expected) << c.name << " " << call.kind;
      EXPECT_EQ(call.data.files, c.files) << c.name << " " << call.kind;
      EXPECT_FALSE(call.data.sameWindow) << c.name;
    }
    if (!c.formats.empty()) {
      const std::string* first = target.calls[2].data.Format(c.formats.front().first);
      ASSERT_NE(first, nullptr) << c.name;
      EXPECT_EQ(*first, c.formats.front().second) << c.name;
      EXPECT_EQ(target.calls[2].data.Format(RegisterClipboardFormat("Never Offered")), nullptr) << c.name;
    }
  }
}

TEST_F(DragDropTest, KeyStatePointAndTheTargetsAnswers) {
  struct Case {
    const char* name;
    bool acceptEnter;
    DWORD over;
    DWORD drop;
    Qt::DropActions allowed;
    std::vector<std::string> calls;
    bool moveTaken;
    bool dropTaken;
    Qt::DropAction action;
  };
  const Case cases[] = {
      {"copy", true, DROPEFFECT_COPY, DROPEFFECT_COPY, Qt::CopyAction | Qt::MoveAction,
       {"enter", "over", "drop"}, true, true, Qt::CopyAction},
      {"move", true, DROPEFFECT_MOVE, DROPEFFECT_MOVE, Qt::CopyAction | Qt::MoveAction,
       {"enter", "over", "drop"}, true, true, Qt::MoveAction},
      {"none over, none at the drop", true, DROPEFFECT_NONE, DROPEFFECT_NONE, Qt::CopyAction | Qt::MoveAction,
       {"enter", "over", "drop"}, false, false, Qt::IgnoreAction},
      {"a move the drag does not allow", true, DROPEFFECT_MOVE, DROPEFFECT_MOVE, Qt::CopyAction,
       {"enter", "over", "drop"}, false, false, Qt::IgnoreAction},
      {"refused at the enter: nothing more", false, DROPEFFECT_COPY, DROPEFFECT_COPY,
       Qt::CopyAction | Qt::MoveAction, {"enter"}, false, false, Qt::IgnoreAction},
  };
  ASSERT_TRUE(RegisterDropTarget(windows.child, &target));
  for (const Case& c : cases) {
    target.calls.clear();
    target.acceptEnter = c.acceptEnter;
    target.overEffect = c.over;
    target.dropEffect = c.drop;
    QMimeData mime;
    mime.setText("t");
    const Delivered d = Deliver(windows.child, mime, QPoint(31, 17), Qt::LeftButton | Qt::RightButton,
                                Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier, c.allowed);
    EXPECT_EQ(d.enterTaken, c.acceptEnter) << c.name;
    EXPECT_EQ(d.moveTaken, c.moveTaken) << c.name;
    EXPECT_EQ(d.dropTaken, c.dropTaken) << c.name;
    if (c.dropTaken) {
      EXPECT_EQ(d.action, c.action) << c.name;
    }
    EXPECT_EQ(target.Kinds(), c.calls) << c.name;
    ASSERT_FALSE(target.calls.empty());
    EXPECT_EQ(target.calls[0].keyState, MK_LBUTTON | MK_RBUTTON | MK_CONTROL | MK_SHIFT | MK_ALT) << c.name;
    EXPECT_EQ(target.calls[0].point.x, 31) << c.name;
    EXPECT_EQ(target.calls[0].point.y, 17) << c.name;
    if (target.calls.size() == 3) {
      EXPECT_EQ(target.calls[2].keyState, MK_CONTROL | MK_SHIFT | MK_ALT) << c.name << ": the button is up";
    }
  }
}

TEST_F(DragDropTest, LeaveAfterEnterAndNoCallsOnceRevoked) {
  ASSERT_TRUE(RegisterDropTarget(windows.child, &target));
  QWidget* canvas = WindowFromHandle(windows.child)->canvas();
  QMimeData mime;
  mime.setText("t");
  QDragEnterEvent enter(QPoint(1, 1), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(canvas, &enter);
  QDragLeaveEvent leave;
  QCoreApplication::sendEvent(canvas, &leave);
  EXPECT_EQ(target.Kinds(), (std::vector<std::string>{"enter", "leave"}));

  // A second registration replaces the target.
  RecordingTarget second;
  ASSERT_TRUE(RegisterDropTarget(windows.child, &second));
  target.calls.clear();
  Deliver(windows.child, mime, QPoint(2, 2));
  EXPECT_TRUE(target.calls.empty());
  EXPECT_EQ(second.Kinds(), (std::vector<std::string>{"enter", "over", "drop"}));

  ASSERT_TRUE(RevokeDropTarget(windows.child));
  second.calls.clear();
  const Delivered d = Deliver(windows.child, mime, QPoint(2, 2));
  EXPECT_FALSE(d.enterTaken);
  EXPECT_FALSE(d.dropTaken);
  EXPECT_TRUE(second.calls.empty());
  EXPECT_FALSE(canvas->acceptDrops());

  EXPECT_FALSE(RegisterDropTarget(nullptr, &target));
  EXPECT_FALSE(RegisterDropTarget(windows.child, nullptr));
}

TEST_F(DragDropTest, ADragStartedThroughTheHookReachesTheWindowItIsLetGoOn) {
  struct Case {
    const char* name;
    bool toSelf;   // let go on the source window itself
    bool cancel;   // the hook cancels
    DWORD effects;  // allowed by the source
    DWORD targetEffect;
    DWORD result;
    std::vector<std::string> calls;
  };
  const Case cases[] = {
      {"copy to another window", false, false, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_COPY,
       {"enter", "over", "drop"}},
      {"move within the source window", true, false, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_MOVE,
       DROPEFFECT_MOVE, {"enter", "over", "drop"}},
      {"the target refuses", false, false, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_NONE, DROPEFFECT_NONE,
       {"enter", "over", "leave"}},
      {"a move the source does not allow", false, false, DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_NONE,
       {"enter", "over", "leave"}},
      {"cancelled", false, true, DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY, DROPEFFECT_NONE, {}},
  };
  // The child is the source; the parent or the child itself takes the drop.
  RecordingTarget childTarget;
  ASSERT_TRUE(RegisterDropTarget(windows.parent, &target));
  ASSERT_TRUE(RegisterDropTarget(windows.child, &childTarget));
  const std::string text("a\x82\xa0\0z", 5);
  const UINT format = RegisterClipboardFormat("Drag Test Format");
  const std::vector<DragFormat> formats{{format, text}};
  for (const Case& c : cases) {
    RecordingTarget& taker = c.toSelf ? childTarget : target;
    target.calls.clear();
    childTarget.calls.clear();
    taker.overEffect = c.targetEffect;
    taker.dropEffect = c.targetEffect;
    HWND hookSource = nullptr;
    std::string hookText;
    SetDragHook([&](HWND source, std::string_view dragged) {
      hookSource = source;
      hookText = std::string(dragged);
      return c.cancel ? DragRelease{} : DragRelease{c.toSelf ? windows.child : windows.parent, POINT{40, 30},
                                                    MK_LBUTTON | MK_CONTROL};
    });
    EXPECT_EQ(DoDragDrop(windows.child, text, formats, c.effects), c.result) << c.name;
    EXPECT_EQ(hookSource, windows.child) << c.name;
    EXPECT_EQ(hookText, text) << c.name;
    EXPECT_EQ(taker.Kinds(), c.calls) << c.name;
    if (!taker.calls.empty()) {
      const Call& enter = taker.calls.front();
      EXPECT_EQ(enter.data.text, std::u16string(u"aあ")) << c.name;
      ASSERT_NE(enter.data.Format(format), nullptr) << c.name;
      EXPECT_EQ(*enter.data.Format(format), text) << c.name;
      EXPECT_EQ(enter.data.sameWindow, c.toSelf) << c.name;
      EXPECT_EQ(enter.point.x, 40) << c.name;
      EXPECT_EQ(enter.point.y, 30) << c.name;
      EXPECT_EQ(enter.keyState, MK_LBUTTON | MK_CONTROL) << c.name;
    }
  }
  // Once the drag is over, nothing counts as coming from the source any more.
  childTarget.calls.clear();
  QMimeData mime;
  mime.setText("t");
  Deliver(windows.child, mime, QPoint(1, 1));
  ASSERT_FALSE(childTarget.calls.empty());
  EXPECT_FALSE(childTarget.calls[0].data.sameWindow);
  EXPECT_EQ(DoDragDrop(nullptr, "x", {}, DROPEFFECT_COPY), DROPEFFECT_NONE);
}

TEST_F(DragDropTest, TheDragOffersPlainTextAndTheFormatsGiven) {
  // What another program sees: a raw target on the parent reads the formats as they travel.
  class Formats final : public QObject {
   public:
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::DragEnter) {
        const QMimeData* mime = static_cast<QDragEnterEvent*>(event)->mimeData();
        plain = mime->text();
        block = mime->data(QString::fromStdString(RegisteredFormatMimeType(RegisterClipboardFormat("TOVARAClip"))));
      }
      return false;
    }
    QString plain;
    QByteArray block;
  };
  Formats formats;
  ASSERT_TRUE(RegisterDropTarget(windows.parent, &target));
  // Installed last, it sees each event first.
  WindowFromHandle(windows.parent)->canvas()->installEventFilter(&formats);
  SetDragHook([&](HWND, std::string_view) { return DragRelease{windows.parent, POINT{3, 3}, MK_LBUTTON}; });
  const std::string text(std::string("\x82\xa0") + std::string("b\0c", 3));
  DoDragDrop(windows.child, text, {{RegisterClipboardFormat("TOVARAClip"), std::string("\x02\0\0\0" "ab", 6)}}, DROPEFFECT_COPY);
  WindowFromHandle(windows.parent)->canvas()->removeEventFilter(&formats);
  EXPECT_EQ(formats.plain, QString::fromUtf8(u8"あb"));
  EXPECT_EQ(formats.block, QByteArray("\x02\0\0\0" "ab", 6));
}

TEST_F(DragDropTest, AnotherProgramsDropForTests) {
  ASSERT_TRUE(RegisterDropTarget(windows.child, &target));
  target.dropEffect = DROPEFFECT_MOVE;
  target.overEffect = DROPEFFECT_MOVE;
  ForeignDrag drag;
  drag.utf8Text = reinterpret_cast<const char*>(u8"ｶﾅ");
  drag.keyState = MK_LBUTTON | MK_SHIFT;
  EXPECT_EQ(DropFromOutside(windows.child, POINT{7, 8}, drag), DROPEFFECT_MOVE);
  ASSERT_EQ(target.Kinds(), (std::vector<std::string>{"enter", "over", "drop"}));
  EXPECT_EQ(target.calls[2].data.text, std::u16string(u"ｶﾅ"));
  EXPECT_FALSE(target.calls[2].data.sameWindow);
  EXPECT_EQ(target.calls[0].keyState, MK_LBUTTON | MK_SHIFT);
  EXPECT_EQ(target.calls[2].point.x, 7);

  target.calls.clear();
  ForeignDrag files;
  files.files = {"/tmp/x y.txt"};
  DropFromOutside(windows.child, POINT{1, 1}, files);
  ASSERT_FALSE(target.calls.empty());
  EXPECT_FALSE(target.calls[0].data.text);
  EXPECT_EQ(target.calls[0].data.files, (std::vector<std::string>{"/tmp/x y.txt"}));
}

TEST_F(DragDropTest, ADestroyedWindowTakesNoDrop) {
  ASSERT_TRUE(RegisterDropTarget(windows.child, &target));
  DestroyWindow(windows.child);
  SetDragHook([&](HWND, std::string_view) { return DragRelease{windows.child, POINT{3, 3}, MK_LBUTTON}; });
  EXPECT_EQ(DoDragDrop(windows.parent, "x", {}, DROPEFFECT_COPY), DROPEFFECT_NONE);
  EXPECT_TRUE(target.calls.empty());
  EXPECT_FALSE(RevokeDropTarget(windows.child));
}

}  // namespace

