// The text of the run-time error box: "Runtime error     at 00000000" with
// the exit code right-aligned before " at" and the error address in
// upper-case hexadecimal over the zeros.
#pragma once

#include <cstdint>

#include "text/fixed_text.h"

FixedText<32> RuntimeErrorText(std::uint32_t exit_code, std::uint32_t error_address);
