#include "package/integrity_record.h"

#include <cstring>

namespace {

constexpr std::uint32_t kRcData = 10;
constexpr std::uint32_t kSubdirectory = 0x80000000;
constexpr std::uint32_t kNeutralLanguage = 0;
constexpr std::size_t kDirectoryHeadSize = 16;
constexpr std::size_t kEntrySize = 8;
constexpr std::size_t kSectionSize = 40;
constexpr std::size_t kMaxOptionalHeader = 240;  // PE32+ with its 16 data directories
constexpr std::uint32_t kMaxSections = 96;       // the loader's own limit
constexpr char kMagic[4] = {'T', 'C', 'K', '1'};

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p) { return U16(p) | static_cast<std::uint32_t>(U16(p + 2)) << 16; }

// Reads of a possibly hostile image: nothing outside the file is asked for.
class ImageReader {
 public:
  explicit ImageReader(PackageFile& file) : file_(file), size_(file.Size()) {}
  bool Read(std::uint64_t offset, void* out, std::size_t n) {
    if (offset > size_ || n > size_ - offset) return false;
    file_.ReadAt(offset, out, n);
    return true;
  }

 private:
  PackageFile& file_;
  std::uint64_t size_;
};

struct Sections {
  std::uint64_t table = 0;
  std::uint32_t count = 0;
};

// The file offset of an image address through the section table.
bool FileOffset(ImageReader& reader, const Sections& sections, std::uint32_t rva, std::uint64_t& offset) {
  for (std::uint32_t i = 0; i < sections.count; ++i) {
    std::uint8_t section[kSectionSize];
    if (!reader.Read(sections.table + i * kSectionSize, section, sizeof section)) return false;
    std::uint32_t virtual_size = U32(section + 8), address = U32(section + 12), raw_size = U32(section + 16);
    std::uint32_t extent = virtual_size > raw_size ? virtual_size : raw_size;
    if (rva >= address && rva - address < extent) {
      offset = std::uint64_t{U32(section + 20)} + (rva - address);
      return true;
    }
  }
  return false;
}

// The target of the entry with `id` in the resource directory at `directory`
// (relative to the resource section); false when there is none.
bool FindEntry(ImageReader& reader, std::uint64_t resources, std::uint32_t directory, std::uint32_t id,
               std::uint32_t& target) {
  std::uint8_t head[kDirectoryHeadSize];
  if (!reader.Read(resources + directory, head, sizeof head)) return false;
  std::uint32_t named = U16(head + 12), end = named + U16(head + 14);
  for (std::uint32_t i = named; i < end; ++i) {
    std::uint8_t entry[kEntrySize];
    if (!reader.Read(resources + directory + kDirectoryHeadSize + i * kEntrySize, entry, sizeof entry)) return false;
    if (U32(entry) == id) {
      target = U32(entry + 4);
      return true;
    }
  }
  return false;
}

// The three levels (type, name, language) down to the record's data entry.
bool FindDataEntry(ImageReader& reader, std::uint64_t resources, std::uint32_t& data_entry) {
  std::uint32_t names = 0, languages = 0;
  return FindEntry(reader, resources, 0, kRcData, names) && (names & kSubdirectory) != 0 &&
         FindEntry(reader, resources, names & ~kSubdirectory, kIntegrityResourceId, languages) &&
         (languages & kSubdirectory) != 0 &&
         FindEntry(reader, resources, languages & ~kSubdirectory, kNeutralLanguage, data_entry) &&
         (data_entry & kSubdirectory) == 0;
}

}  // namespace

IntegrityRecord FindIntegrityRecord(PackageFile& file) {
  IntegrityRecord record;
  ImageReader reader(file);
  std::uint8_t dos[64];
  std::uint8_t pe[24];
  std::uint8_t optional[kMaxOptionalHeader] = {};
  if (!reader.Read(0, dos, sizeof dos)) return record;
  std::uint32_t pe_offset = U32(dos + 0x3C);
  if (!reader.Read(pe_offset, pe, sizeof pe) || std::memcmp(pe, "PE\0\0", 4) != 0) return record;
  std::uint16_t optional_size = U16(pe + 20);
  if (!reader.Read(pe_offset + sizeof pe, optional,
                   optional_size < sizeof optional ? optional_size : sizeof optional)) {
    return record;
  }
  std::uint16_t magic = U16(optional);
  std::size_t directories = magic == 0x20B ? 112 : magic == 0x10B ? 96 : 0;
  // The resource entry is the third data directory.
  if (directories == 0 || U32(optional + directories - 4) < 3 || optional_size < directories + 24) return record;
  std::uint32_t resources_rva = U32(optional + directories + 16);
  if (resources_rva == 0) return record;

  Sections sections{pe_offset + sizeof pe + optional_size, U16(pe + 6)};
  if (sections.count > kMaxSections) sections.count = kMaxSections;
  std::uint64_t resources = 0;
  std::uint32_t data_entry = 0;
  if (!FileOffset(reader, sections, resources_rva, resources) || !FindDataEntry(reader, resources, data_entry)) {
    return record;
  }
  // From here on the resource exists: what does not read as a record is damage.
  record.kind = IntegrityRecord::Kind::kMalformed;
  std::uint8_t entry[8];
  std::uint64_t at = 0;
  std::uint8_t bytes[kIntegrityRecordSize];
  if (!reader.Read(resources + data_entry, entry, sizeof entry) || U32(entry + 4) != kIntegrityRecordSize ||
      !FileOffset(reader, sections, U32(entry), at) || !reader.Read(at, bytes, sizeof bytes) ||
      std::memcmp(bytes, kMagic, sizeof kMagic) != 0) {
    return record;
  }
  record.values_offset = at + sizeof kMagic;
  record.crc = U32(bytes + 4);
  record.count = U32(bytes + 8);
  record.kind = record.count == 0 ? IntegrityRecord::Kind::kUnfilled : IntegrityRecord::Kind::kFilled;
  return record;
}

void EncodeIntegrityValues(std::uint32_t crc, std::uint32_t count, std::uint8_t out[kIntegrityValuesSize]) {
  for (int i = 0; i < 4; ++i) {
    out[i] = static_cast<std::uint8_t>(crc >> (8 * i));
    out[4 + i] = static_cast<std::uint8_t>(count >> (8 * i));
  }
}
