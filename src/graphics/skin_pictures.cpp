#include "graphics/skin_pictures.h"

#include "graphics/skin_archive.h"

SkinPictures::SkinPictures(Ground ground, std::initializer_list<const char*> names)
    : ground_(ground), names_(names), pictures_(names_.size(), nullptr) {}

const Image* SkinPictures::At(std::size_t index) const {
  if (index >= names_.size() || names_[index] == nullptr) return nullptr;
  SkinArchive& skin = Skin();
  if (generation_ != skin.Generation()) {
    for (std::size_t i = 0; i < names_.size(); ++i) {
      if (names_[i] == nullptr) continue;
      pictures_[i] = ground_ == Ground::kFace ? &skin.GetFacePicture(names_[i]) : &skin.GetWhitePicture(names_[i]);
    }
    generation_ = skin.Generation();
  }
  return pictures_[index];
}
