#include "editor/view/search/grep_format.h"

#include <cstdint>
#include <cstdio>

#include "editor/foundation/text/sjis_char.h"
#include "platform/sjis_literal.h"

namespace {

constexpr int kStyle1Limit = 2000;
constexpr int kStyle2Limit = 2500;

std::string EscapeKey(std::string_view key, int nQuoteEscape) {
  std::string out;
  out.reserve(key.size() * 2);
  const auto* p = reinterpret_cast<const unsigned char*>(key.data());
  const int len = static_cast<int>(key.size());
  for (int at = 0; at < len;) {
    const int size = SjisCharSize(p, len, at);
    const char c = key[static_cast<size_t>(at)];
    // A trail byte that equals a backslash or a quote belongs to its character.
    if (size == 1) {
      if (nQuoteEscape == 1) {
        if (c == '\'' || c == '"') out.push_back(c);
      } else if (c == '\\' || c == '\'' || c == '"') {
        out.push_back('\\');
      }
    }
    out.append(key.substr(static_cast<size_t>(at), static_cast<size_t>(size)));
    at += size;
  }
  return out;
}

}  // namespace

std::string_view GrepCodeLabel(int code) {
  static constexpr std::string_view kLabels[] = {"  [SJIS]", "  [JIS]", "  [EUC]", "  [Unicode]",
                                                 "  [UTF-8]", "  [UTF-7]", "  [UniBE]"};
  if (code >= 0 && code < 7) return kLabels[code];
  return "  [(DetectError)]";
}

std::string BuildGrepHeader(const GrepConditions& c, int nQuoteEscape) {
  static constexpr std::string_view kCodeNames[] = {"SJIS", "JIS", "EUC", "Unicode", "UTF-8", "UTF-7", "UniBE"};
  const bool hasKey = !c.key.empty();
  std::string h = "\r\n□検索条件  "_sj;
  if (hasKey) {
    h += '"';
    h += EscapeKey(c.key, nQuoteEscape);
    h += "\"\r\n";
  } else {
    h += "「ファイル検索」\r\n"_sj;
  }
  h += "検索対象   "_sj;
  h += c.files;
  h += "\r\n";
  h += "フォルダ   "_sj;
  h += c.folder;
  h += "\r\n";
  h += c.bSubFolder ? "    (サブフォルダも検索)\r\n"_sj : "    (サブフォルダを検索しない)\r\n"_sj;
  if (hasKey) {
    if (c.bWordOnly) h += "    (単語単位で探す)\r\n"_sj;
    h += c.bLoHiCase ? "    (英大文字小文字を区別する)\r\n"_sj : "    (英大文字小文字を区別しない)\r\n"_sj;
    if (c.bRegularExp) h += "    (正規表現)\r\n"_sj;
  }
  if (c.nCharSet == 99) {
    h += "    (文字コードセットの自動判別)\r\n"_sj;
  } else if (c.nCharSet >= 0 && c.nCharSet < 7) {
    h += "    (文字コードセット："_sj;
    h += kCodeNames[c.nCharSet];
    h += ")\r\n";
  }
  if (hasKey) h += c.bOutputLine ? "    (一致した行を出力)\r\n"_sj : "    (一致した箇所のみ出力)\r\n"_sj;
  h += "\r\n\r\n";
  return h;
}

std::string_view GrepCutText(std::string_view text, int limit) {
  const int kept = WholeCharsPrefixLength(text.data(), static_cast<int>(text.size()), limit);
  return text.substr(0, static_cast<size_t>(kept));
}

void FormatGrepHit(std::string& out, int nStyle, std::string_view path, int64_t line, int column,
                   std::string_view label, std::string_view text, bool bOutputLine) {
  char number[64];
  if (nStyle == 2) {
    std::snprintf(number, sizeof number, "(%6lld,%-5d): ", static_cast<long long>(line), column);
    out += "・"_sj;
    out += number;
  } else {
    std::snprintf(number, sizeof number, "(%lld,%d)", static_cast<long long>(line), column);
    out += path;
    out += number;
    out += label;
    out += ": ";
  }
  const std::string_view cut = GrepCutText(text, nStyle == 2 ? kStyle2Limit : kStyle1Limit);
  out += cut;
  if (bOutputLine || cut.empty() || (cut.back() != '\r' && cut.back() != '\n')) out += "\r\n";
}

void AppendGrepFileLine(std::string& out, int nStyle, std::string_view path, std::string_view label) {
  if (nStyle == 2) {
    out += "■\""_sj;
    out += path;
    out += '"';
  } else {
    out += path;
  }
  out += label;
  out += "\r\n";
}
