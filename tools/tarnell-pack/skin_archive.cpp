#include "skin_archive.h"

#include "pack_error.h"
#include "skin_pack.h"

Bytes BuildSkinArchive(const Manifest& manifest) {
  try {
    return manifest.skin_folder ? PackSkinFolder(*manifest.skin_folder, manifest.header_picture)
                                : PackDefaultSkin(manifest.header_picture);
  } catch (const SkinPackError& error) {
    throw PackError(std::string(manifest.skin_folder ? "skin.folder: " : "skin.header: ") + error.what());
  }
}
