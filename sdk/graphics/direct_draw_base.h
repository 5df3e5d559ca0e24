// One holder of the process's shared mode-switch object (the stand-in for the video-mode switch
// that the display uses). The first holder makes it, the last one lets it go; holders are made
// on one thread.
#pragma once

#include "platform/display_mode.h"

class CDirectDrawBase {
 public:
  explicit CDirectDrawBase(bool emulationOnly);
  CDirectDrawBase(const CDirectDrawBase&) = delete;
  CDirectDrawBase& operator=(const CDirectDrawBase&) = delete;
  virtual ~CDirectDrawBase();

  // Makes the shared object: 0. The stand-in has no driver to fail and no emulation to fall
  // back on, so the flag changes nothing.
  static int Initialize(bool emulationOnly);
  // Lets the shared object go; exclusive mode ends with it.
  static void Release();
  // The shared object, or null.
  static platform::DisplayModeSwitch* Object();
};
