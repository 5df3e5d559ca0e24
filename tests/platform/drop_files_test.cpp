// Files dragged from another program onto a window that takes files, through the toolkit's drag
// events (synthesised here, offscreen), and the queries of the drop that WM_DROPFILES brings.
#include "platform/drop_files.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <cstring>
#include <string>
#include <vector>

#include "platform/drag_drop.h"
#include "platform/message_box.h"
#include "platform/sjis_literal.h"
#include "platform/window_qt.h"
#include "recording_window.h"

namespace {

using namespace platform;
using platform_test::ChildWindowFixture;
using platform_test::PumpTranslated;
using platform_test::Seen;
using platform_test::SeenBy;

class CountingTarget final : public DropTarget {
 public:
  bool DragEnter(const DropData& data, DWORD, POINT, DWORD* effect) override {
    kinds.push_back("enter");
    files = data.files;
    *effect = DROPEFFECT_COPY;
    return true;
  }
  DWORD DragOver(DWORD, POINT) override {
    kinds.push_back("over");
    return DROPEFFECT_COPY;
  }
  void DragLeave() override { kinds.push_back("leave"); }
  DWORD Drop(const DropData&, DWORD, POINT) override {
    kinds.push_back("drop");
    return DROPEFFECT_COPY;
  }
  std::vector<std::string> kinds;
  std::vector<std::string> files;
};

std::vector<Seen> DropMessages(HWND hwnd) {
  return SeenBy(hwnd, [](UINT message) { return message == WM_DROPFILES; });
}

std::string QueryFile(HDROP drop, UINT index) {
  const UINT length = DragQueryFile(drop, index, nullptr, 0);
  std::string path(length + 1, '\x7f');
  EXPECT_EQ(DragQueryFile(drop, index, path.data(), static_cast<UINT>(path.size())), length);
  EXPECT_EQ(path[length], '\0');
  path.resize(length);
  return path;
}

std::vector<std::string> AllFiles(HDROP drop) {
  std::vector<std::string> paths;
  const UINT count = DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) paths.push_back(QueryFile(drop, i));
  return paths;
}

class DropFilesTest : public testing::Test {
 protected:
  void SetUp() override {
    previousBox = SetMessageBoxHook([this](const MessageBoxRequest& r) {
      boxes.push_back(r);
      return IDOK;
    });
  }
  void TearDown() override {
    for (const Seen& s : platform_test::SeenMessages()) {
      if (s.message == WM_DROPFILES) DragFinish(reinterpret_cast<HDROP>(s.wParam));
    }
    SetMessageBoxHook(previousBox);
  }
  // The one WM_DROPFILES the window was posted, once the queue is pumped.
  HDROP TheDrop(HWND hwnd) {
    PumpTranslated();
    const std::vector<Seen> drops = DropMessages(hwnd);
    EXPECT_EQ(drops.size(), 1u);
    if (drops.size() != 1) return nullptr;
    EXPECT_EQ(drops[0].lParam, 0);
    return reinterpret_cast<HDROP>(drops[0].wParam);
  }

  ChildWindowFixture windows;
  CountingTarget target;
  std::vector<MessageBoxRequest> boxes;
  MessageBoxHook previousBox;
};

TEST_F(DropFilesTest, WhichWindowADragGoesTo) {
  struct Case {
    const char* name;
    bool parentTakesFiles;
    bool childTakesFiles;
    bool parentTarget;  // the parent has a drop target as well (the child always has one)
    bool files;         // files, else text
    HWND (*dropsTo)(const ChildWindowFixture&);  // null: the child's target takes the drag
    POINT expectedPoint;
  };
  const auto parent = [](const ChildWindowFixture& w) { return w.parent; };
  const auto child = [](const ChildWindowFixture& w) { return w.child; };
  const Case cases[] = {
      {"files over a child with a target go to the parent that takes them", true, false, false, true, parent,
       {15, 16}},
      {"text over that child stays with its target", true, false, false, false, nullptr, {}},
      {"a child that takes files itself keeps them", true, true, false, true, child, {5, 6}},
      {"a parent with a target of its own still takes files", true, false, true, true, parent, {15, 16}},
      {"no window takes files: the target has them", false, false, false, true, nullptr, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(DragAcceptFiles(windows.parent, c.parentTakesFiles));
    ASSERT_TRUE(DragAcceptFiles(windows.child, c.childTakesFiles));
    CountingTarget parentTarget;
    if (c.parentTarget) {
      ASSERT_TRUE(RegisterDropTarget(windows.parent, &parentTarget));
    }
    ASSERT_TRUE(RegisterDropTarget(windows.child, &target));
    target.kinds.clear();
    platform_test::SeenMessages().clear();

    ForeignDrag drag;
    if (c.files) {
      drag.files = {"/tmp/a.txt"};
    } else {
      drag.utf8Text = "words";
    }
    EXPECT_EQ(DropFromOutside(windows.child, POINT{5, 6}, drag), DROPEFFECT_COPY);
    PumpTranslated();
    if (c.dropsTo) {
      const HWND taker = c.dropsTo(windows);
      EXPECT_TRUE(target.kinds.empty());
      const HDROP drop = TheDrop(taker);
      EXPECT_TRUE(DropMessages(taker == windows.parent ? windows.child : windows.parent).empty());
      EXPECT_EQ(AllFiles(drop), (std::vector<std::string>{"/tmp/a.txt"}));
      POINT at{-1, -1};
      EXPECT_TRUE(DragQueryPoint(drop, &at));
      EXPECT_EQ(at.x, c.expectedPoint.x);
      EXPECT_EQ(at.y, c.expectedPoint.y);
      DragFinish(drop);
    } else {
      EXPECT_EQ(target.kinds, (std::vector<std::string>{"enter", "over", "drop"}));
      EXPECT_EQ(target.files, c.files ? std::vector<std::string>{"/tmp/a.txt"} : std::vector<std::string>{});
      EXPECT_TRUE(DropMessages(windows.parent).empty());
      EXPECT_TRUE(DropMessages(windows.child).empty());
    }
    EXPECT_TRUE(parentTarget.kinds.empty());
    RevokeDropTarget(windows.parent);
    RevokeDropTarget(windows.child);
  }
}

TEST_F(DropFilesTest, ATakerWithoutATargetAndWhatEndsIt) {
  ASSERT_TRUE(DragAcceptFiles(windows.parent, 1));
  QWidget* canvas = WindowFromHandle(windows.parent)->canvas();
  EXPECT_TRUE(canvas->acceptDrops());
  QMimeData files;
  files.setUrls({QUrl::fromLocalFile("/tmp/x.txt")});

  // Over and away again: nothing is posted.
  QDragEnterEvent enter(QPoint(3, 4), Qt::CopyAction | Qt::MoveAction, &files, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(canvas, &enter);
  EXPECT_TRUE(enter.isAccepted());
  EXPECT_EQ(enter.dropAction(), Qt::CopyAction);
  QDragLeaveEvent leave;
  QCoreApplication::sendEvent(canvas, &leave);
  PumpTranslated();
  EXPECT_TRUE(DropMessages(windows.parent).empty());

  // Text is not the taker's: with no target it is refused.
  ForeignDrag text;
  text.utf8Text = "t";
  EXPECT_EQ(DropFromOutside(windows.parent, POINT{1, 1}, text), DROPEFFECT_NONE);

  // A drag that only allows moving the files is refused: a drop of files copies.
  QDragEnterEvent moveOnly(QPoint(3, 4), Qt::MoveAction, &files, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(canvas, &moveOnly);
  EXPECT_FALSE(moveOnly.isAccepted());

  // Taking files ends while a drag is over the window: its drop is refused.
  QDragEnterEvent again(QPoint(3, 4), Qt::CopyAction, &files, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(canvas, &again);
  ASSERT_TRUE(again.isAccepted());
  ASSERT_TRUE(DragAcceptFiles(windows.parent, 0));
  QDropEvent drop(QPointF(3, 4), Qt::CopyAction, &files, Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(canvas, &drop);
  EXPECT_FALSE(drop.isAccepted());
  PumpTranslated();
  EXPECT_TRUE(DropMessages(windows.parent).empty());
  EXPECT_FALSE(canvas->acceptDrops());

  ForeignDrag drag;
  drag.files = {"/tmp/x.txt"};
  EXPECT_EQ(DropFromOutside(windows.parent, POINT{1, 1}, drag), DROPEFFECT_NONE);
  EXPECT_FALSE(DragAcceptFiles(nullptr, 1));
}

TEST_F(DropFilesTest, ExactShiftJisPathsAndTheBufferRules) {
  ASSERT_TRUE(DragAcceptFiles(windows.parent, 1));
  ForeignDrag drag;
  drag.files = {reinterpret_cast<const char*>(u8"/tmp/表 a.txt"), "/tmp/b\\c.txt"};
  ASSERT_EQ(DropFromOutside(windows.parent, POINT{7, 9}, drag), DROPEFFECT_COPY);
  const HDROP drop = TheDrop(windows.parent);
  ASSERT_NE(drop, nullptr);
  const std::string first = "/tmp/表 a.txt"_sj;  // 表 ends in the byte of "\"
  ASSERT_EQ(DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0), 2u);
  EXPECT_EQ(AllFiles(drop), (std::vector<std::string>{first, "/tmp/b\\c.txt"}));

  struct Case {
    const char* name;
    UINT index;
    UINT size;
    UINT result;
    std::string text;  // what the buffer holds up to its NUL
  };
  const Case cases[] = {
      {"room for all", 0, 64, static_cast<UINT>(first.size()), first},
      {"exactly room for all", 0, static_cast<UINT>(first.size() + 1), static_cast<UINT>(first.size()), first},
      {"one byte short: never cut into another name", 0, static_cast<UINT>(first.size()), 0, ""},
      {"short inside a character", 0, 7, 0, ""},
      {"room for the NUL only", 1, 1, 0, ""},
      {"beyond the files", 2, 64, 0, ""},
  };
  for (const Case& c : cases) {
    char buffer[64];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(DragQueryFile(drop, c.index, buffer, c.size), c.result) << c.name;
    EXPECT_EQ(std::string(buffer), c.text) << c.name;
  }
  char untouched[4] = {'x', 'x', 'x', '\0'};
  EXPECT_EQ(DragQueryFile(drop, 0, untouched, 0), 0u);
  EXPECT_STREQ(untouched, "xxx");
  EXPECT_FALSE(DragQueryPoint(drop, nullptr));
  EXPECT_TRUE(boxes.empty());

  // Finished, the handle names nothing.
  DragFinish(drop);
  char buffer[8] = "kept";
  EXPECT_EQ(DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0), 0u);
  EXPECT_EQ(DragQueryFile(drop, 0, buffer, sizeof buffer), 0u);
  EXPECT_STREQ(buffer, "kept");
  POINT at{};
  EXPECT_FALSE(DragQueryPoint(drop, &at));
  DragFinish(drop);  // twice is harmless
  EXPECT_EQ(DragQueryFile(nullptr, 0xFFFFFFFF, nullptr, 0), 0u);
}

TEST_F(DropFilesTest, NamesShiftJisCannotSpellAreLeftOutWithOneMessage) {
  ASSERT_TRUE(DragAcceptFiles(windows.parent, 1));
  SetWindowText(windows.parent, "Frame");
  struct Case {
    const char* name;
    std::vector<const char8_t*> dropped;
    std::vector<std::string> kept;
    std::vector<std::string> named;  // in the message; none: no message
  };
  const Case cases[] = {
      {"a character beyond Shift-JIS", {u8"/tmp/ok.txt", u8"/tmp/\U0001F600.txt", u8"/tmp/あ.txt"},
       {"/tmp/ok.txt", "/tmp/あ.txt"_sj}, {"\"/tmp/?.txt\""}},
      {"a character that comes back as another", {u8"/tmp/\u00A5.txt", u8"/tmp/\u301C.txt"}, {},
       {"/tmp/\\.txt", "/tmp/～.txt"_sj}},
      {"all spelled: no message", {u8"/tmp/ok.txt"}, {"/tmp/ok.txt"}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform_test::SeenMessages().clear();
    boxes.clear();
    ForeignDrag drag;
    for (const char8_t* f : c.dropped) drag.files.push_back(reinterpret_cast<const char*>(f));
    ASSERT_EQ(DropFromOutside(windows.parent, POINT{1, 1}, drag), DROPEFFECT_COPY);
    EXPECT_TRUE(boxes.empty()) << "nothing is shown inside the toolkit's drop";
    const HDROP drop = TheDrop(windows.parent);
    ASSERT_NE(drop, nullptr);
    EXPECT_EQ(AllFiles(drop), c.kept);
    EXPECT_EQ(AllFiles(drop), c.kept);  // asked again: still one message
    if (c.named.empty()) {
      EXPECT_TRUE(boxes.empty());
    } else {
      ASSERT_EQ(boxes.size(), 1u);
      EXPECT_EQ(boxes[0].owner, windows.parent);
      EXPECT_EQ(boxes[0].caption, "Frame");
      EXPECT_NE(boxes[0].text.find("Shift-JIS"), std::string::npos) << boxes[0].text;
      for (const std::string& name : c.named) {
        EXPECT_NE(boxes[0].text.find(name), std::string::npos) << name << " in " << boxes[0].text;
      }
    }
    DragFinish(drop);
  }
}

TEST_F(DropFilesTest, ADropWhoseWindowWentNamesNothing) {
  ASSERT_TRUE(DragAcceptFiles(windows.child, 1));
  ForeignDrag drag;
  drag.files = {"/tmp/a.txt"};
  ASSERT_EQ(DropFromOutside(windows.child, POINT{1, 1}, drag), DROPEFFECT_COPY);
  const HDROP drop = TheDrop(windows.child);
  ASSERT_NE(drop, nullptr);
  ASSERT_EQ(DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0), 1u);
  DestroyWindow(windows.child);
  EXPECT_EQ(DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0), 0u);
  EXPECT_FALSE(DragAcceptFiles(windows.child, 1));
}

}  // namespace
