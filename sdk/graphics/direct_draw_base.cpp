#include "sdk/graphics/direct_draw_base.h"

#include <memory>

#include "sdk/framework/com_init.h"

namespace {

int holders = 0;

std::unique_ptr<platform::DisplayModeSwitch>& Shared() {
  static std::unique_ptr<platform::DisplayModeSwitch> shared;
  return shared;
}

}  // namespace

CDirectDrawBase::CDirectDrawBase(bool emulationOnly) {
  if (holders++ != 0) return;
  if (ComInitThread() != 0) return;
  Initialize(emulationOnly);
}

CDirectDrawBase::~CDirectDrawBase() {
  if (--holders != 0) return;
  Release();
  ComUninitThread();
}

int CDirectDrawBase::Initialize(bool) {
  Shared() = std::make_unique<platform::DisplayModeSwitch>();
  return 0;
}

void CDirectDrawBase::Release() { Shared().reset(); }

platform::DisplayModeSwitch* CDirectDrawBase::Object() { return Shared().get(); }
