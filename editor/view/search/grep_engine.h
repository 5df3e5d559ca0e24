// The grep walk without a window: the folders and files that match the patterns, the search of
// each file in its code, and the output lines with the buffering that keeps the number of
// appends (each an undoable edit of the result document) small. The pane supplies the sink: the
// document the text goes to and the cancel dialog.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/view/search/grep_format.h"
#include "editor/view/search/grep_matcher.h"
#include "editor/view/search/grep_walker.h"

class CRegexpDll;

class IGrepSink {
 public:
  virtual ~IGrepSink() = default;
  // Appends text at the end of the result document.
  virtual void Append(std::string_view text) = 0;
  // A point where the run may stop: pumps messages when it is time; true when the user cancelled.
  virtual bool Cancelled() = 0;
  // Whether results are to appear while the run goes on (the user may switch it at any time).
  virtual bool RealTime() = 0;
  virtual void ShowFolder(std::string_view folder) = 0;
  virtual void ShowFile(std::string_view text) = 0;
  virtual void ShowCount(int count) = 0;
};

class CGrepEngine {
 public:
  // regexp holds the compiled key when c.bRegularExp is on (not owned; null otherwise).
  CGrepEngine(const GrepConditions& c, CRegexpDll* regexp, IGrepSink& sink);
  ~CGrepEngine();
  CGrepEngine(const CGrepEngine&) = delete;
  CGrepEngine& operator=(const CGrepEngine&) = delete;

  // One folder (an exact path ending with "/") and, with subfolders on, every folder below it:
  // 0, or -1 when cancelled. Each folder is entered once per run.
  int GrepFolder(const std::string& folder, int depth);
  // One file by its full path: its hits (1 for a file listed for an empty key), 0 when it cannot
  // be opened, -1 when cancelled. Hit lines go to buffer; error lines straight to the sink.
  int DoGrepFile(const std::string& path, std::string_view name, std::string& buffer);

  int Total() const { return m_nTotal; }

 private:
  // A file through the file reader, line by line, in the code given (99: detected); with bLabel
  // its lines carry the label of the code it was read in.
  int SearchLines(const std::string& path, std::string_view name, int code, bool bLabel, std::string& buffer);
  // A Shift-JIS file through the block search; with bDetect the code is detected first (a file in
  // another code goes to SearchLines) and the lines carry the Shift-JIS label.
  int SearchBlocks(const std::string& path, std::string_view name, bool bDetect, std::string& buffer);
  // One hit: counted, shown, written.
  void AddHit(std::string& buffer, const std::string& path, std::string_view label, int64_t line, int column,
              std::string_view lineText, std::string_view matched, bool* pbHeaderDone);
  void AfterFile(std::string& buffer);
  void Flush(std::string& buffer);
  bool UseBlockSearch() const;

  GrepConditions m_c;
  CRegexpDll* m_pRegexp;
  IGrepSink& m_sink;
  GrepFolderWalker m_walker;
  std::unique_ptr<GrepLineMatcher> m_pLineMatcher;
  std::unique_ptr<GrepBlockSearch> m_pBlockSearch;
  std::vector<GrepHit> m_hits;
  std::vector<char> m_block;  // file bytes of the block search, kept between files
  uint64_t m_nFileSize = 0;  // of the file searched last
  int m_nTotal = 0;
  int m_nFlushedTotal = 0;   // the total at the last flush
  uint64_t m_nKiBSinceFlush = 0;
};
