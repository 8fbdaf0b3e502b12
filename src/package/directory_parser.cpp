#include "package/directory_parser.h"

#include <cstring>
#include <vector>

#include "log/logger.h"
#include "package/code_extensions.h"
#include "package/file_name_rules.h"
#include "package/path_clashes.h"
#include "text/fixed_text.h"
#include "text/format.h"

namespace {

constexpr const char kReadError[] = "Error reading file: %s";
constexpr const char kRefused[] = "Invalid Tarnell software package: %s";

[[noreturn]] void Refuse(const char* reason) { LogErrorWith(kRefused, reason); }

// Refuses with a reason that names the package's own texts: `pattern` holds
// a %s for `first` and, where it has two, for `second`.
[[noreturn]] void RefuseNaming(const char* pattern, const char* first, const char* second = "") {
  Text reason;
  const char* texts[] = {first, second};
  FormatMany(reason, pattern, texts, 2);
  Refuse(reason.c_str());
}

// Little-endian fields from a bounded block; running out is a short read.
class FieldReader {
 public:
  FieldReader(const std::uint8_t* bytes, std::size_t length, const char* path)
      : bytes_(bytes), length_(length), path_(path) {}

  const std::uint8_t* Take(std::size_t n) {
    if (length_ - position_ < n) LogErrorWith(kReadError, path_);
    const std::uint8_t* start = bytes_ + position_;
    position_ += n;
    return start;
  }
  std::uint8_t U8() { return *Take(1); }
  std::uint16_t U16() { return static_cast<std::uint16_t>(Little(Take(2), 2)); }
  std::uint32_t U32() { return static_cast<std::uint32_t>(Little(Take(4), 4)); }
  std::uint64_t U64() { return Little(Take(8), 8); }

 private:
  static std::uint64_t Little(const std::uint8_t* p, int width) {
    std::uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i) value = value << 8 | p[i];
    return value;
  }

  const std::uint8_t* bytes_;
  std::size_t length_;
  std::size_t position_ = 0;
  const char* path_;
};

// The text that starts at `start` and must end with a NUL before `end`.
void CopyTerminated(const std::uint8_t* start, const std::uint8_t* end, Text& out, const char* what) {
  const void* nul = std::memchr(start, 0, static_cast<std::size_t>(end - start));
  if (nul == nullptr) Refuse(what);
  out.Assign(reinterpret_cast<const char*>(start));
}

// u16 length, then that many bytes holding a NUL-terminated text; an empty
// field is an empty text.
void ReadCountedText(FieldReader& reader, Text& out, const char* too_long, const char* unterminated) {
  std::uint16_t length = reader.U16();
  if (length > Text::kMaxLength + 1) Refuse(too_long);
  const std::uint8_t* bytes = reader.Take(length);
  if (length == 0) {
    out.Clear();
    return;
  }
  CopyTerminated(bytes, bytes + length, out, unterminated);
}

VersionRecord ReadVersion(FieldReader& reader) {
  VersionRecord version;
  version.language = reader.U8();
  version.reserved = reader.U8();
  version.patch = reader.U8();
  version.major = reader.U8();
  version.minor = reader.U16();
  version.check_word = reader.U16();
  return version;
}

// Reads record `number` into `out`; `paths` when its name may hold folders.
void ReadFileRecord(FieldReader& reader, std::size_t number, bool paths, PackageDirectory& out) {
  std::uint16_t length = reader.U16();
  if (length < kMinFileRecordSize) Refuse("a file record is shorter than 24 bytes");
  if (length > kMaxFileRecordSize) Refuse("a file name is longer than 512 characters");
  FileRecord fields;
  fields.shortcut_kind = reader.U16();
  fields.icon_index = reader.U8();
  fields.service = reader.U8();
  fields.destination = reader.U8();
  fields.stream_offset = reader.U32();
  fields.file_time = reader.U64();
  fields.size = reader.U32();
  std::size_t name_field = length - kFileRecordNameOffset;
  const auto* name = reinterpret_cast<const char*>(reader.Take(name_field));
  const void* nul = std::memchr(name, 0, name_field);
  if (nul == nullptr) Refuse("a file name is not terminated");
  const FileRecord& record =
      out.files.Add(fields, name, static_cast<std::size_t>(static_cast<const char*>(nul) - name));

  // The skin archive is read in place, so all of it must lie before the
  // directory; a compressed stream needs at least its first byte there.
  if (number == 1) {
    if (std::uint64_t{record.stream_offset} + record.size > out.header_offset) {
      Refuse("the skin archive lies outside the package data");
    }
    return;
  }
  if (const char* fault = paths ? RelativePathFault(record.name) : FileNameFault(record.name)) {
    RefuseNaming("unsafe file name \"%s\", which %s", record.name, fault);
  }
  // A directory without streams keeps the offsets they had in the setup.
  if (!out.without_streams && record.stream_offset >= out.header_offset) {
    RefuseNaming("the data of \"%s\" lies outside the package", record.name);
  }
  if (record.destination > static_cast<std::uint8_t>(Destination::kDataFolderUntouched)) {
    RefuseNaming("\"%s\" has no known destination", record.name);
  }
  // A service runs as the system: its program must come from the program
  // folder, which only administrators may change, never from the data
  // folder, where users may have put a file of that name first.
  if (record.service != 0 && record.destination != static_cast<std::uint8_t>(Destination::kProgramFolder)) {
    RefuseNaming("the service file \"%s\" is not in the program folder", record.name);
  }
}

// The file count of either layout; `paths` tells whether names may hold folders.
std::size_t ReadFileCount(FieldReader& reader, std::size_t length, PackageDirectory& out, bool& paths) {
  std::uint16_t short_count = reader.U16();
  paths = short_count == kExtendedMark;
  if (!paths) {
    if (short_count > kMaxFileRecords) Refuse("more than 20 file records");
    return short_count;
  }
  if (reader.U16() != kExtendedFormat) Refuse("its directory was made by a later version of Tarnell Setup");
  std::uint16_t flags = reader.U16();
  if ((flags & ~kWithoutStreams) != 0) Refuse("its directory was made by a later version of Tarnell Setup");
  out.without_streams = (flags & kWithoutStreams) != 0;
  std::uint32_t count = reader.U32();
  // Every record takes at least its fixed fields: a count the bytes cannot
  // hold is a short read before it is a large allocation.
  if (count > length / kMinFileRecordSize) reader.Take(length);
  return count;
}

// Returns false at the end mark.
bool ReadAssociation(FieldReader& reader, PackageDirectory& package) {
  std::uint16_t length = reader.U16();
  if (length == 0) return false;
  if (package.association_count == kMaxAssociations) Refuse("more than 4 file associations");
  if (length > kMaxAssociationBlock) Refuse("the texts of a file association are too long");
  const std::uint8_t* block = reader.Take(length);
  std::uint16_t second = reader.U16();
  std::uint16_t third = reader.U16();
  std::uint16_t icon_index = reader.U16();
  if (second >= length || third >= length) Refuse("a file association text lies outside its entry");

  AssociationEntry& entry = package.associations[package.association_count++];
  const char* unterminated = "a file association text is not terminated";
  CopyTerminated(block, block + length, entry.extension, unterminated);
  CopyTerminated(block + second, block + length, entry.program, unterminated);
  CopyTerminated(block + third, block + length, entry.third, unterminated);
  entry.icon_index = icon_index;
  entry.create = false;
  // The extension names a key under HKEY_CLASSES_ROOT and the product's type.
  const char* extension = entry.extension.c_str();
  if (FileNameFault(extension) != nullptr || std::strpbrk(extension, ". ") != nullptr ||
      RunsCodeWhenOpened(extension)) {
    RefuseNaming("unsafe file extension \"%s\"", entry.extension.c_str());
  }
  return true;
}

// Names that are sound one by one but not together: two records that meet in
// one file (the install would delete what it has just written), a file that
// another needs as its folder, two names of one folder, two services of one
// name, a file type opened by something that is no program file.
void CheckNamesTogether(const PackageDirectory& package) {
  PathClash clash = FindPathClash(package.files);
  if (clash.first != 0) {
    static constexpr const char* kClashes[] = {"\"%s\" and \"%s\" name one file",
                                               "\"%s\" is a file and the folder of \"%s\"",
                                               "\"%s\" and \"%s\" name one folder"};
    Text first(package.Record(clash.first).name);
    Text second(package.Record(clash.second).name);
    first.Cut(clash.first_length);
    second.Cut(clash.second_length);
    RefuseNaming(kClashes[static_cast<int>(clash.kind)], first.c_str(), second.c_str());
  }
  std::vector<std::size_t> services;
  for (std::size_t number = 2; number <= package.FileCount(); ++number) {
    const FileRecord& record = package.Record(number);
    if (record.service == 0) continue;
    for (std::size_t earlier : services) {
      if (SameServiceName(record.name, package.Record(earlier).name)) {
        RefuseNaming("the services of \"%s\" and \"%s\" have one name", package.Record(earlier).name, record.name);
      }
    }
    // The service runs the program folder's file and takes its name.
    if (std::strchr(record.name, '\\') != nullptr) {
      RefuseNaming("the service file \"%s\" lies in a subfolder", record.name);
    }
    if (record.name[0] == '.') {
      RefuseNaming("the service file \"%s\" gives its service no name", record.name);
    }
    services.push_back(number);
  }
  for (std::size_t i = 0; i < package.association_count; ++i) {
    const AssociationEntry& entry = package.associations[i];
    for (std::size_t earlier = 0; earlier < i; ++earlier) {
      if (SameWindowsName(entry.extension.c_str(), package.associations[earlier].extension.c_str())) {
        RefuseNaming("the file extension \"%s\" is associated twice", entry.extension.c_str());
      }
    }
    std::size_t program = FindFileRecord(package, entry.program.c_str());
    if (program == 0 || package.Record(program).destination != static_cast<std::uint8_t>(Destination::kProgramFolder)) {
      RefuseNaming("files of type \"%s\" open with \"%s\", which is no program file", entry.extension.c_str(),
                   entry.program.c_str());
    }
  }
}

}  // namespace

void ParsePackageDirectory(const std::uint8_t* bytes, std::size_t length, std::uint32_t header_offset, const char* path,
                           PackageDirectory& out) {
  out = PackageDirectory{};
  out.header_offset = header_offset;
  FieldReader reader(bytes, length, path);

  out.version = ReadVersion(reader);
  if (PackageCheckWord(out.version) != out.version.check_word) {
    CurrentLogger().LogError("Invalid Tarnell software package.");
  }

  ReadCountedText(reader, out.product_name, "the product name is longer than 512 characters",
                  "the product name is not terminated");
  // The product name names the setup copy in the program folder and a registry key.
  if (const char* fault = FileNameFault(out.product_name.c_str())) {
    RefuseNaming("unsafe product name \"%s\", which %s", out.product_name.c_str(), fault);
  }

  bool paths = false;
  std::size_t file_count = ReadFileCount(reader, length, out, paths);
  if (file_count == 0) Refuse("no skin archive record");
  // Each name takes at most its record's bytes.
  out.files.Reserve(file_count, length);
  for (std::size_t number = 1; number <= file_count; ++number) {
    ReadFileRecord(reader, number, paths, out);
  }

  ReadCountedText(reader, out.display_icon, "the display icon is longer than 512 characters",
                  "the display icon is not terminated");

  while (ReadAssociation(reader, out)) {
  }
  CheckNamesTogether(out);

  for (std::size_t number = 2; number <= out.FileCount(); ++number) {
    if (out.Record(number).destination != 0) out.has_data_folder = true;
  }
}
