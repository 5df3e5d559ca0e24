// Finds narrow string and character literals that hold non-ASCII text without the "_sj" suffix.
//
// Text inside the program is Shift-JIS, but the compilers leave narrow literals as the UTF-8 of the
// source; a Japanese literal without the suffix would reach the program as UTF-8 bytes and compare
// unequal to every text read from a file. The build runs this over the tree so such a literal cannot
// slip in.
//
//   check_literals [--fix] PATH...
//
// A PATH that is a folder is searched for .cpp and .h files; a file is checked whatever its name.
// Prints "file:line: literal" for each finding and exits 1 when there is one. With --fix, string
// literals get the suffix (on the last piece of a concatenation) and the file gains the include;
// character literals are only reported.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr std::string_view kSuffix = "_sj";
constexpr std::string_view kInclude = "#include \"platform/sjis_literal.h\"";

struct Finding {
  int line;
  std::string text;
  size_t insertAt;  // where the suffix goes; npos for a character literal
};

bool IsIdentChar(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

bool HasNonAscii(std::string_view s) {
  return std::any_of(s.begin(), s.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  std::vector<Finding> Scan() {
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (StartsWith("//"))
        SkipLineComment();
      else if (StartsWith("/*"))
        SkipBlockComment();
      else if (std::isdigit(static_cast<unsigned char>(c)))
        SkipNumber();
      else if (IsIdentChar(c))
        Identifier();
      else if (c == '"')
        StringGroup(pos_, "");
      else if (c == '\'')
        CharLiteral(pos_, "");
      else
        Advance(1);
    }
    return findings_;
  }

 private:
  bool StartsWith(std::string_view s) const { return text_.substr(pos_, s.size()) == s; }

  void Advance(size_t n) {
    for (size_t i = 0; i < n && pos_ < text_.size(); ++i, ++pos_)
      if (text_[pos_] == '\n') ++line_;
  }

  void SkipLineComment() {
    while (pos_ < text_.size() && text_[pos_] != '\n') {
      if (text_[pos_] == '\\' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') Advance(1);
      Advance(1);
    }
  }

  void SkipBlockComment() {
    Advance(2);
    while (pos_ < text_.size() && !StartsWith("*/")) Advance(1);
    Advance(2);
  }

  // A pp-number, digit separators included, so that 1'000 is not taken for a character literal.
  void SkipNumber() {
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if ((c == '+' || c == '-') && pos_ > 0 && std::strchr("eEpP", text_[pos_ - 1]))
        Advance(1);
      else if (IsIdentChar(c) || c == '.' || (c == '\'' && pos_ + 1 < text_.size() && IsIdentChar(text_[pos_ + 1])))
        Advance(1);
      else
        break;
    }
  }

  void Identifier() {
    const size_t start = pos_;
    while (pos_ < text_.size() && IsIdentChar(text_[pos_])) Advance(1);
    const std::string_view word = text_.substr(start, pos_ - start);
    if (pos_ >= text_.size()) return;
    static constexpr std::string_view kPrefixes[] = {"u8", "u", "U", "L", "R", "u8R", "uR", "UR", "LR"};
    if (std::find(std::begin(kPrefixes), std::end(kPrefixes), word) == std::end(kPrefixes)) return;
    if (text_[pos_] == '"')
      StringGroup(start, word);
    else if (text_[pos_] == '\'' && word.find('R') == std::string_view::npos)
      CharLiteral(start, word);
  }

  // One string literal starting at the quote under pos_; returns whether it is narrow and non-ASCII,
  // and whether it carries the suffix.
  struct Piece {
    bool narrowNonAscii;
    bool suffixed;
    size_t end;  // just past the closing quote, before any suffix
  };

  Piece OneString(std::string_view prefix) {
    const bool raw = !prefix.empty() && prefix.back() == 'R';
    const size_t bodyStart = pos_ + 1;
    Advance(1);
    if (raw) {
      const size_t open = text_.find('(', pos_);
      const std::string close = ")" + std::string(text_.substr(pos_, open - pos_)) + "\"";
      const size_t stop = open == std::string_view::npos ? text_.size() : text_.find(close, open);
      Advance((stop == std::string_view::npos ? text_.size() : stop + close.size()) - pos_);
    } else {
      while (pos_ < text_.size() && text_[pos_] != '"' && text_[pos_] != '\n') Advance(text_[pos_] == '\\' ? 2 : 1);
      Advance(1);
    }
    const size_t end = pos_;
    const bool narrow = prefix.empty() || prefix == "R";
    const bool nonAscii = narrow && HasNonAscii(text_.substr(bodyStart, end - bodyStart));
    size_t suffixEnd = pos_;
    while (suffixEnd < text_.size() && IsIdentChar(text_[suffixEnd])) ++suffixEnd;
    const bool suffixed = text_.substr(pos_, suffixEnd - pos_) == kSuffix;
    Advance(suffixEnd - pos_);
    return {nonAscii, suffixed, end};
  }

  // Adjacent literals are one literal to the compiler: a suffix on any piece applies to all.
  void StringGroup(size_t start, std::string_view prefix) {
    const int firstLine = line_;
    bool nonAscii = false, suffixed = false;
    size_t lastEnd = 0;
    for (;;) {
      const Piece piece = OneString(prefix);
      nonAscii |= piece.narrowNonAscii;
      suffixed |= piece.suffixed;
      lastEnd = piece.end;
      const size_t save = pos_;
      const int saveLine = line_;
      SkipSpaceAndComments();
      prefix = {};
      if (pos_ < text_.size() && text_[pos_] == '"') continue;
      size_t p = pos_;
      while (p < text_.size() && IsIdentChar(text_[p])) ++p;
      const std::string_view word = text_.substr(pos_, p - pos_);
      if (p < text_.size() && text_[p] == '"' &&
          (word == "u8" || word == "u" || word == "U" || word == "L" || word == "R")) {
        prefix = word;
        Advance(p - pos_);
        continue;
      }
      pos_ = save;
      line_ = saveLine;
      break;
    }
    if (nonAscii && !suffixed)
      findings_.push_back({firstLine, std::string(text_.substr(start, lastEnd - start)), lastEnd});
  }

  void CharLiteral(size_t start, std::string_view prefix) {
    const int firstLine = line_;
    const size_t bodyStart = pos_ + 1;
    Advance(1);
    while (pos_ < text_.size() && text_[pos_] != '\'' && text_[pos_] != '\n') Advance(text_[pos_] == '\\' ? 2 : 1);
    Advance(1);
    if (prefix.empty() && HasNonAscii(text_.substr(bodyStart, pos_ - bodyStart)))
      findings_.push_back({firstLine, std::string(text_.substr(start, pos_ - start)), std::string::npos});
  }

  void SkipSpaceAndComments() {
    for (;;) {
      while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_]))) Advance(1);
      if (StartsWith("//"))
        SkipLineComment();
      else if (StartsWith("/*"))
        SkipBlockComment();
      else
        return;
    }
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
  std::vector<Finding> findings_;
};

// Puts the include after the file's last #include line (or at the top when it has none).
void AddInclude(std::string& text) {
  if (text.find(kInclude) != std::string::npos) return;
  size_t insertAt = 0;
  for (size_t p = 0; p < text.size();) {
    const size_t eol = text.find('\n', p);
    const size_t next = eol == std::string::npos ? text.size() : eol + 1;
    if (text.compare(p, 8, "#include") == 0 || text.compare(p, 12, "#pragma once") == 0) insertAt = next;
    p = next;
  }
  text.insert(insertAt, std::string(kInclude) + "\n");
}

int CheckFile(const std::filesystem::path& path, bool fix) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "check_literals: cannot read %s\n", path.c_str());
    return 1;
  }
  std::stringstream buffer;
  buffer << in.rdbuf();
  std::string text = buffer.str();
  const std::vector<Finding> findings = Scanner(text).Scan();
  int unfixed = 0;
  for (const Finding& f : findings) {
    if (fix && f.insertAt != std::string::npos) continue;
    std::printf("%s:%d: %s\n", path.c_str(), f.line, f.text.c_str());
    ++unfixed;
  }
  if (fix && static_cast<size_t>(unfixed) < findings.size()) {
    for (auto it = findings.rbegin(); it != findings.rend(); ++it)
      if (it->insertAt != std::string::npos) text.insert(it->insertAt, kSuffix);
    AddInclude(text);
    std::ofstream(path, std::ios::binary) << text;
  }
  return unfixed;
}

}  // namespace

int main(int argc, char** argv) {
  bool fix = false;
  std::vector<std::filesystem::path> files;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--fix") {
      fix = true;
      continue;
    }
    std::error_code ec;
    if (std::filesystem::is_directory(arg, ec)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(arg)) {
        const auto ext = entry.path().extension();
        if (entry.is_regular_file() && (ext == ".cpp" || ext == ".h")) files.push_back(entry.path());
      }
    } else {
      files.emplace_back(arg);
    }
  }
  if (files.empty()) {
    std::fprintf(stderr, "usage: check_literals [--fix] PATH...\n");
    return 2;
  }
  std::sort(files.begin(), files.end());
  int findings = 0;
  for (const auto& file : files) findings += CheckFile(file, fix);
  if (findings)
    std::printf("%d narrow literal%s with non-ASCII text lack%s the _sj suffix\n", findings, findings == 1 ? "" : "s",
                findings == 1 ? "s" : "");
  return findings ? 1 : 0;
}
