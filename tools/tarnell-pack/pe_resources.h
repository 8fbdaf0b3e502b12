// The resources of a Windows program image, read into a flat list and
// written back as a new resource section, so that the builder can give the
// setup program the product's icon and version without a Windows toolchain.
//
// The new section is appended behind the image's last section and the
// resource entry of the data directory points at it; the old section stays
// where it is, unused, so that no other section moves and nothing that
// points into them changes.
//
// https://learn.microsoft.com/windows/win32/debug/pe-format#the-rsrc-section
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "stream_encoder.h"

inline constexpr std::uint16_t kResourceIcon = 3;
inline constexpr std::uint16_t kResourceGroupIcon = 14;
inline constexpr std::uint16_t kResourceVersion = 16;
inline constexpr std::uint16_t kResourceData = 10;  // RT_RCDATA

// A type or a name: a number, or a UTF-16 text when `text` is not empty.
struct ResourceName {
  std::uint16_t id = 0;
  std::u16string text;
  bool operator==(const ResourceName& other) const { return id == other.id && text == other.text; }
};

struct Resource {
  ResourceName type;
  ResourceName name;
  std::uint16_t language = 0;
  std::uint32_t codepage = 0;
  Bytes data;
  std::size_t file_offset = 0;  // where ReadResources found the data in the image
};

// The little-endian number of `width` bytes at `at`; PackError past the end.
std::uint32_t LittleEndianAt(const Bytes& bytes, std::size_t at, int width);
void AppendLittleEndian(Bytes& out, std::uint32_t value, int width);

// PackError when the image is no program or its resource tree is damaged;
// an image without resources gives an empty list.
std::vector<Resource> ReadResources(const Bytes& image);

// `image` with `resources` as its resource section (see above). PackError
// when the image has data behind its last section or no room for one more
// section header.
Bytes WithResources(const Bytes& image, const std::vector<Resource>& resources);
