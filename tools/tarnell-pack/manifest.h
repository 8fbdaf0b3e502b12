// The builder's manifest: a TOML file that names the product, its version,
// its files and its file associations. Loading it checks everything the
// setup relies on, so that a manifest either builds a setup that installs
// cleanly or is refused with a message naming the field.
//
//   [product]  name, version "major.minor", language ("english"|"german"),
//              patch, display_icon ("File.exe,0"), architecture ("x86"|"x64"),
//              setup_icon (an .ico path), copyright
//   [skin]     folder, header (both optional; paths)
//   [[folder]] source (a folder), destination, exclude (patterns such as
//              "*.pdb" or "tests/**"), follow_links: every file below the
//              folder, under its path relative to it; a [[file]] whose source
//              is one of them gives it a shortcut, icon, service or time
//   [[file]]   source, name, destination ("program"|"data"|"data-untouched"),
//              shortcut ("none"|"start-menu"|"start-menu+desktop"), icon,
//              service, time (an offset date-time; default SOURCE_DATE_EPOCH
//              when set, else the source's modification time)
//   [[association]]  extension, program, text, icon
// Paths are relative to the manifest's folder.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "package/package_directory.h"

// The setup copy is the product name followed by "_Setup.exe", and both it
// and the uninstall key name must stay within 255 characters.
inline constexpr std::size_t kMaxProductNameLength = 255 - 10;

struct ManifestFile {
  std::string source;  // as a path of this system
  std::string name;    // ANSI
  Destination destination = Destination::kProgramFolder;
  ShortcutKind shortcut = ShortcutKind::kNone;
  std::uint8_t icon = 0;
  bool service = false;
  std::uint64_t file_time = 0;
  std::uint32_t size = 0;
};

struct ManifestAssociation {
  std::string extension;  // ANSI, without its dot
  std::string program;
  std::string text;
  std::uint16_t icon = 0;
};

// Which setup program carries the product: the 32-bit one installs into
// "Program Files (x86)" and the 32-bit registry view, the 64-bit one into
// "Program Files" and the 64-bit view.
enum class Architecture : std::uint8_t { kX86 = 0, kX64 = 1 };

struct Manifest {
  std::string product_name;  // ANSI
  Architecture architecture = Architecture::kX86;
  std::uint8_t major = 0;
  std::uint16_t minor = 0;
  std::uint8_t language = 0;
  bool patch = false;
  std::string display_icon;               // ANSI
  std::optional<std::string> setup_icon;  // the setup program's own icon
  std::string setup_icon_field;           // "MANIFEST:LINE: product.setup_icon: \"VALUE\"", for its read errors
  std::string copyright;                  // UTF-8, for the version resource
  std::optional<std::string> skin_folder;
  std::optional<std::string> header_picture;
  std::vector<ManifestFile> files;
  std::vector<ManifestAssociation> associations;
};

// Reads and checks the manifest; a fault raises PackError with
// "MANIFEST:LINE: FIELD: reason".
Manifest LoadManifest(const std::string& path);
