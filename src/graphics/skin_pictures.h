// SkinPictures: a table of skin pictures by name, all on one background,
// for widgets that draw the same few pictures again and again. The skin
// archive frees every picture it handed out when it closes or opens
// another skin, so the table fetches its pictures again whenever the skin
// changed since it last fetched them: a table may outlive any skin.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

class Image;

class SkinPictures {
 public:
  enum class Ground { kFace, kWhite };

  SkinPictures(Ground ground, std::initializer_list<const char*> names);

  // The picture of the name at `index` in the open skin (the white
  // fallback picture for a name it lacks); null for a null name or an
  // index past the table.
  const Image* At(std::size_t index) const;
  // For names that are always there.
  const Image& operator[](std::size_t index) const { return *At(index); }

 private:
  Ground ground_;
  std::vector<const char*> names_;
  // Fetched under the skin generation `generation_`; 0 before the first.
  mutable std::vector<const Image*> pictures_;
  mutable std::uint32_t generation_ = 0;
};
