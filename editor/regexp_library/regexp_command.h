// Reading a command of the regular-expression library: its kind, pattern, replacement and option
// letters, from the 0xFF-delimited form or from the slash forms.
#pragma once

#include <string>
#include <string_view>

namespace tovara_regexp {

struct RegexpCommand {
  bool substitute = false;
  std::string pattern;
  std::string replacement;
  bool multiline = false;   // m: ^ and $ at line breaks
  bool ignoreCase = false;  // i: ASCII letters without regard to case
  bool global = false;      // g: every occurrence
};

// False with a message when the command is not one of the forms or holds an unknown option.
bool ParseCommand(std::string_view command, RegexpCommand& out, std::string& error);

}  // namespace tovara_regexp
