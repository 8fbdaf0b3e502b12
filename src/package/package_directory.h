// The package directory: what a setup executable says about the product it
// carries. These plain records are shared by the reader in the setup, the
// setup state that holds them for the whole run, and the package builder.
//
// Stored layout (little-endian, nothing padded), at the header offset:
//   version        8 bytes (VersionRecord)
//   u16 N, N bytes  product name, NUL included
//   u16 count      file records, record 1 (the skin archive) included, at
//                  most 20; or kExtendedMark, which begins an extended directory
//   records        each: u16 length, u16 shortcut kind, u8 icon index,
//                  u8 service, u8 destination, u32 stream offset,
//                  u64 file time, u32 size, name with its NUL
//   u16 M, M bytes  display icon, NUL included
//   associations   each: u16 L (not 0), L bytes holding three texts,
//                  u16 offset of the second text, u16 of the third, u16 icon
//   u16 0          end mark
// and last in the package data a u32 trailer holding the header offset.
//
// A product of more than 19 files, or with files in subfolders, has an
// extended directory, whose count field holds kExtendedMark. Setups made
// before it refuse such a package as one of "more than 20 file records", so
// none of them can misread it. In place of the u16 count it holds:
//   u16 kExtendedMark
//   u16 format     kExtendedFormat; a later version that older readers must
//                  not read takes the next number, and readers refuse any
//                  format but theirs as made by a later version
//   u16 flags      kWithoutStreams: the payload streams are not in this file
//                  (a setup copy), so it can uninstall but not install
//   u32 count      file records, record 1 included
//   records        as above; a name is a path relative to its folder, parts
//                  joined by '\', each part a name the file name rules take
// and from the display icon on the layout above. A package that fits the
// first layout is always written in it, byte for byte as before.
#pragma once

#include <cstddef>
#include <cstdint>

#include "package/file_list.h"
#include "text/fixed_text.h"

inline constexpr std::size_t kMaxFileRecords = 20;  // record 1 included, in the first layout
inline constexpr std::uint16_t kExtendedMark = 0xFFFF;
inline constexpr std::uint16_t kExtendedFormat = 2;
inline constexpr std::uint16_t kWithoutStreams = 1;
inline constexpr std::size_t kMaxAssociations = 4;
inline constexpr std::size_t kVersionRecordSize = 8;
// Offset of the name within a file record; the shortest record has an empty name.
inline constexpr std::size_t kFileRecordNameOffset = 23;
inline constexpr std::size_t kMinFileRecordSize = kFileRecordNameOffset + 1;
inline constexpr std::size_t kMaxFileRecordSize = kFileRecordNameOffset + Text::kMaxLength + 1;
// Three texts of at most 512 characters, each with its NUL.
inline constexpr std::size_t kMaxAssociationBlock = 3 * (Text::kMaxLength + 1);
inline constexpr std::size_t kTrailerSize = 4;
// The most the reader reads of an extended directory: room for a few hundred
// thousand files of usual path lengths.
inline constexpr std::size_t kMaxExtendedDirectorySize = 64u << 20;

struct VersionRecord {
  std::uint8_t language = 0;  // 0 English, anything else German
  std::uint8_t reserved = 0;  // carried unchanged, counted in the check word
  std::uint8_t patch = 0;
  std::uint8_t major = 0;
  std::uint16_t minor = 0;
  std::uint16_t check_word = 0;
};

// The check word the version must carry.
std::uint16_t PackageCheckWord(const VersionRecord& version);

enum class ShortcutKind : std::uint16_t { kNone = 0, kStartMenu = 1, kStartMenuAndDesktop = 2 };

enum class Destination : std::uint8_t {
  kProgramFolder = 0,
  kDataFolder = 1,
  kDataFolderUntouched = 2,  // belongs to the data folder but the install never writes it
};

struct AssociationEntry {
  Text extension;  // without its dot
  Text program;    // a file of the program folder
  Text third;      // carried along, unused by the setup
  std::uint16_t icon_index = 0;
  bool create = false;  // wanted (package) or in force (installed); never stored
};

struct PackageDirectory {
  std::uint32_t header_offset = 0;
  VersionRecord version;
  Text product_name;
  FileList files;  // record 1, the skin archive, first
  Text display_icon;
  std::uint8_t association_count = 0;
  AssociationEntry associations[kMaxAssociations];
  bool has_data_folder = false;  // a record beyond 1 has a destination other than 0
  // An extended directory whose streams this file does not carry: a setup
  // copy, which knows the product but cannot install it.
  bool without_streams = false;

  std::size_t FileCount() const { return files.Count(); }
  // `number` from 1 to FileCount().
  FileRecord& Record(std::size_t number) { return files.Record(number); }
  const FileRecord& Record(std::size_t number) const { return files.Record(number); }
  const FileRecord& SkinRecord() const { return files.Skin(); }
};

// The number (2 to the file count) of the first record whose name equals
// `name` without regard to case; 0 when none does. Record 1 never matches.
std::size_t FindFileRecord(const PackageDirectory& package, const char* name);
// The first entry whose extension equals `extension` without regard to case.
const AssociationEntry* FindAssociation(const PackageDirectory& package, const char* extension);
AssociationEntry* FindAssociation(PackageDirectory& package, const char* extension);
