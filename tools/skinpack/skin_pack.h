// Packing a skin into the archive that a setup carries as its record 1, and
// checking a skin folder before that.
//
// A skin folder holds one PNG per picture, named after the picture
// ("check1.png"). Its pictures take the place of the default skin's pictures
// of the same name (case ignored, as the setup looks them up), so a folder
// needs to hold only what it changes. A header picture given on its own
// takes the place of "insthead". Every picture is decoded, checked against
// the size the setup draws it at, stored again as a plain 8-bit RGBA PNG and
// read back with the setup's own decoder before it goes into the archive.
//
// For the package builder:
//   record 1:    Bytes archive = skin_folder ? PackSkinFolder(*skin_folder, header_picture)
//                                            : PackDefaultSkin(header_picture);
//                Both throw SkinPackError, whose what() is one line for the user.
//   skin check:  for (const SkinFinding& finding : CheckSkinFolder(folder)) print finding.text;
//                fail when any finding.IsProblem(): exactly those stop PackSkinFolder.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

class SkinPackError : public std::runtime_error {
 public:
  explicit SkinPackError(const std::string& reason) : std::runtime_error(reason) {}
};

struct SkinFinding {
  enum class Kind : std::uint8_t {
    kPicture,        // a good picture: its name and size
    kNotInTable,     // a good picture that the setup never asks for
    kMissing,        // a picture the setup asks for is not in the folder
    kWrongSize,      // not the size the setup draws it at
    kBadName,        // empty, longer than 15 characters, or not printable ASCII
    kDuplicateName,  // two pictures whose names differ only in case
    kUndecodable     // not a PNG that libpng, or then the setup, can read
  };

  Kind kind;
  std::string name;
  std::uint32_t width = 0;  // of the picture as found; 0 when unreadable or missing
  std::uint32_t height = 0;
  std::string text;  // one line for the user

  bool IsProblem() const { return kind != Kind::kPicture && kind != Kind::kNotInTable && kind != Kind::kMissing; }
};

// The archive: the 12000-byte directory, then the PNGs back to back; slots
// from 1 upward in the byte order of the names, offsets counted from the
// archive's first byte. `header` is the path of a PNG of 500x70.
std::vector<std::uint8_t> PackSkinFolder(const std::string& folder,
                                         const std::optional<std::string>& header = std::nullopt);
std::vector<std::uint8_t> PackDefaultSkin(const std::optional<std::string>& header = std::nullopt);

// A directory without pictures: every widget then draws the setup's
// one-pixel fallback.
std::vector<std::uint8_t> MinimalSkinArchive();

// One finding per PNG of the folder (and for `header`), in name order, then
// one per picture the setup asks for that the folder lacks. Throws
// SkinPackError only when the folder or a file cannot be read at all.
std::vector<SkinFinding> CheckSkinFolder(const std::string& folder,
                                         const std::optional<std::string>& header = std::nullopt);
