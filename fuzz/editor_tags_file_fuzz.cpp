// The tags reader: a random tags text, written as the "tags" files of a document's folder and of
// the folder above it, searched by the direct search and by the keyword search in each of its
// modes. What the searches give must hold what they promise: the direct hits carry the name
// exactly and a line above 0, the candidates stay within the list, their files fit a candidate,
// and every level is one of the two.
//
// Input: one byte of flags (bit 0 ignore case, bit 1 anywhere), the keyword up to the first NUL,
// then the tags text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "editor/foundation/ui/tag_candidate_list.h"
#include "editor/view/search/tags_file.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 65536) return 0;
  const ScopedTempDir& folder = fuzz::Environment();
  const bool ignoreCase = data[0] & 1;
  const bool anywhere = data[0] & 2;
  std::string_view rest = fuzz::Text(data + 1, size - 1);
  const size_t nul = rest.find('\0');
  const std::string keyword(rest.substr(0, nul));
  const std::string_view text = nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1);
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  fuzz::WriteFile("tags_fuzz/a/tags", {bytes, text.size()});
  fuzz::WriteFile("tags_fuzz/a/b/tags", {bytes, text.size()});
  const std::string document = folder.path().string() + "/tags_fuzz/a/b/x.c";

  DirectTagHits hits;
  if (FindTagsDirect(document, keyword, &hits)) {
    if (hits.entries.empty() || hits.depth < 0 || hits.depth > 1) std::abort();
    for (const TagEntry& e : hits.entries) {
      if (e.name != keyword || e.line <= 0 || e.kind == 0 || e.file.empty()) std::abort();
      if (e.name.size() > kDirectTagsPiece) std::abort();
      TagKindName(e.file, e.kind);
    }
  }

  CTagCandidateList list(100);
  FindTagsByKeyword(document, keyword, ignoreCase, anywhere, list);
  if (keyword.empty() && list.GetCount() != 0) std::abort();
  if (list.GetCount() > 100) std::abort();
  char name[260], file[260], note[260];
  int line = 0, kind = 0, depth = 0;
  for (int i = 0; list.GetAt(i, name, file, &line, &kind, note, &depth); ++i) {
    if (line <= 0 || depth < 0 || depth > 1 || file[0] == '\0') std::abort();
  }
  return 0;
}
