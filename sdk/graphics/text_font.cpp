#include "sdk/graphics/text_font.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

#include "platform/dc_text.h"
#include "platform/font.h"
#include "platform/sjis_literal.h"
#include "platform/text_out.h"
#include "sdk/graphics/text_lines.h"

namespace {

constexpr std::string_view kFaceNames[] = {"ＭＳ ゴシック"_sj, "ＭＳ Ｐゴシック"_sj, "ＭＳ 明朝"_sj, "ＭＳ Ｐ明朝"_sj};

}  // namespace

CTextFont::CTextFont() : m_faceName(kFaceNames[0]) {}

CTextFont::~CTextFont() = default;

void CTextFont::SetQuality(int type) {
  static constexpr uint32_t kQualityOfType[] = {platform::DEFAULT_QUALITY, platform::DRAFT_QUALITY,
                                                platform::PROOF_QUALITY, platform::ANTIALIASED_QUALITY,
                                                platform::NONANTIALIASED_QUALITY};
  if (type >= 0 && type < static_cast<int>(std::size(kQualityOfType))) m_quality = kQualityOfType[type];
}

void CTextFont::SetSize(int32_t height) {
  m_height = height;
  m_linePitch = height;
}

void CTextFont::SetTextF(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int n = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  if (n < 0) {
    va_end(again);
    m_text.clear();
    return;
  }
  std::string text(static_cast<size_t>(n) + 1, '\0');
  std::vsnprintf(text.data(), text.size(), format, again);
  va_end(again);
  text.resize(static_cast<size_t>(n));
  m_text = std::move(text);
}

void CTextFont::SetFontType(int type) {
  const std::string_view name =
      type >= 0 && type < static_cast<int>(std::size(kFaceNames)) ? kFaceNames[type] : std::string_view{};
  SetFaceName(name);
}

void CTextFont::SetFaceName(std::string_view name) {
  if (m_faceName != name) m_faceName.assign(name.data(), name.size());
}

std::optional<platform::Font> CTextFont::MakeFont() const {
  platform::FontDesc desc;
  desc.height = m_height;
  desc.weight = m_weight;
  desc.italic = m_italic;
  desc.underline = m_underline;
  desc.strikeOut = m_strikeOut;
  desc.quality = m_quality;
  desc.faceName = m_faceName;
  return platform::Font::Create(desc);
}

int CTextFont::GetSize(int* width, int* height) const {
  *width = 0;
  *height = 0;
  if (m_text.empty()) return 1;
  const std::optional<platform::Font> font = MakeFont();
  if (!font) return 1;
  // An italic line leans past its advance by about a quarter of the height.
  const int64_t lean = m_italic ? m_height / 4 : 0;
  int64_t widest = 0, lastHeight = 0, feeds = 0;
  ForEachTextLine(m_text, [&](std::string_view line, bool last) {
    const SIZE extent = platform::MeasureTextLine(*font, line);
    widest = std::max<int64_t>(widest, extent.cx + lean);
    if (last) {
      lastHeight = extent.cy;
    } else {
      ++feeds;
    }
  });
  *width = static_cast<int>(std::clamp<int64_t>(widest + 3, INT32_MIN, INT32_MAX));
  *height = static_cast<int>(std::clamp<int64_t>(int64_t{m_linePitch} * feeds + lastHeight + 3, INT32_MIN, INT32_MAX));
  return 0;
}

namespace {

int SaturatedSum(int64_t a, int64_t b) { return static_cast<int>(std::clamp<int64_t>(a + b, INT32_MIN, INT32_MAX)); }

// Calls f(line, top) for every line of a text, top growing by the line pitch from y.
template <typename F>
void ForEachLineTop(std::string_view text, int y, int32_t pitch, F&& f) {
  int64_t top = y;
  ForEachTextLine(text, [&](std::string_view line, bool) {
    f(line, SaturatedSum(top, 0));
    top += pitch;
  });
}

uint8_t BlueOf(COLORREF c) { return static_cast<uint8_t>(c >> 16); }

}  // namespace

void CTextFont::DrawLines(platform::MemDC* dc, int x, int y, std::string_view text) const {
  ForEachLineTop(text, y, m_linePitch, [&](std::string_view line, int top) {
    platform::TextOutA(dc, x, top, line.data(), static_cast<int>(line.size()));
  });
}

int CTextFont::Passes(int x, int y, Pass (&passes)[2]) const {
  int n = 0;
  const bool shadow = m_shadowColor != kNone;
  if (shadow) passes[n++] = {SaturatedSum(x, m_shadowX), SaturatedSum(y, m_shadowY), m_shadowColor, m_bkColor != kNone};
  // The background is painted once, under the shadow when there is one.
  if (m_textColor != kNone) passes[n++] = {x, y, m_textColor, !shadow && m_bkColor != kNone};
  return n;
}

void CTextFont::Draw(platform::MemDC* dc, int x, int y) const {
  if (!dc || m_text.empty()) return;
  const std::optional<platform::Font> font = MakeFont();
  if (!font) return;
  const platform::Font* previous = platform::SelectFont(dc, &*font);
  Pass passes[2];
  const int n = Passes(x, y, passes);
  for (int i = 0; i < n; ++i) {
    const Pass& pass = passes[i];
    platform::SetTextColor(dc, pass.color);
    platform::SetBkMode(dc, pass.opaque ? platform::OPAQUE : platform::TRANSPARENT);
    if (pass.opaque) platform::SetBkColor(dc, m_bkColor);
    DrawLines(dc, pass.x, pass.y, m_text);
  }
  platform::SelectFont(dc, previous);
}

void CTextFont::DrawInk(const platform::ChannelBuffer& target, int x, int y) const {
  if (m_text.empty()) return;
  const std::optional<platform::Font> font = MakeFont();
  if (!font) return;
  Pass passes[2];
  const int n = Passes(x, y, passes);
  for (int i = 0; i < n; ++i) {
    const platform::ChannelColors colors{BlueOf(passes[i].color), BlueOf(m_bkColor), passes[i].opaque};
    ForEachLineTop(m_text, passes[i].y, m_linePitch, [&](std::string_view line, int top) {
      platform::DrawTextLine(target, nullptr, *font, passes[i].x, top, line, colors);
    });
  }
}
