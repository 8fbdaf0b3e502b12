#include "setup_commands.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include <nlohmann/json.hpp>

#include "abort_reason.h"
#include "ansi_text.h"
#include "file_time.h"
#include "graphics/skin_directory.h"
#include "inflate/inflate_state.h"
#include "integrity_record.h"
#include "output_guard.h"
#include "pack_error.h"
#include "package/package_sum.h"
#include "package/pe_image.h"
#include "setup_file.h"
#include "sha256.h"
#include "temporary_file.h"

namespace {

constexpr std::size_t kPieceSize = 65536;

const char* DestinationText(std::uint8_t destination) {
  switch (destination) {
    case 0: return "program";
    case 1: return "data";
    case 2: return "data-untouched";
    default: return "unknown";
  }
}

const char* ShortcutText(std::uint16_t kind) {
  switch (kind) {
    case 0: return "none";
    case 1: return "start-menu";
    case 2: return "start-menu+desktop";
    default: return "unknown";
  }
}

std::string Utf8(const Text& text) { return AnsiToUtf8(text.c_str()); }
std::string Utf8(const char* text) { return AnsiToUtf8(text); }

// Where record `record` lands below `folder` on this system: the package
// joins folders with '\\'. The reader refused every part that could leave it.
std::filesystem::path TargetIn(const std::string& folder, const FileRecord& record) {
  std::string relative = Utf8(record.name);
  std::replace(relative.begin(), relative.end(), '\\', '/');
  return std::filesystem::path(folder) / relative;
}

// Decodes the stream of `record` and hands the bytes to `sink` in pieces;
// PackError unless the stream yields exactly the record's size.
template <typename Sink>
void DecodeRecord(SetupFile& setup, InflateState& decoder, const FileRecord& record, Sink sink) {
  AbortReason reason;
  std::string name = Utf8(record.name);
  auto buffer = std::make_unique<std::uint8_t[]>(kPieceSize);
  std::uint64_t produced = 0;
  try {
    setup.Seek(record.stream_offset);
    decoder.BeginStream();
    for (;;) {
      std::size_t n = decoder.Inflate(kPieceSize, buffer.get());
      if (n == 0) break;
      produced += n;
      if (produced > record.size)
        throw PackError(name + ": the stream yields more than its " + std::to_string(record.size) + " bytes");
      sink(buffer.get(), n);
    }
  } catch (const AbortError&) {
    throw PackError(name + ": " + reason.Take("the DEFLATE stream is damaged"));
  }
  if (produced != record.size) {
    throw PackError(name + ": the stream yields " + std::to_string(produced) + " of its " +
                    std::to_string(record.size) + " bytes");
  }
}

void CheckSkinArchive(SetupFile& setup, const FileRecord& skin) {
  if (skin.size < kSkinDirectorySize) throw PackError("the skin archive is smaller than its directory");
  std::uint8_t directory_bytes[kSkinDirectorySize];
  AbortReason reason;
  try {
    setup.ReadAt(skin.stream_offset, directory_bytes, sizeof directory_bytes);
  } catch (const AbortError&) {
    throw PackError(reason.Take("the skin archive cannot be read"));
  }
  auto directory = std::make_unique<SkinDirectory>();
  if (!directory->Parse(directory_bytes, sizeof directory_bytes, skin.size)) {
    throw PackError("the skin archive's directory is damaged");
  }
  for (int number = 1; number <= kSkinSlotCount; ++number) {
    const SkinSlot& slot = directory->Slot(number);
    if (slot.state != SkinSlotState::kUnused && !slot.IsReadable()) {
      throw PackError("skin slot " + std::to_string(number) + " (" + slot.name.c_str() + ") is damaged");
    }
  }
}

// What the CheckSum field says of the file; PackError when it is damaged.
std::string CheckSum(SetupFile& setup, const PackageDirectory& package) {
  AbortReason reason;
  PackageSum sum;
  try {
    sum = CheckPackageSum(setup, package.SkinRecord().stream_offset);
  } catch (const AbortError&) {
    throw PackError(reason.Take("the file cannot be read"));
  }
  switch (sum) {
    case PackageSum::kWholeFile: return "the PE checksum over the whole file matches";
    case PackageSum::kUnsignedFile: return "the PE checksum over the file without its signature matches";
    case PackageSum::kNone:
      return "no PE checksum over the package (built before setups carried one); streams checked only";
    case PackageSum::kBroken: break;
    case PackageSum::kRecordBroken:
      throw PackError(setup.Path() +
                      ": the integrity record (CRC-32) does not match the package: the setup is damaged");
  }
  throw PackError(setup.Path() + ": the PE checksum does not match the file: the setup is damaged");
}

// The shape README.md documents under "list --json"; the keys keep the
// documented order.
void ListJson(const PackageDirectory& package, bool is_64_bit, const std::vector<std::string>& digests,
              std::ostream& out) {
  using Json = nlohmann::ordered_json;
  const VersionRecord& version = package.version;
  Json files = Json::array();
  for (std::size_t number = 2; number <= package.FileCount(); ++number) {
    const FileRecord& record = package.Record(number);
    Json file = {{"name", Utf8(record.name)},
                 {"size", record.size},
                 {"stream_offset", record.stream_offset},
                 {"destination", DestinationText(record.destination)},
                 {"shortcut", ShortcutText(record.shortcut_kind)},
                 {"icon", int{record.icon_index}},
                 {"service", record.service != 0},
                 {"time", FileTimeText(record.file_time)}};
    if (!digests[number].empty()) file["sha256"] = digests[number];
    files.push_back(std::move(file));
  }
  Json associations = Json::array();
  for (std::size_t i = 0; i < package.association_count; ++i) {
    const AssociationEntry& entry = package.associations[i];
    associations.push_back({{"extension", Utf8(entry.extension)},
                            {"program", Utf8(entry.program)},
                            {"text", Utf8(entry.third)},
                            {"icon", entry.icon_index}});
  }
  Json list = {{"product", Utf8(package.product_name)},
               {"architecture", is_64_bit ? "x64" : "x86"},
               {"version", std::to_string(version.major) + "." + std::to_string(version.minor)},
               {"major", int{version.major}},
               {"minor", version.minor},
               {"language", version.language == 0 ? "english" : "german"},
               {"patch", version.patch != 0},
               {"display_icon", Utf8(package.display_icon)},
               {"skin", {{"offset", package.SkinRecord().stream_offset}, {"size", package.SkinRecord().size}}},
               {"directory_offset", package.header_offset},
               {"files", std::move(files)},
               {"associations", std::move(associations)}};
  // Names come from the package's code page; a byte that makes no UTF-8
  // still gives a document (U+FFFD) rather than an abort.
  out << list.dump(2, ' ', false, Json::error_handler_t::replace) << "\n";
}

// PackError for a setup copy, which carries the directory but no streams.
void RequireStreams(const std::string& path, const PackageDirectory& package) {
  if (package.without_streams) {
    throw PackError(path +
                    ": a setup copy from a program folder, which carries no product files; use the product's setup");
  }
}

}  // namespace

void ListSetup(const std::string& path, const ListOptions& options, std::ostream& out) {
  SetupFile setup(path);
  PackageDirectory package = ReadSetupDirectory(setup);
  std::vector<std::string> digests(package.FileCount() + 1);
  if (options.sha256) {
    RequireStreams(path, package);
    InflateState decoder(&setup);
    for (std::size_t number = 2; number <= package.FileCount(); ++number) {
      Sha256 digest;
      DecodeRecord(setup, decoder, package.Record(number),
                   [&](const std::uint8_t* bytes, std::size_t n) { digest.Add(bytes, n); });
      digests[number] = digest.HexDigest();
    }
  }
  std::uint8_t head[kPeHeadSize] = {};
  AbortReason reason;
  try {
    setup.ReadAt(0, head, static_cast<std::size_t>(std::min<std::uint64_t>(setup.Size(), sizeof head)));
  } catch (const AbortError&) {
    throw PackError(reason.Take("the file cannot be read"));
  }
  bool is_64_bit = ReadPeImageInfo(head, sizeof head).is_64_bit;
  if (options.json) {
    ListJson(package, is_64_bit, digests, out);
    return;
  }
  const VersionRecord& version = package.version;
  out << "Product:      " << Utf8(package.product_name) << "\n"
      << "Setup:        " << (is_64_bit ? "x64 (64-bit setup program)" : "x86 (32-bit setup program)") << "\n"
      << "Version:      " << int{version.major} << "." << version.minor << ", "
      << (version.language == 0 ? "english" : "german") << (version.patch ? ", patch" : "") << "\n"
      << "Display icon: " << Utf8(package.display_icon) << "\n"
      << "Skin archive: " << package.SkinRecord().size << " bytes at " << package.SkinRecord().stream_offset << "\n"
      << "Directory:    at " << package.header_offset << "\n"
      << "Files:        " << package.FileCount() - 1 << (package.without_streams ? " (not carried: a setup copy)" : "")
      << "\n";
  for (std::size_t number = 2; number <= package.FileCount(); ++number) {
    const FileRecord& record = package.Record(number);
    out << "  " << Utf8(record.name) << "\n"
        << "    size " << record.size << ", stream at " << record.stream_offset << ", "
        << DestinationText(record.destination) << ", shortcut " << ShortcutText(record.shortcut_kind) << ", icon "
        << int{record.icon_index} << (record.service ? ", service" : "") << ", time " << FileTimeText(record.file_time)
        << "\n";
    if (options.sha256) out << "    sha256 " << digests[number] << "\n";
  }
  out << "Associations: " << int{package.association_count} << "\n";
  for (std::size_t i = 0; i < package.association_count; ++i) {
    const AssociationEntry& entry = package.associations[i];
    out << "  ." << Utf8(entry.extension) << " -> " << Utf8(entry.program) << ", icon " << entry.icon_index
        << ", text \"" << Utf8(entry.third) << "\"\n";
  }
}

void VerifySetup(const std::string& path, std::ostream& out) {
  SetupFile setup(path);
  PackageDirectory package = ReadSetupDirectory(setup);
  CheckSkinArchive(setup, package.SkinRecord());
  if (package.without_streams) {
    out << path << ": " << package.FileCount() - 1 << " files, not carried (a setup copy from a program folder)\n";
  } else {
    InflateState decoder(&setup);
    std::uint64_t total = 0;
    for (std::size_t number = 2; number <= package.FileCount(); ++number) {
      const FileRecord& record = package.Record(number);
      DecodeRecord(setup, decoder, record, [](const std::uint8_t*, std::size_t) {});
      total += record.size;
    }
    out << path << ": " << package.FileCount() - 1 << " files, " << total << " bytes, all streams intact\n";
  }
  out << path << ": " << CheckSum(setup, package) << "\n"
      << path << ": " << CheckIntegrityRecord(setup, package) << "\n";
}

void ExtractSetup(const std::string& path, const std::string& folder, bool force, std::ostream& out) {
  SetupFile setup(path);
  PackageDirectory package = ReadSetupDirectory(setup);
  RequireStreams(path, package);
  CheckSum(setup, package);
  CheckIntegrityRecord(setup, package);
  if (!force) {
    for (std::size_t number = 2; number <= package.FileCount(); ++number) {
      std::filesystem::path target = TargetIn(folder, package.Record(number));
      std::error_code error;
      if (std::filesystem::symlink_status(target, error).type() != std::filesystem::file_type::not_found) {
        throw PackError(target.string() +
                        " exists already; extract into an empty folder, or give --force to replace it");
      }
    }
  }
  for (std::size_t number = 2; number <= package.FileCount(); ++number) {
    std::string target = TargetIn(folder, package.Record(number)).string();
    if (SameFile(target, path)) throw PackError(target + " is the setup being read; extract into another folder");
  }
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) throw PackError("cannot create " + folder + ": " + error.message());
  InflateState decoder(&setup);
  for (std::size_t number = 2; number <= package.FileCount(); ++number) {
    const FileRecord& record = package.Record(number);
    std::filesystem::path path_in_folder = TargetIn(folder, record);
    std::filesystem::create_directories(path_in_folder.parent_path(), error);
    if (error) throw PackError("cannot create " + path_in_folder.parent_path().string() + ": " + error.message());
    std::string target = path_in_folder.string();
    TemporaryFile file(target);
    DecodeRecord(setup, decoder, record, [&](const std::uint8_t* bytes, std::size_t n) { file.Append(bytes, n); });
    file.Finish(0666, UnixFromFileTime(record.file_time));
    file.RenameTo(target);
    out << target << "\n";
  }
}
