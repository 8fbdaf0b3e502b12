// The directory at the head of a skin archive: 500 slots of 24 bytes, each
// naming one PNG picture stored behind the directory. The setup reads it from
// its own executable and the package builder writes it, both through this
// file, so the two agree on every byte.
//
// Slot layout (little-endian): u32 offset of the PNG relative to the archive's
// first byte, u32 size of the PNG, char[16] name padded with NUL bytes. A slot
// of 24 zero bytes is unused.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text/fixed_text.h"

inline constexpr int kSkinSlotCount = 500;
inline constexpr std::size_t kSkinSlotSize = 24;
inline constexpr std::size_t kSkinDirectorySize = kSkinSlotCount * kSkinSlotSize;
// The name field is 16 bytes and always ends with a NUL.
inline constexpr std::size_t kSkinNameMaxLength = 15;

using SkinName = FixedText<kSkinNameMaxLength>;

enum class SkinSlotState : std::uint8_t {
  kUnused,           // empty name: holds no picture
  kPicture,          // a picture whose bytes lie inside the archive
  kOutsideArchive,   // named, but its bytes would run past the archive's end
  kUnterminatedName  // the 16 name bytes hold no NUL: a damaged slot
};

struct SkinSlot {
  std::uint32_t offset = 0;  // relative to the archive's first byte
  std::uint32_t size = 0;
  SkinName name;
  SkinSlotState state = SkinSlotState::kUnused;

  // Only such a slot may be read; any other named slot must be refused.
  bool IsReadable() const { return state == SkinSlotState::kPicture; }
};

class SkinDirectory {
 public:
  // Parses the first kSkinDirectorySize bytes of `bytes`. `archive_size` is
  // the archive's total size (directory and pictures); every slot is checked
  // against it. False, with every slot unused, when fewer bytes are given or
  // the archive cannot even hold its directory.
  bool Parse(const unsigned char* bytes, std::size_t length, std::uint64_t archive_size);

  // The number (1 to 500) of the highest slot whose name equals `name`,
  // ignoring case through the program's upper-case table; 0 when none does.
  // An empty name finds nothing. The slot may still be unreadable.
  int Find(const char* name) const;

  // `number` from 1 to 500.
  const SkinSlot& Slot(int number) const { return slots_[number - 1]; }

 private:
  SkinSlot slots_[kSkinSlotCount];
};

// Writes one slot into `out` (kSkinSlotSize bytes). False, writing nothing,
// when `name` is longer than kSkinNameMaxLength.
bool WriteSkinSlot(unsigned char* out, std::uint32_t offset, std::uint32_t size, const char* name);
