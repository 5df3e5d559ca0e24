// What the tag-jump commands ask of the tags files: the direct lookup of a name, the keyword
// dialog and the making of a tags file. The commands only open what these give back; reading tags
// files, choosing among candidates and running the tags program live behind these calls.
#pragma once

#include <string>
#include <string_view>

#include "platform/outside_program.h"
#include "platform/win_types.h"

class CEditView;

enum class TagLookup {
  kFound,      // target holds the place to open
  kNotFound,   // no tags file knows the name
  kCancelled,  // the user closed the choice without picking: handled, nothing to open
};

struct TagTarget {
  std::string path;  // Shift-JIS exact path: absolute, or joined to its tags file's folder
  int line = 0;      // 1-based
};

// The direct search from the document's folder upward for a name (byte-exact), letting the user
// pick when the nearest tags file that has it lists several. documentPath is the document's exact
// path (Shift-JIS); owner owns the list dialog.
TagLookup FindDirectTag(std::string_view name, std::string_view documentPath, HWND owner, TagTarget* target);

// The tag-jump list dialog in keyword mode, seeded with keyword, searching upward from the
// document's folder. The chosen entry's file is joined to the folder of the tags file that listed
// it when relative, as the direct search does.
TagLookup ChooseKeywordTag(std::string_view keyword, std::string_view documentPath, HWND owner, TagTarget* target);

// The tags-making dialog and the run of the tags program, with every message it shows. folder is
// the document's folder (Shift-JIS, ending in "/"), or empty for the executable's folder; programs
// runs the tags program.
void MakeTagsFile(std::string_view documentFolder, HWND owner, platform::OutsidePrograms& programs);
