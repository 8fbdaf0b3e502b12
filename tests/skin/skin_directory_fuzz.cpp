// libFuzzer target for the skin directory parser: any bytes parse without a
// fault, and a slot that claims to be readable lies inside the archive.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "graphics/skin_directory.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The archive's size is the input's, or smaller when the first slot's bytes say so.
  std::uint64_t archive_size = size;
  if (size >= 4) archive_size = size - (data[0] | data[1] << 8) % (size - 3);
  SkinDirectory directory;
  if (!directory.Parse(data, size, archive_size)) return 0;
  for (int number = 1; number <= kSkinSlotCount; ++number) {
    const SkinSlot& slot = directory.Slot(number);
    if (slot.IsReadable() && std::uint64_t{slot.offset} + slot.size > archive_size) std::abort();
    if (slot.IsReadable() && directory.Find(slot.name.c_str()) < number) std::abort();
  }
  directory.Find("check1");
  directory.Find("IBeamcur");
  return 0;
}
