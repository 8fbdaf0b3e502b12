#include "package/directory_writer.h"

#include <cstring>

namespace {

class FieldWriter {
 public:
  explicit FieldWriter(std::vector<std::uint8_t>& out) : out_(out) {}

  void Little(std::uint64_t value, int width) {
    for (int i = 0; i < width; ++i) out_.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
  }
  void U8(std::uint8_t value) { Little(value, 1); }
  void U16(std::size_t value) { Little(value, 2); }
  void U32(std::uint32_t value) { Little(value, 4); }
  void U64(std::uint64_t value) { Little(value, 8); }
  // The text with its NUL.
  void Terminated(const Text& text) { Chars(text.c_str(), text.size() + 1); }
  void Chars(const char* chars, std::size_t n) { out_.insert(out_.end(), chars, chars + n); }
  void CountedText(const Text& text) {
    U16(text.size() + 1);
    Terminated(text);
  }

 private:
  std::vector<std::uint8_t>& out_;
};

}  // namespace

bool NeedsExtendedDirectory(const PackageDirectory& package) {
  if (package.FileCount() > kMaxFileRecords || package.without_streams) return true;
  for (std::size_t number = 2; number <= package.FileCount(); ++number) {
    if (std::strchr(package.Record(number).name, '\\') != nullptr) return true;
  }
  return false;
}

void EncodeVersion(const VersionRecord& version, std::uint8_t out[kVersionRecordSize]) {
  out[0] = version.language;
  out[1] = version.reserved;
  out[2] = version.patch;
  out[3] = version.major;
  out[4] = static_cast<std::uint8_t>(version.minor);
  out[5] = static_cast<std::uint8_t>(version.minor >> 8);
  out[6] = static_cast<std::uint8_t>(version.check_word);
  out[7] = static_cast<std::uint8_t>(version.check_word >> 8);
}

std::vector<std::uint8_t> SerializePackageDirectory(const PackageDirectory& package) {
  std::vector<std::uint8_t> out(kVersionRecordSize);
  EncodeVersion(package.version, out.data());
  FieldWriter writer(out);
  writer.CountedText(package.product_name);
  if (NeedsExtendedDirectory(package)) {
    writer.U16(kExtendedMark);
    writer.U16(kExtendedFormat);
    writer.U16(package.without_streams ? kWithoutStreams : 0);
    writer.U32(static_cast<std::uint32_t>(package.FileCount()));
  } else {
    writer.U16(package.FileCount());
  }
  for (std::size_t number = 1; number <= package.FileCount(); ++number) {
    const FileRecord& record = package.Record(number);
    std::size_t name_length = std::strlen(record.name);
    writer.U16(kFileRecordNameOffset + name_length + 1);
    writer.U16(record.shortcut_kind);
    writer.U8(record.icon_index);
    writer.U8(record.service);
    writer.U8(record.destination);
    writer.U32(record.stream_offset);
    writer.U64(record.file_time);
    writer.U32(record.size);
    writer.Chars(record.name, name_length + 1);
  }
  writer.CountedText(package.display_icon);
  for (std::size_t i = 0; i < package.association_count; ++i) {
    const AssociationEntry& entry = package.associations[i];
    std::size_t second = entry.extension.size() + 1;
    std::size_t third = second + entry.program.size() + 1;
    writer.U16(third + entry.third.size() + 1);
    writer.Terminated(entry.extension);
    writer.Terminated(entry.program);
    writer.Terminated(entry.third);
    writer.U16(second);
    writer.U16(third);
    writer.U16(entry.icon_index);
  }
  writer.U16(0);
  writer.U32(package.header_offset);
  return out;
}
