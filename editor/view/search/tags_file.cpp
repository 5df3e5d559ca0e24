#include "editor/view/search/tags_file.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/sjis_compare.h"
#include "editor/foundation/ui/tag_candidate_list.h"
#include "platform/file.h"
#include "platform/path.h"

namespace {

constexpr int kMaxDepth = 130;
// What a candidate keeps of a text.
constexpr size_t kCandidateText = 259;

bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

size_t SkipBlanks(std::string_view text, size_t i) {
  while (i < text.size() && IsBlank(text[i])) ++i;
  return i;
}

// A run of bytes other than TAB, CR and LF.
size_t FieldEnd(std::string_view text, size_t i) {
  while (i < text.size() && text[i] != '\t' && text[i] != '\r' && text[i] != '\n') ++i;
  return i;
}

size_t WordEnd(std::string_view text, size_t i) {
  while (i < text.size() && !IsBlank(text[i])) ++i;
  return i;
}

}  // namespace

bool ScanTagsLine(std::string_view text, TagsLine* out) {
  if (text.empty() || static_cast<signed char>(text[0]) <= '!') return false;
  size_t i = FieldEnd(text, 0);
  const std::string_view name = text.substr(0, i);
  i = SkipBlanks(text, i);
  const size_t fileStart = i;
  i = FieldEnd(text, i);
  if (i == fileStart) return false;
  const std::string_view file = text.substr(fileStart, i - fileStart);

  // The line number: blanks, a sign, digits; then ';"'.
  i = SkipBlanks(text, i);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  const size_t digits = i;
  long long number = 0;
  while (i < text.size() && text[i] >= '0' && text[i] <= '9') {
    number = number * 10 + (text[i] - '0');
    if (number > INT_MAX) return false;
    ++i;
  }
  if (i == digits || negative || number <= 0) return false;
  if (text.substr(i, 2) != ";\"") return false;
  i = SkipBlanks(text, i + 2);
  const size_t kindStart = i;
  i = WordEnd(text, i);
  if (i == kindStart) return false;
  const std::string_view kind = text.substr(kindStart, i - kindStart);
  i = SkipBlanks(text, i);
  const size_t remarkStart = i;
  i = WordEnd(text, i);

  out->name = name;
  out->file = file;
  out->line = static_cast<int>(number);
  out->kind = kind;
  out->remark = text.substr(remarkStart, i - remarkStart);
  return true;
}

bool ReadTagsPieces(std::string_view path, int pieceLimit, const std::function<bool(std::string_view)>& take) {
  platform::ReadOnlyFile file;
  if (!file.Open(path, platform::PathMode::kExact)) return false;
  file.AdviseSequential();
  const size_t limit = pieceLimit > 0 ? static_cast<size_t>(pieceLimit) : 1;
  std::string piece;
  // Set while the rest of a line longer than its piece is skipped up to its "\n".
  bool skipping = false;
  std::array<unsigned char, 65536> block;
  uint64_t offset = 0;
  for (;;) {
    const int64_t got = file.ReadSome(offset, block);
    if (got <= 0) break;
    offset += static_cast<uint64_t>(got);
    const char* p = reinterpret_cast<const char*>(block.data());
    const char* end = p + got;
    while (p < end) {
      const char* nl = static_cast<const char*>(std::memchr(p, '\n', static_cast<size_t>(end - p)));
      const char* stop = nl ? nl : end;
      if (!skipping) {
        // The piece holds the line end too when it fits.
        const size_t room = limit - piece.size();
        const size_t bytes = static_cast<size_t>(stop - p) + (nl ? 1 : 0);
        piece.append(p, std::min(room, static_cast<size_t>(stop - p)));
        if (bytes > room) skipping = true;
      }
      if (!nl) break;
      if (!piece.empty() || !skipping) {
        if (!take(piece)) return true;
      }
      piece.clear();
      skipping = false;
      p = nl + 1;
    }
  }
  if (!piece.empty()) take(piece);
  return true;
}

int TagsBaseDepth(std::string_view documentPath) {
  const std::string path(documentPath.substr(0, documentPath.find('\0')));
  return std::clamp(GetPathDepth(path.c_str()), 0, kMaxDepth);
}

std::vector<std::string> TagsFolders(std::string_view documentPath) {
  std::vector<std::string> folders;
  size_t cut = documentPath.rfind('/');
  if (cut == std::string_view::npos) return folders;
  const int depth = TagsBaseDepth(documentPath);
  for (int level = 0; level <= depth; ++level) {
    folders.emplace_back(documentPath.substr(0, cut + 1));
    if (cut == 0) break;
    cut = documentPath.rfind('/', cut - 1);
    if (cut == std::string_view::npos) break;
  }
  return folders;
}

std::string TagEntryPath(std::string_view tagsFolder, std::string_view file) {
  if (!file.empty() && file[0] == '/') return std::string(file);
  std::string path(tagsFolder);
  path += file;
  return path;
}

namespace {

bool EntryOf(const TagsLine& line, TagEntry* entry) {
  if (!platform::ExactPathFromHost(line.file, entry->file)) return false;
  entry->name = line.name;
  entry->line = line.line;
  entry->kind = static_cast<unsigned char>(line.kind[0]);
  entry->remark = line.remark;
  return true;
}

}  // namespace

bool FindTagsDirect(std::string_view documentPath, std::string_view name, DirectTagHits* hits) {
  hits->entries.clear();
  const std::vector<std::string> folders = TagsFolders(documentPath);
  for (size_t level = 0; level < folders.size(); ++level) {
    std::vector<TagEntry> found;
    bool inRun = false;
    ReadTagsPieces(folders[level] + "tags", kDirectTagsPiece, [&](std::string_view piece) {
      TagsLine line;
      const bool hit = ScanTagsLine(piece, &line) && line.name == name;
      if (!hit) return !inRun;
      inRun = true;
      TagEntry entry;
      if (EntryOf(line, &entry)) found.push_back(std::move(entry));
      return true;
    });
    if (!found.empty()) {
      hits->depth = static_cast<int>(level);
      hits->folder = folders[level];
      hits->entries = std::move(found);
      return true;
    }
  }
  return false;
}

void FindTagsByKeyword(std::string_view documentPath, std::string_view keyword, bool ignoreCase, bool anywhere,
                       CTagCandidateList& list) {
  list.Clear();
  if (keyword.empty()) return;
  const std::string key(keyword.substr(0, keyword.find('\0')));
  if (key.empty()) return;
  const std::vector<std::string> folders = TagsFolders(documentPath);
  std::string name;
  for (size_t level = 0; level < folders.size(); ++level) {
    ReadTagsPieces(folders[level] + "tags", kKeywordTagsPiece, [&](std::string_view piece) {
      TagsLine line;
      if (!ScanTagsLine(piece, &line)) return true;
      bool match = false;
      if (anywhere) {
        name.assign(line.name);
        match = ignoreCase ? SjisStrIStr(name.c_str(), key.c_str()) != nullptr : name.find(key) != std::string::npos;
      } else if (ignoreCase) {
        name.assign(line.name);
        match = SjisStrNICmp(name.c_str(), key.c_str(), static_cast<int>(key.size())) == 0;
      } else {
        // Byte order as the file is sorted: past the keyword's place nothing more can match.
        const std::string_view head = line.name.substr(0, key.size());
        const int order = head.compare(0, head.size(), key.data(), head.size());
        const int cmp = order != 0 ? order : (head.size() < key.size() ? -1 : 0);
        if (cmp > 0) return false;
        match = cmp == 0;
      }
      if (!match) return true;
      TagEntry entry;
      if (!EntryOf(line, &entry) || entry.file.size() > kCandidateText) return true;
      list.Add(std::string(line.name).c_str(), entry.file.c_str(), entry.line, entry.kind, entry.remark.c_str(),
               static_cast<int>(level));
      return true;
    });
  }
}

namespace {

struct KindRow {
  const char* extensions;  // separated by ","
  const char* kinds;       // "letter=name" separated by ","
};

constexpr const char* kCKinds =
    "c=class,d=macro,e=enumerator,f=function,g=enum,m=member,n=namespace,p=prototype,s=struct,t=typedef,u=union,"
    "v=variable,x=externvar";

constexpr KindRow kKindTable[] = {
    {"asm,s", "d=define,l=label,m=macro,t=type"},
    {"asp,asa", "f=function,s=sub"},
    {"awk,gawk,mawk", "f=function"},
    {"bet", "f=fragment,p=pattern,s=slot,v=virtual"},
    {"c,h", kCKinds},
    {"c++,cc,cp,cpp,cxx,h++,hh,hp,hpp,hxx", kCKinds},
    {"java", kCKinds},
    {"vr,vri,vrh", kCKinds},
    {"cbl,cob", "d=data,f=file,g=group,p=paragraph,P=program,s=section"},
    {"e", "c=class,f=feature,l=local"},
    {"f,for,ftn,f77,f90,f95",
     "b=block data,c=common,e=entry,f=function,i=interface,k=component,l=label,L=local,m=module,n=namelist,"
     "p=program,s=subroutine,t=type,v=variable"},
    {"cl,clisp,el,l,lisp,lsp,ml", "f=function"},
    {"lua", "f=function"},
    {"mak", "m=macro"},
    {"p,pas", "f=function,p=procedure"},
    {"pl,pm,perl", "s=subroutine,p=package"},
    {"php,php3,phtml", "c=class,f=function"},
    {"py,python", "c=class,f=function,m=member"},
    {"cmd,rexx,rx", "s=subroutine"},
    {"rb", "c=class,f=method,F=singleton method,m=mixin"},
    {"sch,scheme,scm,sm", "f=function,s=set"},
    {"sh,bsh,bash,ksh,zsh", "f=function"},
    {"sl", "f=function,n=namespace"},
    {"sql",
     "c=cursor,d=prototype,f=function,F=field,l=local,P=package,p=procedure,r=record,s=subtype,t=table,T=trigger,"
     "v=variable"},
    {"tcl,tk,wish,itcl", "p=procedure,c=class,f=method"},
    {"v", "f=function,m=module,P=parameter,p=port,r=reg,t=task,v=variable,w=wire"},
    {"vim", "f=function,v=variable"},
    {"y", "l=label"},
};

bool ListHoldsNoCase(std::string_view list, std::string_view ext) {
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(',', start);
    if (end == std::string_view::npos) end = list.size();
    const std::string_view item = list.substr(start, end - start);
    if (item.size() == ext.size() &&
        std::equal(item.begin(), item.end(), ext.begin(), [](char a, char b) { return AsciiToUpper(a) == AsciiToUpper(b); })) {
      return true;
    }
    start = end + 1;
  }
  return false;
}

}  // namespace

void SplitTagFileName(std::string_view path, std::string_view* name, std::string_view* ext) {
  const size_t slash = path.rfind('/');
  const std::string_view last = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const size_t dot = last.rfind('.');
  *name = dot == std::string_view::npos ? last : last.substr(0, dot);
  *ext = dot == std::string_view::npos ? std::string_view() : last.substr(dot + 1);
}

std::string_view TagKindName(std::string_view file, int kindLetter) {
  std::string_view name;
  std::string_view ext;
  SplitTagFileName(file, &name, &ext);
  // A file without a dot in its name is taken as C.
  const bool hasDot = name.data() + name.size() != file.data() + file.size();
  if (!hasDot) ext = "c";
  for (const KindRow& row : kKindTable) {
    if (!ListHoldsNoCase(row.extensions, ext)) continue;
    const std::string_view kinds = row.kinds;
    size_t start = 0;
    while (start < kinds.size()) {
      size_t end = kinds.find(',', start);
      if (end == std::string_view::npos) end = kinds.size();
      const std::string_view item = kinds.substr(start, end - start);
      if (item.size() >= 2 && static_cast<unsigned char>(item[0]) == kindLetter) return item.substr(2);
      start = end + 1;
    }
    return {};
  }
  return {};
}
