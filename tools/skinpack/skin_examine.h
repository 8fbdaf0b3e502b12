// Checking a skin's pictures one by one, the way the packer takes them.
#pragma once

#include <cstdint>
#include <vector>

#include "skin_files.h"
#include "skin_pack.h"

struct AcceptedPicture {
  const SkinFile* file;
  std::vector<std::uint8_t> png;  // as the archive stores it
};

// One finding per file, in the files' order. Files without a problem go to
// `accepted` (when given), stored again as plain RGBA PNGs that the setup's
// decoder has read back to the same pixels.
std::vector<SkinFinding> ExaminePictures(const std::vector<SkinFile>& files, std::vector<AcceptedPicture>* accepted);

// One finding for each picture of the default skin that none of `files`
// provides. The table's other pictures belong to widgets no setup shows.
std::vector<SkinFinding> MissingPictures(const std::vector<SkinFile>& files);
