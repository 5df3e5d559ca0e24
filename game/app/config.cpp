#include "game/app/config.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <tinyxml.h>

#include "game/app/error_box.h"
#include "game/text/fixed_text.h"
#include "game/script/message_log.h"
#include "platform/file.h"
#include "platform/sjis_literal.h"
#include "sdk/framework/path_functions.h"
#include "sdk/graphics/text_scan.h"

GameConfig Config = {};

namespace {

// atoi without its undefined overflow: out-of-range numbers stop at the int32 limits.
int32_t ToInt(const char* text) {
  if (!text) return 0;
  long long v = std::strtoll(text, nullptr, 10);
  if (v > INT32_MAX) return INT32_MAX;
  if (v < INT32_MIN) return INT32_MIN;
  return static_cast<int32_t>(v);
}

// One pass over the document in either direction. Attributes that the player can change are
// "written"; everything else is read in both modes.
class Exchange {
 public:
  // A quiet exchange reports no missing element (the check of a written text).
  Exchange(TiXmlElement* root, bool write, bool quiet = false) : m_root(root), m_write(write), m_quiet(quiet) {}

  // The element at a '/'-separated path below the root; a missing one is reported under its
  // name in the box (which is not always its path) unless no name is given.
  TiXmlElement* Find(const char* path, const char* reportName) {
    TiXmlElement* e = m_root;
    std::string_view rest = path;
    while (e && !rest.empty()) {
      size_t slash = rest.find('/');
      std::string part(rest.substr(0, slash));
      e = e->FirstChildElement(part.c_str());
      rest = (slash == std::string_view::npos) ? std::string_view() : rest.substr(slash + 1);
    }
    if (!e && reportName && !m_quiet) ErrorBox(std::string("初期化ファイルの読み込みに失敗->"_sj) + reportName);
    return e;
  }

  void Int(TiXmlElement* e, const char* name, int32_t& v, bool written = false) {
    if (m_write && written) {
      e->SetAttribute(name, v);
    } else {
      v = ToInt(e->Attribute(name));
    }
  }

  void Flag(TiXmlElement* e, const char* name, bool& v, bool written = false) {
    if (m_write && written) {
      e->SetAttribute(name, v ? 1 : 0);
    } else {
      v = ToInt(e->Attribute(name)) != 0;
    }
  }

  template <size_t N>
  void File(TiXmlElement* e, char (&buffer)[N]) {
    const char* text = e->Attribute("file");
    CopyFixedText(buffer, text ? text : "");
  }

  template <size_t N>
  void Text(TiXmlElement* e, char (&buffer)[N]) {
    const char* text = e->GetText();
    CopyFixedText(buffer, text ? text : "");
  }

  // "#RRGGBB" read through the quoted-colour scanner; a missing or malformed value leaves the
  // colour as it was.
  void Colour(TiXmlElement* e, const char* name, COLORREF& v) {
    const char* text = e->Attribute(name);
    if (!text) return;
    std::string quoted = std::string("\"") + text + "\"";
    const char* cursor = quoted.c_str();
    COLORREF c = 0;
    if (GetQuotedColor(cursor, c) == 0) v = c;
  }

  void Button(TiXmlElement* e, ConfigButton& b) {
    File(e, b.file);
    Int(e, "x", b.x);
    Int(e, "y", b.y);
  }

  void Area(TiXmlElement* e, ConfigTextArea& a) {
    Int(e, "x", a.x);
    Int(e, "y", a.y);
    Int(e, "width", a.width);
    Int(e, "height", a.height);
  }

  void SizedArea(TiXmlElement* e, ConfigSizedArea& a) {
    Int(e, "size", a.size);
    Int(e, "x", a.x);
    Int(e, "y", a.y);
    Int(e, "width", a.width);
    Int(e, "height", a.height);
  }

  void Channel(TiXmlElement* e, ConfigSoundChannel& c) {
    Int(e, "volume", c.volume, true);
    Flag(e, "switch", c.on, true);
  }

 private:
  TiXmlElement* m_root;
  bool m_write;
  bool m_quiet;
};

void VisitAll(Exchange& x, GameConfig& c) {
  if (auto* e = x.Find("title", "title")) x.Text(e, c.title);
  if (auto* e = x.Find("script", "script")) x.Text(e, c.script);
  if (auto* e = x.Find("screen", "screen")) {
    x.Int(e, "width", c.screenWidth);
    x.Int(e, "height", c.screenHeight);
    x.Flag(e, "window", c.windowMode, true);
  }
  if (auto* e = x.Find("debug", "debug")) x.Flag(e, "debug", c.debug);
  if (auto* e = x.Find("surface", "surface")) x.Int(e, "cache", c.imageCacheSize, true);
  if (auto* e = x.Find("information", "information")) {
    x.Flag(e, "cache", c.showCacheRate, true);
    x.Flag(e, "fps", c.showFps, true);
    x.Flag(e, "cpu", c.showCpu, true);
  }
  if (auto* e = x.Find("effect", "effect")) {
    x.Int(e, "speed", c.effectSpeed, true);
    x.Int(e, "fps", c.fps, true);
    x.Flag(e, "switch", c.effectsOn, true);
  }
  if (auto* e = x.Find("save", "save")) {
    x.File(e, c.saveScreenFile);
    x.Int(e, "page", c.savePage, true);
  }
  if (auto* e = x.Find("load", "load")) {
    x.File(e, c.loadScreenFile);
    x.Int(e, "page", c.loadPage, true);
  }
  if (auto* e = x.Find("tips", "tips")) {
    x.File(e, c.tipsFile);
    x.Flag(e, "mode", c.tipsOn, true);
  }
  // The system bar's elements are optional: a missing one leaves an empty image name.
  if (auto* e = x.Find("system/background", nullptr)) x.File(e, c.systemBackgroundFile);
  if (auto* e = x.Find("system/nodata", nullptr)) x.File(e, c.noDataFile);
  if (auto* e = x.Find("system/backtogame", nullptr)) x.Button(e, c.backToGameButton);
  if (auto* e = x.Find("system/backtotitle", nullptr)) x.Button(e, c.backToTitleButton);
  if (auto* e = x.Find("system/windowmode", nullptr)) x.Button(e, c.windowModeButton);
  if (auto* e = x.Find("system/fullscreenmode", nullptr)) x.Button(e, c.fullScreenModeButton);
  if (auto* e = x.Find("system/quit", nullptr)) x.Button(e, c.quitButton);
  if (auto* e = x.Find("sound/bgm", "sound/bgm")) {
    x.Channel(e, c.bgm);
    x.Flag(e, "voice", c.bgmDownForVoice, true);
  }
  if (auto* e = x.Find("sound/se", "sound/Se")) x.Channel(e, c.se);
  if (auto* e = x.Find("sound/voice", "sound/voice")) x.Channel(e, c.voice);
  if (auto* e = x.Find("sound/sound", "sound/sound")) x.Int(e, "volume", c.masterVolume, true);
  c.actorCount = 0;
  for (int n = 1; n <= kConfigActors; ++n) {
    char path[32];
    std::snprintf(path, sizeof path, "sound/actor/actor%02d", n);
    auto* e = x.Find(path, nullptr);
    if (!e) break;
    x.Flag(e, "play", c.actorVoiceOn[n - 1], true);
    c.actorCount = n;
  }
  if (auto* e = x.Find("text/message", "text/message")) x.Int(e, "speed", c.messageSpeed, true);
  if (auto* e = x.Find("text/window", "text/window")) {
    x.File(e, c.messageWindowFile);
    x.Int(e, "x", c.messageWindowX, true);
    x.Int(e, "y", c.messageWindowY, true);
    x.Int(e, "alpha", c.messageWindowAlpha, true);
  }
  if (auto* e = x.Find("text/auto", "text/auto")) {
    x.Button(e, c.autoButton);
    x.Int(e, "speed", c.autoSpeed, true);
    x.Flag(e, "switch", c.autoOn, true);
  }
  if (auto* e = x.Find("text/skip", "text/skip")) x.Button(e, c.skipButton);
  if (auto* e = x.Find("text/backlog", "text/backlog")) x.Button(e, c.backlogButton);
  if (auto* e = x.Find("text/system", "text/system")) x.Button(e, c.systemButton);
  if (auto* e = x.Find("text/quicksave", "text/quicksave")) x.Button(e, c.quickSaveButton);
  if (auto* e = x.Find("text/quickload", "text/quickload")) x.Button(e, c.quickLoadButton);
  if (auto* e = x.Find("text/nextprompt", "text/nextprompt")) x.Text(e, c.nextPromptFile);
  if (auto* e = x.Find("text/isread", "text/isread")) {
    x.Flag(e, "skip", c.skipUnread, true);
    x.Flag(e, "fast", c.readTextFast, true);
    x.Flag(e, "alpha", c.readTextAlpha, true);
  }
  if (auto* e = x.Find("text/normalmode/font", "text/font")) {
    x.Int(e, "type", c.fontType);
    x.Int(e, "size", c.fontSize);
    x.Int(e, "hmargin", c.fontHMargin);
    x.Colour(e, "color", c.fontColor);
    x.Colour(e, "shadow", c.fontShadow);
  }
  if (auto* e = x.Find("text/normalmode/text", "text/normalmode/text")) x.Area(e, c.normalText);
  if (auto* e = x.Find("text/normalmode/name", "text/normalmode/name")) {
    x.Int(e, "x", c.nameX);
    x.Int(e, "y", c.nameY);
    x.Int(e, "size", c.nameSize);
    x.Colour(e, "color", c.nameColor);
    x.Colour(e, "shadow", c.nameShadow);
  }
  if (auto* e = x.Find("text/novelmode/text", "text/novelmode/text")) x.Area(e, c.novelText);
  if (auto* e = x.Find("backlog/window", "backlog/window")) {
    x.File(e, c.backlogWindowFile);
    x.Int(e, "x", c.backlogWindowX);
    x.Int(e, "y", c.backlogWindowY);
  }
  if (auto* e = x.Find("backlog/text", "backlog/window")) x.SizedArea(e, c.backlogText);
  if (auto* e = x.Find("backlog/slider", "backlog/window")) x.SizedArea(e, c.backlogSlider);
  if (auto* e = x.Find("backlog/voice", "backlog/window")) x.File(e, c.backlogVoiceFile);
}

// False when the file cannot be opened (opened is then false) or does not parse.
bool LoadDocument(const char* path, TiXmlDocument& doc, bool& opened) {
  std::unique_ptr<FILE, int (*)(FILE*)> file(platform::OpenStdioFile(CanonicalizePath(path), "rb"), &std::fclose);
  opened = file != nullptr;
  // Shift-JIS passes through byte for byte only in the legacy encoding: read as UTF-8, a lead byte
  // could swallow the markup after it.
  return file && doc.LoadFile(file.get(), TIXML_ENCODING_LEGACY);
}

// The root of a parsed document, or null.
TiXmlElement* ConfigRoot(TiXmlDocument& doc) { return doc.FirstChildElement("advsystem"); }

// A declaration value that can stand between double quotes as it is; otherwise the fallback.
std::string PlainValue(const char* value, const char* fallback) {
  const std::string_view v = value ? value : "";
  const bool plain = !v.empty() && std::all_of(v.begin(), v.end(), [](char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '-' ||
           c == '_' || c == ':';
  });
  return plain ? std::string(v) : fallback;
}

// The declarations are our own: the XML writer prints the values it read between double quotes as
// they stand, so a value read from single quotes that holds `">` would end the declaration early
// and leave a file that cannot be read. Values that are not plain names are left out (the version
// becomes "1.0"). The reader accepts any number of declarations, so every one is rewritten.
void WriteOwnDeclaration(TiXmlDocument& doc) {
  for (TiXmlNode* node = doc.FirstChild(); node; node = node->NextSibling()) {
    if (const TiXmlDeclaration* read = node->ToDeclaration()) {
      const TiXmlDeclaration own(PlainValue(read->Version(), "1.0").c_str(), PlainValue(read->Encoding(), "").c_str(),
                                 PlainValue(read->Standalone(), "").c_str());
      TiXmlNode* replaced = doc.ReplaceChild(node, own);
      if (!replaced) return;
      node = replaced;
    }
  }
}

// The settings a start reads from a document: it begins from nothing, so an element the document
// lacks counts as lost.
GameConfig ReadAtStart(TiXmlElement* root) {
  GameConfig settings{};
  Exchange check(root, false, true);
  VisitAll(check, settings);
  return settings;
}

// True when the printed text reads back as the document it was printed from. The writer does not
// reproduce every markup it accepts (a stray "&" in a text, for example, reads back otherwise),
// and a file that reads otherwise, or not at all, must not replace one that reads.
bool ReadsBackTheSame(const char* text, TiXmlElement* printedRoot) {
  TiXmlDocument doc;
  doc.Parse(text, nullptr, TIXML_ENCODING_LEGACY);
  TiXmlElement* root = doc.Error() ? nullptr : ConfigRoot(doc);
  return root && ReadAtStart(root) == ReadAtStart(printedRoot);
}

// What is wrong with a file that gave no configuration, for the line under the box's first: it
// could not be opened, the XML reader's own account of the error and where it found it, or the
// root element is missing.
std::string ConfigProblem(bool opened, const TiXmlDocument& doc) {
  if (!opened) return "ファイルを開けません"_sj;
  if (!doc.Error()) return "<advsystem> 要素がありません"_sj;
  std::string problem;
  if (doc.ErrorRow() > 0) {
    char where[64];
    std::snprintf(where, sizeof where, "%d行目 %d文字目: "_sj, doc.ErrorRow(), doc.ErrorCol());
    problem = where;
  }
  return problem + (doc.ErrorDesc() ? doc.ErrorDesc() : "");
}

}  // namespace

bool ExchangeConfig(const char* path, int mode) {
  if (!path) return false;
  TiXmlDocument doc;
  // A document without the root element is not a configuration at all.
  bool opened = false;
  TiXmlElement* root = LoadDocument(path, doc, opened) ? ConfigRoot(doc) : nullptr;
  if (!root) {
    ErrorBox(std::string(path) + " 読み込みに失敗しました\n"_sj + ConfigProblem(opened, doc));
    return false;
  }
  const bool write = mode == kConfigWrite;
  Exchange exchange(root, write);
  VisitAll(exchange, Config);
  if (!write) return true;
  WriteOwnDeclaration(doc);
  TiXmlPrinter printer;
  doc.Accept(&printer);
  if (!ReadsBackTheSame(printer.CStr(), root)) {
    DebugPrint("%s は書き戻しませんでした(書き出す内容を読み直すと設定が変わります)"_sj, path);
    return true;
  }
  const auto* bytes = reinterpret_cast<const unsigned char*>(printer.CStr());
  return platform::WriteFileAtomically(CanonicalizePath(path), std::span(bytes, printer.Size())) ==
         platform::WriteStatus::kOk;
}
