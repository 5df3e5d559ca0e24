// A caption template and a document's states through ExpandCaptionFormat at the sizes its callers
// use and a few tight ones. Every output must end within its size and be the start of the whole
// expansion, cut after a whole character.
//
// Input: one byte of document flags (bit 0 modified, bit 1 read-only, bits 2-3 the lock mode,
// bit 4 grep window, bit 5 output window, bit 6 minimised, bit 7 a print preview), one byte of
// macro state (bit 0 recording here; the rest picks the running macro), one byte choosing the file
// time, then the template, the path, the grep key and the word at the caret, each up to a NUL.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

#include "editor/foundation/document/caption_fakes.h"
#include "editor/foundation/document/edit_doc.h"
#include "editor/foundation/document/fake_ports.h"
#include "editor/foundation/settings/share_data.h"
#include "editor/foundation/text/sjis_char.h"
#include "fuzz_support.h"

namespace {

struct Environment {
  Environment() {
    CShareData::InitDefaults(*record);
    share.Attach(record.get(), "CShareData-fuzz-caption");
    std::strcpy(record->MacroSlots[1].File, "one.mac");
  }
  std::unique_ptr<SharedSettings> record = std::make_unique<SharedSettings>();
  CShareData share;
};

// The next field of the input, up to a NUL or the end.
std::string_view Field(std::string_view& rest) {
  const size_t nul = rest.find('\0');
  const std::string_view field = rest.substr(0, nul);
  rest = nul == std::string_view::npos ? std::string_view() : rest.substr(nul + 1);
  return field;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3 || size > 8192) return 0;
  fuzz::Environment();
  static Environment environment;

  FakeFrame frame;
  FakePane pane;
  FakeMacros macros;
  FakePreview preview;
  const uint8_t flags = data[0];
  const uint8_t macroState = data[1];
  const uint8_t timeChoice = data[2];
  std::string_view rest = fuzz::Text(data + 3, size - 3);
  const std::string format(Field(rest));
  const std::string_view path = Field(rest);
  const std::string_view grepKey = Field(rest);
  pane.word = std::string(Field(rest));
  pane.caret = {timeChoice * 1000, -timeChoice};
  frame.minimized = flags & 64;
  macros.recordingHere = macroState & 1;
  macros.running = (macroState >> 1) % 53 - 2;  // none, the temporary macro, slots 0-50 (50 is none)
  preview.page = macroState;
  preview.pages = -timeChoice;

  CEditDoc doc;
  doc.m_pShareData = environment.record.get();
  DocPorts ports;
  ports.frame = &frame;
  ports.panes[0] = &pane;
  ports.macros = &macros;
  ports.preview = flags & 128 ? &preview : nullptr;
  doc.SetPorts(ports);
  doc.m_bIsModified = flags & 1;
  doc.m_bReadOnly = flags & 2;
  doc.m_nLockMode = ((flags >> 2) & 3) * 16 % 48;
  doc.m_bGrepWindow = flags & 16;
  doc.m_bOutputWindow = flags & 32;
  const int64_t times[] = {0, int64_t{1} << 32, -1, INT64_MAX, INT64_MIN, 1136073600000000000};
  doc.m_nFileTime = times[timeChoice % std::size(times)];
  if (path.size() < sizeof doc.m_szFilePath) path.copy(doc.m_szFilePath, path.size());
  doc.m_szGrepKey = grepKey;

  // The template in a buffer of its own size, so that a read past its end is caught.
  auto tmpl = std::make_unique<char[]>(format.size() + 1);
  std::memcpy(tmpl.get(), format.c_str(), format.size() + 1);

  constexpr int kWhole = 2048;
  auto whole = std::make_unique<char[]>(kWhole);
  doc.ExpandCaptionFormat(tmpl.get(), whole.get(), kWhole);
  const int wholeLength = static_cast<int>(strnlen(whole.get(), kWhole));
  if (wholeLength >= kWhole) std::abort();
  // The grep key fits the room left, and the clock may turn between two calls.
  const bool varies = format.find("$h") != std::string::npos || format.find("$d") != std::string::npos ||
                      format.find("$t") != std::string::npos;

  for (const int outSize : {1, 2, 3, 7, 64, 1024}) {
    auto out = std::make_unique<char[]>(static_cast<size_t>(outSize));
    doc.ExpandCaptionFormat(tmpl.get(), out.get(), outSize);
    const int length = static_cast<int>(strnlen(out.get(), static_cast<size_t>(outSize)));
    if (length >= outSize) std::abort();  // no terminator within the size
    if (varies) continue;
    const int expected = WholeCharsPrefixLength(whole.get(), wholeLength, outSize - 1);
    if (length != expected || std::memcmp(out.get(), whole.get(), static_cast<size_t>(length)) != 0) std::abort();
  }
  return 0;
}
