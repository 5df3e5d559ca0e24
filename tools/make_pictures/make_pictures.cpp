// Draws the demo game's pictures: make_pictures <game folder> writes into its cg\ folder the
// backgrounds (a morning hill, a rainy town wider than the screen for the camera, a forest path and
// a night room), two characters in two poses each with soft alpha edges, two greyscale masks for
// the wipes, the title, gallery, command-corner and ending pictures, the buttons with their
// captions (normal and lit), the backlog's window and voice icon; and into thumb\ the gallery's
// thumbnail of every scene. The system interface's pictures are make_system_pictures' work.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/sjis_literal.h"
#include "tools/demo_art/demo_palette.h"
#include "tools/demo_art/picture_canvas.h"

namespace {

using namespace demo_picture;
namespace pal = demo_palette;

// A small deterministic generator, so every build draws the same stars and raindrops.
struct Lcg {
  uint32_t state;
  uint32_t Next() {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
  }
  double Unit() { return (Next() & 0xFFFF) / 65536.0; }
};

// Distance from (x, y) to the segment from a to b.
double SegmentDistance(double x, double y, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double t = std::clamp(((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
  return std::hypot(x - (ax + t * dx), y - (ay + t * dy));
}

// A blue sky fading to pale at the horizon, a sun, and two rows of rolling green hills.
Picture Sky() {
  Picture p(800, 600, false);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      const double t = y / 600.0;
      double r = Mix(0.25, 0.80, t), g = Mix(0.50, 0.90, t), b = Mix(0.95, 1.00, t);
      if (std::hypot(x - 620.0, y - 130.0) < 60) r = 1.0, g = 0.95, b = 0.6;
      const double far = 380 + 30 * std::sin(x / 90.0);
      const double near = 450 + 40 * std::sin(x / 140.0 + 1.5);
      if (y > far) r = 0.35, g = 0.60, b = 0.35;
      if (y > near) r = 0.20, g = Mix(0.50, 0.35, (y - near) / 150.0), b = 0.20;
      p.At(x, y) = Rgb(r, g, b);
    }
  }
  return p;
}

// A town at dusk under rain, 960 pixels wide so that the camera can pan across it: dark houses
// with lit windows, a wet street that mirrors them, and slanting streaks of rain.
Picture Town() {
  Picture p(960, 600, false);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 960; ++x) {
      const double t = y / 600.0;
      double r = Mix(0.22, 0.55, t), g = Mix(0.20, 0.42, t), b = Mix(0.32, 0.45, t);
      const int house = x / 120;
      const double roof = 300 + (house * 53) % 110;
      if (y > roof && y <= 520) {
        r = 0.13 + 0.02 * (house % 3), g = 0.11, b = 0.16;
        const int wx = x % 120, wy = (y - static_cast<int>(roof)) % 70;
        if (wx > 35 && wx < 60 && wy > 22 && wy < 46 && (house * 7 + wy / 70) % 4 != 1) r = 1.0, g = 0.82, b = 0.45;
      }
      if (y > 520) {
        r = 0.18, g = 0.17, b = 0.21;
        const int wx = x % 120;
        if (wx > 35 && wx < 60 && (y / 3) % 2 == 0) r = 0.45, g = 0.38, b = 0.28;  // reflections
      }
      p.At(x, y) = Rgb(r, g, b);
    }
  }
  Lcg lcg{7};
  for (int i = 0; i < 700; ++i) {
    const double x0 = lcg.Unit() * 1000, y0 = lcg.Unit() * 600, len = 12 + lcg.Unit() * 18;
    for (int k = 0; k < len; ++k) Blend(p, static_cast<int>(x0 - k * 0.3), static_cast<int>(y0 + k), 0x80C8D2E6u);
  }
  return p;
}

// A path through a green wood in the afternoon: trunks on both sides and a pale track.
Picture Path() {
  Picture p(800, 600, false);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      const double t = y / 600.0;
      double r = Mix(0.55, 0.20, t), g = Mix(0.75, 0.45, t), b = Mix(0.55, 0.18, t);
      const double half = 20 + (y - 250) * 0.6;
      if (y > 250 && std::abs(x - 400.0) < half) r = 0.78, g = 0.68, b = 0.48;
      for (int k = 0; k < 8; ++k) {
        const double tx = k < 4 ? 40 + k * 85 : 500 + (k - 4) * 90;
        const double w = 12 + k % 3 * 6;
        if (std::abs(x - tx) < w && y < 470 + k * 9) r = 0.32, g = 0.22, b = 0.14;
      }
      p.At(x, y) = Rgb(r, g, b);
    }
  }
  Lcg lcg{11};
  for (int i = 0; i < 90; ++i) {
    const double cx = lcg.Unit() * 800, cy = lcg.Unit() * 220, rad = 30 + lcg.Unit() * 50;
    for (int y = static_cast<int>(cy - rad); y < cy + rad; ++y)
      for (int x = static_cast<int>(cx - rad); x < cx + rad; ++x)
        if (std::hypot(x - cx, y - cy) < rad) Blend(p, x, y, Rgb(0.15, 0.40 + 0.2 * (i % 3) / 2, 0.15, 0.6));
  }
  return p;
}

// A room at night: a dark wall, a window with the moon, a lamp's glow and a plain wooden floor.
Picture Room() {
  Picture p(800, 600, false);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      const double glow = std::max(0.0, 1.0 - std::hypot(x - 650.0, y - 260.0) / 300.0);
      double r = 0.16 + 0.25 * glow, g = 0.15 + 0.18 * glow, b = 0.25 + 0.05 * glow;
      const bool window = x >= 80 && x < 330 && y >= 90 && y < 330;
      if (window) {
        r = 0.05, g = 0.07, b = 0.20;
        if (std::hypot(x - 250.0, y - 160.0) < 34) r = 0.98, g = 0.96, b = 0.82;
        if (std::abs(x - 205) < 4 || std::abs(y - 210) < 4) r = 0.35, g = 0.25, b = 0.18;
      }
      if ((x >= 70 && x < 80 && y >= 80 && y < 340) || (x >= 330 && x < 340 && y >= 80 && y < 340) ||
          (y >= 80 && y < 90 && x >= 70 && x < 340) || (y >= 330 && y < 340 && x >= 70 && x < 340))
        r = 0.35, g = 0.25, b = 0.18;
      p.At(x, y) = Rgb(r, g, b);
    }
  }
  FillRect(p, 0, pal::kRoomFloorTop, 800, 600, pal::kRoomFloor);
  FillRect(p, 0, pal::kRoomFloorTop - 6, 800, pal::kRoomFloorTop, Rgb(0.22, 0.15, 0.11));
  return p;
}

// The title: a starry night over dark hills, the game's name and a line under it.
Picture Title() {
  Picture p(800, 600, false);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      const double t = y / 600.0;
      double r = Mix(0.03, 0.25, t), g = Mix(0.04, 0.18, t), b = Mix(0.15, 0.38, t);
      if (y > 470 + 35 * std::sin(x / 120.0)) r = 0.05, g = 0.08, b = 0.08;
      p.At(x, y) = Rgb(r, g, b);
    }
  Lcg lcg{3};
  for (int i = 0; i < 160; ++i) {
    const int x = static_cast<int>(lcg.Unit() * 800), y = static_cast<int>(lcg.Unit() * 420);
    const double bright = 0.5 + lcg.Unit() * 0.5;
    Blend(p, x, y, Rgb(1, 1, 0.9, bright));
    if (i % 9 == 0) Blend(p, x + 1, y, Rgb(1, 1, 0.9, bright / 2)), Blend(p, x, y + 1, Rgb(1, 1, 0.9, bright / 2));
  }
  DrawCaption(p, {"風の丘"_sj, 96, 0xFFF8F0D8u, 0xFF101830u, 2}, 260, 190);
  DrawCaption(p, {"vrel デモゲーム"_sj, 26, 0xFFC8D0F0u, 0xFF101830u, 0}, 260, 290);
  return p;
}

// A plain backdrop with a heading, for the gallery, the command corner and the ending card.
Picture Backdrop(double r0, double g0, double b0, double r1, double g1, double b1) {
  Picture p(800, 600, false);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      const double t = y / 600.0;
      const double stripe = ((x + y) / 24) % 2 ? 0.015 : 0.0;
      p.At(x, y) = Rgb(Mix(r0, r1, t) + stripe, Mix(g0, g1, t) + stripe, Mix(b0, b1, t) + stripe);
    }
  return p;
}

// The gallery's screen: framed places for the twelve thumbnails, the arrows for the previous and
// next page and the way back, exactly where the gallery answers the cursor.
Picture Gallery() {
  Picture p = Backdrop(0.10, 0.08, 0.16, 0.20, 0.14, 0.22);
  DrawCaption(p, {"シーン回想"_sj, 36, 0xFFF0E6D0u, 0xFF000000u, 2}, 250, 62);
  for (int i = 0; i < 12; ++i) {
    const int x = 181 + 154 * (i % 4), y = 105 + 119 * (i / 4);
    FillRect(p, x - 4, y - 4, x + pal::kThumbWidth + 4, y + pal::kThumbHeight + 4, 0xFF50465Au);
    FillRect(p, x, y, x + pal::kThumbWidth, y + pal::kThumbHeight, 0xFF201C28u);
  }
  // The page arrows, inside the places where the gallery answers the cursor (490..553 and
  // 757..819 across, 32..95 down). The next page's place runs past the screen's right edge, so both
  // arrows are drawn 40 wide, the next one wholly on the screen.
  const auto arrow = [&p](int left, bool pointsLeft) {
    const int right = left + 40;
    FillRect(p, left, 32, right, 95, 0xFF3A3250u);
    const double cx = (left + right) / 2.0, cy = 63.5;
    for (int y = 32; y < 95; ++y)
      for (int x = left; x < right; ++x) {
        const double dx = (pointsLeft ? cx - x : x - cx) + 12, dy = std::abs(y - cy);
        if (dx > 0 && dx < 26 && dy < 22 - dx * 0.85) p.At(x, y) = 0xFFF0E6D0u;
      }
  };
  arrow(502, true);
  arrow(757, false);
  // The way back: the lower left corner, 1..162 across and 403..600 down.
  FillRect(p, 0, 403, 163, 600, 0xFF3A3250u);
  DrawCaption(p, {"タイトルへ"_sj, 24, 0xFFF0E6D0u, 0xFF000000u, 0}, 81, 500);
  return p;
}

Picture Corner() {
  Picture p = Backdrop(0.12, 0.18, 0.20, 0.06, 0.10, 0.12);
  for (int y = 0; y < 600; y += 40) FillRect(p, 0, y, 800, y + 1, 0xFF28383Cu);
  for (int x = 0; x < 800; x += 40) FillRect(p, x, 0, x + 1, 600, 0xFF28383Cu);
  DrawCaption(p, {"命令の部屋"_sj, 40, 0xFFE0F0F0u, 0xFF000000u, 2}, 400, 70);
  return p;
}

Picture EndCard() {
  Picture p = Backdrop(0.02, 0.02, 0.05, 0.10, 0.06, 0.12);
  DrawCaption(p, {"おしまい"_sj, 64, 0xFFF8F0D8u, 0xFF000000u, 2}, 400, 260);
  DrawCaption(p, {"クリックするとタイトルに戻ります"_sj, 22, 0xFFB0B0C8u, 0, 0}, 400, 360);
  return p;
}

// A standing figure with a round head, soft at its edge. The two characters differ in hair, clothes
// and build; each has two poses: a quiet one and one with a raised arm and a livelier face.
struct Figure {
  uint32_t hair, top, bottom;
  bool skirt;
};

Picture Character(const Figure& f, bool lively) {
  Picture p(240, 520, true);
  const auto cover = [](double inside) { return std::clamp(inside / 2.0 + 0.5, 0.0, 1.0); };
  const uint32_t skin = Rgb(0.96, 0.82, 0.72);
  for (int y = 0; y < 520; ++y) {
    for (int x = 0; x < 240; ++x) {
      const double head = 58 - std::hypot(x - 120.0, y - 92.0);
      const double neck = std::min(10 - std::abs(x - 120.0), std::min(y - 140.0, 172.0 - y));
      const double torsoHalf = 44 + (y - 160) * 0.1;
      const double torso = std::min(torsoHalf - std::abs(x - 120.0), std::min(y - 158.0, 340.0 - y));
      double legs;
      if (f.skirt) {
        const double half = 56 + (y - 330) * 0.3;
        legs = std::min(half - std::abs(x - 120.0), std::min(y - 330.0, 440.0 - y));
        legs = std::max(legs, std::min(9 - std::abs(std::abs(x - 120.0) - 22), std::min(y - 430.0, 505.0 - y)));
      } else {
        legs = std::min(19 - std::abs(std::abs(x - 120.0) - 24), std::min(y - 330.0, 505.0 - y));
      }
      const double leftArm = 14 - SegmentDistance(x, y, 80, 175, 64, 325);
      const double rightArm =
          lively ? 14 - SegmentDistance(x, y, 160, 175, 210, 70) : 14 - SegmentDistance(x, y, 160, 175, 176, 325);
      const double inside = std::max({head, neck, torso, legs, leftArm, rightArm});
      const double a = cover(inside);
      if (a <= 0) continue;
      uint32_t c = skin;
      if (torso > 0 || ((leftArm > 0 || rightArm > 0) && y < 290 && !(lively && rightArm > 0 && y < 110))) c = f.top;
      if (legs > 0 && (f.skirt ? y < 440 : true)) c = f.bottom;
      if (head > 0) {
        c = skin;
        const bool fringe = y < 78 + 8 * std::sin(x / 9.0);
        const bool side = f.skirt && std::abs(x - 120.0) > 46;
        if (fringe || side) c = f.hair;
        const double eyeY = lively ? 96 : 98;
        if (std::hypot(x - 98.0, y - eyeY) < 6 || std::hypot(x - 142.0, y - eyeY) < 6) c = Rgb(0.15, 0.1, 0.1);
        if (lively) {
          if (std::abs(std::hypot(x - 120.0, y - 106.0) - 20) < 2.2 && y > 114) c = Rgb(0.7, 0.2, 0.25);
        } else {
          if (std::abs(y - 126) < 2 && std::abs(x - 120) < 11) c = Rgb(0.6, 0.25, 0.25);
          if (std::abs((y - 80) + (x < 120 ? (x - 98) * 0.25 : (142 - x) * 0.25)) < 1.5 &&
              std::abs(std::abs(x - 120) - 22) < 10)
            c = f.hair;
        }
      }
      p.At(x, y) = (c & 0x00FFFFFFu) | static_cast<uint32_t>(a * 255.0 + 0.5) << 24;
    }
  }
  if (f.skirt) {  // the long hair behind the head and shoulders
    for (int y = 30; y < 180; ++y)
      for (int x = 40; x < 200; ++x) {
        const double inside = (1 - std::hypot((x - 120.0) / 70, (y - 105.0) / 78)) * 60;
        const double a = cover(std::min(inside, 178.0 - y));
        if (a <= 0) continue;
        // The figure stays in front: the hair goes under it.
        const uint32_t front = p.At(x, y);
        p.At(x, y) = (f.hair & 0x00FFFFFFu) | static_cast<uint32_t>(a * 255 + 0.5) << 24;
        Blend(p, x, y, front);
      }
  }
  return p;
}

// A diagonal wipe with ripples: dark pixels turn first.
Picture DiagonalMask() {
  Picture p(800, 600, false);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      const double v = std::clamp((x + y) / 1400.0 + 0.04 * std::sin(x / 25.0) * std::cos(y / 25.0), 0.0, 1.0);
      p.At(x, y) = Rgb(v, v, v);
    }
  return p;
}

// A circle that opens from the middle of the screen, with a petal edge.
Picture CircleMask() {
  Picture p(800, 600, false);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) {
      const double angle = std::atan2(y - 300.0, x - 400.0);
      const double v = std::clamp(std::hypot(x - 400.0, y - 300.0) / 520.0 + 0.03 * std::sin(angle * 8), 0.0, 1.0);
      p.At(x, y) = Rgb(v, v, v);
    }
  return p;
}

// The backlog's voice icon: a small speaker with two sound waves.
Picture VoiceIcon() {
  Picture p(24, 24, true);
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) {
      const bool box = x >= 3 && x < 8 && y >= 9 && y < 15;
      const bool cone = x >= 8 && x < 13 && std::abs(y - 12) <= x - 5;
      const double d = std::hypot(x - 10.0, y - 12.0);
      const bool wave = x > 13 && ((d > 5 && d < 6.5) || (d > 8.5 && d < 10));
      if (box || cone || wave) p.At(x, y) = Rgb(1.0, 0.9, 0.5);
    }
  return p;
}

// A button: a rounded bar with its caption, plain (the normal picture) or lit (the highlight
// picture, whose size is the button's hit area). The face is opaque inside its rounded ends.
Picture Button(const char* caption, bool lit) {
  const int w = pal::kButtonWidth, h = pal::kButtonHeight;
  Picture p(w, h, true);
  const double radius = h / 2.0;
  const uint32_t face = lit ? pal::kTitleButtonLit : pal::kTitleButton;
  const uint32_t edge = lit ? 0xFFFFF0C8u : 0xFF8090C0u;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const double cx = std::clamp(x + 0.5, radius, w - radius);
      const double inside = radius - std::hypot(x + 0.5 - cx, y + 0.5 - radius);
      if (inside <= 0) continue;
      const uint32_t c = inside < 2 ? edge : face;
      p.At(x, y) = (c & 0x00FFFFFFu) | static_cast<uint32_t>(std::clamp(inside, 0.0, 1.0) * 255.0 + 0.5) << 24;
    }
  DrawCaption(p, {caption, 22, lit ? 0xFF302010u : 0xFFF0F0FFu, 0, 0}, w / 2, h / 2);
  return p;
}

// A gallery thumbnail: the scene's background reduced, in a light frame.
Picture Thumbnail(const Picture& background) {
  Picture visible(800, 600, false);
  for (int y = 0; y < 600; ++y)
    for (int x = 0; x < 800; ++x) visible.At(x, y) = background.At(x, y);
  Picture t = Reduce(visible, pal::kThumbWidth, pal::kThumbHeight);
  for (int y = 0; y < t.height; ++y)
    for (int x = 0; x < t.width; ++x)
      if (std::min({x, y, t.width - 1 - x, t.height - 1 - y}) < pal::kThumbFrame) t.At(x, y) = pal::kThumbFrameColour;
  return t;
}

struct Output {
  std::string name;
  Picture picture;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_pictures <game folder>\n");
    return 2;
  }
  const std::string dir = argv[1];
  std::error_code error;
  std::filesystem::create_directories(dir + "/cg", error);
  std::filesystem::create_directories(dir + "/thumb", error);

  const Picture sky = Sky(), town = Town(), path = Path(), room = Room();
  const Figure mio{Rgb(0.40, 0.22, 0.15), Rgb(0.95, 0.95, 0.98), Rgb(0.85, 0.30, 0.40), true};
  const Figure ren{Rgb(0.12, 0.12, 0.18), Rgb(0.20, 0.35, 0.60), Rgb(0.25, 0.25, 0.30), false};
  std::vector<Output> out = {
      {"cg/bg_sky.png", sky},
      {"cg/bg_town.png", town},
      {"cg/bg_path.png", path},
      {"cg/bg_room.png", room},
      {"cg/title.png", Title()},
      {"cg/gallery.png", Gallery()},
      {"cg/corner.png", Corner()},
      {"cg/end.png", EndCard()},
      {"cg/mio_normal.png", Character(mio, false)},
      {"cg/mio_smile.png", Character(mio, true)},
      {"cg/ren_normal.png", Character(ren, false)},
      {"cg/ren_smile.png", Character(ren, true)},
      {"cg/mask_wipe.png", DiagonalMask()},
      {"cg/mask_circle.png", CircleMask()},
      {"cg/system_backlogwindow.png", Panel(800, 600, 0.02, 0.03, 0.1, 0.85)},
      {"cg/system_voice.png", VoiceIcon()},
      {"thumb/morning.png", Thumbnail(sky)},
      {"thumb/town.png", Thumbnail(town)},
      {"thumb/path.png", Thumbnail(path)},
      {"thumb/night.png", Thumbnail(room)},
  };
  const struct {
    const char* name;
    const char* caption;
  } buttons[] = {
      {"start", "はじめから"_sj},   {"gallery", "シーン回想"_sj}, {"load", "つづきから"_sj},
      {"corner", "命令の部屋"_sj},  {"end", "おわる"_sj},         {"town", "町へ行く"_sj},
      {"path", "林の小道へ"_sj},    {"input", "数を入力する"_sj}, {"quickload", "クイックロード"_sj},
      {"quiet", "見えない命令"_sj}, {"film", "映像を見る"_sj},    {"select", "選択肢を待つ"_sj},
      {"back", "タイトルへ"_sj},    {"doload", "ロードする"_sj},  {"noload", "部屋に戻る"_sj},
  };
  for (const auto& b : buttons) {
    out.push_back({std::string("cg/btn_") + b.name + ".png", Button(b.caption, false)});
    out.push_back({std::string("cg/btn_") + b.name + "_on.png", Button(b.caption, true)});
  }
  for (const Output& o : out) {
    if (!Write(dir + "/" + o.name, o.picture)) {
      std::fprintf(stderr, "make_pictures: cannot write %s/%s\n", dir.c_str(), o.name.c_str());
      return 1;
    }
  }
  return 0;
}
