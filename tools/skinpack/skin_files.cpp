#include "skin_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "default_skin.h"
#include "skin_pack.h"
#include "text/case_fold.h"

namespace fs = std::filesystem;

namespace {

std::vector<std::uint8_t> ReadWholeFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw SkinPackError(path.string() + ": cannot be opened");
  std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) throw SkinPackError(path.string() + ": cannot be read");
  return bytes;
}

bool HasPngExtension(const fs::path& path) { return EqualIgnoringCase(path.extension().string().c_str(), ".png"); }

}  // namespace

std::vector<SkinFile> ReadSkinFolder(const std::string& folder) {
  std::error_code error;
  fs::directory_iterator entries(folder, error);
  if (error) throw SkinPackError("skin folder " + folder + ": " + error.message());
  std::vector<SkinFile> files;
  for (const fs::directory_entry& entry : entries) {
    if (!HasPngExtension(entry.path()) || !entry.is_regular_file(error)) continue;
    files.push_back({entry.path().stem().string(), entry.path().string(), ReadWholeFile(entry.path())});
  }
  std::sort(files.begin(), files.end(), [](const SkinFile& a, const SkinFile& b) { return a.name < b.name; });
  return files;
}

SkinFile ReadHeaderPicture(const std::string& path) { return {"insthead", path, ReadWholeFile(path)}; }

std::vector<SkinFile> DefaultSkinFiles() {
  std::vector<SkinFile> files;
  for (std::size_t i = 0; i < kDefaultSkinPictureCount; ++i) {
    const EmbeddedPicture& picture = kDefaultSkinPictures[i];
    files.push_back({picture.name,
                     std::string("default skin: ") + picture.name + ".png",
                     {picture.bytes, picture.bytes + picture.size}});
  }
  return files;
}

std::vector<SkinFile> Overlay(std::vector<SkinFile> base, std::vector<SkinFile> overrides) {
  auto overridden = [&](const SkinFile& file) {
    return std::any_of(overrides.begin(), overrides.end(),
                       [&](const SkinFile& other) { return EqualIgnoringCase(file.name.c_str(), other.name.c_str()); });
  };
  base.erase(std::remove_if(base.begin(), base.end(), overridden), base.end());
  std::move(overrides.begin(), overrides.end(), std::back_inserter(base));
  return base;
}
