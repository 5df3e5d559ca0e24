// Draws the editor's icon strip: 512 x 192 pixels, 16 x 16 cells, 32 to a row, the top-left pixel
// the key colour. Every icon with a command gets a picture of its own (a frame in its row's colour
// and the icon's number as a pattern of blocks); the other cells stay blank. Writes the strip as a
// 24-bit BMP and as a source file that registers it as bitmap resource 200, together with the
// application's icon (a written page with a pen, 32 and 16 pixels in one icon file) as icon
// resource 230, and the grep window's icon (that page under a magnifying glass) as icon resource 240.
//
// make_editor_icons <out.bmp> <out.cpp>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <algorithm>
#include <vector>

#include "editor/shell/commands/icon_commands.h"

namespace {

constexpr int kWidth = 512;
constexpr int kHeight = 192;
constexpr uint32_t kKey = 0xFF00FF;
constexpr uint32_t kRowColours[] = {0x3070C0, 0xC05030, 0x30A050, 0x806020, 0x7040A0, 0x208080,
                                    0xA03070, 0x506070, 0x909020, 0x2050A0, 0xB07030, 0x408040};

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

// The application's icon at a size: a page with a folded corner, lines of text and a pen across
// it. 0 is transparent; other pixels are 0xAARRGGBB.
std::vector<uint32_t> AppIcon(int size) {
  std::vector<uint32_t> px(static_cast<size_t>(size * size), 0);
  auto set = [&](int x, int y, uint32_t c) {
    if (x >= 0 && y >= 0 && x < size && y < size) px[static_cast<size_t>(y * size + x)] = c;
  };
  const int s = size;
  const int left = s * 3 / 16, right = s * 13 / 16, top = s / 16, bottom = s - s / 16 - 1, fold = s / 4;
  for (int y = top; y <= bottom; ++y)
    for (int x = left; x <= right; ++x) {
      if (x > right - fold + (y - top)) continue;  // the folded corner is cut off
      const bool edge = x == left || y == top || y == bottom || x == right || x == right - fold + (y - top);
      set(x, y, edge ? 0xFF404040 : 0xFFFFFFFF);
    }
  for (int i = 0; i < fold; ++i) set(right - fold + i, top + i, 0xFF404040);
  for (int y = top + 1; y <= top + fold; ++y) set(right - fold, y, 0xFF808080);
  for (int x = right - fold; x <= right; ++x) set(x, top + fold, 0xFF808080);
  // Lines of text, a blue one every few rows.
  const int step = std::max(2, s / 8);
  for (int y = top + fold + step; y < bottom - 1; y += step)
    for (int x = left + 2; x < right - 1 - (y % (3 * step) == 0 ? s / 6 : 0); ++x) set(x, y, 0xFF2050C0);
  // The pen: a red diagonal with a dark tip.
  const int width = std::max(1, s / 12);
  for (int i = 0; i < s / 2; ++i)
    for (int w = 0; w < width + 1; ++w) set(s / 2 + i - w, s - 2 - i - s / 8, i < width ? 0xFF202020 : 0xFFC03030);
  return px;
}

// The grep icon at a size: the application's page with a magnifying glass over its lower left.
std::vector<uint32_t> GrepIcon(int size) {
  std::vector<uint32_t> px = AppIcon(size);
  auto set = [&](int x, int y, uint32_t c) {
    if (x >= 0 && y >= 0 && x < size && y < size) px[static_cast<size_t>(y * size + x)] = c;
  };
  const int s = size;
  const int cx = s * 7 / 16, cy = s * 9 / 16, r = s / 4;
  const int ring = std::max(1, s / 16);
  for (int y = cy - r - ring; y <= cy + r + ring; ++y)
    for (int x = cx - r - ring; x <= cx + r + ring; ++x) {
      const int d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
      if (d2 <= r * r) {
        set(x, y, 0xFFD8ECFF);  // the lens
      } else if (d2 <= (r + ring) * (r + ring)) {
        set(x, y, 0xFF303030);  // its rim
      }
    }
  // The handle, down to the right.
  const int width = std::max(1, s / 10);
  for (int i = 0; i < s / 4; ++i)
    for (int w = 0; w < width + 1; ++w) set(cx + r * 3 / 4 + i + w, cy + r * 3 / 4 + i, 0xFF604020);
  return px;
}

// One icon file holding the icon at the sizes given, 32-bit pictures with their masks.
std::vector<uint8_t> IconFile(const std::vector<int>& sizes, std::vector<uint32_t> (*draw)(int)) {
  std::vector<std::vector<uint8_t>> images;
  for (int size : sizes) {
    const std::vector<uint32_t> px = draw(size);
    std::vector<uint8_t> image;
    Put32(image, 40);
    Put32(image, static_cast<uint32_t>(size));
    Put32(image, static_cast<uint32_t>(size * 2));  // the picture and its mask
    Put16(image, 1);
    Put16(image, 32);
    for (int i = 0; i < 6; ++i) Put32(image, 0);
    for (int y = size - 1; y >= 0; --y)
      for (int x = 0; x < size; ++x) Put32(image, px[static_cast<size_t>(y * size + x)]);
    const int maskStride = ((size + 31) / 32) * 4;
    for (int y = size - 1; y >= 0; --y) {
      std::vector<uint8_t> row(static_cast<size_t>(maskStride), 0);
      for (int x = 0; x < size; ++x)
        if (px[static_cast<size_t>(y * size + x)] == 0) row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
      image.insert(image.end(), row.begin(), row.end());
    }
    images.push_back(std::move(image));
  }
  std::vector<uint8_t> file;
  Put16(file, 0);
  Put16(file, 1);
  Put16(file, static_cast<uint16_t>(sizes.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * sizes.size());
  for (size_t i = 0; i < sizes.size(); ++i) {
    file.push_back(static_cast<uint8_t>(sizes[i]));
    file.push_back(static_cast<uint8_t>(sizes[i]));
    file.push_back(0);
    file.push_back(0);
    Put16(file, 1);
    Put16(file, 32);
    Put32(file, static_cast<uint32_t>(images[i].size()));
    Put32(file, offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());
  return file;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_editor_icons <out.bmp> <out.cpp>\n");
    return 2;
  }
  std::vector<uint32_t> pixels(kWidth * kHeight, kKey);
  for (int icon = 0; icon < kIconCount; ++icon) {
    if (kIconCommands[icon] == 0) continue;
    const int x0 = (icon % 32) * 16, y0 = (icon / 32) * 16;
    const uint32_t colour = kRowColours[icon / 32];
    auto at = [&](int x, int y) -> uint32_t& { return pixels[(y0 + y) * kWidth + x0 + x]; };
    for (int y = 1; y < 15; ++y)
      for (int x = 1; x < 15; ++x) at(x, y) = (x == 1 || y == 1 || x == 14 || y == 14) ? 0x000000 : colour;
    // The icon's number in nine bits, 3 x 3 blocks of 3 x 3 pixels.
    for (int bit = 0; bit < 9; ++bit) {
      const uint32_t c = ((icon >> bit) & 1) ? 0xF8F8F8 : 0x101010;
      const int bx = 3 + (bit % 3) * 3, by = 3 + (bit / 3) * 3;
      for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x) at(bx + x, by + y) = c;
    }
  }
  std::vector<uint8_t> bmp;
  const uint32_t stride = kWidth * 3;
  const uint32_t imageSize = stride * kHeight;
  bmp.push_back('B');
  bmp.push_back('M');
  Put32(bmp, 14 + 40 + imageSize);
  Put32(bmp, 0);
  Put32(bmp, 14 + 40);
  Put32(bmp, 40);
  Put32(bmp, kWidth);
  Put32(bmp, kHeight);
  Put16(bmp, 1);
  Put16(bmp, 24);
  Put32(bmp, 0);
  Put32(bmp, imageSize);
  Put32(bmp, 2835);
  Put32(bmp, 2835);
  Put32(bmp, 0);
  Put32(bmp, 0);
  for (int y = kHeight - 1; y >= 0; --y)
    for (int x = 0; x < kWidth; ++x) {
      const uint32_t p = pixels[y * kWidth + x];
      bmp.push_back(static_cast<uint8_t>(p));
      bmp.push_back(static_cast<uint8_t>(p >> 8));
      bmp.push_back(static_cast<uint8_t>(p >> 16));
    }
  std::ofstream(argv[1], std::ios::binary)
      .write(reinterpret_cast<const char*>(bmp.data()), static_cast<std::streamsize>(bmp.size()));
  std::ofstream src(argv[2], std::ios::binary);
  const std::vector<uint8_t> icon = IconFile({32, 16}, AppIcon);
  const std::vector<uint8_t> grepIcon = IconFile({32, 16}, GrepIcon);
  src << "// Made by tools/make_editor_icons: the icon strip as bitmap resource 200, the application's\n"
         "// icon as icon resource 230 and the grep icon as icon resource 240.\n"
         "#include \"editor/shell/commands/editor_icon_strip.h\"\n\n#include <mutex>\n\n#include "
         "\"platform/bitmap_resource.h\"\n#include \"platform/window.h\"\n\n"
         "namespace {\nconst unsigned char kStrip[] = {";
  for (size_t i = 0; i < bmp.size(); ++i) src << (i % 24 == 0 ? "\n" : "") << static_cast<int>(bmp[i]) << ",";
  src << "\n};\nconst unsigned char kAppIcon[] = {";
  for (size_t i = 0; i < icon.size(); ++i) src << (i % 24 == 0 ? "\n" : "") << static_cast<int>(icon[i]) << ",";
  src << "\n};\nconst unsigned char kGrepIcon[] = {";
  for (size_t i = 0; i < grepIcon.size(); ++i) src << (i % 24 == 0 ? "\n" : "") << static_cast<int>(grepIcon[i]) << ",";
  src << "\n};\n}  // namespace\n\nvoid RegisterEditorIconStrip() {\n  static std::once_flag once;\n"
         "  std::call_once(once, [] { platform::RegisterBitmapResource(200, kStrip); });\n}\n\n"
         "void RegisterEditorAppIcon() {\n  static std::once_flag once;\n"
         "  std::call_once(once, [] {\n    platform::RegisterIconResource(\"#230\", kAppIcon);\n"
         "    platform::RegisterIconResource(\"#240\", kGrepIcon);\n  });\n}\n";
  return src ? 0 : 1;
}
