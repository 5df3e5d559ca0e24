// Writes the seed inputs of the fuzz targets: make_fuzz_seeds <corpus folder>. Every seed is made
// here, by the project's own writers (archives, LZSS, scrambling, BMP) or by the libraries' write
// sides (PNG, JPEG, GIF), or is a small text written out below. Inputs that found faults are not
// made here: they are kept as they were found.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/foundation/settings/share_data.h"
#include "editor/shell/process/launch_arguments.h"
#include "platform/clipboard_snapshot.h"
#include "platform/picture_writers.h"
#include "platform/sjis.h"
#include "platform/sjis_literal.h"
#include "scoped_temp_dir.h"
#include "sdk/framework/archive_writer.h"
#include "sdk/framework/lzss_encoder.h"
#include "sdk/framework/scramble.h"
#include "sdk/graphics/dib_image.h"
#include "sdk/graphics/image_files.h"
#include "sdk/graphics/png_writer.h"

namespace {

using Bytes = std::vector<uint8_t>;

std::filesystem::path corpusRoot;

void Put(std::string_view target, std::string_view name, const Bytes& bytes) {
  const std::filesystem::path dir = corpusRoot / target;
  std::filesystem::create_directories(dir);
  std::ofstream(dir / name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void Put(std::string_view target, std::string_view name, std::string_view text) {
  Put(target, name, Bytes(text.begin(), text.end()));
}

Bytes Of(std::string_view text) { return {text.begin(), text.end()}; }

Bytes Le32(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }

Bytes Cat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

// A picture that compresses: stripes of a few colours.
uint8_t Stripe(int x, int y, int channel) { return static_cast<uint8_t>(((x / 2 + y) % 4) * 60 + channel * 20); }

void Archives() {
  const std::vector<PackInput> files = {
      {"a.txt", Of("line one\r\nline two line two line two line two\r\n")},
      {"sub\\b.bin", Bytes(40, 0x41)},
      {"empty.dat", {}},
  };
  struct Kind {
    const char* name;
    PackOptions options;
  } kinds[] = {
      {"pack_stored", {ArchiveKind::kPack, false, false}},
      {"packex_lzss", {ArchiveKind::kPackEx, true, false}},
      {"packdx_lzss_scrambled", {ArchiveKind::kPackDx, true, true}},
      {"packdx_stored", {ArchiveKind::kPackDx, false, false}},
  };
  for (const Kind& k : kinds) {
    Bytes out;
    std::string error;
    if (!BuildPackedArchive(files, k.options, out, error)) std::fprintf(stderr, "%s\n", error.c_str());
    Put("archive", k.name, out);
  }
}

void Lzss() {
  const Bytes text = Of("abcabcabcabc hello hello hello, the quick brown fox jumps; abcabcabc");
  Put("lzss", "text", Cat({Le32(static_cast<uint32_t>(text.size())), LzssEncode(text)}));
  const Bytes zeros(300, 0);
  Put("lzss", "zeros", Cat({Le32(300), LzssEncode(zeros)}));
  Put("lzss", "short_data",
      Cat({Le32(1000), Of("\xFF"
                          "abcdefgh")}));
}

void Scrambled() {
  const std::string text = "first line\r\n\"quoted\r\ntext\"\r\n\"END\"\r\nlast";
  Put("scramble", "scrambled", ScrambledFile(Of(text)));
  Put("scramble", "plain", text);
  Put("scramble", "magic_only", "QPK1");
}

void Ini() {
  Put("ini_profile", "scene",
      "// scene settings\r\n\r\n[scene]\r\nfirst=start.txt\r\ncount=12\r\nflag=1\r\n\r\n"
      "[names]\r\nkey=value=with equals\r\n\x82\xa0=\x82\xa2\r\n[scene]\r\ncount=3\r\n");
  Put("ini_profile", "odd_lines", "before=any section\n[a]b]\n[=]\n[c]\nx=1\r\r\nno equals\n=empty key\n[c]");
}

// A text file of the demo game as the game reads it: Shift-JIS with CR LF line ends.
std::string DemoText(std::string_view name) {
  std::ifstream in(std::filesystem::path(VREL_SOURCE_DIR) / "demo" / "game" / name, std::ios::binary);
  const std::string utf8{std::istreambuf_iterator<char>(in), {}};
  std::string crlf;
  for (char c : platform::Utf8ToSjis(utf8)) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return crlf;
}

void Demo() {
  Put("xml_config", "demo_vrel_xml", DemoText("vrel.xml"));
  Put("ini_profile", "demo_scene_ini", DemoText("scene.ini"));
  Put("ini_profile", "demo_picture_ini", DemoText("picture.ini"));
  Put("script", "demo_start", DemoText("start.txt"));
}

void Script() {
  Put("script", "loops",
      "total = 0\r\nFOR i = 1 TO 10 STEP 2\r\ntotal = total + i * 2 - (i MOD 3)\r\nNEXT\r\n"
      "GOSUB double\r\nGOTO finish\r\nLABEL double\r\ntotal = total * 2\r\nRETURN\r\nLABEL finish\r\n");
  Put("script", "arrays_and_ifs",
      "A(1,2) = 5\r\nB = A(1,2) + INT(3.5)\r\nIF B > 4 AND NOT 0 THEN C = 1\r\nEND\r\n"
      "IF B = 5 OR 0 THEN\r\nD = \"text\"\r\nEND\r\nWAIT 2\r\nQUIT\r\n");
  Put("script", "macros",
      "MACRO SHOW\r\nX = X + 1\r\nENDMACRO\r\n@SHOW\r\n@SHOW\r\n# a comment\r\n" + std::string("\x82\xa0") +
          "\r\nHOGE X = 5\r\nY = (1 + 2\r\nZ = 1 / 0\r\n");
  Put("script", "commands",
      "BLACKOUT 8\r\nWHITE 300: BLACK\r\nBLACKIN: WHITEOUT 4: WHITEIN\r\nINPUT \"n?\"; N\r\nNORMALMODE: NOVELMODE\r\n"
      "NEXTPAGE: BGC x\r\nSETSCENE \"s1\"\r\nSCENEMODE \"s1\", \"t1\", s2, t2\r\nSCENEMODEEND\r\n"
      "CGMODE a, b: CGMODEEND\r\nSIDEBARON: SIDEBAROFF\r\nSETGLOBALFLAG A, 1: GETGLOBALFLAG A\r\n"
      "MOVIE \"f.avi\": STOPMOVIE\r\nPICTURE 1, \"a.png\"\r\nFADEOUT 1 8\r\nSE 1, \"s.wav\"\r\n"
      "PRINT \"A=\"; A\r\nSETBUTTON 0, 1, 2, 0, \"a.png\", \"b.png\"\r\nCLEARBUTTON\r\nQUICKLOAD: FLOAD\r\n"
      "GETBUTTON B\r\n");
}

// The editor's settings file as the editor writes it with every default: a seed of the size real
// files have, with every section and key in place.
void EditorSettings() {
  const ScopedTempDir folder;
  auto record = std::make_unique<SharedSettings>();
  CShareData::InitDefaults(*record);
  CShareData share;
  share.Attach(record.get());
  if (!share.IOSettings(false, folder.File("defaults.ini"))) {
    std::fprintf(stderr, "make_fuzz_seeds: the default settings file could not be written\n");
    std::exit(1);
  }
  // Folders below the executable's own are written as they are here: the seed names a fixed one.
  std::string text = folder.Read("defaults.ini");
  const std::string here = CShareData::ExecutableFolder();
  for (size_t at; !here.empty() && (at = text.find(here)) != std::string::npos;) text.replace(at, here.size(), "/opt/tovara/");
  Put("editor_settings", "defaults", text);
}

// Backup names: each naming mode, the backup folder, the free format with its codes, and a long
// name (see editor_backup_name_fuzz.cpp for the layout).
void EditorBackupNames() {
  const auto put = [](std::string_view name, uint8_t mode, uint8_t dates, uint8_t source, uint8_t switches,
                      uint32_t generations, std::string_view folder, std::string_view format, std::string_view path) {
    Put("editor_backup_name", name,
        Cat({{mode, dates, source, switches}, Le32(generations), Of(folder), {0}, Of(format), {0}, Of(path)}));
  };
  for (uint8_t mode = 1; mode <= 6; ++mode) {
    put("mode" + std::to_string(mode), mode, 0x3F, 2, 0, 0x0062000A, "", "", "/p/src/main.c");
  }
  put("folder", 6, 0, 2, 1, 0x0078FFFF, "/bk", "", "/p/表/a.txt"_sj);
  put("free_format", 3, 0, 2, 2, 0, "", "$1/$0_%Y%m%d%c.*?$x$表"_sj, "/p/a\\b/src/main.c");
  put("free_format_file_time", 0, 0, 4, 3, 0, "/bk/", "$9$2$1$0_%Y%y%m%d%H%M%S%q%.*", "/x.tar.gz");
  put("long", 5, 0, 2, 0, 0, "", "", "/" + std::string(250, 'n') + ".txt");
}

void SeenLists() {
  Put("seen_lists", "both_lists",
      "[Pictures]\r\nPicture=2\r\nMaxPicture=10\r\nKey[000]=cg01\r\nKey[001]=" + std::string("\x82\xa0\x82\xa2") +
          "\r\n\r\n[Scenes]\r\nScene=1\r\nMaxScene=5\r\nKey[000]=Scene01\r\n");
}

void ReadFlags() {
  Put("read_flags", "short", Bytes{1, 0, 1});
  Put("read_flags", "empty", Bytes{});
}

void TextDraw() {
  Put("text_draw", "styles",
      "Plain <B>bold</B> <I>it</I> <U>under</U> <S>strike</S><BR><FONT size=\"3\" color=\"#FF8000\">big</FONT>"
      "<FONT face=\"" +
          std::string("ＭＳ 明朝"_sj) + "\">" + std::string("明朝"_sj) + "</FONT><HR>");
  Put("text_draw", "paragraphs",
      "<P align=\"center\">centre</P><P align=\"right\">right<BR>two</P><Top>t<Middle>m<Bottom>b"
      "<IndentForBracket 2>" +
          std::string("「かっこ」"_sj) + "<HR>");
  Put("text_draw", "sections",
      "<if 1>shown<else>hidden<endif><if 2>no<else>yes<endif><VDATA 3 1 2 3><GAIJI 0><GAIJI 1>"
      "<ReplaceString 2><Select 0>pick</Select><!-- note -->" +
          std::string("、。"_sj) + "<html><head>h</head><body>b</body></html><HR>");
}

void TextScan() { Put("text_scan", "numbers", " 12, -3 \"45\" \"#A0B0C0\" 7\t8,,9 <font size=\"2\">\x82\xa0>\"x\""); }

void Images() {
  // BMP at every depth, and RLE8.
  const std::vector<RGBQUAD> grey2 = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  std::vector<RGBQUAD> pal16, pal256;
  for (int i = 0; i < 16; ++i) pal16.push_back({uint8_t(i * 16), uint8_t(i * 8), uint8_t(255 - i * 16), 0});
  for (int i = 0; i < 256; ++i) pal256.push_back({uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 0});
  const int w = 6, h = 4;
  auto rows = [&](int bits) {
    const size_t stride = ((w * bits + 31) / 32) * 4;
    Bytes r(stride * h);
    for (int y = 0; y < h; ++y)
      for (size_t i = 0; i < stride; ++i) r[y * stride + i] = Stripe(int(i), y, 0);
    return r;
  };
  Put("image_bmp", "bmp1", MakeBmp(w, h, 1, grey2, rows(1)));
  Put("image_bmp", "bmp4", MakeBmp(w, h, 4, pal16, rows(4)));
  Put("image_bmp", "bmp8", MakeBmp(w, h, 8, pal256, rows(8)));
  Put("image_bmp", "bmp16", MakeBmp(w, h, 16, {}, rows(16)));
  Put("image_bmp", "bmp24_topdown", MakeBmp(w, -h, 24, {}, rows(24)));
  Put("image_bmp", "bmp32", MakeBmp(w, h, 32, {}, rows(32)));
  // RLE8: a run, literal bytes, a delta, end of line, end of picture.
  const Bytes rle8 = {3, 7, 0, 3, 1, 2, 3, 0, 0, 0, 2, 1, 0, 2, 9, 0, 0, 6, 4, 0, 1};
  Put("image_bmp", "bmp8_rle", MakeBmp(w, h, 8, pal256, rle8, BI_RLE8));
  const Bytes rle4 = {4, 0x12, 0, 4, 0x34, 0x56, 0, 0, 6, 0x77, 0, 1};
  Put("image_bmp", "bmp4_rle", MakeBmp(w, h, 4, pal16, rle4, BI_RLE4));
  Put("mem_plane_load", "bmp24", MakeBmp(w, h, 24, {}, rows(24)));
  Put("picture_loader", "bmp24", MakeBmp(w, h, 24, {}, rows(24)));
  Put("picture_loader", "bmp8", MakeBmp(w, h, 8, pal256, rows(8)));
  Put("picture_loader", "bmp8_rle", MakeBmp(w, h, 8, pal256, rle8, BI_RLE8));

  // TGA: colour-mapped, true colour raw and run-length, grey.
  auto tga = [&](uint8_t type, uint8_t mapType, uint8_t bits, uint8_t descriptor, const Bytes& map, const Bytes& body) {
    Bytes f = {0,          mapType,
               type,       0,
               0,          uint8_t(map.size() / 3),
               0,          uint8_t(mapType ? 24 : 0),
               0,          0,
               0,          0,
               uint8_t(w), 0,
               uint8_t(h), 0,
               bits,       descriptor};
    f.insert(f.end(), map.begin(), map.end());
    f.insert(f.end(), body.begin(), body.end());
    return f;
  };
  Bytes truecolour, grey, indices, map;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      for (int c = 0; c < 3; ++c) truecolour.push_back(Stripe(x, y, c));
      grey.push_back(Stripe(x, y, 1));
      indices.push_back(uint8_t((x + y) % 4));
    }
  for (int i = 0; i < 4; ++i) map.insert(map.end(), {uint8_t(i * 60), uint8_t(255 - i * 60), 128});
  const Bytes rle32 = {0x80 | 11, 1, 2, 3, 255, 0x8B, 9, 8, 7, 128};
  Put("image_tga", "truecolour24", tga(2, 0, 24, 0x20, {}, truecolour));
  Put("image_tga", "rle32", tga(10, 0, 32, 0x08, {}, rle32));
  Put("image_tga", "mapped8", tga(1, 1, 8, 0x20, map, indices));
  Put("image_tga", "grey8_rle", tga(11, 0, 8, 0, {}, {0x80 | 23, 77}));
  Put("mem_plane_load", "tga24", tga(2, 0, 24, 0x20, {}, truecolour));

  // PNG in each colour type, one interlaced, one with a transparent colour.
  ScopedTempDir temp;
  auto png = [&](const PngFixture& f) {
    WritePng(temp.File("x.png"), f);
    return ReadBytes(temp.File("x.png"));
  };
  auto fixture = [&](int type, int channels, int depth) {
    PngFixture f;
    f.width = w;
    f.height = h;
    f.colorType = type;
    f.bitDepth = depth;
    for (int y = 0; y < h; ++y) {
      std::vector<uint8_t> row;
      for (int x = 0; x < (w * channels * depth + 7) / 8; ++x) row.push_back(Stripe(x, y, 0));
      f.rows.push_back(row);
    }
    return f;
  };
  Put("image_png", "rgb", png(fixture(PNG_COLOR_TYPE_RGB, 3, 8)));
  Put("image_png", "rgba16", png(fixture(PNG_COLOR_TYPE_RGB_ALPHA, 4, 16)));
  Put("image_png", "grey_alpha", png(fixture(PNG_COLOR_TYPE_GRAY_ALPHA, 2, 8)));
  PngFixture grey4 = fixture(PNG_COLOR_TYPE_GRAY, 1, 4);
  grey4.interlaced = true;
  grey4.hasTransparentColor = true;
  grey4.transparentColor.gray = 3;
  Put("image_png", "grey4_interlaced_trns", png(grey4));
  PngFixture palette = fixture(PNG_COLOR_TYPE_PALETTE, 1, 2);
  palette.palette = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  palette.paletteAlpha = {255, 128};
  Put("image_png", "palette2_trns", png(palette));
  Put("mem_plane_load", "png_rgb", png(fixture(PNG_COLOR_TYPE_RGB, 3, 8)));

  // bma: raw and packed pixels.
  Bytes pixels;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) pixels.insert(pixels.end(), {Stripe(x, y, 0), Stripe(x, y, 1), Stripe(x, y, 2), 200});
  auto bma = [&](bool packed) {
    const Bytes data = packed ? LzssEncode(pixels) : pixels;
    return Cat(
        {Le32(0), Le32(w), Le32(h), Le32(packed ? 1 : 0), Le32(static_cast<uint32_t>(data.size())), Le32(0), data});
  };
  Put("image_bma", "raw", bma(false));
  Put("image_bma", "packed", bma(true));
  Put("mem_plane_load", "bma_packed", bma(true));

  // JPEG (colour, grey) and GIF (interlaced, transparent).
  Put("picture_loader", "jpeg_rgb", WriteJpeg(w, h, 3, truecolour));
  Put("picture_loader", "jpeg_grey", WriteJpeg(w, h, 1, grey));
  Put("mem_plane_load", "jpeg_rgb", WriteJpeg(w, h, 3, truecolour));
  GifFixture gif;
  gif.screenWidth = w + 2;
  gif.screenHeight = h;
  gif.left = 1;
  gif.width = w;
  gif.height = h;
  gif.interlaced = true;
  gif.transparent = 1;
  gif.colors = {{0, 0, 0}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}};
  gif.indices = indices;
  Put("picture_loader", "gif", WriteGif(gif));
  Put("mem_plane_load", "gif", WriteGif(gif));
}

}  // namespace

// Text files for loading, wrapping and saving in every code: a code byte, the wrap settings (a
// length byte and the settings), then the file.
void EditorFiles() {
  auto put = [](std::string_view name, int code, std::string_view file, const Bytes& wrap = {}) {
    Put("editor_file_load", name, Cat({Bytes{uint8_t(code), uint8_t(wrap.size())}, wrap, Of(file)}));
  };
  const std::string mixed = std::string("ASCII and ") + "漢字かなカナ｡ﾊﾝｶｸ表"_sj + "\r\n2nd\n3rd\r4th\n\rlast";
  put("sjis_line_ends", 0, mixed);
  put("jis", 1, "a\x1B$B4A;z\x1B(B\r\n\x1B(Ikana\x1B(B\n");
  put("euc", 2, "\xB4\xC1\xBB\xFA\x8E\xB1\r\n\xA1");
  put("utf16le_mark", 3, std::string("\xFF\xFE" "a\0\r\0\n\0" "\x22\x6F\r\0" "\x3D\xD8\x00\xDE" "x", 15));
  put("utf8_mark_emoji", 4, "\xEF\xBB\xBF" "\xE6\xBC\xA2\xF0\x9F\x98\x80\r\n\xC3\x28\n");
  put("utf7", 5, "+ZeVnLDCe-\r\nA+-B\r\n+AA0-\n");
  put("utf16be_mark", 6, std::string("\xFE\xFF" "\0a\0\n\0\r" "\x6F\x22", 10));
  put("detect_utf8", 7, "\xE6\xBC\xA2\xE5\xAD\x97\r\n");
  put("sjis_mark_as_text", 0, "\xEF\xBB\xBF" "abc\r\n");
  // A CR LF cut by the first block boundary, inside a line longer than a block.
  put("sjis_long_line", 0, std::string(32767, 'x') + "\r\n" + std::string(1000, 'y'));
  // Width 12, tab 4, every rule and colour on, indent after leading characters; line-head and
  // line-end characters, "*" to indent after, "//" and two block comment pairs.
  const Bytes rules = Cat({Bytes{11, 3, 0xFF, 0x01 | (1 << 1) | (2 << 3)}, Of("」。、)"_sj), Bytes{0}, Of("「("_sj),
                           Bytes{0}, Of("*"), Bytes{0}, Of("//"), Bytes{0}, Of("/*"), Bytes{0}, Of("*/"), Bytes{0},
                           Of("{"), Bytes{0}, Of("}")});
  put("wrap_rules", 0,
      std::string(" * a long comment line /* with 「括弧」、句読点。\r\n\tx = \"str\\\"ing\"; // end\r\n"_sj) +
          "{ block } 'c' */ tail\r\n",
      rules);
  // An indent near the width: width 30, tab 20, indent after a tab.
  put("wrap_tab_indent", 0, "ab\t\tccccccccccccccccccc\r\n", Bytes{29, 19, 0, 1 << 3});
  // Strings with a double-byte character whose trail byte is a backslash, and open strings.
  put("wrap_quotes", 0, "\"表\"x\"\" 'a''b'\r\n\"open\\表\r\n'\n"_sj, Bytes{19, 7, 1 << 7, 1});
}

// Private clipboard blocks: whole, with bytes after the text, and with a length past the data.
void EditorClipBlocks() {
  Put("editor_clip_block", "whole_with_nul", Cat({Le32(5), Of(std::string_view("a\0\x8a\xbf\n", 5))}));
  Put("editor_clip_block", "trailing_bytes", Cat({Le32(2), Of("abcd")}));
  Put("editor_clip_block", "length_past_data", Cat({Le32(0xFFFFFFF0u), Of("abc")}));
  Put("editor_clip_block", "short_header", Bytes{1, 0});
}

// Clipboard snapshots as the clipboard keeper receives them: a box copy of one kanji, and two
// refused ones.
void ClipboardSnapshots() {
  const std::string box =
      platform::EncodeClipboardSnapshot({{"text/plain", "\xE8\xA1\xA8\r\n"},
                                         {"application/x-tovara-52411", std::string("\x04\0\0\0", 4) + "表\r\n"_sj},
                                         {"application/x-tovara-61447", std::string(1, '\0')}});
  Put("clipboard_snapshot", "box", Of(box));
  Put("clipboard_snapshot", "length_past_data",
      Cat({Of("TVCS"), Le32(1), Le32(10), Of("text/plain"), Le32(0xFFFFFFF0u)}));
  Put("clipboard_snapshot", "count_short", Of(platform::EncodeClipboardSnapshot({{"a/b", "1"}}) + box.substr(8)));
}

// Command lines: which names exist, the executable's path, the text, then process arguments (see
// editor_command_line_fuzz.cpp for the layout).
void EditorCommandLines() {
  const auto put = [](std::string_view name, uint8_t existing, std::string_view exe, std::string_view text,
                      std::initializer_list<std::string_view> args) {
    Bytes bytes = Cat({{existing}, Of(exe), {0}, Of(text)});
    for (std::string_view arg : args) bytes = Cat({bytes, {0}, Of(arg)});
    Put("editor_command_line", name, bytes);
  };
  put("options", 0, "/usr/bin/tovara", "-X=4 -Y:\"10 -VX=3 -VY='2 -SX=800 -SY=600 -WX=-5 -WY=20 -CODE=4 -TYPE=cpp", {});
  put("grep", 0, "/opt/build2.x/tovara2.bin",
      "-GREPMODE -GKEY=\"a \"\"b\"\"\" -GFILE=\"*.c *.h\" -GFOLDER=\"/d/My Documents\" -GCODE=2 -GOPT=SLRPWK12", {});
  put("leading_name", 0xFF, "/usr/bin/tovara", "/d/My Documents/a.txt -Y=5 -R word", {});
  put("file_names", 0, "", "file:///d/a.txt \"/d/a\"\"b.txt\" \"\" "_sj + std::string("/d/＝|ポ.txt"_sj) + " -NOWIN",
      {});
  put("arguments", 0x0F, "/usr/bin/tovara", "",
      {"/d/My Documents/a.txt", "-Y=3", "a \"b\" c", "\xF0\x9F\x98\x80", "\xE8\xA1\xA8"});
  put("marker", 0, "/usr/bin/tovara", "-DEBUGMODE", {kEditorLaunchMarker, "-NOWIN", "ignored"});
}

// Command texts split into arguments (editor_command_arguments_fuzz.cpp): options of a tags run,
// quotes, empty pairs, kanji with trail bytes equal to "\\", and a quote left open.
void EditorCommandArguments() {
  Put("editor_command_arguments", "options", "--excmd=n -R --exclude=\"a b\" \"\" --langmap=c:.c.h");
  Put("editor_command_arguments", "kanji", "\t\"表 ソ\"\\ 漢字\"\"x \"open"_sj);
}

// Tag-jump lines: the names that exist, a NUL, then the document's lines (the last is the caret's;
// see editor_tag_jump_line_fuzz.cpp).
void EditorTagJumpLines() {
  const auto put = [](std::string_view name, std::string_view files, std::string_view lines) {
    Put("editor_tag_jump_line", name, Cat({Of(files), {0}, Of(lines)}));
  };
  put("grep_hit", "/t/a.c\n/t/a", "\x81\xa1\"/t/a.c\"  [UTF-8]\r\n\x81\x45(    12,3    ): x\r\n\x81\x45(    40,1    ): y");
  put("grep_header", "/t/a b.c\n/t/a", "\x81\xa1\"/t/a b.c\"  [SJIS]");
  put("compiler", "src/b.h", "In file included from x:\nsrc/b.h:40:7: error: \x95\x5c");
  put("include", "b.h", "#include \"b.h\"");
  put("none", "", "int main() { return 0; }");
}

// Keyword dictionaries and word lists (editor_keyword_dictionary_fuzz.cpp): the maximum count, the
// word, a NUL, then the file.
void EditorKeywordDictionaries() {
  const auto put = [](std::string_view name, uint8_t max, std::string_view word, std::string_view file) {
    Put("editor_keyword_dictionary", name, Cat({{max}, Of(word), {0}, Of(file)}));
  };
  put("entries", 0, "printf", "; C\r\nprintf,fprintf /// print\\n formatted\r\nsprintf, snprintf /// x\r\n");
  put("kanji_keys", 3, "\x95\x5c", "\x8a\xbf\x8e\x9a,\x95\x5c /// kanji\n\x95\x5c\x8e\xa6\n\x95\x5c\n");
  put("word_list", 2, "Pr", "print\nPrintf\nprintln\r\n;prx\nPRIX\npr");
  put("long_line", 0, "a", "a /// " + std::string(10300, 'x') + "\x95\x5c /// y\n" + std::string(1100, 'a') + "\n");
}

// Texts for the conversion commands' transformations (editor_transform_fuzz.cpp): the first byte
// picks the transformation and the tab width.
void EditorTransforms() {
  const std::string mixed = "ｶﾞｳﾞﾊﾟ ａＢ\t漢が\r\nカー゛ΑαАа  x\t"_sj;
  Put("editor_transform", "case_upper", Cat({{0x00}, Of(mixed)}));
  Put("editor_transform", "full_width_katakana", Cat({{0x02}, Of(mixed)}));
  Put("editor_transform", "half_width_katakana", Cat({{0x08}, Of(mixed)}));
  Put("editor_transform", "spaces_to_tabs", Cat({{0x3E}, Of(mixed)}));
  Put("editor_transform", "tabs_kept_columns", Cat({{0x7F}, Of("a \t  b\n\x82  \x82\r\t")}));
}

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_fuzz_seeds <corpus folder>\n");
    return 2;
  }
  corpusRoot = argv[1];
  Archives();
  Lzss();
  Scrambled();
  Ini();
  Demo();
  Script();
  EditorSettings();
  EditorBackupNames();
  ReadFlags();
  SeenLists();
  TextDraw();
  TextScan();
  Images();
  EditorFiles();
  EditorClipBlocks();
  EditorCommandLines();
  EditorCommandArguments();
  EditorTransforms();
  ClipboardSnapshots();
  EditorTagJumpLines();
  EditorKeywordDictionaries();
  return 0;
}
