// Every conversion to and from Shift-JIS on arbitrary bytes. The first byte picks the conversion.
#include <cstddef>
#include <cstdint>

#include "editor/foundation/text/memory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > (1u << 20)) return 0;
  using Convert = int (CMemory::*)();
  static const Convert kConversions[] = {
      &CMemory::SJIStoJIS,       &CMemory::SJIStoEUC,     &CMemory::EUCtoSJIS,       &CMemory::SJIStoUNICODE,
      &CMemory::SJIStoUNICODEBE, &CMemory::UNICODEtoSJIS, &CMemory::UNICODEBEtoSJIS, &CMemory::SJIStoUTF8,
      &CMemory::UTF8toSJIS,      &CMemory::SJIStoUTF7,    &CMemory::UTF7toSJIS,      &CMemory::UNICODEtoUTF8,
      &CMemory::UNICODEtoUTF7,
  };
  constexpr size_t kCount = sizeof kConversions / sizeof kConversions[0];
  const char* bytes = reinterpret_cast<const char*>(data + 1);
  const int len = static_cast<int>(size - 1);
  CMemory m(bytes, len);
  if (data[0] == kCount) {
    m.JIStoSJIS(true);
  } else if (data[0] == kCount + 1) {
    m.JIStoSJIS(false);
  } else {
    (m.*kConversions[data[0] % kCount])();
  }
  if (m.GetPtr() && m.GetPtr()[m.GetLength()] != '\0') __builtin_trap();
  return 0;
}
