#include "sdk/framework/window_application.h"

#include "platform/sjis_literal.h"
#include "platform/window.h"
#include "sdk/framework/app_manager.h"
#include "sdk/framework/error_log.h"
#include "sdk/framework/idle_callback.h"

namespace {

std::atomic<CWindowApplication*> mainApp{nullptr};

}  // namespace

CWindowApplication* CWindowApplication::GetMainApp() { return mainApp; }

CWindowApplication::CWindowApplication() { CAppManager::IncAppCount(); }

CWindowApplication::~CWindowApplication() {
  StopThread();
  CAppManager::DecAppCount();
  // A later application must not be taken for this one should it land at the same address.
  CWindowApplication* self = this;
  mainApp.compare_exchange_strong(self, nullptr);
}

int CWindowApplication::Run() {
  CWindowApplication* none = nullptr;
  if (mainApp.compare_exchange_strong(none, this) || mainApp == this) return RunThread();
  // A second application would run its window on a thread of its own; the toolkit's widgets live
  // on the GUI thread only, so this is the failure of a thread that could not be started.
  m_startResult = -1;
  ErrorLog::Out("CWindowApplication::Run: a second application cannot have a window thread");
  return 1;
}

int CWindowApplication::Close() {
  m_closeRequested = true;
  return static_cast<int>(platform::SendMessage(m_window.GetHandle(), WM_CLOSE, 0, 0));
}

int CWindowApplication::AppMain() {
  while (PumpMessages()) WaitThreadEvent(20);
  return 0;
}

int CWindowApplication::OnPreCreate() { return 0; }

int CWindowApplication::PrepareWindowOption(CWindowOption& option) {
  option.caption = "あぷりちゃん"_sj;
  option.className = "QUIBAPPLICATION";
  option.width = 640;
  option.height = 480;
  option.style = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  return 0;
}

int CWindowApplication::OnInit() { return 0; }
int CWindowApplication::OnExit() { return 0; }
int CWindowApplication::OnCloseQuery() { return 0; }

void CWindowApplication::ThreadBody() {
  if (OnPreCreate()) return;
  CWindowOption option;
  if (PrepareWindowOption(option)) return;
  if (m_window.Create(option, nullptr)) return;
  if (OnInit()) return;
  CAppManager::Add(this);
  AddWindowHook(this);

  m_mainLoopRunning = true;
  AppMain();
  m_mainLoopRunning = false;
  OnExit();

  // The hooks see the destroy message while the window still exists; the window only hides.
  platform::SendMessage(m_window.GetHandle(), WM_DESTROY, 0, 0);
  RemoveWindowHook(this);
  CAppManager::Remove(this);
  if (GetMainApp() == this) CAppManager::WaitAllApps();
  CThread::InvalidateThread();
}

LRESULT CWindowApplication::OnWindowMessage(HWND, UINT message, WPARAM, LPARAM) {
  switch (message) {
    case WM_CLOSE:
      // Never passed on: the default procedure would destroy the window, which stays until the
      // application object goes.
      if (!m_closeRequested && OnCloseQuery()) return 1;
      InvalidateThread();
      return 1;
    case WM_DESTROY:
      if (GetMainApp() == this) platform::PostQuitMessage(0);
      return 0;
    default:
      return 0;
  }
}

void CWindowApplication::InvalidateThread() {
  if (m_blockingPump && m_window.GetHandle()) platform::PostMessage(m_window.GetHandle(), WM_CLOSE, 0, 0);
  CThread::InvalidateThread();
}

bool CWindowApplication::PumpMessages() {
  MSG msg;
  if (m_blockingPump) {
    BOOL result = platform::GetMessage(&msg, nullptr, 0, 0);
    if (result != 0 && result != -1) {
      platform::TranslateMessage(&msg);
      platform::DispatchMessage(&msg);
    }
  } else {
    while (platform::PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
      platform::TranslateMessage(&msg);
      platform::DispatchMessage(&msg);
    }
  }
  RunIdleCallbacks();
  if (m_blockWhileMinimised) {
    while (m_window.IsMinimised()) {
      BOOL result = platform::GetMessage(&msg, nullptr, 0, 0);
      if (result == 0 || result == -1) break;
      platform::TranslateMessage(&msg);
      platform::DispatchMessage(&msg);
    }
  }
  return IsThreadValid();
}

void AddWindowHook(IWindowHook* hook) {
  if (CWindowApplication* app = CAppManager::GetCurrentApp()) app->GetWindow().GetHooks().Add(hook);
}

void RemoveWindowHook(IWindowHook* hook) {
  if (CWindowApplication* app = CAppManager::GetCurrentApp()) app->GetWindow().GetHooks().Remove(hook);
}

HWND GetAppWindowHandle() {
  CWindowApplication* app = CAppManager::GetCurrentApp();
  return app ? app->GetWindow().GetHandle() : nullptr;
}
