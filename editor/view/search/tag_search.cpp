#include "editor/view/search/tag_search.h"

TagLookup FindDirectTag(std::string_view, std::string_view, HWND, TagTarget*) { return TagLookup::kNotFound; }

TagLookup ChooseKeywordTag(std::string_view, std::string_view, HWND, KeywordTagChoice*) {
  return TagLookup::kCancelled;
}

void MakeTagsFile(std::string_view, HWND, platform::OutsidePrograms&) {}
