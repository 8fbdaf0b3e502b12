// Packs the default skin into a skin archive file for the gallery, with
// the package builder's own skin packer.
//   pack-gallery-skin OUT
#include <cstdio>
#include <fstream>
#include <iostream>

#include "skin_pack.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: pack-gallery-skin OUT\n";
    return 2;
  }
  try {
    std::vector<std::uint8_t> archive = PackDefaultSkin();
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(archive.data()), static_cast<std::streamsize>(archive.size()));
    if (!out) throw SkinPackError(std::string("cannot write ") + argv[1]);
  } catch (const std::exception& error) {
    std::cerr << "pack-gallery-skin: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
