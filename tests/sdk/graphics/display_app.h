// A framework application for the display tests: its main routine runs the test's body with a
// display made on the application's thread, then ends. The mode-switch policy, the full-screen
// flag and the clock are put back afterwards, and sleeps are recorded instead of slept.
#pragma once

#include <functional>

#include "platform/clock.h"
#include "platform/display_mode.h"
#include "sdk/framework/full_screen.h"
#include "sdk/framework/window_application.h"
#include "sdk/graphics/dib_draw.h"

namespace display_test {

class DisplayApp : public CWindowApplication {
 public:
  std::function<void(DisplayApp&)> body;

  int PrepareWindowOption(CWindowOption& option) override {
    CWindowApplication::PrepareWindowOption(option);
    option.width = 320;
    option.height = 240;
    return 0;
  }
  int AppMain() override {
    if (body) body(*this);
    return 0;
  }
};

struct Context {
  DisplayApp& app;
  CDIBDraw& display;
  platform::ManualClock& clock;
  HWND Window() const { return app.GetWindow().GetHandle(); }
};

// Runs body on the application's thread with a fresh display; false when the application did not
// get as far as its main routine.
inline bool RunWithDisplay(const std::function<void(Context&)>& body) {
  platform::ManualClock clock;
  bool ran = false;
  {
    DisplayApp app;
    app.body = [&](DisplayApp& a) {
      CDIBDraw display;
      Context context{a, display, clock};
      body(context);
      ran = true;
    };
    app.Run();
  }
  platform::SetDisplayModePolicy({});
  SetFullScreen(false);
  return ran;
}

}  // namespace display_test
