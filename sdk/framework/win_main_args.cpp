#include "sdk/framework/win_main_args.h"

HINSTANCE AppInstanceHandle = nullptr;

// Kept as they were given; nothing reads them yet.
namespace {
HINSTANCE previousInstance = nullptr;
char* commandLine = nullptr;
int showCommand = 0;
}  // namespace

void SetWinMainArgs(HINSTANCE instance, HINSTANCE previous, char* line, int show) {
  AppInstanceHandle = instance;
  previousInstance = previous;
  commandLine = line;
  showCommand = show;
  // TODO(lead): call RecordCurrentDir() here once the file layer's current-directory cache lands,
  // so that relative paths resolve against the start directory.
}
