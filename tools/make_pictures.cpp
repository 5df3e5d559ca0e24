// Draws the demo game's pictures: make_pictures <folder> writes into it two 800 x 600 backgrounds
// (a sky over hills, a town at dusk), a standing character with a soft-edged alpha channel, and a
// greyscale mask for the wipe from one scene to the next; the backlog's window and its voice icon,
// and a choice button lit and plain.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "tools/demo_picture.h"

namespace {

using namespace demo_picture;

// A blue sky fading to pale at the horizon, a sun, and two rows of rolling green hills.
Picture Sky() {
  Picture p(800, 600, false);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      const double t = y / 600.0;
      double r = Mix(0.25, 0.80, t), g = Mix(0.50, 0.90, t), b = Mix(0.95, 1.00, t);
      const double sun = std::hypot(x - 620.0, y - 130.0);
      if (sun < 60) r = 1.0, g = 0.95, b = 0.6;
      const double far = 380 + 30 * std::sin(x / 90.0);
      const double near = 450 + 40 * std::sin(x / 140.0 + 1.5);
      if (y > far) r = 0.35, g = 0.60, b = 0.35;
      if (y > near) r = 0.20, g = Mix(0.50, 0.35, (y - near) / 150.0), b = 0.20;
      p.At(x, y) = Rgb(r, g, b);
    }
  }
  return p;
}

// An orange dusk over a row of dark houses with lit windows.
Picture Town() {
  Picture p(800, 600, false);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      const double t = y / 600.0;
      double r = Mix(0.30, 1.00, t), g = Mix(0.20, 0.55, t), b = Mix(0.45, 0.30, t);
      const int house = x / 100;
      const double roof = 330 + (house * 37) % 90;
      if (y > roof) {
        r = 0.15, g = 0.12, b = 0.18;
        const int wx = x % 100, wy = (y - static_cast<int>(roof)) % 60;
        if (wx > 30 && wx < 50 && wy > 20 && wy < 40) r = 1.0, g = 0.85, b = 0.4;
      }
      if (y > 540) r = 0.25, g = 0.22, b = 0.22;
      p.At(x, y) = Rgb(r, g, b);
    }
  }
  return p;
}

// A figure with a round head, a body and a skirt, opaque inside and soft at its edge.
Picture Character() {
  Picture p(240, 520, true);
  const auto coverage = [](double inside) { return std::clamp(inside / 3.0, 0.0, 1.0); };
  for (int y = 0; y < 520; ++y) {
    for (int x = 0; x < 240; ++x) {
      const double head = 60 - std::hypot(x - 120.0, y - 90.0);
      const double bodyHalf = y < 160 ? 0 : y < 330 ? 45 + (y - 160) * 0.15 : 70 + (y - 330) * 0.25;
      const double body = std::min({bodyHalf - std::abs(x - 120.0), y - 150.0, 500.0 - y});
      const double a = coverage(std::max(head, body));
      if (a <= 0) continue;
      double r = 0.95, g = 0.80, b = 0.70;                      // skin
      if (head > 0 && y < 75) r = 0.35, g = 0.20, b = 0.15;     // hair
      if (head <= 0 && y < 330) r = 0.20, g = 0.35, b = 0.75;   // blouse
      if (head <= 0 && y >= 330) r = 0.85, g = 0.30, b = 0.40;  // skirt
      p.At(x, y) = Rgb(r, g, b, a);
    }
  }
  return p;
}

// A diagonal wipe with ripples: dark pixels turn first.
Picture Mask() {
  Picture p(800, 600, false);
  for (int y = 0; y < 600; ++y) {
    for (int x = 0; x < 800; ++x) {
      const double v = std::clamp((x + y) / 1400.0 + 0.04 * std::sin(x / 25.0) * std::cos(y / 25.0), 0.0, 1.0);
      p.At(x, y) = Rgb(v, v, v);
    }
  }
  return p;
}

// The backlog's voice icon: a small speaker with two sound waves.
Picture VoiceIcon() {
  Picture p(24, 24, true);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 24; ++x) {
      const bool box = x >= 3 && x < 8 && y >= 9 && y < 15;
      const bool cone = x >= 8 && x < 13 && std::abs(y - 12) <= x - 5;
      const double d = std::hypot(x - 10.0, y - 12.0);
      const bool wave = x > 13 && ((d > 5 && d < 6.5) || (d > 8.5 && d < 10));
      if (box || cone || wave) p.At(x, y) = Rgb(1.0, 0.9, 0.5);
    }
  }
  return p;
}

// A choice button: a rounded bar, lit (the highlight picture) or plain.
Picture Button(bool lit) {
  Picture p(320, 44, true);
  for (int y = 0; y < 44; ++y) {
    for (int x = 0; x < 320; ++x) {
      const double cx = std::clamp(x + 0.5, 22.0, 298.0), cy = 22.0;
      const double inside = 21.0 - std::hypot(x + 0.5 - cx, y + 0.5 - cy);
      if (inside <= 0) continue;
      const double a = std::clamp(inside, 0.0, 1.0) * (lit ? 0.95 : 0.75);
      p.At(x, y) = lit ? Rgb(0.95, 0.75, 0.35, a) : Rgb(0.15, 0.2, 0.35, a);
    }
  }
  return p;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_pictures <output folder>\n");
    return 2;
  }
  const std::string dir = std::string(argv[1]) + "/";
  const struct {
    const char* name;
    Picture picture;
  } pictures[] = {{"bg_sky.png", Sky()},
                  {"bg_town.png", Town()},
                  {"chara.png", Character()},
                  {"mask_wipe.png", Mask()},
                  {"system_backlogwindow.png", Panel(800, 600, 0.02, 0.03, 0.1, 0.85)},
                  {"system_voice.png", VoiceIcon()},
                  {"button_lit.png", Button(true)},
                  {"button.png", Button(false)}};
  for (const auto& p : pictures) {
    if (!Write(dir + p.name, p.picture)) {
      std::fprintf(stderr, "make_pictures: cannot write %s%s\n", dir.c_str(), p.name);
      return 1;
    }
  }
  return 0;
}
