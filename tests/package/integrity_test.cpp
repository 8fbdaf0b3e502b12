// The integrity record: found by walking the resource directory of the
// image, and checked with the PE sum over the package. A small image with
// one resource section stands for the setup program.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "package/crc32.h"
#include "package/integrity_record.h"
#include "package/package_loader.h"
#include "package/package_sum.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put16(Bytes& bytes, std::size_t at, std::uint32_t value) {
  bytes[at] = static_cast<std::uint8_t>(value);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}
void Put32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  Put16(bytes, at, value);
  Put16(bytes, at + 2, value >> 16);
}

constexpr std::size_t kOptional = 64 + 24;  // PE32, 224 bytes with 16 data directories
constexpr std::size_t kResources = 0x200;   // file offset of .rsrc, at address 0x1000
constexpr std::uint32_t kResourcesAddress = 0x1000;
constexpr std::size_t kRecord = kResources + 0x58;
constexpr std::size_t kProgramEnd = 0x400;  // the skin archive would begin here

struct ImageShape {
  std::uint32_t type = 10;  // RT_RCDATA
  std::uint32_t id = 1800;
  std::uint32_t size = 12;
  const char* magic = "TCK1";
  std::uint32_t data_address = kResourcesAddress + 0x58;
};

// The program image with its record, then `package` bytes of package.
Bytes Image(const ImageShape& shape, std::size_t package) {
  Bytes bytes(kProgramEnd + package);
  bytes[0] = 'M';
  bytes[1] = 'Z';
  Put32(bytes, 0x3C, 64);
  std::memcpy(&bytes[64], "PE\0\0", 4);
  Put16(bytes, 64 + 6, 1);     // one section
  Put16(bytes, 64 + 20, 224);  // optional header size
  Put16(bytes, kOptional, 0x10B);
  Put32(bytes, kOptional + 92, 16);
  Put32(bytes, kOptional + 96 + 16, kResourcesAddress);
  Put32(bytes, kOptional + 96 + 20, 0x100);
  std::size_t section = kOptional + 224;
  std::memcpy(&bytes[section], ".rsrc", 5);
  Put32(bytes, section + 8, 0x100);
  Put32(bytes, section + 12, kResourcesAddress);
  Put32(bytes, section + 16, 0x200);
  Put32(bytes, section + 20, kResources);
  // Type, name and language directories of one id entry each, then the data entry.
  const std::uint32_t ids[3] = {shape.type, shape.id, 0};
  for (std::uint32_t level = 0; level < 3; ++level) {
    std::size_t directory = kResources + level * 0x18;
    Put16(bytes, directory + 14, 1);
    Put32(bytes, directory + 16, ids[level]);
    Put32(bytes, directory + 20, level < 2 ? 0x80000000 | (level + 1) * 0x18 : 0x48);
  }
  Put32(bytes, kResources + 0x48, shape.data_address);
  Put32(bytes, kResources + 0x4C, shape.size);
  std::memcpy(&bytes[kRecord], shape.magic, 4);
  for (std::size_t i = kProgramEnd; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
  return bytes;
}

// Fills the record as the builder does: the CRC-32 of the package.
void Fill(Bytes& bytes) {
  Crc32 crc;
  crc.Add(&bytes[kProgramEnd], bytes.size() - kProgramEnd);
  std::uint8_t values[kIntegrityValuesSize];
  EncodeIntegrityValues(crc.Value(), static_cast<std::uint32_t>(bytes.size() - kProgramEnd), values);
  std::memcpy(&bytes[kRecord + 4], values, sizeof values);
}

PackageSum Check(const Bytes& bytes) {
  MemoryPackageFile file(bytes.data(), bytes.size(), "Setup.exe");
  return CheckPackageSum(file, kProgramEnd);
}

TEST(Crc32, GivesZlibsValues) {
  const std::string check = "123456789";
  Crc32 whole;
  whole.Add(reinterpret_cast<const std::uint8_t*>(check.data()), check.size());
  EXPECT_EQ(whole.Value(), 0xCBF43926u);
  Crc32 pieces;
  pieces.Add(reinterpret_cast<const std::uint8_t*>(check.data()), 4);
  pieces.Add(reinterpret_cast<const std::uint8_t*>(check.data()) + 4, 5);
  EXPECT_EQ(pieces.Value(), whole.Value());
  EXPECT_EQ(Crc32().Value(), 0u);
}

TEST(IntegrityRecord, IsFoundThroughTheResourceDirectory) {
  Bytes bytes = Image({}, 5000);
  MemoryPackageFile unfilled(bytes.data(), bytes.size(), "Setup.exe");
  IntegrityRecord record = FindIntegrityRecord(unfilled);
  EXPECT_EQ(record.kind, IntegrityRecord::Kind::kUnfilled);
  EXPECT_EQ(record.values_offset, kRecord + 4);

  Fill(bytes);
  MemoryPackageFile filled(bytes.data(), bytes.size(), "Setup.exe");
  record = FindIntegrityRecord(filled);
  EXPECT_EQ(record.kind, IntegrityRecord::Kind::kFilled);
  EXPECT_EQ(record.count, 5000u);
}

struct DamageCase {
  const char* name;
  ImageShape shape;
  bool fill;
  void (*damage)(Bytes&);
  PackageSum expected;
};

void Untouched(Bytes&) {}
// Two aligned words swapped: the PE sum stays the same.
void SwapWords(Bytes& bytes) {
  std::swap(bytes[kProgramEnd + 1000], bytes[kProgramEnd + 2000]);
  std::swap(bytes[kProgramEnd + 1001], bytes[kProgramEnd + 2001]);
}
void CutLastByte(Bytes& bytes) { bytes.pop_back(); }
void AppendByte(Bytes& bytes) { bytes.push_back(0); }

TEST(IntegrityRecord, HoldsOnlyOverTheWholeUnchangedPackage) {
  const DamageCase cases[] = {
      {"filled, whole", {}, true, Untouched, PackageSum::kNone},
      {"filled, two words swapped", {}, true, SwapWords, PackageSum::kRecordBroken},
      {"filled, file cut", {}, true, CutLastByte, PackageSum::kRecordBroken},
      {"filled, byte appended", {}, true, AppendByte, PackageSum::kRecordBroken},
      // Made before the record existed: nothing to check but the sum (0 here).
      {"unfilled, two words swapped", {}, false, SwapWords, PackageSum::kNone},
      {"no such resource", {10, 1801}, true, SwapWords, PackageSum::kNone},
      {"another resource type", {3}, true, SwapWords, PackageSum::kNone},
      {"not a record", {10, 1800, 12, "XXXX"}, false, Untouched, PackageSum::kRecordBroken},
      {"a record of another size", {10, 1800, 16}, false, Untouched, PackageSum::kRecordBroken},
      {"data outside every section", {10, 1800, 12, "TCK1", 0x9000}, false, Untouched, PackageSum::kRecordBroken},
  };
  for (const DamageCase& c : cases) {
    Bytes bytes = Image(c.shape, 5000);
    if (c.fill) Fill(bytes);
    c.damage(bytes);
    EXPECT_EQ(Check(bytes), c.expected) << c.name;
  }
}

TEST(IntegrityRecord, HostileDirectoriesReadNothingOutsideTheFile) {
  Bytes bytes = Image({}, 100);
  // Counts and offsets that point far beyond the file.
  Put16(bytes, kResources + 14, 0xFFFF);
  Put32(bytes, kResources + 20, 0x8FFFFFF0);
  MemoryPackageFile file(bytes.data(), bytes.size(), "Setup.exe");
  EXPECT_EQ(FindIntegrityRecord(file).kind, IntegrityRecord::Kind::kNone);
  Bytes cut(bytes.begin(), bytes.begin() + kResources + 20);
  MemoryPackageFile short_file(cut.data(), cut.size(), "Setup.exe");
  EXPECT_EQ(FindIntegrityRecord(short_file).kind, IntegrityRecord::Kind::kNone);
}

}  // namespace
