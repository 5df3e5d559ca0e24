#include "editor/view/search/grep_engine.h"

#include <algorithm>
#include <cstdio>
#include <unordered_set>

#include "editor/foundation/settings/regexp_dll.h"
#include "editor/foundation/text/char_codes.h"
#include "editor/foundation/text/editor_path.h"
#include "editor/foundation/text/file_errors.h"
#include "editor/foundation/text/file_reader.h"
#include "editor/foundation/text/memory.h"
#include "editor/view/search/grep_pattern.h"
#include "platform/file.h"
#include "platform/sjis_literal.h"

namespace {

constexpr int kCheckEveryLines = 64;
constexpr int kCheckEveryHits = 64;
constexpr uint64_t kPercentFileSize = 5000000;
constexpr int kPercentStep = 4;
constexpr int kFlushLines = 9;
constexpr int kRealTimeFewHits = 20;
constexpr uint64_t kRealTimeKiB = 10000;
// The block search reads a file in pieces of this size, each cut after its last whole line.
constexpr size_t kBlockBytes = size_t{16} << 20;
// The file reader tells a file's code from its first block of this size.
constexpr size_t kDetectBlockBytes = 32768;

std::string OpenErrorLine(std::string_view path) {
  std::string line = "file open error [";
  line += path;
  line += "]\r\n";
  return line;
}

bool IsLineEndByte(char c) { return c == '\r' || c == '\n'; }

// The position after the last line end of data[0, fill) that a byte other than CR or LF follows,
// so that a CR LF pair is never cut; 0 when there is none.
size_t CutAfterLastLine(const char* data, size_t fill) {
  for (size_t i = fill >= 2 ? fill - 1 : 0; i > 0; --i) {
    if (!IsLineEndByte(data[i]) && IsLineEndByte(data[i - 1])) return i;
  }
  return 0;
}

std::string PercentText(std::string_view name, int percent) {
  char number[16];
  std::snprintf(number, sizeof number, " (%3d%%)", percent);
  return std::string(name) + number;
}

}  // namespace

CGrepEngine::CGrepEngine(const GrepConditions& c, CRegexpDll* regexp, IGrepSink& sink)
    : m_c(c), m_pRegexp(c.bRegularExp ? regexp : nullptr), m_sink(sink) {
  m_pLineMatcher = std::make_unique<GrepLineMatcher>(m_c.key, m_pRegexp, m_c.bLoHiCase, m_c.bWordOnly, m_c.bOutputLine);
  if (UseBlockSearch()) m_pBlockSearch = std::make_unique<GrepBlockSearch>(m_c.key, m_c.bOutputLine, m_c.bLoHiCase);
}

CGrepEngine::~CGrepEngine() = default;

bool CGrepEngine::UseBlockSearch() const {
  return !m_c.bRegularExp && !m_c.bWordOnly && GrepBlockSearch::Suits(m_c.key);
}

int CGrepEngine::GrepFolder(const std::string& folder, int depth) {
  // A folder reached again through a symbolic link has been searched already.
  if (!m_walker.Enter(folder)) return 0;
  m_sink.ShowFolder(folder);
  std::vector<GrepEntry> entries;
  if (!m_walker.List(folder, entries)) {
    m_sink.Append(OpenErrorLine(folder));
    return 0;
  }
  const std::vector<std::string> pieces = SplitGrepPatterns(m_c.files);
  // Names not to search: the exclusions, then every file searched for an earlier piece.
  std::unordered_set<std::string> skipped;
  for (const std::string& piece : pieces) {
    if (piece[0] != '!') continue;
    const std::string_view rest = std::string_view(piece).substr(1);
    for (const GrepEntry& e : entries)
      if (e.kind != GrepEntry::Kind::kFolder && MatchGrepWildcard(rest, e.name)) skipped.insert(e.name);
  }

  std::string buffer;
  auto cancel = [&] {
    Flush(buffer);
    return -1;
  };
  for (const std::string& piece : pieces) {
    if (piece[0] == '!') continue;
    for (const GrepEntry& e : entries) {
      if (!MatchGrepWildcard(piece, e.name)) continue;
      if (m_sink.Cancelled()) return cancel();
      m_sink.RealTime();
      if (e.kind == GrepEntry::Kind::kFolder || !skipped.insert(e.name).second) continue;
      const std::string path = folder + e.name;
      m_sink.ShowFile(e.name);
      if (!e.spellable || e.kind != GrepEntry::Kind::kFile) {
        // Neither a name without a form here nor a pipe or device is opened: either would be
        // another file, or a read that waits for ever.
        m_sink.Append(OpenErrorLine(path));
        continue;
      }
      if (DoGrepFile(path, e.name, buffer) < 0) return cancel();
      AfterFile(buffer);
    }
  }

  if (m_c.bSubFolder) {
    for (const GrepEntry& e : entries) {
      if (m_sink.Cancelled()) return cancel();
      if (e.kind != GrepEntry::Kind::kFolder) continue;
      const std::string sub = folder + e.name + "/";
      if (!e.spellable) {
        m_sink.Append(OpenErrorLine(sub));
        continue;
      }
      if (GrepFolder(sub, depth + 1) < 0) return cancel();
    }
    m_sink.ShowFolder(folder);
  }
  m_sink.ShowFile(" ");
  Flush(buffer);
  return 0;
}

void CGrepEngine::AfterFile(std::string& buffer) {
  if (m_sink.RealTime()) {
    if (!m_c.key.empty()) m_nKiBSinceFlush += (m_nFileSize + 1023) / 1024;
    if (m_nTotal != m_nFlushedTotal && (m_nTotal < kRealTimeFewHits || m_nKiBSinceFlush > kRealTimeKiB)) {
      Flush(buffer);
      return;
    }
  }
  if (m_nTotal > m_nFlushedTotal + kFlushLines) Flush(buffer);
}

void CGrepEngine::Flush(std::string& buffer) {
  if (!buffer.empty()) m_sink.Append(buffer);
  buffer.clear();
  m_nKiBSinceFlush = 0;
  m_nFlushedTotal = m_nTotal;
}

int CGrepEngine::DoGrepFile(const std::string& path, std::string_view name, std::string& buffer) {
  m_nFileSize = 0;
  if (m_c.key.empty()) {
    std::string_view label;
    if (m_c.nCharSet == kCodeDetect) label = GrepCodeLabel(CMemory::DetectFileCode(path));
    AppendGrepFileLine(buffer, m_c.nOutputStyle, path, label);
    ++m_nTotal;
    m_sink.ShowCount(m_nTotal);
    return 1;
  }
  const int code = m_c.nCharSet;
  // A code outside the seven is read as Shift-JIS, as the file reader reads it.
  const bool sjis = code != kCodeDetect && (code < 0 || code >= kCodeCount || code == kCodeSjis);
  if (m_pBlockSearch && (sjis || code == kCodeDetect)) return SearchBlocks(path, name, code == kCodeDetect, buffer);
  return SearchLines(path, name, code, code == kCodeDetect, buffer);
}

void CGrepEngine::AddHit(std::string& buffer, const std::string& path, std::string_view label, int64_t line,
                         int column, std::string_view lineText, std::string_view matched, bool* pbHeaderDone) {
  if (m_c.nOutputStyle == 2 && !*pbHeaderDone) {
    AppendGrepFileLine(buffer, 2, path, label);
    *pbHeaderDone = true;
  }
  FormatGrepHit(buffer, m_c.nOutputStyle, path, line, column, label, m_c.bOutputLine ? lineText : matched,
                m_c.bOutputLine);
  ++m_nTotal;
  if (m_c.bWordOnly || m_nTotal <= 16 || m_nTotal % 16 == 0) m_sink.ShowCount(m_nTotal);
}

int CGrepEngine::SearchLines(const std::string& path, std::string_view name, int code, bool bLabel,
                             std::string& buffer) {
  CFileReader reader;
  int used = 0;
  try {
    used = reader.Open(path.c_str(), code, 0);
  } catch (const CError_FileOpen&) {
    m_sink.Append(OpenErrorLine(path));
    return 0;
  } catch (const CError_FileRead&) {
    m_sink.Append(OpenErrorLine(path));
    return 0;
  }
  const std::string_view label = bLabel ? GrepCodeLabel(used) : std::string_view();
  platform::PathStatus status;
  if (platform::StatPath(path, platform::PathMode::kExact, status)) m_nFileSize = status.stamp.size;
  const uint64_t size = m_nFileSize;
  const int before = m_nTotal;
  bool headerDone = false;
  int lastPercent = 0;
  int64_t lineNo = 0;
  try {
    int len = 0;
    CLineEnd eol;
    while (const char* line = reader.ReadLine(&len, &eol)) {
      ++lineNo;
      if (lineNo % kCheckEveryLines == 0) {
        if (m_sink.Cancelled()) return -1;
        m_sink.RealTime();
        if (size > kPercentFileSize) {
          const int percent = reader.GetProgressPercent();
          if (percent > lastPercent + kPercentStep) {
            m_sink.ShowFile(PercentText(name, percent));
            lastPercent = percent;
          }
        }
      }
      const int textLen = std::max(len - eol.GetLen(), 0);
      m_pLineMatcher->FindHits(line, len, textLen, m_hits);
      for (const GrepHit& hit : m_hits) {
        AddHit(buffer, path, label, lineNo, hit.offset + 1, std::string_view(line, static_cast<size_t>(textLen)),
               std::string_view(line + hit.offset, static_cast<size_t>(hit.length)), &headerDone);
      }
    }
  } catch (const CError_FileRead&) {
    m_sink.Append("CEditView::DoGrepFile() ファイルの読み込み中にエラーが発生しました。\r\n"_sj);
  }
  return m_nTotal - before;
}

int CGrepEngine::SearchBlocks(const std::string& path, std::string_view name, bool bDetect, std::string& buffer) {
  const std::string_view label = bDetect ? GrepCodeLabel(kCodeSjis) : std::string_view();
  platform::ReadOnlyFile file;
  platform::FileStamp stamp;
  // The same refusals as the file reader's (path length, mode bits, size, another editor's
  // exclusive lock), asked of the one open file.
  if (path.size() >= static_cast<size_t>(kMaxPath) || !file.Open(path, platform::PathMode::kExact) ||
      !file.HasReadBit() || !file.Stamp(stamp) || stamp.size >= CFileReader::kMaxFileSize ||
      file.IsLockedExclusively()) {
    m_sink.Append(OpenErrorLine(path));
    return 0;
  }
  file.AdviseSequential();
  const uint64_t fileSize = stamp.size;
  m_nFileSize = fileSize;
  const int before = m_nTotal;
  bool headerDone = false;
  int lastPercent = 0;
  uint64_t offset = 0;
  size_t carry = 0;
  int64_t baseLine = 0;
  GrepBlockSearch& search = *m_pBlockSearch;
  for (;;) {
    const size_t want = static_cast<size_t>(std::min<uint64_t>(kBlockBytes, fileSize > offset ? fileSize - offset : 0));
    if (m_block.size() < carry + want) m_block.resize(carry + want);
    size_t got = 0;
    while (got < want) {
      const int64_t n = file.ReadSome(offset + got, std::span(reinterpret_cast<unsigned char*>(m_block.data()) + carry + got,
                                                              want - got));
      if (n < 0) {
        m_sink.Append("CEditView::DoGrepFile() ファイルの読み込み中にエラーが発生しました。\r\n"_sj);
        return m_nTotal - before;
      }
      if (n == 0) break;
      got += static_cast<size_t>(n);
    }
    if (bDetect && offset == 0) {
      // The code is told from the file's first block, as the file reader tells it; a file in
      // another code is read line by line in that code.
      const int code = CMemory::DetectCode(m_block.data(), static_cast<int>(std::min<size_t>(got, kDetectBlockBytes)));
      if (code != kCodeSjis) {
        file.Close();
        return SearchLines(path, name, code, true, buffer);
      }
    }
    offset += got;
    const size_t fill = carry + got;
    const bool atEnd = got < want || offset >= fileSize;
    const size_t cut = atEnd ? fill : CutAfterLastLine(m_block.data(), fill);
    if (cut == 0 && !atEnd) {
      // One line longer than the piece: read on until it ends.
      carry = fill;
      continue;
    }
    search.Begin(m_block.data(), static_cast<int64_t>(cut));
    GrepBlockHit hit;
    int found = 0;
    while (search.Next(hit)) {
      const char* lineText = m_block.data() + hit.lineStart;
      AddHit(buffer, path, label, baseLine + hit.line + 1, hit.offset + 1,
             std::string_view(lineText, static_cast<size_t>(hit.lineLength)),
             std::string_view(lineText + hit.offset, m_c.key.size()), &headerDone);
      if (++found % kCheckEveryHits == 0 && m_sink.Cancelled()) return -1;
    }
    if (atEnd) break;
    baseLine += search.CountAllLines();
    std::copy(m_block.begin() + static_cast<std::ptrdiff_t>(cut), m_block.begin() + static_cast<std::ptrdiff_t>(fill),
              m_block.begin());
    carry = fill - cut;
    if (m_sink.Cancelled()) return -1;
    m_sink.RealTime();
    if (fileSize > kPercentFileSize) {
      const int percent = static_cast<int>(offset * 100 / fileSize);
      if (percent > lastPercent + kPercentStep) {
        m_sink.ShowFile(PercentText(name, percent));
        lastPercent = percent;
      }
    }
  }
  return m_nTotal - before;
}
