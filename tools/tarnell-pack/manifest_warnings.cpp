#include "manifest_warnings.h"

#include <filesystem>

#include "ansi_text.h"

namespace {

// Room a product path leaves for its folder: a path of Windows' ANSI calls
// has at most 259 characters, and a program folder such as
// "C:\Program Files (x86)\Tarnell\Product" takes 40 to 100 of them.
constexpr std::size_t kMaxWindowsPath = 259;
constexpr std::size_t kFolderRoom = 100;

bool IsProgram(const std::string& name) {
  return name.size() > 4 && SameWindowsFileName(name.substr(name.size() - 4), ".exe");
}

}  // namespace

std::vector<std::string> ManifestWarnings(const Manifest& manifest) {
  std::vector<std::string> warnings;
  const ManifestFile& first = manifest.files.front();
  // Shortcuts to files that are no programs take their icon from the first file.
  if (first.destination != Destination::kProgramFolder || !IsProgram(first.name)) {
    warnings.push_back("file[1]: \"" + AnsiToUtf8(first.name) +
                       "\" is not a program in the program folder, yet the shortcuts of files that are no "
                       "programs take their icon from the first file");
  }
  for (std::size_t i = 0; i < manifest.files.size(); ++i) {
    const ManifestFile& file = manifest.files[i];
    std::string field = "file[" + std::to_string(i + 1) + "]";
    if (file.service && !IsProgram(file.name)) {
      warnings.push_back(field + ".service: \"" + AnsiToUtf8(file.name) +
                         "\" is not an .exe, yet Windows starts a service from it");
    }
    if (file.name.size() > kMaxWindowsPath - kFolderRoom) {
      warnings.push_back(field + ": \"" + AnsiToUtf8(file.name) + "\" is " + std::to_string(file.name.size()) +
                         " characters long: under a folder of more than " +
                         std::to_string(kMaxWindowsPath - 1 - file.name.size()) +
                         " characters it passes Windows' limit, and the setup refuses to install there");
    }
    if (file.destination == Destination::kDataFolderUntouched && file.size > 0) {
      warnings.push_back(field + ".destination: the " + std::to_string(file.size) + " bytes of \"" +
                         AnsiToUtf8(file.name) + "\" are packed, but the install never writes a data-untouched file");
    }
  }
  return warnings;
}

std::vector<std::string> OutsideSourceWarnings(const Manifest& manifest, const std::string& manifest_path) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::path folder = fs::weakly_canonical(fs::absolute(manifest_path).parent_path(), error);
  std::vector<std::string> warnings;
  for (std::size_t i = 0; i < manifest.files.size(); ++i) {
    fs::path source = fs::weakly_canonical(fs::absolute(manifest.files[i].source), error);
    fs::path relative = source.lexically_relative(folder);
    if (relative.empty() || *relative.begin() == "..") {
      warnings.push_back("file[" + std::to_string(i + 1) + "].source: " + source.string() +
                         " lies outside the manifest's folder " + folder.string());
    }
  }
  return warnings;
}
