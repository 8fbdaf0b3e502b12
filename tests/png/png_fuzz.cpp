// libFuzzer entry point for the PNG decoder: any input must either decode or
// raise AbortError, without touching memory outside its buffers. The input
// is copied into a block of its exact size so that ASan sees every overread.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "graphics/image.h"
#include "graphics/png_decoder.h"
#include "log/abort_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::unique_ptr<std::uint8_t[]> copy(new std::uint8_t[size ? size : 1]);
  if (size) std::memcpy(copy.get(), data, size);
  Image image;
  try {
    DecodePng(image, copy.get(), size);
  } catch (const AbortError&) {
    return 0;
  }
  // A decoded picture has every row.
  for (std::uint32_t y = 0; y < image.Height(); ++y)
    if (!image.Row(y)) __builtin_trap();
  return 0;
}
