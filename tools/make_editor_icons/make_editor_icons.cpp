// Draws the editor's icon strip: 512 x 192 pixels, 16 x 16 cells, 32 to a row, the top-left pixel
// the key colour. Every icon with a command gets a picture of its own (a frame in its row's colour
// and the icon's number as a pattern of blocks); the other cells stay blank. Writes the strip as a
// 24-bit BMP and as a source file that registers it as bitmap resource 200.
//
// make_editor_icons <out.bmp> <out.cpp>
#include <cstdint>
#include <cstdio>
#include <fstream>
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
  src << "// Made by tools/make_editor_icons: the icon strip as bitmap resource 200.\n"
         "#include \"editor/shell/commands/editor_icon_strip.h\"\n\n#include <mutex>\n\n#include "
         "\"platform/bitmap_resource.h\"\n\n"
         "namespace {\nconst unsigned char kStrip[] = {";
  for (size_t i = 0; i < bmp.size(); ++i) src << (i % 24 == 0 ? "\n" : "") << static_cast<int>(bmp[i]) << ",";
  src << "\n};\n}  // namespace\n\nvoid RegisterEditorIconStrip() {\n  static std::once_flag once;\n"
         "  std::call_once(once, [] { platform::RegisterBitmapResource(200, kStrip); });\n}\n";
  return src ? 0 : 1;
}
