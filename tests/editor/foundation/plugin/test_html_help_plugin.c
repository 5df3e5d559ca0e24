/* Stands in for the HTML help control: answers every request with a window id of its own and counts
   how often it was loaded. */
#include <stdint.h>

static int g_loads;

__attribute__((constructor)) static void CountLoad(void) { ++g_loads; }

int TestHtmlHelpLoadCount(void) { return g_loads; }

uintptr_t HtmlHelpA(uintptr_t owner, const char* file, unsigned command, uintptr_t data) {
  (void)owner;
  (void)file;
  (void)data;
  return 0x4000u + command;
}
