#include "editor/foundation/settings/share_data.h"

#include "editor/foundation/text/show_message_box.h"
#include "platform/message_box.h"
#include "platform/shared_memory.h"
#include "platform/sjis_literal.h"

namespace {

// The process's access object. The game makes a new editor process object for every script it
// opens, so the pointer follows the latest one and is cleared when that one goes.
CShareData* shareDataInstance = nullptr;

}  // namespace

CShareData::CShareData() = default;

CShareData::~CShareData() {
  if (shareDataInstance == this) shareDataInstance = nullptr;
}

void CShareData::Attach(SharedSettings* settings, const char* recordName) {
  m_recordName = recordName ? recordName : "CShareData";
  m_nNicknameCount = -1;
  m_pShareData = settings;
  shareDataInstance = this;
}

CShareData* CShareData::GetInstance() { return shareDataInstance; }

bool CShareData::Init(const char* recordName) {
  shareDataInstance = this;
  UnmapView();
  m_recordName = recordName ? recordName : "CShareData";
  m_pMemory = std::make_unique<platform::SharedMemory>();
  const auto result = m_pMemory->Open(
      m_recordName, sizeof(SharedSettings), [](void* data) { InitDefaults(*static_cast<SharedSettings*>(data)); },
      [](const void* data) {
        return static_cast<const SharedSettings*>(data)->nLayoutVersion == kSharedLayoutVersion;
      });
  if (result == platform::SharedMemory::Result::kFailed) {
    ShowMessageBox(nullptr, MB_OK | MB_ICONERROR, "予期せぬエラー"_sj, "%s", "CreateFileMapping()に失敗しました"_sj);
    m_pMemory.reset();
    return false;
  }
  if (result == platform::SharedMemory::Result::kRefused) {
    m_pMemory.reset();
    return false;
  }
  m_nNicknameCount = -1;
  m_pShareData = static_cast<SharedSettings*>(m_pMemory->Data());
  return true;
}

bool CShareData::UnmapView() {
  if (!m_pMemory) return false;
  m_pMemory.reset();
  m_pShareData = nullptr;
  return true;
}
