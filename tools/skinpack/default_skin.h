// The default skin's pictures, built into the library from skin/default.
#pragma once

#include <cstddef>

struct EmbeddedPicture {
  const char* name;
  const unsigned char* bytes;
  std::size_t size;
};

extern const EmbeddedPicture kDefaultSkinPictures[];
extern const std::size_t kDefaultSkinPictureCount;
