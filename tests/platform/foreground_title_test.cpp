// The title of the desktop's window in front: the hook's answer, this program's active window, or
// on X11 the window manager's word for another program's window.
#include "platform/foreground_title.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QThread>
#include <QtGlobal>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foreground_window.h"
#include "platform/gui_app.h"
#include "platform/sjis.h"
#include "platform/sjis_literal.h"
#include "platform/window.h"
#include "platform/x11_connection.h"

namespace {

using namespace platform;

void Pump() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessage(&msg);
}

TEST(ForegroundTitleTest, AHookAnswersWhileItIsSet) {
  EnsureGuiApp();
  struct Case {
    const char* name;
    std::optional<std::string> answer;
  } cases[] = {{"a title", std::string("共通設定"_sj)}, {"an empty title", std::string()}, {"nothing", std::nullopt}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ForegroundTitleHook before = SetForegroundTitleHook([&] { return c.answer; });
    EXPECT_EQ(ForegroundWindowTitle(), c.answer);
    const ForegroundTitleHook mine = SetForegroundTitleHook(before);
    ASSERT_TRUE(mine) << "setting gives back the hook it replaces";
    EXPECT_EQ(mine(), c.answer);
  }
}

TEST(ForegroundTitleTest, ThisProgramsActiveWindowIsInFront) {
  EnsureGuiApp();
  WNDCLASSEX wc;
  wc.lpfnWndProc = DefWindowProc;
  wc.lpszClassName = "ForegroundTitleWindow";
  RegisterClassEx(&wc);
  const HWND hwnd = CreateWindowEx(0, "ForegroundTitleWindow", "共通設定"_sj, WS_CAPTION | WS_VISIBLE, 10, 10, 80, 60,
                                   nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  SetForegroundWindow(hwnd);
  Pump();
  EXPECT_EQ(ForegroundWindowTitle(), std::optional<std::string>("共通設定"_sj));
  DestroyWindow(hwnd);
  Pump();
}

// Another program's window, as a window manager names it in front: a plain X window of our own
// connection with no toolkit window behind it, and the root's _NET_ACTIVE_WINDOW set to it.
class X11Foreign {
 public:
  explicit X11Foreign(xcb_connection_t* connection) : m_connection(connection), m_root(x11::RootWindow(connection)) {
    m_window = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, m_window, m_root, 0, 0, 40, 30, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
  }
  ~X11Foreign() {
    xcb_delete_property(m_connection, m_root, Atom("_NET_ACTIVE_WINDOW"));
    Close();
  }
  // The program closes its window; the root may still name it.
  void Close() {
    if (m_window == XCB_WINDOW_NONE) return;
    xcb_destroy_window(m_connection, m_window);
    xcb_flush(m_connection);
    m_window = XCB_WINDOW_NONE;
  }
  void Title(std::string_view property, std::string_view type, std::string_view bytes) {
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_window, Atom(property), Atom(type), 8,
                        static_cast<uint32_t>(bytes.size()), bytes.data());
  }
  void InFront(bool front) {
    const xcb_window_t named = front ? m_window : xcb_window_t{XCB_WINDOW_NONE};
    xcb_change_property(m_connection, XCB_PROP_MODE_REPLACE, m_root, Atom("_NET_ACTIVE_WINDOW"), XCB_ATOM_WINDOW, 32,
                        1, &named);
    xcb_flush(m_connection);
  }
  xcb_atom_t Atom(std::string_view name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        m_connection, xcb_intern_atom(m_connection, 0, static_cast<uint16_t>(name.size()), name.data()), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return atom;
  }

 private:
  xcb_connection_t* m_connection;
  xcb_window_t m_root;
  xcb_window_t m_window = XCB_WINDOW_NONE;
};

// The toolkit's warnings while it lives (an X error the program left unhandled is one).
class WarningLog {
 public:
  WarningLog() { Seen().clear(); m_before = qInstallMessageHandler(&Note); }
  ~WarningLog() { qInstallMessageHandler(m_before); }
  // What was said, once the toolkit has read what the server sent meanwhile.
  std::vector<std::string> Said() {
    for (int i = 0; i < 10; ++i) {
      QCoreApplication::processEvents();
      QThread::msleep(10);
    }
    return Seen();
  }

 private:
  static std::vector<std::string>& Seen() {
    static std::vector<std::string> seen;
    return seen;
  }
  static void Note(QtMsgType, const QMessageLogContext&, const QString& text) { Seen().push_back(text.toStdString()); }
  QtMessageHandler m_before = nullptr;
};

// On an X11 desktop (run with QT_QPA_PLATFORM=xcb, e.g. under Xvfb).
TEST(ForegroundTitleTest, OnX11AnotherProgramsWindowInFrontIsToldByTheWindowManagersWord) {
  EnsureGuiApp();
  xcb_connection_t* connection = x11::Connection();
  if (!connection) GTEST_SKIP() << "no X11 desktop";
  struct Case {
    const char* name;
    const char* property;  // empty: no title at all
    const char* type;
    std::string bytes;
    bool inFront;
    std::optional<std::string> title;
    bool closedMeanwhile = false;  // the window in front went before it was asked about
  } cases[] = {
      {"a UTF-8 title", "_NET_WM_NAME", "UTF8_STRING", SjisToUtf8("共通設定"_sj), true, std::string("共通設定"_sj)},
      {"a Latin-1 title only", "WM_NAME", "STRING", "caf\xE9 Options", true, std::string("caf? Options")},
      {"a window without a title", "", "", "", true, std::nullopt},
      {"no window in front", "_NET_WM_NAME", "UTF8_STRING", SjisToUtf8("共通設定"_sj), false, std::nullopt},
      {"the window in front is gone", "_NET_WM_NAME", "UTF8_STRING", SjisToUtf8("共通設定"_sj), true, std::nullopt,
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    X11Foreign other(connection);
    if (*c.property) other.Title(c.property, c.type, c.bytes);
    other.InFront(c.inFront);
    if (c.closedMeanwhile) other.Close();
    WarningLog log;
    EXPECT_EQ(ForegroundWindowTitle(), c.title);
    EXPECT_EQ(log.Said(), std::vector<std::string>{}) << "what the server refuses is an answer, not a warning";
  }
}

}  // namespace
