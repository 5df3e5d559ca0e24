#include "editor/foundation/text/command_arguments.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "editor/foundation/text/text_utils.h"

std::vector<std::string> SplitCommandArguments(std::string_view commandText) {
  std::string buffer(commandText.substr(0, std::min(commandText.find('\0'), commandText.size())));
  const int len = static_cast<int>(std::min<size_t>(buffer.size(), INT_MAX));
  std::vector<std::string> arguments;
  int pos = 0;
  while (const char* token = NextTokenOutsideQuotes(buffer.data(), len, &pos, " \t")) {
    std::string argument;
    // A quote (0x22) is below every trail byte, so dropping its bytes never cuts a character.
    for (const char* p = token; *p; ++p) {
      if (*p != '"') argument += *p;
    }
    arguments.push_back(std::move(argument));
  }
  return arguments;
}
