#include "package/directory_parser.h"

#include <cstring>

#include "log/logger.h"
#include "package/code_extensions.h"
#include "package/file_name_rules.h"

namespace {

constexpr const char kReadError[] = "Error reading file: %s";
constexpr const char kRefused[] = "Invalid Tarnell software package: %s";

[[noreturn]] void Refuse(const char* reason) { LogErrorWith(kRefused, reason); }

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

void ReadFileRecord(FieldReader& reader, std::size_t number, std::uint32_t header_offset, FileRecord& record) {
  std::uint16_t length = reader.U16();
  if (length < kMinFileRecordSize) Refuse("a file record is shorter than 24 bytes");
  if (length > kMaxFileRecordSize) Refuse("a file name is longer than 512 characters");
  record.shortcut_kind = reader.U16();
  record.icon_index = reader.U8();
  record.service = reader.U8();
  record.destination = reader.U8();
  record.stream_offset = reader.U32();
  record.file_time = reader.U64();
  record.size = reader.U32();
  const std::uint8_t* name = reader.Take(length - kFileRecordNameOffset);
  CopyTerminated(name, name + (length - kFileRecordNameOffset), record.name, "a file name is not terminated");

  // The skin archive is read in place, so all of it must lie before the
  // directory; a compressed stream needs at least its first byte there.
  if (number == 1) {
    if (std::uint64_t{record.stream_offset} + record.size > header_offset) {
      Refuse("the skin archive lies outside the package data");
    }
    return;
  }
  if (const char* fault = FileNameFault(record.name.c_str())) {
    LogErrorWith("Invalid Tarnell software package: unsafe file name \"%s\", which %s", record.name.c_str(), fault);
  }
  if (record.stream_offset >= header_offset) {
    LogErrorWith("Invalid Tarnell software package: the data of \"%s\" lies outside the package", record.name.c_str());
  }
  if (record.destination > static_cast<std::uint8_t>(Destination::kDataFolderUntouched)) {
    LogErrorWith("Invalid Tarnell software package: \"%s\" has no known destination", record.name.c_str());
  }
  // A service runs as the system: its program must come from the program
  // folder, which only administrators may change, never from the data
  // folder, where users may have put a file of that name first.
  if (record.service != 0 && record.destination != static_cast<std::uint8_t>(Destination::kProgramFolder)) {
    LogErrorWith("Invalid Tarnell software package: the service file \"%s\" is not in the program folder",
                 record.name.c_str());
  }
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
    LogErrorWith("Invalid Tarnell software package: unsafe file extension \"%s\"", entry.extension.c_str());
  }
  return true;
}

// Names that are sound one by one but not together: two records that meet in
// one file (the install would delete what it has just written), two services
// of one name, a file type opened by something that is no program file.
void CheckNamesTogether(const PackageDirectory& package) {
  for (std::size_t number = 2; number <= package.file_count; ++number) {
    const FileRecord& record = package.Record(number);
    for (std::size_t earlier = 2; earlier < number; ++earlier) {
      const FileRecord& other = package.Record(earlier);
      if (SameWindowsName(record.name.c_str(), other.name.c_str())) {
        LogErrorWith("Invalid Tarnell software package: \"%s\" and \"%s\" name one file", other.name.c_str(),
                     record.name.c_str());
      }
      if (record.service != 0 && other.service != 0 && SameServiceName(record.name.c_str(), other.name.c_str())) {
        LogErrorWith("Invalid Tarnell software package: the services of \"%s\" and \"%s\" have one name",
                     other.name.c_str(), record.name.c_str());
      }
    }
    if (record.service != 0 && record.name.c_str()[0] == '.') {
      LogErrorWith("Invalid Tarnell software package: the service file \"%s\" gives its service no name",
                   record.name.c_str());
    }
  }
  for (std::size_t i = 0; i < package.association_count; ++i) {
    const AssociationEntry& entry = package.associations[i];
    for (std::size_t earlier = 0; earlier < i; ++earlier) {
      if (SameWindowsName(entry.extension.c_str(), package.associations[earlier].extension.c_str())) {
        LogErrorWith("Invalid Tarnell software package: the file extension \"%s\" is associated twice",
                     entry.extension.c_str());
      }
    }
    std::size_t program = FindFileRecord(package, entry.program.c_str());
    if (program == 0 || package.Record(program).destination != static_cast<std::uint8_t>(Destination::kProgramFolder)) {
      LogErrorWith("Invalid Tarnell software package: files of type \"%s\" open with \"%s\", which is no program file",
                   entry.extension.c_str(), entry.program.c_str());
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
    LogErrorWith("Invalid Tarnell software package: unsafe product name \"%s\", which %s", out.product_name.c_str(),
                 fault);
  }

  std::uint16_t file_count = reader.U16();
  if (file_count > kMaxFileRecords) Refuse("more than 20 file records");
  if (file_count == 0) Refuse("no skin archive record");
  for (std::size_t number = 1; number <= file_count; ++number) {
    ReadFileRecord(reader, number, header_offset, out.Record(number));
    out.file_count = static_cast<std::uint16_t>(number);
  }

  ReadCountedText(reader, out.display_icon, "the display icon is longer than 512 characters",
                  "the display icon is not terminated");

  while (ReadAssociation(reader, out)) {
  }
  CheckNamesTogether(out);

  for (std::size_t number = 2; number <= out.file_count; ++number) {
    if (out.Record(number).destination != 0) out.has_data_folder = true;
  }
}
