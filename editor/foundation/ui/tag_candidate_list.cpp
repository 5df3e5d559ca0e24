#include "editor/foundation/ui/tag_candidate_list.h"

#include <cstring>
#include <new>

#include "editor/foundation/text/sjis_char.h"

namespace {

constexpr int kTextLimit = 259;

std::string CutText(const char* text) {
  if (!text) return {};
  const int len = static_cast<int>(::strnlen(text, kTextLimit + 1));
  return std::string(text, static_cast<size_t>(WholeCharsPrefixLength(text, len, kTextLimit)));
}

// Character by character, a double-byte character counting as its two-byte code: a half-width
// kana (one byte above 0x7F) sorts before every double-byte character.
int CompareByCharacters(const std::string& a, const std::string& b) {
  const auto* pa = reinterpret_cast<const unsigned char*>(a.data());
  const auto* pb = reinterpret_cast<const unsigned char*>(b.data());
  const int la = static_cast<int>(a.size());
  const int lb = static_cast<int>(b.size());
  int i = 0;
  int j = 0;
  while (i < la && j < lb) {
    const int sa = SjisCharSize(pa, la, i);
    const int sb = SjisCharSize(pb, lb, j);
    const unsigned ca = sa == 2 ? (pa[i] << 8 | pa[i + 1]) : pa[i];
    const unsigned cb = sb == 2 ? (pb[j] << 8 | pb[j + 1]) : pb[j];
    if (ca != cb) return ca < cb ? -1 : 1;
    i += sa;
    j += sb;
  }
  if (i < la) return 1;
  return j < lb ? -1 : 0;
}

void CopyOut(char* out, const std::string& text) {
  if (out) std::memcpy(out, text.c_str(), text.size() + 1);
}

}  // namespace

CTagCandidateList::CTagCandidateList(int nCapacity) : m_nCapacity(nCapacity) {}

CTagCandidateList::~CTagCandidateList() { Clear(); }

bool CTagCandidateList::Add(const char* pszKeyword, const char* pszFile, int nLine, int nType, const char* pszNote,
                            int nDepth) {
  std::unique_ptr<Node> node;
  try {
    node = std::make_unique<Node>();
    node->keyword = CutText(pszKeyword);
    node->file = CutText(pszFile);
    node->note = CutText(pszNote);
  } catch (const std::bad_alloc&) {
    return false;
  }
  node->line = nLine;
  node->type = nType;
  node->depth = nDepth;

  std::unique_ptr<Node>* link = &m_pHead;
  while (*link && CompareByCharacters((*link)->keyword, node->keyword) <= 0) link = &(*link)->next;
  node->next = std::move(*link);
  *link = std::move(node);
  ++m_nCount;

  if (m_nCount > m_nCapacity) {
    std::unique_ptr<Node>* last = &m_pHead;
    while ((*last)->next) last = &(*last)->next;
    last->reset();
    --m_nCount;
    m_bDropped = true;
  }
  return true;
}

bool CTagCandidateList::GetAt(int i, char* pszKeyword, char* pszFile, int* pnLine, int* pnType, char* pszNote,
                              int* pnDepth) const {
  CopyOut(pszKeyword, {});
  CopyOut(pszFile, {});
  CopyOut(pszNote, {});
  if (pnLine) *pnLine = 0;
  if (pnType) *pnType = 0;
  if (pnDepth) *pnDepth = 0;
  if (i < 0 || i >= m_nCount) return false;
  const Node* node = m_pHead.get();
  for (int n = 0; n < i && node; ++n) node = node->next.get();
  if (!node) return false;
  CopyOut(pszKeyword, node->keyword);
  CopyOut(pszFile, node->file);
  CopyOut(pszNote, node->note);
  if (pnLine) *pnLine = node->line;
  if (pnType) *pnType = node->type;
  if (pnDepth) *pnDepth = node->depth;
  return true;
}

void CTagCandidateList::Clear() {
  // One node at a time: a long list must not unwind through nested destructors.
  while (m_pHead) m_pHead = std::move(m_pHead->next);
  m_nCount = 0;
  m_bDropped = false;
}
