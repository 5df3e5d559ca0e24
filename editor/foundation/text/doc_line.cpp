#include "editor/foundation/text/doc_line.h"

#include "editor/foundation/text/object_blocks.h"

void* CDocLine::operator new(size_t nSize) { return AllocateObject(ObjectKind::kDocLine, sizeof(CDocLine), nSize); }

void CDocLine::operator delete(void* p, size_t nSize) noexcept {
  FreeObject(ObjectKind::kDocLine, sizeof(CDocLine), p, nSize);
}

CDocLine::CDocLine() = default;

CDocLine::~CDocLine() { delete m_pLine; }

bool CDocLine::IsWhitespaceOnly() const {
  int len = 0;
  const char* text = GetText(&len);
  len -= m_cLineEnd.GetLen();
  for (int i = 0; i < len; ++i) {
    if (text[i] != ' ' && text[i] != '\t') return false;
  }
  return true;
}

const char* CDocLine::GetText(int* pnLen) const {
  if (!m_pLine || !m_pLine->GetPtr()) {
    if (pnLen) *pnLen = 0;
    return nullptr;
  }
  if (pnLen) *pnLen = m_pLine->GetLength();
  return m_pLine->GetPtr();
}

int CDocLine::GetLengthWithoutEol() const {
  int len = 0;
  GetText(&len);
  len -= m_cLineEnd.GetLen();
  return len < 0 ? 0 : len;
}
