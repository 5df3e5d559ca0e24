#include "editor/shell/process/editor_process.h"

#include <utility>

#include "editor/foundation/text/show_message_box.h"
#include "platform/sjis_literal.h"

EditorProcessNames EditorProcessNames::WithSuffix(std::string_view suffix) {
  EditorProcessNames names;
  for (std::string* name : {&names.record, &names.mutex, &names.residentMutex, &names.readyEvent, &names.initMutex})
    name->append(suffix);
  return names;
}

CEditorProcess::CEditorProcess(HINSTANCE hInstance, const char* pszCmdLine, EditorProcessNames names)
    : m_hInstance(hInstance), m_szCmdLine(pszCmdLine ? pszCmdLine : ""), m_names(std::move(names)) {}

CEditorProcess::~CEditorProcess() {
  if (m_pShareData) m_cShareData.UnmapView();
}

bool CEditorProcess::Run() {
  if (!Initialize()) return false;
  RunMessageLoop();
  Finish();
  return true;
}

bool CEditorProcess::AttachShareData() {
  if (!m_cShareData.Init(m_names.record.c_str())) {
    ShowMessageBox(nullptr, MB_OK | MB_ICONERROR, kProcessCaption, "%s",
                   "異なるバージョンのエディタを同時に起動することはできません。"_sj);
    return false;
  }
  m_pShareData = m_cShareData.GetShareData();
  return true;
}
