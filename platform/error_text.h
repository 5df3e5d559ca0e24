// The system's text for an error number, as the program shows it: Shift-JIS.
//
// Contract: SystemErrorText gives strerror's text for the number in the language of the user's
// locale when that locale speaks UTF-8 (the toolkit takes the user's locale at start), converted to
// Shift-JIS (a character Shift-JIS lacks becomes "?"); under any other locale encoding the text of
// the "C" locale, which is ASCII. Never empty: an unknown number gets the system's "Unknown error N".
#pragma once

#include <string>

namespace platform {

std::string SystemErrorText(int errorNumber);

}  // namespace platform
