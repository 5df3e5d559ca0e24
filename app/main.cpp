#include <cstdio>

int main() {
  std::puts("vrel: the game entry is not built yet.");
  return 0;
}
