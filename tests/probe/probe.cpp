#include <cstdio>

int main() {
  std::printf("probe %s\n", TARNELL_ARCH);
  return 0;
}
