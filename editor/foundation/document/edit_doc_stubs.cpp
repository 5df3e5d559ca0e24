// Temporary definitions so the tree links while the document's parts are built; each part's file
// replaces its block here.
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/document/save_lock.h"
#include "editor/foundation/settings/share_data.h"
#include "platform/clock.h"
#include "platform/path.h"

// ---- platform::FileLock (the file lock's own facility replaces this) ----------------------------
namespace platform {
class FileLock {
 public:
  ~FileLock() {
    if (m_fd >= 0) ::close(m_fd);
  }
  // Opens the exact path and locks it without waiting; kNoFile when it cannot be opened.
  CSaveLock::Result Lock(const char* path, bool exclusive) {
    std::string host;
    if (!path || !ExactHostPath(path, host)) return CSaveLock::Result::kNoFile;
    m_fd = ::open(host.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) return CSaveLock::Result::kNoFile;
    if (::flock(m_fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) return CSaveLock::Result::kTaken;
    return CSaveLock::Result::kHeldElsewhere;
  }

 private:
  int m_fd = -1;
};
}  // namespace platform

// ---- the open and save dialogs' class -------------------------------------------------------------
class COpenFileDialog {};

// ---- save_lock.cpp: an exclusive platform::FileLock ---------------------------------------------
CSaveLock::CSaveLock() = default;
CSaveLock::~CSaveLock() = default;

CSaveLock::Result CSaveLock::Take(const char* pszPath) {
  Release();
  auto lock = std::make_unique<platform::FileLock>();
  const Result result = lock->Lock(pszPath, true);
  if (result == Result::kTaken) m_lock = std::move(lock);
  return result;
}

void CSaveLock::Release() { m_lock.reset(); }

// ---- edit_doc.cpp ---------------------------------------------------------------------------------
CEditDoc::CEditDoc() {
  if (CShareData* share = CShareData::GetInstance()) m_pShareData = share->GetShareData();
  m_cLayoutMgr.Attach(&m_cDocLineMgr);
  ReloadAutoSaveSettings();
}

CEditDoc::~CEditDoc() = default;

void CEditDoc::SetPorts(const DocPorts& ports) { m_ports = ports; }

void CEditDoc::SetModified(bool modified, bool) { m_bIsModified = modified; }

void CEditDoc::SetFilePath(const char* path) {
  std::strncpy(m_szFilePath, path ? path : "", sizeof m_szFilePath - 1);
  m_szFilePath[sizeof m_szFilePath - 1] = '\0';
}

void CEditDoc::SaveRecentFileRecord() {}

// ---- edit_doc_caption.cpp -------------------------------------------------------------------------
void CEditDoc::UpdateCaption(bool) {}

// ---- edit_doc_open.cpp ----------------------------------------------------------------------------
void CEditDoc::AcquireFileLock() {
  ReleaseFileLock();
  if (!m_pShareData || !m_szFilePath[0] || m_bReadOnly) return;
  m_nLockMode = m_pShareData->Common.nFileShareMode;
  if (m_nLockMode != kLockExclusive && m_nLockMode != kLockDenyWrite) return;
  auto lock = std::make_unique<platform::FileLock>();
  if (lock->Lock(m_szFilePath, m_nLockMode == kLockExclusive) == CSaveLock::Result::kTaken) {
    m_pFileLock = std::move(lock);
  }
}

void CEditDoc::ReleaseFileLock() {
  m_pFileLock.reset();
  m_nLockMode = kLockNone;
}

bool CEditDoc::HoldsFileLock() const { return m_pFileLock != nullptr; }

void CEditDoc::ReloadWithCode(int nCharCode, bool bReadOnly) {
  m_cDocLineMgr.FreeAllLines();
  m_cUndoBuffer.Clear();
  m_nCharCode = nCharCode;
  m_bReadOnly = bReadOnly;
  m_bIsModified = false;
  m_cDocLineMgr.LoadFromFile(m_szFilePath, nullptr, nullptr, nCharCode, &m_nFileTime, false, &m_bBomExist);
  if (m_pShareData) m_cLayoutMgr.SetWrapSettings(true, nullptr, m_pShareData->TypeList[m_nSettingType]);
  AcquireFileLock();
}
