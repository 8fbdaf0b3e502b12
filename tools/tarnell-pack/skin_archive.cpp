#include "skin_archive.h"

#include "graphics/skin_directory.h"
#include "pack_error.h"

Bytes BuildSkinArchive(const Manifest& manifest) {
  if (manifest.skin_folder || manifest.header_picture) {
    throw PackError("skin: this build of tarnell-pack cannot pack a skin folder yet");
  }
  // A directory of unused slots: a valid archive without pictures.
  return Bytes(kSkinDirectorySize, 0);
}
