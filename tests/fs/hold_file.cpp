// hold_file PATH: opens PATH with no sharing, prints "held", and keeps it
// open until its standard input closes or a line arrives.
#include <windows.h>

#include <cstdio>

#include "handles/owned_handle.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  KernelHandle file(CreateFileA(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file) return 1;
  std::printf("held\n");
  std::fflush(stdout);
  std::getchar();
  return 0;
}
