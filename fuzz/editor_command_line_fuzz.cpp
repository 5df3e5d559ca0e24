// The editor's command line: a text through CCommandLineOptions::Parse, with the file system
// answered by the input (no file is touched), and process arguments through JoinEditorArguments,
// whose text is parsed as the start-up parses it. The path and type stay terminated within their
// fields, the type ends on a whole character, and a text parses the same way twice.
//
// Input: one byte saying which names exist (bit (length * 31 + last byte) % 8 of it), then the
// executable's path, the text, and the arguments after the program's name, separated by NUL.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "editor/foundation/text/sjis_char.h"
#include "editor/shell/process/command_line.h"
#include "editor/shell/process/launch_arguments.h"
#include "fuzz_support.h"

namespace {

class InputSystem final : public CommandLineSystem {
 public:
  InputSystem(uint8_t existing, std::string exe) : m_existing(existing), m_exe(std::move(exe)) {}
  bool PathExists(const std::string& name) const override {
    if (name.empty()) return false;
    const unsigned bit = (name.size() * 31 + static_cast<unsigned char>(name.back())) % 8;
    return (m_existing >> bit) & 1;
  }
  std::string ExecutablePath() const override { return m_exe; }

 private:
  uint8_t m_existing;
  std::string m_exe;
};

std::string_view NextField(std::string_view& in) {
  const size_t end = in.find('\0');
  const std::string_view field = in.substr(0, end);
  in = end == std::string_view::npos ? std::string_view() : in.substr(end + 1);
  return field;
}

void Check(const CCommandLineOptions& options) {
  const RecentFileRecord& fi = options.m_fi;
  if (strnlen(fi.szPath, sizeof fi.szPath) >= sizeof fi.szPath) std::abort();
  const size_t typeLength = strnlen(fi.szTypeText, sizeof fi.szTypeText);
  if (typeLength >= sizeof fi.szTypeText) std::abort();
  const int length = static_cast<int>(typeLength);
  if (WholeCharsPrefixLength(fi.szTypeText, length, length) != length) std::abort();
  if (options.m_nGrepOutputStyle != 1 && options.m_nGrepOutputStyle != 2) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1 || size > 16384) return 0;
  fuzz::Environment();
  const InputSystem system(data[0], "");
  std::string_view rest = fuzz::Text(data + 1, size - 1);
  const InputSystem named(data[0], std::string(NextField(rest)));
  const std::string text(NextField(rest));

  CCommandLineOptions first;
  first.Parse(text, named);
  Check(first);
  CCommandLineOptions again;
  again.Parse(text, named);
  if (std::memcmp(&first.m_fi, &again.m_fi, sizeof first.m_fi) != 0) std::abort();
  if (first.m_cmGrepKey.View() != again.m_cmGrepKey.View()) std::abort();

  std::vector<std::string> arguments;
  while (!rest.empty()) arguments.emplace_back(NextField(rest));
  std::vector<const char*> argv = {"tovara"};
  for (const std::string& argument : arguments) argv.push_back(argument.c_str());
  const std::string joined = JoinEditorArguments(argv);
  if (joined.find('\0') != std::string::npos) std::abort();
  CCommandLineOptions fromArguments;
  fromArguments.Parse(joined, system);
  Check(fromArguments);
  return 0;
}
