#include "editor/foundation/text/show_message_box.h"

#include <cstdarg>
#include <cstdio>

#include "editor/foundation/text/sjis_char.h"
#include "platform/message_box.h"

int ShowMessageBox(HWND hwndOwner, UINT uType, const char* pszCaption, const char* pszFormat, ...) {
  char text[1024];
  int n = 0;
  if (pszFormat) {
    va_list args;
    va_start(args, pszFormat);
    n = std::vsnprintf(text, sizeof text, pszFormat, args);
    va_end(args);
  }
  if (n < 0) n = 0;
  int len = n < static_cast<int>(sizeof text) ? n : static_cast<int>(sizeof text) - 1;
  // A cut may fall between a lead byte and its trail byte; the lead byte must not pair with
  // whatever the box puts after the text.
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  int pos = 0;
  while (pos < len) {
    const int size = SjisCharSize(bytes, len, pos);
    if (size == 1 && pos + 1 == len && IsSjisLeadByte(bytes[pos])) break;
    pos += size;
  }
  return platform::MessageBox(hwndOwner, std::string_view(text, pos), pszCaption ? pszCaption : "", uType);
}
