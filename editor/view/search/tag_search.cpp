#include "editor/view/search/tag_search.h"

#include <string>
#include <vector>

#include "editor/foundation/settings/share_data.h"
#include "editor/view/search/tag_jump_list_dialog.h"
#include "editor/view/search/tags_file.h"
#include "editor/view/search/tags_make.h"
#include "editor/view/search/tags_make_dialog.h"

TagLookup FindDirectTag(std::string_view name, std::string_view documentPath, HWND owner, TagTarget* target) {
  if (name.empty() || documentPath.empty() || !target) return TagLookup::kNotFound;
  DirectTagHits hits;
  if (!FindTagsDirect(documentPath, name, &hits)) return TagLookup::kNotFound;
  size_t chosen = 0;
  if (hits.entries.size() > 1) {
    CTagJumpListDialog dialog;
    dialog.SetFileName(std::string(documentPath).c_str());
    // The list keeps the order of equal names, so a row's index is the hit's.
    for (const TagEntry& entry : hits.entries) {
      dialog.AddParam(entry.name.c_str(), entry.file.c_str(), entry.line, entry.kind, entry.remark.c_str(), hits.depth);
    }
    if (dialog.DoModal(nullptr, owner, false) != 1) return TagLookup::kCancelled;
    const int index = dialog.GetSelectedIndex();
    if (index < 0 || static_cast<size_t>(index) >= hits.entries.size()) return TagLookup::kCancelled;
    chosen = static_cast<size_t>(index);
  }
  const TagEntry& entry = hits.entries[chosen];
  target->path = TagEntryPath(hits.folder, entry.file);
  target->line = entry.line;
  return TagLookup::kFound;
}

TagLookup ChooseKeywordTag(std::string_view keyword, std::string_view documentPath, HWND owner, TagTarget* target) {
  if (!target) return TagLookup::kCancelled;
  CTagJumpListDialog dialog;
  dialog.SetFileName(std::string(documentPath).c_str());
  dialog.SetKeyword(std::string(keyword).c_str());
  if (dialog.DoModal(nullptr, owner, true) != 1) return TagLookup::kCancelled;
  char file[260];
  int line = 0;
  int depth = 0;
  if (!dialog.GetSelectedParam(nullptr, file, &line, nullptr, nullptr, &depth)) return TagLookup::kCancelled;
  // The level is the index of the folder the keyword search read the entry's tags file from.
  const std::vector<std::string> folders = TagsFolders(documentPath);
  if (file[0] == '\0' || depth < 0 || static_cast<size_t>(depth) >= folders.size()) return TagLookup::kCancelled;
  target->path = TagEntryPath(folders[static_cast<size_t>(depth)], file);
  target->line = line;
  return TagLookup::kFound;
}

void MakeTagsFile(std::string_view documentFolder, HWND owner, platform::OutsidePrograms& programs) {
  const std::string folder = documentFolder.empty() ? CShareData::ExecutableFolder() : std::string(documentFolder);
  CTagsMakeDialog dialog;
  if (dialog.DoModal(nullptr, owner, folder.c_str()) != 1) return;
  TagsMakeRequest request;
  request.folder = dialog.m_szPath;
  request.options = dialog.m_nTagsOpt;
  request.extraOptions = dialog.m_szTagsCmdLine;
  RunTagsMake(owner, request, programs);
}
