#include "text/runtime_error.h"

FixedText<32> RuntimeErrorText(std::uint32_t exit_code, std::uint32_t error_address) {
  char text[] = "Runtime error     at 00000000";
  // Three positions end just before " at"; a larger code keeps its last digits.
  char* code_end = text + 17;
  std::uint32_t code = exit_code;
  for (int i = 1; i <= 3; ++i) {
    code_end[-i] = static_cast<char>('0' + code % 10);
    code /= 10;
    if (code == 0) break;
  }
  const char kHex[] = "0123456789ABCDEF";
  char* address = text + 21;
  for (int i = 7; i >= 0; --i) {
    address[i] = kHex[error_address & 0xF];
    error_address >>= 4;
  }
  return FixedText<32>(text);
}
