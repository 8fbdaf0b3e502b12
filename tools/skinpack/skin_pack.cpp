#include "skin_pack.h"

#include <algorithm>
#include <limits>

#include "graphics/skin_directory.h"
#include "skin_examine.h"
#include "skin_files.h"

namespace {

std::vector<SkinFile> WithHeader(std::vector<SkinFile> files, const std::optional<std::string>& header) {
  if (!header) return files;
  std::vector<SkinFile> overrides;
  overrides.push_back(ReadHeaderPicture(*header));
  return Overlay(std::move(files), std::move(overrides));
}

std::vector<std::uint8_t> Pack(const std::vector<SkinFile>& files) {
  std::vector<AcceptedPicture> pictures;
  std::vector<SkinFinding> findings = ExaminePictures(files, &pictures);
  auto problems = std::count_if(findings.begin(), findings.end(), [](const SkinFinding& f) { return f.IsProblem(); });
  if (problems > 0) {
    auto first = std::find_if(findings.begin(), findings.end(), [](const SkinFinding& f) { return f.IsProblem(); });
    std::string reason = "the skin cannot be packed: " + first->text;
    if (problems > 1) reason += " (and " + std::to_string(problems - 1) + " more problems)";
    throw SkinPackError(reason);
  }
  if (pictures.size() > static_cast<std::size_t>(kSkinSlotCount)) {
    throw SkinPackError("the skin has " + std::to_string(pictures.size()) + " pictures; its archive holds " +
                        std::to_string(kSkinSlotCount));
  }
  std::sort(pictures.begin(), pictures.end(),
            [](const AcceptedPicture& a, const AcceptedPicture& b) { return a.file->name < b.file->name; });

  std::vector<std::uint8_t> archive = MinimalSkinArchive();
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const std::vector<std::uint8_t>& png = pictures[i].png;
    if (archive.size() + png.size() > std::numeric_limits<std::uint32_t>::max()) {
      throw SkinPackError("the skin's pictures are too large for an archive of 4 GiB");
    }
    WriteSkinSlot(archive.data() + i * kSkinSlotSize, static_cast<std::uint32_t>(archive.size()),
                  static_cast<std::uint32_t>(png.size()), pictures[i].file->name.c_str());
    archive.insert(archive.end(), png.begin(), png.end());
  }
  return archive;
}

}  // namespace

std::vector<std::uint8_t> PackSkinFolder(const std::string& folder, const std::optional<std::string>& header) {
  return Pack(WithHeader(Overlay(DefaultSkinFiles(), ReadSkinFolder(folder)), header));
}

std::vector<std::uint8_t> PackDefaultSkin(const std::optional<std::string>& header) {
  return Pack(WithHeader(DefaultSkinFiles(), header));
}

std::vector<std::uint8_t> MinimalSkinArchive() { return std::vector<std::uint8_t>(kSkinDirectorySize, 0); }

std::vector<SkinFinding> CheckSkinFolder(const std::string& folder, const std::optional<std::string>& header) {
  std::vector<SkinFile> files = WithHeader(ReadSkinFolder(folder), header);
  std::vector<SkinFinding> findings = ExaminePictures(files, nullptr);
  std::vector<SkinFinding> missing = MissingPictures(files);
  findings.insert(findings.end(), missing.begin(), missing.end());
  return findings;
}
