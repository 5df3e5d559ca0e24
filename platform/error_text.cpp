#include "platform/error_text.h"

#include <cstring>
#include <langinfo.h>
#include <locale.h>
#include <string_view>

#include "platform/sjis.h"

namespace platform {

std::string SystemErrorText(int errorNumber) {
  char buffer[256];
  // Only UTF-8 is converted: another multibyte encoding would need tables we do not keep.
  if (std::string_view(nl_langinfo(CODESET)) == "UTF-8") {
    return Utf8ToSjis(strerror_r(errorNumber, buffer, sizeof(buffer)));
  }
  const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
  if (c == locale_t{}) return strerror_r(errorNumber, buffer, sizeof(buffer));
  std::string text = strerror_l(errorNumber, c);
  freelocale(c);
  return text;
}

}  // namespace platform
