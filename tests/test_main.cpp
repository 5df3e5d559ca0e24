// Shared main of every test program: the GUI application exists before any test makes a window.
#include <gtest/gtest.h>

#include "platform/gui_app.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  platform::GuiApp gui;
  return RUN_ALL_TESTS();
}
