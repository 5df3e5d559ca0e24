#include "editor/view/search/grep_walker.h"

#include "platform/folder_listing.h"
#include "platform/path.h"
#include "platform/sjis.h"
#include "platform/sjis_literal.h"

namespace {

// The code point of the UTF-8 sequence at text[at], its length in *pnLen; -1 for a byte that
// starts no valid sequence (then *pnLen is 1).
int32_t DecodeUtf8(std::string_view text, size_t at, int* pnLen) {
  const auto b = static_cast<unsigned char>(text[at]);
  *pnLen = 1;
  int need = 0;
  int32_t cp = 0;
  if (b < 0x80) return b;
  if (b >= 0xC2 && b <= 0xDF) {
    need = 1;
    cp = b & 0x1F;
  } else if (b >= 0xE0 && b <= 0xEF) {
    need = 2;
    cp = b & 0x0F;
  } else if (b >= 0xF0 && b <= 0xF4) {
    need = 3;
    cp = b & 0x07;
  } else {
    return -1;
  }
  if (at + static_cast<size_t>(need) >= text.size()) return -1;
  for (int i = 1; i <= need; ++i) {
    const auto c = static_cast<unsigned char>(text[at + static_cast<size_t>(i)]);
    if ((c & 0xC0) != 0x80) return -1;
    cp = cp << 6 | (c & 0x3F);
  }
  if ((need == 2 && cp < 0x800) || (need == 3 && (cp < 0x10000 || cp > 0x10FFFF)) || (cp >= 0xD800 && cp <= 0xDFFF))
    return -1;
  *pnLen = need + 1;
  return cp;
}

}  // namespace

std::string GrepNameFromHost(std::string_view hostName, bool* pbExact) {
  std::string name;
  if (platform::ExactPathFromHost(hostName, name) && name.find('/') == std::string::npos) {
    if (pbExact) *pbExact = true;
    return name;
  }
  if (pbExact) *pbExact = false;
  name.clear();
  for (size_t at = 0; at < hostName.size();) {
    int len = 1;
    const int32_t cp = DecodeUtf8(hostName, at, &len);
    const uint16_t code = cp > 0 && cp <= 0xFFFF ? platform::UnicodeToSjisCode(static_cast<char32_t>(cp)) : 0;
    if (code == 0) {
      name += "〓"_sj;
    } else if (code > 0xFF) {
      name.push_back(static_cast<char>(code >> 8));
      name.push_back(static_cast<char>(code & 0xFF));
    } else {
      name.push_back(static_cast<char>(code));
    }
    at += static_cast<size_t>(len);
  }
  return name;
}

bool GrepFolderWalker::List(std::string_view folder, std::vector<GrepEntry>& entries) const {
  entries.clear();
  std::string host;
  if (!platform::ExactHostPath(folder, host)) return false;
  std::vector<platform::FolderEntry> listed;
  if (!platform::ListFolder(host, listed)) return false;
  entries.reserve(listed.size());
  for (const platform::FolderEntry& e : listed) {
    GrepEntry entry;
    entry.name = GrepNameFromHost(e.name, &entry.spellable);
    entry.kind = e.kind == platform::FolderEntry::Kind::kFolder ? GrepEntry::Kind::kFolder
                 : e.kind == platform::FolderEntry::Kind::kFile ? GrepEntry::Kind::kFile
                                                                 : GrepEntry::Kind::kOther;
    entries.push_back(std::move(entry));
  }
  return true;
}

bool GrepFolderWalker::Enter(std::string_view folder) {
  std::string host;
  uint64_t device = 0;
  uint64_t inode = 0;
  if (!platform::ExactHostPath(folder, host) || !platform::FolderIdentity(host, device, inode)) return false;
  return m_entered.insert({device, inode}).second;
}
