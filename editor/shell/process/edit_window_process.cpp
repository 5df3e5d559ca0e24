#include "editor/shell/process/edit_window_process.h"

#include <cstring>
#include <string>
#include <utility>

#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/show_message_box.h"
#include "editor/shell/process/clipboard_hand_over.h"
#include "platform/beep.h"
#include "platform/ipc.h"
#include "platform/quit_signal.h"
#include "platform/window.h"
#include "platform/sjis_literal.h"

CEditWindowProcess::CEditWindowProcess(HINSTANCE hInstance, const char* pszCmdLine, EditorProcessNames names,
                                       const CCommandLineOptions& options, ProcessEditWindowMaker makeWindow,
                                       IGrepModeRunner* grep, std::shared_ptr<platform::ProcessLauncher> launcher,
                                       std::chrono::milliseconds initLimit)
    : CEditorProcess(hInstance, pszCmdLine, std::move(names)),
      m_options(options),
      m_makeWindow(std::move(makeWindow)),
      m_pGrep(grep),
      m_launcher(std::move(launcher)),
      m_initLimit(initLimit) {}

CEditWindowProcess::~CEditWindowProcess() {
  m_pcEditWnd.reset();
  // What this process copied outlives it: the resident keeps it on the clipboard.
  if (m_pShareData) HandOverClipboardToResident(m_pShareData);
  m_pcLauncher.reset();
  m_hMutexInit.Close();
}

bool CEditWindowProcess::AcquireInitMutex() {
  switch (m_hMutexInit.CreateOwned(m_names.initMutex, m_initLimit)) {
    case platform::NamedMutex::Result::kOwned:
    case platform::NamedMutex::Result::kHeld:
      return true;
    case platform::NamedMutex::Result::kExists:
      ShowMessageBox(nullptr, MB_OK | MB_ICONERROR | MB_TOPMOST, kProcessCaption, "%s",
                     "エディタまたはシステムがビジー状態です。\nしばらく待って開きなおしてください。"_sj);
      return false;
    case platform::NamedMutex::Result::kFailed:
      break;
  }
  platform::MessageBeep(MB_ICONHAND);
  ShowMessageBox(nullptr, MB_OK | MB_ICONERROR | MB_TOPMOST, kProcessCaption, "%s",
                 "CreateMutex()失敗。\n終了します。"_sj);
  return false;
}

void CEditWindowProcess::MoveOpenWindow(EditWindowId window, const RecentFileRecord& request) {
  if (request.nY >= 0) {
    CShareData::ExchangeLock lock(m_cShareData);
    int32_t column = request.nX;
    int32_t line = request.nY;
    if (request.nX < 0) {
      // The column stays where that window's caret is.
      platform::ipc::SendMessage(window, MYWM_GETCARETPOS, 0, 0);
      int32_t ignored = 0;
      ReadExchangePosition(*m_pShareData, &column, &ignored);
    }
    WriteExchangePosition(*m_pShareData, column, line);
    platform::ipc::SendMessage(window, MYWM_SETCARETPOS, 0, 0);
  }
  ActivateEditWindow(window);
}

GrepLaunchRequest CEditWindowProcess::GrepRequest() const {
  GrepLaunchRequest request;
  request.key = std::string(m_options.m_cmGrepKey.View());
  request.files = std::string(m_options.m_cmGrepFile.View());
  request.folder = std::string(m_options.m_cmGrepFolder.View());
  request.subFolder = m_options.m_bGrepSubFolder;
  request.loHiCase = m_options.m_bGrepLoHiCase;
  request.regularExp = m_options.m_bGrepRegularExp;
  request.outputLine = m_options.m_bGrepOutputLine;
  request.wordOnly = m_options.m_bGrepWordOnly;
  request.outputStyle = m_options.m_nGrepOutputStyle;
  request.code = m_options.m_nGrepCharSet;
  return request;
}

bool CEditWindowProcess::StartGrepMode() {
  GrepLaunchRequest request = GrepRequest();
  if (m_options.m_bGrepDlg) {
    m_cShareData.AddSearchKey(request.key.c_str());
    m_cShareData.AddGrepFile(request.files.c_str());
    m_cShareData.AddGrepFolder(request.folder.c_str());
    CommonSettings& common = m_pShareData->Common;
    common.bGrepSubFolder = request.subFolder;
    common.bSearchLoHiCase = request.loHiCase;
    common.bSearchRegularExp = request.regularExp;
    common.nGrepCharSet = request.code;
    common.bGrepOutputLine = request.outputLine;
    common.bSearchWordOnly = request.wordOnly;
    common.nGrepOutputStyle = request.outputStyle;
    m_hMutexInit.Close();
    if (m_pGrep) m_pGrep->RunGrepDialog(*m_pcEditWnd, request);
    return true;
  }
  std::string longFolder;
  if (GetLongPath(request.folder.c_str(), longFolder)) request.folder = longFolder;
  m_hMutexInit.Close();
  if (m_pGrep) m_pGrep->RunGrep(*m_pcEditWnd, request);
  return true;
}

bool CEditWindowProcess::Initialize() {
  if (!AcquireInitMutex()) return false;
  if (!AttachShareData()) {
    m_hMutexInit.Close();
    return false;
  }
  if (m_launcher) {
    m_pcLauncher = std::make_unique<CEditorLauncher>(m_cShareData, *m_launcher);
    m_pcLauncher->Install();
  }
  const RecentFileRecord request = m_options.m_fi;
  const char* path = request.szPath[0] ? request.szPath : nullptr;

  if (path) {
    EditWindowId open = 0;
    if (m_cShareData.FindEditWindowByPath(path, &open)) {
      MoveOpenWindow(open, request);
      m_hMutexInit.Close();
      return false;
    }
  }

  const EditWindowId resident = m_pShareData->hwndResident;
  if (m_makeWindow) m_pcEditWnd = m_makeWindow(m_cShareData, request);
  if (m_pcEditWnd) {
    if (m_options.m_bDebugMode) {
      m_hWnd = m_pcEditWnd->Create(m_hInstance, resident, nullptr, 0, false, -1);
      if (m_hWnd) m_pcEditWnd->BecomeOutputWindow();
    } else if (m_options.m_bGrepMode) {
      m_hWnd = m_pcEditWnd->Create(m_hInstance, resident, nullptr, 0, false, -1);
      if (m_hWnd) return StartGrepMode();
    } else {
      const int type = request.szTypeText[0] ? m_cShareData.GetTypeByExtension(request.szTypeText) : -1;
      m_hWnd = m_pcEditWnd->Create(m_hInstance, resident, path, request.nCharCode, m_options.m_bReadOnly, type);
      if (m_hWnd && path) m_pcEditWnd->ApplyPositionRequest(request);
    }
  }
  m_hMutexInit.Close();
  return m_hWnd != nullptr;
}

bool CEditWindowProcess::RunMessageLoop() {
  if (!m_pcEditWnd || !m_hWnd) return false;
  // A quit signal closes the window as its close button does (the user is asked about unsaved
  // changes); in the game's process the game's own handling comes back afterwards.
  HWND hwnd = m_hWnd;
  auto previous = platform::SetQuitSignalCallback([hwnd] { platform::PostMessage(hwnd, WM_CLOSE, 0, 0); });
  const std::optional<int> othersQuit = m_pcEditWnd->RunMessageLoop();
  platform::SetQuitSignalCallback(std::move(previous));
  // The window's end asks its loop to stop; that request must not stop the loop of whoever runs
  // this process (the game, in debug mode). Only the quit is taken: what else waits is the host's,
  // for its own loop, and a quit one of those messages asks for stays the host's.
  MSG msg;
  platform::PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  // The game asked to end while the window ran: its loop still has to hear it, with its code.
  if (othersQuit) platform::PostQuitMessage(*othersQuit);
  return true;
}
