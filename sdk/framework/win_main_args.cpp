#include "sdk/framework/win_main_args.h"

#include "sdk/framework/path_functions.h"

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
  // Relative paths resolve against the directory the program started in.
  RecordCurrentDir();
}
