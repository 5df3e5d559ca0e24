#include "editor/foundation/share_data.h"

namespace {

// The process's access object. The game makes a new editor process object for every script it
// opens, so the pointer follows the latest one and is cleared when that one goes.
CShareData* g_instance = nullptr;

}  // namespace

CShareData::~CShareData() {
  if (g_instance == this) g_instance = nullptr;
}

void CShareData::Attach(SharedSettings* settings) {
  m_nNicknameCount = -1;
  m_pShareData = settings;
  g_instance = this;
}

CShareData* CShareData::GetInstance() { return g_instance; }
