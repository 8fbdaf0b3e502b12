// Reading and writing the skin archive's directory of picture slots.
#include "graphics/skin_directory.h"

#include <cstring>

#include "text/case_fold.h"

namespace {

constexpr std::size_t kNameOffset = 8;
constexpr std::size_t kNameFieldSize = kSkinSlotSize - kNameOffset;
static_assert(kNameFieldSize == kSkinNameMaxLength + 1);

std::uint32_t ReadU32(const unsigned char* at) {
  return static_cast<std::uint32_t>(at[0]) | static_cast<std::uint32_t>(at[1]) << 8 |
         static_cast<std::uint32_t>(at[2]) << 16 | static_cast<std::uint32_t>(at[3]) << 24;
}

void WriteU32(unsigned char* at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(value >> (8 * i));
}

SkinSlot ParseSlot(const unsigned char* bytes, std::uint64_t archive_size) {
  SkinSlot slot;
  slot.offset = ReadU32(bytes);
  slot.size = ReadU32(bytes + 4);
  const char* field = reinterpret_cast<const char*>(bytes + kNameOffset);
  if (std::memchr(field, '\0', kNameFieldSize) == nullptr) {
    slot.state = SkinSlotState::kUnterminatedName;
    return slot;
  }
  slot.name.Assign(field);
  if (slot.name.empty()) {
    slot.state = SkinSlotState::kUnused;
  } else if (std::uint64_t{slot.offset} + slot.size > archive_size) {
    slot.state = SkinSlotState::kOutsideArchive;
  } else {
    slot.state = SkinSlotState::kPicture;
  }
  return slot;
}

}  // namespace

bool SkinDirectory::Parse(const unsigned char* bytes, std::size_t length, std::uint64_t archive_size) {
  for (SkinSlot& slot : slots_) slot = SkinSlot{};
  if (length < kSkinDirectorySize || archive_size < kSkinDirectorySize) return false;
  for (int i = 0; i < kSkinSlotCount; ++i) {
    slots_[i] = ParseSlot(bytes + static_cast<std::size_t>(i) * kSkinSlotSize, archive_size);
  }
  return true;
}

int SkinDirectory::Find(const char* name) const {
  // Unused and damaged slots keep an empty name, so they never match.
  if (name[0] == '\0') return 0;
  for (int number = kSkinSlotCount; number >= 1; --number) {
    if (EqualIgnoringCase(Slot(number).name.c_str(), name)) return number;
  }
  return 0;
}

bool WriteSkinSlot(unsigned char* out, std::uint32_t offset, std::uint32_t size, const char* name) {
  std::size_t length = std::strlen(name);
  if (length > kSkinNameMaxLength) return false;
  WriteU32(out, offset);
  WriteU32(out + 4, size);
  std::memset(out + kNameOffset, 0, kNameFieldSize);
  std::memcpy(out + kNameOffset, name, length);
  return true;
}
