// Packs the default skin with the pictures of the widgets that no setup
// shows (skin/toolkit) into a skin archive file for the gallery, with the
// package builder's own skin packer.
//   pack-gallery-skin OUT TOOLKIT_FOLDER
#include <cstdio>
#include <fstream>
#include <iostream>

#include "skin_pack.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: pack-gallery-skin OUT TOOLKIT_FOLDER\n";
    return 2;
  }
  try {
    std::vector<std::uint8_t> archive = PackSkinFolder(argv[2]);
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
    if (!out) throw SkinPackError(std::string("cannot write ") + argv[1]);
  } catch (const std::exception& error) {
    std::cerr << "pack-gallery-skin: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
