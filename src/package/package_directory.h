// The package directory: what a setup executable says about the product it
// carries. These plain records are shared by the reader in the setup, the
// setup state that holds them for the whole run, and the package builder.
//
// Stored layout (little-endian, nothing padded), at the header offset:
//   version        8 bytes (VersionRecord)
//   u16 N, N bytes  product name, NUL included
//   u16 count      file records, record 1 (the skin archive) included
//   records        each: u16 length, u16 shortcut kind, u8 icon index,
//                  u8 service, u8 destination, u32 stream offset,
//                  u64 file time, u32 size, name with its NUL
//   u16 M, M bytes  display icon, NUL included
//   associations   each: u16 L (not 0), L bytes holding three texts,
//                  u16 offset of the second text, u16 of the third, u16 icon
//   u16 0          end mark
// and last in the package data a u32 trailer holding the header offset.
#pragma once

#include <cstddef>
#include <cstdint>

#include "text/fixed_text.h"

inline constexpr std::size_t kMaxFileRecords = 20;  // record 1 included
inline constexpr std::size_t kMaxAssociations = 4;
inline constexpr std::size_t kVersionRecordSize = 8;
// Offset of the name within a file record; the shortest record has an empty name.
inline constexpr std::size_t kFileRecordNameOffset = 23;
inline constexpr std::size_t kMinFileRecordSize = kFileRecordNameOffset + 1;
inline constexpr std::size_t kMaxFileRecordSize = kFileRecordNameOffset + Text::kMaxLength + 1;
// Three texts of at most 512 characters, each with its NUL.
inline constexpr std::size_t kMaxAssociationBlock = 3 * (Text::kMaxLength + 1);
inline constexpr std::size_t kTrailerSize = 4;

// The largest directory the reader accepts: every field at its capacity.
inline constexpr std::size_t kMaxDirectorySize = kVersionRecordSize + 2 + (Text::kMaxLength + 1) + 2 +
                                                 kMaxFileRecords * kMaxFileRecordSize + 2 + (Text::kMaxLength + 1) +
                                                 kMaxAssociations * (2 + kMaxAssociationBlock + 6) + 2;

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

struct FileRecord {
  std::uint16_t shortcut_kind = 0;  // a ShortcutKind, kept as stored
  std::uint8_t icon_index = 0;
  std::uint8_t service = 0;
  std::uint8_t destination = 0;  // a Destination, kept as stored
  std::uint32_t stream_offset = 0;
  std::uint64_t file_time = 0;  // FILETIME: 100 ns units since 1601-01-01 UTC
  std::uint32_t size = 0;
  Text name;
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
  std::uint16_t file_count = 0;
  FileRecord files[kMaxFileRecords];  // files[0] is record 1
  Text display_icon;
  std::uint8_t association_count = 0;
  AssociationEntry associations[kMaxAssociations];
  bool has_data_folder = false;  // a record beyond 1 has a destination other than 0

  // `number` from 1 to kMaxFileRecords.
  FileRecord& Record(std::size_t number) { return files[number - 1]; }
  const FileRecord& Record(std::size_t number) const { return files[number - 1]; }
};

// The number (2 to the file count) of the first record whose name equals
// `name` without regard to case; 0 when none does. Record 1 never matches.
std::size_t FindFileRecord(const PackageDirectory& package, const char* name);
// The first entry whose extension equals `extension` without regard to case.
const AssociationEntry* FindAssociation(const PackageDirectory& package, const char* extension);
AssociationEntry* FindAssociation(PackageDirectory& package, const char* extension);
