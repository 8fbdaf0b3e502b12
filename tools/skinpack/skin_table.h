// The pictures the setup's widgets ask the skin archive for, with the size
// each is drawn at. A skin folder is checked against this table.
#pragma once

#include <cstddef>
#include <cstdint>

struct SkinTableEntry {
  const char* name;
  std::uint16_t width;
  std::uint16_t height;
};

extern const SkinTableEntry kSkinTable[];
extern const std::size_t kSkinTableSize;

// The entry whose name equals `name` ignoring case, as the setup looks
// pictures up; null when the setup never asks for it.
const SkinTableEntry* FindSkinTableEntry(const char* name);
