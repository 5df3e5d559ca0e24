// Draws the demo game's system interface: make_system_pictures <configuration> <folder> reads the
// game's configuration for the names and places of its configured pictures and writes into the
// folder the settings, save and load screens' backgrounds (every button's resting look painted where
// the game puts it), the buttons' hover pictures, the message window with its button row, the
// switch, slider, tab and page-arrow pictures under the names the game loads them by, the empty
// save slot, the gallery's unseen cell, the tool tip's background and the key-wait prompt.
//
// Labels are drawn with the game's own text renderer; without a Japanese face the pictures keep their
// shapes.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <tinyxml.h>
#include <vector>

#include "platform/sjis_literal.h"
#include "tools/demo_art/demo_picture.h"
#include "tools/demo_art/demo_palette.h"
#include "tools/demo_art/picture_canvas.h"

namespace {

using namespace demo_picture;

struct Colour {
  double r, g, b, a = 1.0;
};

// Source-over of a colour with a coverage onto one pixel; pixels outside the picture are skipped.
void Blend(Picture& p, int x, int y, Colour c, double cover) {
  if (!p.Contains(x, y)) return;
  const double sa = std::clamp(c.a * cover, 0.0, 1.0);
  if (sa <= 0) return;
  const uint32_t d = p.At(x, y);
  const double da = p.alpha ? (d >> 24) / 255.0 : 1.0;
  const double oa = sa + da * (1 - sa);
  const auto mix = [&](double s, int shift) { return (s * sa + ((d >> shift) & 255) / 255.0 * da * (1 - sa)) / oa; };
  p.At(x, y) = Rgb(mix(c.r, 16), mix(c.g, 8), mix(c.b, 0), p.alpha ? oa : 1.0);
}

struct Box {
  double x, y, w, h;
};

// Signed distance from a pixel centre to a rounded box: negative inside.
double BoxDistance(const Box& b, double radius, double px, double py) {
  const double qx = std::abs(px - (b.x + b.w / 2)) - (b.w / 2 - radius);
  const double qy = std::abs(py - (b.y + b.h / 2)) - (b.h / 2 - radius);
  return std::hypot(std::max(qx, 0.0), std::max(qy, 0.0)) + std::min(std::max(qx, qy), 0.0) - radius;
}

// A rounded box filled with a colour that runs from top to bottom, and a rim of a width inside it.
void FillBox(Picture& p, const Box& b, double radius, Colour top, Colour bottom, double rimWidth = 0, Colour rim = {}) {
  for (int y = static_cast<int>(b.y) - 1; y <= static_cast<int>(b.y + b.h) + 1; ++y) {
    for (int x = static_cast<int>(b.x) - 1; x <= static_cast<int>(b.x + b.w) + 1; ++x) {
      const double d = BoxDistance(b, radius, x + 0.5, y + 0.5);
      const double inside = std::clamp(0.5 - d, 0.0, 1.0);
      if (inside <= 0) continue;
      const double t = std::clamp((y + 0.5 - b.y) / b.h, 0.0, 1.0);
      Blend(p, x, y,
            {Mix(top.r, bottom.r, t), Mix(top.g, bottom.g, t), Mix(top.b, bottom.b, t), Mix(top.a, bottom.a, t)},
            inside);
      if (rimWidth > 0) Blend(p, x, y, rim, inside - std::clamp(0.5 - (d + rimWidth), 0.0, 1.0));
    }
  }
}

// Any shape given by a test of points, smoothed by sampling each pixel sixteen times.
void FillShape(Picture& p, const Box& bounds, Colour c, const std::function<bool(double, double)>& inside) {
  for (int y = static_cast<int>(bounds.y); y < static_cast<int>(std::ceil(bounds.y + bounds.h)); ++y) {
    for (int x = static_cast<int>(bounds.x); x < static_cast<int>(std::ceil(bounds.x + bounds.w)); ++x) {
      int hits = 0;
      for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) hits += inside(x + (i + 0.5) / 4, y + (j + 0.5) / 4);
      Blend(p, x, y, c, hits / 16.0);
    }
  }
}

// Thin diagonal stripes over a box: the look of a place that holds no picture.
void Hatch(Picture& p, const Box& b, Colour c) {
  FillShape(p, b, c, [&](double x, double y) {
    return x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h && std::fmod(x + y, 10.0) < 2.0;
  });
}

// Shift-JIS text in the game's Gothic face, bold, through the game's own text renderer; a missing
// face leaves the pictures without their labels, said once.
class Lettering {
 public:
  explicit Lettering(int size) : m_size(size) {}

  int Width(std::string_view text) const { return CaptionWidth(Letters(text, {1, 1, 1}, std::nullopt)); }

  // The text with its top-left corner at (x, y), and a shadow one pixel down and right.
  void Draw(Picture& p, std::string_view text, int x, int y, Colour colour,
            std::optional<Colour> shadow = std::nullopt) const {
    Said(text, DrawCaptionAt(p, Letters(text, colour, shadow), x, y));
  }

  void DrawCentred(Picture& p, std::string_view text, const Box& b, Colour colour,
                   std::optional<Colour> shadow = std::nullopt) const {
    Said(text, DrawCaption(p, Letters(text, colour, shadow), static_cast<int>(std::lround(b.x + b.w / 2)),
                           static_cast<int>(std::lround(b.y + b.h / 2))));
  }

 private:
  static uint32_t Argb(Colour c) { return Rgb(c.r, c.g, c.b, c.a); }

  Caption Letters(std::string_view text, Colour colour, std::optional<Colour> shadow) const {
    return {.text = text,
            .size = m_size,
            .colour = Argb(colour),
            .shadow = shadow ? Argb(*shadow) : 0,
            .face = 0,
            .bold = true,
            .shadowOffset = 1};
  }

  static void Said(std::string_view text, bool drawn) {
    static bool warned = false;
    if (drawn || warned || text.empty()) return;
    std::fprintf(stderr, "make_system_pictures: no Japanese face found; the labels are left out\n");
    warned = true;
  }

  int m_size;
};

// The three looks of every button: at rest (painted into the screens), under the cursor, and set.
enum class Look { Resting, Lit, Set };

struct Style {
  Colour top, bottom, rim, text, shadow;
};

Style StyleOf(Look look) {
  switch (look) {
    case Look::Lit:
      return {{1.00, 0.84, 0.48}, {0.93, 0.58, 0.20}, {1.00, 0.96, 0.82}, {1, 1, 1}, {0.45, 0.22, 0.02, 0.9}};
    case Look::Set:
      return {{0.50, 0.74, 1.00}, {0.20, 0.45, 0.86}, {0.86, 0.94, 1.00}, {1, 1, 1}, {0.03, 0.12, 0.35, 0.9}};
    case Look::Resting:
      break;
  }
  return {{0.24, 0.29, 0.48}, {0.14, 0.17, 0.32}, {0.45, 0.52, 0.75}, {0.82, 0.86, 0.94}, {0.02, 0.03, 0.10, 0.8}};
}

// A button's face in a box and its label centred in another (a tab's face runs past the top edge).
void DrawButton(Picture& p, const Box& face, const Box& labelBox, Look look, std::string_view label, int textSize) {
  const Style style = StyleOf(look);
  FillBox(p, face, std::min(8.0, face.h / 3), style.top, style.bottom, 1.5, style.rim);
  // A long label gets smaller letters rather than touching the rim.
  while (textSize > 8 && Lettering(textSize).Width(label) > labelBox.w - 8) --textSize;
  Lettering(textSize).DrawCentred(p, label, labelBox, style.text, style.shadow);
}

void DrawButton(Picture& p, const Box& b, Look look, std::string_view label, int textSize) {
  DrawButton(p, b, b, look, label, textSize);
}

Picture ButtonPicture(int width, int height, Look look, std::string_view label, int textSize) {
  Picture p(width, height, true);
  DrawButton(p, {0, 0, static_cast<double>(width), static_cast<double>(height)}, look, label, textSize);
  return p;
}

// ---------------------------------------------------------------------------------------------
// Sizes and places. The fixed places are where the game draws and tests its controls; the
// configured buttons' places come from the configuration.

constexpr int kScreenWidth = 800, kScreenHeight = 600;
constexpr int kTabWidth = 160, kTabHeight = 40;
constexpr int kSwitchWidth = 48, kSwitchHeight = 24;
constexpr int kBarWidth = 200, kBarHeight = 16;
constexpr int kArrowSize = 32;
constexpr int kThumbWidth = 120, kThumbHeight = 90;
constexpr int kCaptionGap = 4, kCaptionWidth = 150;  // the captions stand at x + 124, 150 wide
constexpr int kSlotWidth = kThumbWidth + kCaptionGap + kCaptionWidth, kSlotHeight = 90;
constexpr int kScreenButtonWidth = 120, kScreenButtonHeight = 40;
constexpr int kWindowButtonWidth = 56, kWindowButtonHeight = 22;
constexpr int kWindowWidth = 800, kWindowHeight = 170;
constexpr int kTipWidth = 154, kTipHeight = 60;  // text at +8, 138 wide, three lines of 12
constexpr int kPromptSize = 20;

struct Slider {
  int x, y;
  const char* label;
};
// Text speed and auto speed on the left, the three volumes on the right.
const Slider kSliders[] = {{165, 148, "文字速度"_sj},
                           {165, 241, "オート速度"_sj},
                           {496, 148, "BGM音量"_sj},
                           {496, 264, "効果音量"_sj},
                           {496, 397, "音声音量"_sj}};

struct Switch {
  int onX, offX, y;
  const char* label;
};
const Switch kSwitches[] = {{267, 319, 348, "画面効果"_sj}, {267, 319, 213, "オートモード"_sj},
                            {267, 319, 120, "スキップ"_sj}, {597, 650, 236, "効果音"_sj},
                            {597, 649, 369, "音声"_sj},     {595, 647, 120, "BGM"_sj}};

constexpr int kLeftLabelX = 40, kRightLabelX = 410;

Box SlotBox(int i) {
  return {106.0 + 334 * (i % 2), 91.0 + 119 * (i / 2), static_cast<double>(kSlotWidth),
          static_cast<double>(kSlotHeight)};
}

constexpr int kPageX = 380, kPageY = 40;  // the page number's text box
constexpr int kLeftArrowX = 200, kRightArrowX = 570, kArrowY = 36;

// ---------------------------------------------------------------------------------------------
// The configuration: the names of the configured pictures and the places of the buttons.

struct Placed {
  std::string file;
  int x = 0, y = 0;
};

struct DemoConfig {
  std::string settingsBackground, saveBackground, loadBackground, nodata, tips, prompt, window;
  std::map<std::string, Placed, std::less<>> buttons;  // by element path: "system/quit", "text/skip"
};

TiXmlElement* Find(TiXmlElement* root, std::string_view path) {
  TiXmlElement* e = root;
  while (e && !path.empty()) {
    const size_t slash = path.find('/');
    e = e->FirstChildElement(std::string(path.substr(0, slash)).c_str());
    path = slash == std::string_view::npos ? std::string_view() : path.substr(slash + 1);
  }
  return e;
}

const char* const kSystemButtons[] = {"system/backtogame", "system/backtotitle", "system/windowmode",
                                      "system/fullscreenmode", "system/quit"};
const char* const kWindowButtons[] = {"text/skip",      "text/auto",    "text/quicksave",
                                      "text/quickload", "text/backlog", "text/system"};

std::optional<DemoConfig> ReadConfig(const char* path) {
  TiXmlDocument doc;
  if (!doc.LoadFile(path)) {
    std::fprintf(stderr, "make_system_pictures: cannot read %s\n", path);
    return std::nullopt;
  }
  TiXmlElement* root = doc.RootElement();
  bool complete = true;
  const auto file = [&](std::string_view element) -> std::string {
    TiXmlElement* e = Find(root, element);
    const char* name = e ? e->Attribute("file") : nullptr;
    if (!name) {
      std::fprintf(stderr, "make_system_pictures: %s names no file\n", std::string(element).c_str());
      complete = false;
      return {};
    }
    return name;
  };
  DemoConfig c;
  c.settingsBackground = file("system/background");
  c.saveBackground = file("save");
  c.loadBackground = file("load");
  c.nodata = file("system/nodata");
  c.tips = file("tips");
  c.window = file("text/window");
  TiXmlElement* prompt = Find(root, "text/nextprompt");
  if (prompt && prompt->GetText()) {
    c.prompt = prompt->GetText();
  } else {
    std::fprintf(stderr, "make_system_pictures: text/nextprompt names no file\n");
    complete = false;
  }
  for (const auto& list :
       {std::span<const char* const>(kSystemButtons), std::span<const char* const>(kWindowButtons)}) {
    for (const char* element : list) {
      Placed& b = c.buttons[element];
      b.file = file(element);
      if (TiXmlElement* e = Find(root, element)) {
        e->QueryIntAttribute("x", &b.x);
        e->QueryIntAttribute("y", &b.y);
      }
    }
  }
  if (!complete) return std::nullopt;
  return c;
}

// ---------------------------------------------------------------------------------------------
// The pictures.

const std::map<std::string_view, const char*> kButtonLabels = {{"system/backtogame", "ゲームに戻る"_sj},
                                                               {"system/backtotitle", "タイトルへ"_sj},
                                                               {"system/windowmode", "ウィンドウ"_sj},
                                                               {"system/fullscreenmode", "フルスクリーン"_sj},
                                                               {"system/quit", "終了"_sj},
                                                               {"text/skip", "スキップ"_sj},
                                                               {"text/auto", "オート"_sj},
                                                               {"text/quicksave", "Qセーブ"_sj},
                                                               {"text/quickload", "Qロード"_sj},
                                                               {"text/backlog", "ログ"_sj},
                                                               {"text/system", "システム"_sj}};

Box ButtonBox(const Placed& b, int width, int height) {
  return {static_cast<double>(b.x), static_cast<double>(b.y), static_cast<double>(width), static_cast<double>(height)};
}

// A tab hangs from the top edge: only its lower corners are round.
void DrawTab(Picture& p, double x, Look look, std::string_view label) {
  DrawButton(p, {x, -10, kTabWidth, kTabHeight + 10}, {x, 0, kTabWidth, kTabHeight}, look, label, 18);
}

Picture TabPicture(std::string_view label) {
  Picture p(kTabWidth, kTabHeight, true);
  DrawTab(p, 0, Look::Lit, label);
  return p;
}

// The three screens share a night-blue backdrop with faint diagonal lines.
Picture Backdrop() {
  Picture p(kScreenWidth, kScreenHeight, false);
  for (int y = 0; y < kScreenHeight; ++y)
    for (int x = 0; x < kScreenWidth; ++x) {
      const double t = y / static_cast<double>(kScreenHeight);
      const double line = std::fmod(x + y, 24.0) < 1.0 ? 0.025 : 0.0;
      p.At(x, y) = Rgb(Mix(0.09, 0.03, t) + line, Mix(0.11, 0.04, t) + line, Mix(0.25, 0.11, t) + line);
    }
  FillBox(p, {0, 0, kScreenWidth, 2}, 0, {0.45, 0.52, 0.75}, {0.45, 0.52, 0.75});
  return p;
}

void DrawTabs(Picture& p, Look save, Look load) {
  DrawTab(p, 0, save, "セーブ"_sj);
  DrawTab(p, kScreenWidth - kTabWidth, load, "ロード"_sj);
}

void DrawScreenButtons(Picture& p, const DemoConfig& c, std::initializer_list<const char*> elements) {
  for (const char* element : elements)
    DrawButton(p, ButtonBox(c.buttons.at(element), kScreenButtonWidth, kScreenButtonHeight), Look::Resting,
               kButtonLabels.at(element), 16);
}

void Label(Picture& p, std::string_view text, int x, int y, int size = 16) {
  Lettering(size).Draw(p, text, x, y, {0.86, 0.89, 0.97}, Colour{0, 0, 0, 0.7});
}

Picture SettingsBackground(const DemoConfig& c) {
  Picture p = Backdrop();
  Lettering(22).DrawCentred(p, "システム設定"_sj, {kTabWidth, 6, kScreenWidth - 2 * kTabWidth, 26}, {0.92, 0.94, 1.0},
                            Colour{0, 0, 0, 0.8});
  DrawTabs(p, Look::Resting, Look::Resting);
  const Colour panelTop{0.16, 0.20, 0.38, 0.9}, panelBottom{0.10, 0.12, 0.26, 0.9}, panelRim{0.35, 0.42, 0.65};
  FillBox(p, {24, 66, 368, 334}, 10, panelTop, panelBottom, 1.5, panelRim);
  FillBox(p, {398, 66, 378, 366}, 10, panelTop, panelBottom, 1.5, panelRim);
  Label(p, "メッセージ"_sj, 40, 78, 18);
  Label(p, "サウンド"_sj, 414, 78, 18);
  for (const Switch& s : kSwitches) {
    Label(p, s.label, s.onX < 400 ? kLeftLabelX : kRightLabelX, s.y + (kSwitchHeight - 16) / 2);
    DrawButton(p, {static_cast<double>(s.onX), static_cast<double>(s.y), kSwitchWidth, kSwitchHeight}, Look::Resting,
               "ON", 14);
    DrawButton(p, {static_cast<double>(s.offX), static_cast<double>(s.y), kSwitchWidth, kSwitchHeight}, Look::Resting,
               "OFF", 14);
  }
  for (const Slider& s : kSliders) {
    Label(p, s.label, s.x < 400 ? kLeftLabelX : kRightLabelX, s.y);
    // The empty track; the filled bar is drawn over it, cut at the value.
    FillBox(p, {s.x - 3.0, s.y - 3.0, kBarWidth + 6, kBarHeight + 6}, 5, {0.30, 0.36, 0.58}, {0.30, 0.36, 0.58});
    FillBox(p, {static_cast<double>(s.x), static_cast<double>(s.y), kBarWidth, kBarHeight}, 0, {0.02, 0.03, 0.08},
            {0.07, 0.08, 0.16});
  }
  const Placed& windowMode = c.buttons.at("system/windowmode");
  Label(p, "画面モード"_sj, windowMode.x, windowMode.y - 22, 14);
  DrawScreenButtons(
      p, c, {"system/backtogame", "system/backtotitle", "system/windowmode", "system/fullscreenmode", "system/quit"});
  return p;
}

Picture SlotScreenBackground(const DemoConfig& c, bool save) {
  // The lit tab names the screen; the page plate takes the title's place.
  Picture p = Backdrop();
  DrawTabs(p, save ? Look::Set : Look::Resting, save ? Look::Resting : Look::Set);
  // The page plate: the number's text box is grey on light, between the two arrows.
  FillBox(p, {270, 30, 260, 36}, 8, {0.95, 0.95, 0.98}, {0.84, 0.85, 0.90}, 1.5, {0.55, 0.60, 0.78});
  Lettering(16).Draw(p, "ページ"_sj, 308, kPageY, {0.30, 0.32, 0.40});
  Lettering(16).Draw(p, "／１００"_sj, kPageX + 56, kPageY, {0.45, 0.47, 0.55});
  for (int x : {kLeftArrowX, kRightArrowX}) {
    const double cx = x + kArrowSize / 2.0, cy = kArrowY + kArrowSize / 2.0;
    FillShape(p, {cx - 18, cy - 18, 36, 36}, {0.02, 0.03, 0.10, 0.5},
              [&](double px, double py) { return std::hypot(px - cx, py - cy) < 17.5; });
  }
  for (int i = 0; i < 6; ++i) {
    const Box s = SlotBox(i);
    FillBox(p, {s.x - 6, s.y - 6, s.w + 12, s.h + 12}, 8, {0.97, 0.95, 0.89}, {0.90, 0.87, 0.80}, 1.5,
            {0.60, 0.55, 0.45});
    FillBox(p, {s.x, s.y, kThumbWidth, kThumbHeight}, 0, {0.12, 0.13, 0.20}, {0.12, 0.13, 0.20});
  }
  DrawScreenButtons(p, c, {"system/backtogame", "system/backtotitle", "system/quit"});
  return p;
}

// A place that holds no picture: hatched, with a word in the middle.
void DrawEmptyPlace(Picture& p, const Box& b, Colour top, Colour bottom, Colour hatch, std::string_view word, int size,
                    Colour ink) {
  FillBox(p, b, 0, top, bottom);
  Hatch(p, b, hatch);
  Lettering(size).DrawCentred(p, word, b, ink, Colour{0, 0, 0, 0.8});
}

// The empty slot: the thumbnail's place; the caption's part is left clear for the text.
Picture NoData() {
  Picture p(kSlotWidth, kSlotHeight, true);
  DrawEmptyPlace(p, {0, 0, kThumbWidth, kThumbHeight}, {0.30, 0.32, 0.40}, {0.22, 0.24, 0.32}, {0.42, 0.45, 0.55},
                 "空き"_sj, 20, {0.90, 0.92, 0.98});
  return p;
}

// The gallery's cell of a scene not seen yet.
Picture UnseenCell() {
  Picture p(kThumbWidth, kThumbHeight, false);
  DrawEmptyPlace(p, {0, 0, kThumbWidth, kThumbHeight}, {0.16, 0.17, 0.24}, {0.10, 0.11, 0.16}, {0.22, 0.24, 0.32},
                 "？"_sj, 44, {0.55, 0.60, 0.75});
  FillBox(p, {1, 1, kThumbWidth - 2, kThumbHeight - 2}, 0, {0, 0, 0, 0}, {0, 0, 0, 0}, 1, {0.40, 0.44, 0.58});
  return p;
}

// The slider's filled bar: warm, brighter to the right, with a light top edge.
Picture Bar() {
  Picture p(kBarWidth, kBarHeight, false);
  for (int y = 0; y < kBarHeight; ++y)
    for (int x = 0; x < kBarWidth; ++x) {
      const double t = x / static_cast<double>(kBarWidth - 1);
      const double shade = y < 3 ? 0.15 : -0.12 * y / kBarHeight;
      p.At(x, y) = Rgb(Mix(0.92, 1.0, t) + shade, Mix(0.48, 0.84, t) + shade, Mix(0.16, 0.36, t) + shade);
    }
  return p;
}

// A page arrow: a round button with a triangle pointing left or right.
Picture Arrow(bool right, bool lit) {
  Picture p(kArrowSize, kArrowSize, true);
  const double c = kArrowSize / 2.0;
  const Box b{0, 0, kArrowSize, kArrowSize};
  const Style style = StyleOf(lit ? Look::Lit : Look::Resting);
  FillBox(p, b, c, style.top, style.bottom, 1.5, style.rim);
  const double dir = right ? 1 : -1;
  FillShape(p, b, {1, 1, 1}, [&](double x, double y) {
    const double u = (x - c) * dir + 6;  // 0 at the triangle's flat side, 14 at its point
    return u >= 0 && u <= 14 && std::abs(y - c) <= (14 - u) * 0.6;
  });
  return p;
}

Picture Tips() {
  Picture p(kTipWidth, kTipHeight, true);
  FillBox(p, {0, 0, kTipWidth, kTipHeight}, 8, {0.08, 0.10, 0.24, 0.92}, {0.04, 0.05, 0.14, 0.92}, 1.5,
          {0.65, 0.72, 0.95});
  return p;
}

// The key-wait prompt: a small pale triangle pointing down.
Picture Prompt() {
  Picture p(kPromptSize, kPromptSize, true);
  FillShape(p, {0, 0, kPromptSize, kPromptSize}, {0, 0, 0, 0.5},
            [](double x, double y) { return y >= 6 && y <= 18 && std::abs(x - 11) <= (18 - y) * 0.75; });
  FillShape(p, {0, 0, kPromptSize, kPromptSize}, {1.0, 0.93, 0.65},
            [](double x, double y) { return y >= 4 && y <= 16 && std::abs(x - 10) <= (16 - y) * 0.75; });
  return p;
}

Picture MessageWindow(const DemoConfig& c) {
  constexpr demo_palette::Shade face = demo_palette::kWindowShade;
  Picture p = Panel(kWindowWidth, kWindowHeight, face.r, face.g, face.b, face.a);
  for (const char* element : kWindowButtons)
    DrawButton(p, ButtonBox(c.buttons.at(element), kWindowButtonWidth, kWindowButtonHeight), Look::Resting,
               kButtonLabels.at(element), 12);
  return p;
}

// The file a configured name stands for: the part after its folder.
std::string FileName(std::string_view configured) {
  const size_t slash = configured.find_last_of("\\/");
  return std::string(slash == std::string_view::npos ? configured : configured.substr(slash + 1));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_system_pictures <configuration> <output folder>\n");
    return 2;
  }
  const std::optional<DemoConfig> config = ReadConfig(argv[1]);
  if (!config) return 1;
  const DemoConfig& c = *config;
  std::vector<std::pair<std::string, Picture>> pictures;
  const auto add = [&](std::string_view name, Picture picture) {
    pictures.emplace_back(FileName(name), std::move(picture));
  };
  // The names the game loads these by, letter case included.
  add("system_save.png", TabPicture("セーブ"_sj));
  add("system_load.png", TabPicture("ロード"_sj));
  add("system_bar.png", Bar());
  add("system_onover.png", ButtonPicture(kSwitchWidth, kSwitchHeight, Look::Lit, "ON", 14));
  add("system_onSelect.png", ButtonPicture(kSwitchWidth, kSwitchHeight, Look::Set, "ON", 14));
  add("system_offOVer.png", ButtonPicture(kSwitchWidth, kSwitchHeight, Look::Lit, "OFF", 14));
  add("system_offSelect.png", ButtonPicture(kSwitchWidth, kSwitchHeight, Look::Set, "OFF", 14));
  add("system_right.png", Arrow(true, false));
  add("system_left.png", Arrow(false, false));
  add("system_right_over.png", Arrow(true, true));
  add("system_left_over.png", Arrow(false, true));
  add("system_empty.png", UnseenCell());
  // The configured ones.
  add(c.settingsBackground, SettingsBackground(c));
  add(c.saveBackground, SlotScreenBackground(c, true));
  add(c.loadBackground, SlotScreenBackground(c, false));
  add(c.nodata, NoData());
  add(c.tips, Tips());
  add(c.prompt, Prompt());
  add(c.window, MessageWindow(c));
  for (const char* element : kSystemButtons)
    add(c.buttons.at(element).file,
        ButtonPicture(kScreenButtonWidth, kScreenButtonHeight, Look::Lit, kButtonLabels.at(element), 16));
  for (const char* element : kWindowButtons)
    add(c.buttons.at(element).file,
        ButtonPicture(kWindowButtonWidth, kWindowButtonHeight, Look::Lit, kButtonLabels.at(element), 12));

  const std::string dir = std::string(argv[2]) + "/";
  for (const auto& [name, picture] : pictures) {
    if (!Write(dir + name, picture)) {
      std::fprintf(stderr, "make_system_pictures: cannot write %s%s\n", dir.c_str(), name.c_str());
      return 1;
    }
  }
  return 0;
}
