// Guards the package directory as stored: the writer and the reader agree on
// every field, the check word is the one the setup has always used, a signed
// setup is read like an unsigned one, and every damaged or hostile directory
// ends in exactly one logged line without reading past a capacity.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "capture_logger.h"
#include "package/directory_parser.h"
#include "package/directory_writer.h"
#include "package/file_name_rules.h"
#include "package/package_directory.h"
#include "package/package_loader.h"
#include "package/pe_image.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kPayloadSize = 200;  // stands for image, skin and streams

void PutU16(Bytes& bytes, std::size_t at, std::uint16_t value) {
  bytes[at] = static_cast<std::uint8_t>(value);
  bytes[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

void PutU32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

FileRecord MakeRecord(const char* name, std::uint32_t offset, std::uint32_t size, std::uint8_t destination) {
  FileRecord record;
  record.name = name;  // copied into the list that takes the record
  record.stream_offset = offset;
  record.size = size;
  record.destination = destination;
  return record;
}

// A package of three files and two associations, directory at kPayloadSize.
PackageDirectory SamplePackage() {
  PackageDirectory package;
  package.header_offset = kPayloadSize;
  package.version = VersionRecord{1, 7, 0, 2, 13, 0};
  package.version.check_word = PackageCheckWord(package.version);
  package.product_name.Assign("Hello World");
  package.files.Add(MakeRecord("", 16, 40, 0));
  FileRecord& hello = package.files.Add(MakeRecord("Hello.exe", 56, 123456, 0));
  hello.shortcut_kind = 2;
  hello.service = 1;
  hello.icon_index = 3;
  hello.file_time = 0x01DC5A0B12345678;
  package.files.Add(MakeRecord("notes.txt", 120, 0, 2));
  package.display_icon.Assign("Hello.exe,1");
  package.association_count = 2;
  package.associations[0] = {Text("hlo"), Text("Hello.exe"), Text("Hello document"), 4, false};
  package.associations[1] = {Text("hlx"), Text("Hello.exe"), Text(""), 0, false};
  return package;
}

// The setup file: filler standing for everything before the directory.
Bytes FileOf(const PackageDirectory& package) {
  Bytes file(package.header_offset, 0xAA);
  Bytes directory = SerializePackageDirectory(package);
  file.insert(file.end(), directory.begin(), directory.end());
  return file;
}

struct LoadResult {
  bool loaded = false;
  std::vector<std::string> errors;
  PackageDirectory package;
};

LoadResult Load(const Bytes& file) {
  CaptureLogger logger;
  LoadResult result;
  MemoryPackageFile source(file.data(), file.size(), "C:\\setup.exe");
  try {
    LoadPackageDirectory(source, "C:\\setup.exe", result.package);
    result.loaded = true;
  } catch (const AbortError&) {
  }
  result.errors = logger.errors;
  return result;
}

void ExpectSameRecord(const FileRecord& a, const FileRecord& b) {
  EXPECT_EQ(a.shortcut_kind, b.shortcut_kind);
  EXPECT_EQ(a.icon_index, b.icon_index);
  EXPECT_EQ(a.service, b.service);
  EXPECT_EQ(a.destination, b.destination);
  EXPECT_EQ(a.stream_offset, b.stream_offset);
  EXPECT_EQ(a.file_time, b.file_time);
  EXPECT_EQ(a.size, b.size);
  EXPECT_STREQ(a.name, b.name);
}

// Offsets into FileOf(SamplePackage()).
constexpr std::size_t kDirectory = kPayloadSize;
constexpr std::size_t kNameLength = kDirectory + 8;
constexpr std::size_t kFileCount = kNameLength + 2 + 12;  // "Hello World" and its NUL
constexpr std::size_t kRecord1 = kFileCount + 2;
constexpr std::size_t kRecord2 = kRecord1 + 24;
constexpr std::size_t kRecord2Name = kRecord2 + 23;
constexpr std::size_t kRecord3 = kRecord2 + 23 + 10;
constexpr std::size_t kIconLength = kRecord3 + 23 + 10;
constexpr std::size_t kFirstAssociation = kIconLength + 2 + 12;

}  // namespace

TEST(PackageDirectory, CheckWordOfTheStoredVersion) {
  VersionRecord english_1_0{0, 0, 0, 1, 0, 0};
  EXPECT_EQ(PackageCheckWord(english_1_0), 0x4930);
  english_1_0.check_word = PackageCheckWord(english_1_0);
  std::uint8_t stored[kVersionRecordSize];
  EncodeVersion(english_1_0, stored);
  const std::uint8_t expected[] = {0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x30, 0x49};
  EXPECT_EQ(0, std::memcmp(stored, expected, sizeof expected));

  // The sum wraps at 65536: 255 * 4 + 65535 = 66555, kept as 1019.
  VersionRecord wrapping{255, 255, 255, 255, 65535, 0};
  EXPECT_EQ(PackageCheckWord(wrapping), 1019 ^ 0x4931);
}

TEST(PackageDirectory, WrittenDirectoryReadsBackFieldForField) {
  PackageDirectory written = SamplePackage();
  LoadResult read = Load(FileOf(written));
  ASSERT_TRUE(read.loaded) << (read.errors.empty() ? "" : read.errors[0]);
  const PackageDirectory& package = read.package;
  EXPECT_EQ(package.header_offset, kPayloadSize);
  EXPECT_EQ(0, std::memcmp(&package.version, &written.version, sizeof package.version));
  EXPECT_STREQ(package.product_name.c_str(), "Hello World");
  ASSERT_EQ(package.FileCount(), 3);
  for (std::size_t number = 1; number <= 3; ++number) ExpectSameRecord(package.Record(number), written.Record(number));
  EXPECT_STREQ(package.display_icon.c_str(), "Hello.exe,1");
  ASSERT_EQ(package.association_count, 2);
  EXPECT_STREQ(package.associations[0].extension.c_str(), "hlo");
  EXPECT_STREQ(package.associations[0].program.c_str(), "Hello.exe");
  EXPECT_STREQ(package.associations[0].third.c_str(), "Hello document");
  EXPECT_EQ(package.associations[0].icon_index, 4);
  EXPECT_STREQ(package.associations[1].third.c_str(), "");
  EXPECT_TRUE(package.has_data_folder);  // destination 2 counts

  // Lookups ignore case and never match record 1.
  EXPECT_EQ(FindFileRecord(package, "NOTES.TXT"), 3u);
  EXPECT_EQ(FindFileRecord(package, ""), 0u);
  EXPECT_EQ(FindFileRecord(package, "missing.dll"), 0u);
  ASSERT_NE(FindAssociation(package, "HLX"), nullptr);
  EXPECT_EQ(FindAssociation(package, "HLX"), &package.associations[1]);
  EXPECT_EQ(FindAssociation(package, "txt"), nullptr);

  // What the builder writes is what it reads back.
  EXPECT_EQ(SerializePackageDirectory(package), SerializePackageDirectory(written));
}

TEST(PackageDirectory, AssociationTextsFoundThroughTheirOffsets) {
  PackageDirectory package = SamplePackage();
  package.association_count = 0;
  Bytes file = FileOf(package);
  // The extension opens the block; the third text is stored before the
  // program, with a gap: extension at 0, third at 4, program at 9.
  const char block[] = "hlo\0Doc\0\0Hello.exe";
  Bytes entry = {sizeof block, 0};
  entry.insert(entry.end(), block, block + sizeof block);
  entry.insert(entry.end(), {9, 0, 4, 0, 7, 0});
  file.insert(file.end() - 6, entry.begin(), entry.end());  // before the end mark and trailer
  LoadResult read = Load(file);
  ASSERT_TRUE(read.loaded) << (read.errors.empty() ? "" : read.errors[0]);
  ASSERT_EQ(read.package.association_count, 1);
  EXPECT_STREQ(read.package.associations[0].extension.c_str(), "hlo");
  EXPECT_STREQ(read.package.associations[0].program.c_str(), "Hello.exe");
  EXPECT_STREQ(read.package.associations[0].third.c_str(), "Doc");
  EXPECT_EQ(read.package.associations[0].icon_index, 7);
}

TEST(PackageDirectory, PackageWithoutAssociationsOrDataFiles) {
  PackageDirectory package = SamplePackage();
  package.association_count = 0;
  package.files.RemoveLast();
  LoadResult read = Load(FileOf(package));
  ASSERT_TRUE(read.loaded);
  EXPECT_EQ(read.package.association_count, 0);
  EXPECT_FALSE(read.package.has_data_folder);
}

TEST(PackageDirectory, DamagedOrHostileDirectoriesAreRefusedWithOneLine) {
  const std::string read_error = "Error reading file: C:\\setup.exe";
  const std::string invalid = "Invalid Tarnell software package";
  struct Case {
    const char* what;
    std::function<void(PackageDirectory&)> change_package;
    std::function<void(Bytes&)> change_bytes;
    std::string line;
  };
  auto rename = [](std::size_t number, const char* name) {
    return [=](PackageDirectory& p) { p.files.Rename(number, name); };
  };
  const Case cases[] = {
      {"flipped check word", nullptr, [](Bytes& f) { f[kDirectory + 6] ^= 0x01; }, invalid + "."},
      {"truncated directory", nullptr, [](Bytes& f) { f.erase(f.begin() + kRecord3, f.end() - 4); }, read_error},
      {"trailer pointing outside", nullptr, [](Bytes& f) { PutU32(f, f.size() - 4, 0x7FFFFFF0); }, read_error},
      {"trailer pointing at itself", nullptr,
       [](Bytes& f) { PutU32(f, f.size() - 4, static_cast<std::uint32_t>(f.size() - 4)); }, read_error},
      {"file shorter than a trailer", nullptr, [](Bytes& f) { f.resize(3); }, read_error},
      {"21 file records", nullptr, [](Bytes& f) { PutU16(f, kFileCount, 21); },
       invalid + ": more than 20 file records"},
      {"no file record", nullptr, [](Bytes& f) { PutU16(f, kFileCount, 0); }, invalid + ": no skin archive record"},
      {"record of 23 bytes", nullptr, [](Bytes& f) { PutU16(f, kRecord2, 23); },
       invalid + ": a file record is shorter than 24 bytes"},
      {"file name of 514 bytes", nullptr, [](Bytes& f) { PutU16(f, kRecord2, 23 + 514); },
       invalid + ": a file name is longer than 512 characters"},
      {"file name without NUL", nullptr, [](Bytes& f) { f[kRecord2Name + 9] = 'x'; },
       invalid + ": a file name is not terminated"},
      {"product name of 514 bytes", nullptr, [](Bytes& f) { PutU16(f, kNameLength, 514); },
       invalid + ": the product name is longer than 512 characters"},
      {"display icon of 514 bytes", nullptr, [](Bytes& f) { PutU16(f, kIconLength, 514); },
       invalid + ": the display icon is longer than 512 characters"},
      {"a fifth association",
       [](PackageDirectory& p) {
         p.association_count = 4;
         for (auto& entry : p.associations) entry = {Text("a"), Text("Hello.exe"), Text(""), 0, false};
       },
       [](Bytes& f) {
         f.insert(f.end() - 6, {4, 0, 'b', 0, 'x', 0, 2, 0, 3, 0, 0, 0});
       },
       invalid + ": more than 4 file associations"},
      {"association text offset past its block", nullptr, [](Bytes& f) { PutU16(f, kFirstAssociation + 2 + 29, 29); },
       invalid + ": a file association text lies outside its entry"},
      {"association block without NUL", nullptr, [](Bytes& f) { f[kFirstAssociation + 2 + 28] = 'x'; },
       invalid + ": a file association text is not terminated"},
      {"file name ..\\x.dll", rename(2, "..\\x.dll"), nullptr,
       invalid + ": unsafe file name \"..\\x.dll\", which is a folder reference, not a file name"},
      {"file name ..", rename(3, ".."), nullptr,
       invalid + ": unsafe file name \"..\", which is a folder reference, not a file name"},
      {"file name . .", rename(3, ". ."), nullptr,
       invalid + ": unsafe file name \". .\", which ends with a dot or blank (Windows drops them)"},
      {"file name with slash", rename(2, "sub/x.dll"), nullptr,
       invalid + ": unsafe file name \"sub/x.dll\", which holds a path separator"},
      {"file name with drive", rename(2, "C:x.dll"), nullptr,
       invalid + ": unsafe file name \"C:x.dll\", which holds a drive colon"},
      {"empty file name", rename(3, ""), nullptr, invalid + ": unsafe file name \"\", which is empty"},
      {"product name with backslash", [](PackageDirectory& p) { p.product_name.Assign("Tools\\Hello"); }, nullptr,
       invalid + ": unsafe product name \"Tools\\Hello\", which holds a path separator"},
      {"empty product name", [](PackageDirectory& p) { p.product_name.Clear(); }, nullptr,
       invalid + ": unsafe product name \"\", which is empty"},
      {"extension with backslash", [](PackageDirectory& p) { p.associations[1].extension.Assign("txt\\shell"); },
       nullptr, invalid + ": unsafe file extension \"txt\\shell\""},
      {"stream at the directory", [](PackageDirectory& p) { p.Record(3).stream_offset = kPayloadSize; }, nullptr,
       invalid + ": the data of \"notes.txt\" lies outside the package"},
      {"skin archive running into the directory", [](PackageDirectory& p) { p.files.Skin().size = kPayloadSize; },
       nullptr, invalid + ": the skin archive lies outside the package data"},
  };
  for (const Case& c : cases) {
    PackageDirectory package = SamplePackage();
    if (c.change_package) c.change_package(package);
    Bytes file = FileOf(package);
    if (c.change_bytes) c.change_bytes(file);
    LoadResult read = Load(file);
    EXPECT_FALSE(read.loaded) << c.what;
    EXPECT_EQ(read.errors, std::vector<std::string>{c.line}) << c.what;
  }
}

// Hand-made packages with names the builder never writes: each would make a
// later install or uninstall fail for good or turn one record against
// another. Names beside them that Windows takes are still read.
TEST(PackageDirectory, HostileNamesAreRefusedWithALineNamingTheProblem) {
  const std::string invalid = "Invalid Tarnell software package: ";
  auto rename = [](std::size_t number, std::string name) {
    return [=](PackageDirectory& p) { p.files.Rename(number, name.c_str()); };
  };
  auto unsafe = [&](const std::string& name, const char* why) {
    return invalid + "unsafe file name \"" + name + "\", which " + why;
  };
  const char* device = "is a device name on Windows";
  const char* refused = "holds one of <>\"|?* (Windows refuses them)";
  const std::string long_name = std::string(252, 'x') + ".db";
  const char* dropped = "ends with a dot or blank (Windows drops them)";
  auto add_fourth = [](const char* third, const char* fourth) {
    return [=](PackageDirectory& p) {
      p.files.Rename(3, third);
      p.files.Add(MakeRecord(fourth, 120, 0, 2));
    };
  };
  struct Case {
    const char* what;
    std::function<void(PackageDirectory&)> change;
    std::string line;  // empty: the package is read
  };
  const Case cases[] = {
      {"NUL", rename(3, "NUL"), unsafe("NUL", device)},
      {"nul with an extension and blank", rename(3, "nul .txt"), unsafe("nul .txt", device)},
      {"COM1", rename(3, "COM1"), unsafe("COM1", device)},
      {"LPT1.txt", rename(3, "LPT1.txt"), unsafe("LPT1.txt", device)},
      {"COM superscript 2", rename(3, "COM\xB2.log"), unsafe("COM\xB2.log", device)},
      {"CONOUT$", rename(3, "conout$.txt"), unsafe("conout$.txt", device)},
      {"trailing dot", rename(2, "Hello.exe."), unsafe("Hello.exe.", dropped)},
      {"trailing blank", rename(2, "Hello.exe "), unsafe("Hello.exe ", dropped)},
      {"tab", rename(3, "a\tb.txt"), unsafe("a\tb.txt", "holds a control character")},
      {"less than", rename(3, "a<b"), unsafe("a<b", refused)},
      {"greater than", rename(3, "a>b"), unsafe("a>b", refused)},
      {"double quote", rename(3, "a\"b"), unsafe("a\"b", refused)},
      {"pipe", rename(3, "a|b"), unsafe("a|b", refused)},
      {"question mark", rename(3, "a?b"), unsafe("a?b", refused)},
      {"star", rename(3, "*.txt"), unsafe("*.txt", refused)},
      {"256 characters", rename(3, "x" + long_name), unsafe("x" + long_name, "is longer than 255 characters")},
      {"two files differing in case", rename(3, "hello.EXE"),
       invalid + "\"Hello.exe\" and \"hello.EXE\" name one file"},
      {"two files differing in accented case",
       [](PackageDirectory& p) {
         p.files.Rename(2, "\xC9t\xE9.exe");
         p.files.Rename(3, "\xE9T\xC9.EXE");
         p.association_count = 0;
       },
       invalid + "\"\xC9t\xE9.exe\" and \"\xE9T\xC9.EXE\" name one file"},
      {"two services of one name",
       [](PackageDirectory& p) {
         p.files.Rename(3, "HELLO.Agent.exe");
         p.Record(3).service = 1;
         p.Record(3).destination = 0;
       },
       invalid + "the services of \"Hello.exe\" and \"HELLO.Agent.exe\" have one name"},
      {"service without a name", rename(2, ".exe"), invalid + "the service file \".exe\" gives its service no name"},
      // The data folder is the users' as well: a file kept there could be theirs.
      {"service in the data folder",
       [](PackageDirectory& p) {
         p.files.Rename(3, "Agent.exe");
         p.Record(3).service = 1;
         p.Record(3).destination = 1;
       },
       invalid + "the service file \"Agent.exe\" is not in the program folder"},
      {"service left untouched in the data folder", [](PackageDirectory& p) { p.Record(3).service = 1; },
       invalid + "the service file \"notes.txt\" is not in the program folder"},
      {"destination 3", [](PackageDirectory& p) { p.Record(3).destination = 3; },
       invalid + "\"notes.txt\" has no known destination"},
      {"destination 255", [](PackageDirectory& p) { p.Record(2).destination = 255; },
       invalid + "\"Hello.exe\" has no known destination"},
      {"a short name beside the long name it stands for", add_fourth("Hello notes.txt", "hellon~1.TXT"),
       invalid + "\"Hello notes.txt\" and \"hellon~1.TXT\" name one file"},
      {"a long name after the short name it may get",
       [](PackageDirectory& p) {
         p.files.Rename(2, "LONGNA~2.EXE");
         p.files.Rename(3, "Long Name.exe");
         p.association_count = 0;
       },
       invalid + "\"LONGNA~2.EXE\" and \"Long Name.exe\" name one file"},
      {"association program that is no product file",
       [](PackageDirectory& p) { p.associations[1].program.Assign("C:\\Windows\\regedit.exe"); },
       invalid + "files of type \"hlx\" open with \"C:\\Windows\\regedit.exe\", which is no program file"},
      {"association program in the data folder",
       [](PackageDirectory& p) { p.associations[0].program.Assign("notes.txt"); },
       invalid + "files of type \"hlo\" open with \"notes.txt\", which is no program file"},
      {"extension associated twice", [](PackageDirectory& p) { p.associations[1].extension.Assign("HLO"); },
       invalid + "the file extension \"HLO\" is associated twice"},
      {"extension with a dot", [](PackageDirectory& p) { p.associations[1].extension.Assign("tar.gz"); },
       invalid + "unsafe file extension \"tar.gz\""},
      // Associated with the product, these would run it in place of every such file.
      {"extension that runs code", [](PackageDirectory& p) { p.associations[1].extension.Assign("Exe"); },
       invalid + "unsafe file extension \"Exe\""},
      {"script extension", [](PackageDirectory& p) { p.associations[0].extension.Assign("VBS"); },
       invalid + "unsafe file extension \"VBS\""},
      {"extensions that only begin like code", [](PackageDirectory& p) { p.associations[1].extension.Assign("exec"); },
       ""},
      {"device product name", [](PackageDirectory& p) { p.product_name.Assign("AUX"); },
       invalid + "unsafe product name \"AUX\", which is a device name on Windows"},
      {"product name with a star", [](PackageDirectory& p) { p.product_name.Assign("Hello*"); },
       invalid + "unsafe product name \"Hello*\", which " + refused},
      {"255 characters", rename(3, long_name), ""},
      {"names that only begin like devices", rename(3, "CONFIG.SYS"), ""},
      {"COM10 and NULL", [](PackageDirectory& p) { p.files.Rename(3, "COM10.NULL.txt"); }, ""},
      {"a short name of another stem", add_fourth("Hello notes.txt", "HELP~1.TXT"), ""},
      {"a short name of another extension", add_fourth("Hello notes.txt", "HELLON~1.DOC"), ""},
      // A name that is a short name itself gets none.
      {"a short-name pattern beside a short name", add_fourth("Hello.txt", "HELLO~1.TXT"), ""},
      {"a second service of another name",
       [](PackageDirectory& p) {
         p.files.Rename(3, "Helper.exe");
         p.Record(3).service = 1;
         p.Record(3).destination = 0;
       },
       ""},
  };
  for (const Case& c : cases) {
    PackageDirectory package = SamplePackage();
    c.change(package);
    LoadResult read = Load(FileOf(package));
    EXPECT_EQ(read.loaded, c.line.empty()) << c.what;
    EXPECT_EQ(read.errors, c.line.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.line}) << c.what;
  }
}

TEST(PackageDirectory, ExecutableWithoutPackageIsRefused) {
  Bytes program(3000, 0);
  program[0] = 'M';
  program[1] = 'Z';
  LoadResult read = Load(program);
  EXPECT_FALSE(read.loaded);
  ASSERT_EQ(read.errors.size(), 1u);
  // Its last four bytes point at offset 0: the version there fails its check.
  EXPECT_EQ(read.errors[0], "Invalid Tarnell software package.");
}

namespace {

// The headers of a PE image (PE32 or PE32+) with the given security entry.
Bytes PeHead(bool pe32_plus, std::uint32_t certificate_offset, std::uint32_t certificate_size) {
  Bytes head(0x200, 0);
  head[0] = 'M';
  head[1] = 'Z';
  PutU32(head, 0x3C, 0x80);
  std::memcpy(head.data() + 0x80, "PE\0\0", 4);
  std::size_t optional = 0x80 + 24;
  std::size_t count_field = pe32_plus ? 108 : 92;
  PutU16(head, 0x80 + 20, static_cast<std::uint16_t>(count_field + 4 + 16 * 8));
  PutU16(head, optional, pe32_plus ? 0x20B : 0x10B);
  PutU32(head, optional + count_field, 16);
  PutU32(head, optional + count_field + 4 + 4 * 8, certificate_offset);
  PutU32(head, optional + count_field + 4 + 4 * 8 + 4, certificate_size);
  return head;
}

}  // namespace

TEST(PackageDirectory, SignedSetupReadsLikeTheUnsignedOne) {
  for (bool pe32_plus : {false, true}) {
    PackageDirectory package = SamplePackage();
    package.header_offset = 0x200;
    Bytes unsigned_file = PeHead(pe32_plus, 0, 0);
    Bytes directory = SerializePackageDirectory(package);
    unsigned_file.insert(unsigned_file.end(), directory.begin(), directory.end());
    ASSERT_TRUE(Load(unsigned_file).loaded);

    // Signing names a table that it appends behind the trailer.
    auto table_at = static_cast<std::uint32_t>(unsigned_file.size());
    Bytes signed_file = PeHead(pe32_plus, table_at, 24);
    signed_file.insert(signed_file.end(), unsigned_file.begin() + 0x200, unsigned_file.end());
    signed_file.insert(signed_file.end(), 24, 0x5A);
    EXPECT_EQ(PackageDataEnd(signed_file.data(), signed_file.size(), signed_file.size()), table_at);
    LoadResult read = Load(signed_file);
    ASSERT_TRUE(read.loaded) << pe32_plus;
    EXPECT_EQ(SerializePackageDirectory(read.package), directory);

    // A table that does not end the file belongs to the image, not to us.
    Bytes inner = PeHead(pe32_plus, 0x100, 16);
    EXPECT_EQ(PackageDataEnd(inner.data(), inner.size(), 5000), 5000u);
  }
}

TEST(PackageDirectory, PeHeadersThatRunOutAreNoImage) {
  Bytes head = PeHead(false, 0x1000, 8);
  EXPECT_TRUE(ReadPeImageInfo(head.data(), head.size()).is_pe);
  for (std::size_t cut : {0u, 0x3Fu, 0x84u, 0x80u + 24u, 0x80u + 24u + 95u}) {
    EXPECT_EQ(ReadPeImageInfo(head.data(), cut).certificate_offset, 0u) << cut;
  }
  PutU32(head, 0x3C, 0xFFFFFFF0);  // PE header far outside
  EXPECT_FALSE(ReadPeImageInfo(head.data(), head.size()).is_pe);
}

namespace {

// SamplePackage with its product files replaced by `paths`, each in the
// program folder, streams one byte apart.
PackageDirectory TreePackage(const std::vector<std::string>& paths) {
  PackageDirectory package = SamplePackage();
  package.files.Clear();
  package.files.Add(MakeRecord("", 16, 40, 0));
  std::uint32_t offset = 56;
  for (const std::string& path : paths) package.files.Add(MakeRecord(path.c_str(), offset++ % kPayloadSize, 1, 0));
  package.association_count = 0;
  package.display_icon.Clear();
  return package;
}

std::vector<std::string> FlatNames(std::size_t count) {
  std::vector<std::string> names;
  for (std::size_t i = 0; i < count; ++i) names.push_back("file" + std::to_string(i) + ".dat");
  return names;
}

std::uint16_t U16At(const Bytes& bytes, std::size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8);
}

}  // namespace

// The flat layout holds 19 product files without folders; one more file, a
// subfolder or a copy without streams takes the extended layout, whose count
// field (0xFFFF) every earlier reader refuses as "more than 20 file records".
TEST(PackageDirectory, LayoutIsFlatWhileThePackageFitsIt) {
  std::vector<std::string> nested = FlatNames(18);
  nested.push_back("bin\\plugins\\codec.dll");
  struct Case {
    const char* what;
    PackageDirectory package;
    bool extended;
  };
  PackageDirectory copy = TreePackage(FlatNames(3));
  copy.without_streams = true;
  const Case cases[] = {
      {"19 flat files", TreePackage(FlatNames(19)), false},
      {"20 flat files", TreePackage(FlatNames(20)), true},
      {"a file in a subfolder", TreePackage(nested), true},
      {"a copy without streams", copy, true},
  };
  for (const Case& c : cases) {
    Bytes file = FileOf(c.package);
    EXPECT_EQ(NeedsExtendedDirectory(c.package), c.extended) << c.what;
    if (!c.extended) {
      EXPECT_EQ(U16At(file, kFileCount), c.package.FileCount()) << c.what;
    } else {
      EXPECT_EQ(U16At(file, kFileCount), 0xFFFF) << c.what;
      EXPECT_EQ(U16At(file, kFileCount + 2), kExtendedFormat) << c.what;
    }
    LoadResult read = Load(file);
    ASSERT_TRUE(read.loaded) << c.what << ": " << (read.errors.empty() ? "" : read.errors[0]);
    ASSERT_EQ(read.package.FileCount(), c.package.FileCount()) << c.what;
    for (std::size_t number = 1; number <= c.package.FileCount(); ++number) {
      ExpectSameRecord(read.package.Record(number), c.package.Record(number));
    }
    EXPECT_EQ(read.package.without_streams, c.package.without_streams) << c.what;
    EXPECT_EQ(SerializePackageDirectory(read.package), SerializePackageDirectory(c.package)) << c.what;
  }
}

TEST(PackageDirectory, HundredThousandFilesInFoldersAreRead) {
  std::vector<std::string> paths;
  for (int i = 0; i < 100000; ++i) {
    paths.push_back("lib\\part" + std::to_string(i % 97) + "\\sub" + std::to_string(i % 7) + "\\f" + std::to_string(i) +
                    ".bin");
  }
  PackageDirectory package = TreePackage(paths);
  package.header_offset = kPayloadSize;
  LoadResult read = Load(FileOf(package));
  ASSERT_TRUE(read.loaded) << (read.errors.empty() ? "" : read.errors[0]);
  ASSERT_EQ(read.package.FileCount(), 100001u);
  EXPECT_STREQ(read.package.Record(100001).name, "lib\\part89\\sub4\\f99999.bin");
  // The copy the setup keeps of the installed product points into its own names.
  PackageDirectory copy = read.package;
  read.package = PackageDirectory{};
  EXPECT_STREQ(copy.Record(2).name, "lib\\part0\\sub0\\f0.bin");
}

// Hand-made extended directories: every part of a path is held to the rules
// of a file name, no two paths meet in one file or folder, and a directory of
// a later format or with more records than its bytes hold is refused.
TEST(PackageDirectory, HostilePathsInAnExtendedDirectoryAreRefused) {
  const std::string invalid = "Invalid Tarnell software package: ";
  auto unsafe = [&](const std::string& name, const char* why) {
    return invalid + "unsafe file name \"" + name + "\", which " + why;
  };
  const std::string later = invalid + "its directory was made by a later version of Tarnell Setup";
  struct Case {
    const char* what;
    std::vector<std::string> paths;
    std::function<void(Bytes&)> change_bytes;
    std::string line;
  };
  const Case cases[] = {
      {"parent folder",
       {"bin\\..\\..\\evil.dll"},
       nullptr,
       unsafe("bin\\..\\..\\evil.dll", "is a folder reference, not a file name")},
      {"leading separator",
       {"\\Windows\\evil.dll"},
       nullptr,
       unsafe("\\Windows\\evil.dll", "holds an empty folder name")},
      {"doubled separator", {"bin\\\\a.dll"}, nullptr, unsafe("bin\\\\a.dll", "holds an empty folder name")},
      {"trailing separator", {"bin\\"}, nullptr, unsafe("bin\\", "holds an empty folder name")},
      {"drive", {"C:\\evil.dll"}, nullptr, unsafe("C:\\evil.dll", "holds a drive colon")},
      {"slash", {"bin/a.dll"}, nullptr, unsafe("bin/a.dll", "holds a path separator")},
      {"device folder", {"bin\\CON\\a.dll"}, nullptr, unsafe("bin\\CON\\a.dll", "is a device name on Windows")},
      {"folder with a trailing dot",
       {"bin.\\a.dll"},
       nullptr,
       unsafe("bin.\\a.dll", "ends with a dot or blank (Windows drops them)")},
      {"case duplicate",
       {"Bin\\A.dll", "x.txt", "bIN\\a.DLL"},
       nullptr,
       invalid + "\"Bin\\A.dll\" and \"bIN\\a.DLL\" name one file"},
      {"file that is a folder",
       {"bin\\sub\\a.dll", "BIN\\Sub"},
       nullptr,
       invalid + "\"BIN\\Sub\" is a file and the folder of \"bin\\sub\\a.dll\""},
      {"later format", {"bin\\a.dll"}, [](Bytes& f) { f[kFileCount + 2] = 3; }, later},
      {"unknown flag", {"bin\\a.dll"}, [](Bytes& f) { f[kFileCount + 4] = 2; }, later},
      {"count beyond the bytes",
       {"bin\\a.dll"},
       [](Bytes& f) { PutU32(f, kFileCount + 6, 0x40000000); },
       "Error reading file: C:\\setup.exe"},
      {"separator in the flat layout",
       {"a.dll"},
       [](Bytes& f) { f[kRecord2 + 23] = '\\'; },
       unsafe("\\.dll", "holds a path separator")},
  };
  for (const Case& c : cases) {
    Bytes file = FileOf(TreePackage(c.paths));
    if (c.change_bytes) c.change_bytes(file);
    LoadResult read = Load(file);
    EXPECT_FALSE(read.loaded) << c.what;
    EXPECT_EQ(read.errors, std::vector<std::string>{c.line}) << c.what;
  }
  // A service runs a program-folder file by the name before its first dot.
  PackageDirectory service = TreePackage({"bin\\agent.exe"});
  service.files.Record(2).service = 1;
  LoadResult read = Load(FileOf(service));
  EXPECT_EQ(read.errors, std::vector<std::string>{invalid + "the service file \"bin\\agent.exe\" lies in a subfolder"});
}

// A short (8.3) name meets the long name it may stand for only in one folder,
// at any depth and as a file or a folder, whatever the case of the folders
// above; the case rules are looked at first.
TEST(PackageDirectory, ShortNamesBesideTheirLongNamesAreRefusedInEveryFolder) {
  const std::string invalid = "Invalid Tarnell software package: ";
  std::vector<std::string> flat = FlatNames(23);  // more than the flat layout holds
  flat.insert(flat.begin() + 4, "Read me first.txt");
  flat.push_back("readme~2.TXT");
  struct Case {
    const char* what;
    std::vector<std::string> paths;
    std::string line;  // empty: the package is read
  };
  const Case cases[] = {
      {"a short file name in a subfolder",
       {"Sub\\Long Name.exe", "Sub\\x.txt", "Sub\\LONGNA~1.EXE"},
       invalid + "\"Sub\\Long Name.exe\" and \"Sub\\LONGNA~1.EXE\" name one file"},
      {"the long name after the short one",
       {"a\\b\\LONGNA~3.EXE", "a\\b\\Long.Name.exe"},
       invalid + "\"a\\b\\LONGNA~3.EXE\" and \"a\\b\\Long.Name.exe\" name one file"},
      {"an extended directory without folders", flat,
       invalid + "\"Read me first.txt\" and \"readme~2.TXT\" name one file"},
      {"a folder by its short name",
       {"PROGRA~1\\a.txt", "Program Files\\b.txt"},
       invalid + "\"PROGRA~1\" and \"Program Files\" name one folder"},
      {"a deep folder below folders differing in case",
       {"bin\\Plug Ins\\x\\a.dll", "BIN\\PLUGIN~1\\y.dll"},
       invalid + "\"bin\\Plug Ins\" and \"BIN\\PLUGIN~1\" name one folder"},
      {"folders of one name in Windows' case",
       {"\xC4rger\\Long Name.txt", "\xE4RGER\\LONGNA~1.TXT"},
       invalid + "\"\xC4rger\\Long Name.txt\" and \"\xE4RGER\\LONGNA~1.TXT\" name one file"},
      {"folders of one name in the setup's case",
       {"\x84rger\\Long Name.txt", "\xC4RGER\\LONGNA~1.TXT"},
       invalid + "\"\x84rger\\Long Name.txt\" and \"\xC4RGER\\LONGNA~1.TXT\" name one file"},
      {"a file by the short name of a folder",
       {"Data Files\\a.txt", "DATAFI~1"},
       invalid + "\"Data Files\" and \"DATAFI~1\" name one folder"},
      {"a file by the long name of a folder",
       {"LONGNA~1\\a.txt", "Long name"},
       invalid + "\"LONGNA~1\" and \"Long name\" name one folder"},
      {"a case duplicate before a short name",
       {"Long Name.exe", "LONGNA~1.EXE", "a\\x.txt", "A\\X.TXT"},
       invalid + "\"a\\x.txt\" and \"A\\X.TXT\" name one file"},
      {"short and long names in different folders", {"a\\Long Name.exe", "b\\LONGNA~1.EXE"}, ""},
      {"a short name one folder deeper", {"Long Name.exe", "Long Name.dir\\LONGNA~1.EXE"}, ""},
      {"a folder's short name inside it", {"Program Files\\PROGRA~1"}, ""},
      {"a short name of another extension", {"Sub\\Long Name.exe", "Sub\\LONGNA~1.DLL"}, ""},
  };
  for (const Case& c : cases) {
    LoadResult read = Load(FileOf(TreePackage(c.paths)));
    EXPECT_EQ(read.loaded, c.line.empty()) << c.what;
    EXPECT_EQ(read.errors, c.line.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.line}) << c.what;
  }
}

// Short names are sorted, not compared pair by pair: half of a hundred
// thousand paths are short names of the stem and extension of the other
// half's long names, in other folders, and one more, beside hundreds of them,
// names the first record it meets.
TEST(PackageDirectory, HundredThousandPathsAreCheckedForShortNamesAtOnce) {
  std::vector<std::string> paths;
  for (int i = 0; i < 100000; ++i) {
    paths.push_back(i % 2 == 0 ? "part" + std::to_string(i % 97) + "\\Long name " + std::to_string(i) + ".doc"
                               : "more" + std::to_string(i % 89) + "\\L~" + std::to_string(i) + ".DOC");
  }
  paths.push_back("PART3\\l~1.doc");
  LoadResult read = Load(FileOf(TreePackage(paths)));
  EXPECT_EQ(read.errors, std::vector<std::string>{"Invalid Tarnell software package: \"part3\\Long name 100.doc\" and "
                                                  "\"PART3\\l~1.doc\" name one file"});
}

// One check for every size: a flat package is refused with the line that
// comparing each record with the ones before it gives, or read.
TEST(PackageDirectory, FlatPackagesNameTheFirstPairOfOneFile) {
  const char* const pool[] = {"Long Name.exe", "LONGNA~1.EXE",  "longna~2.exe", "LONGN~10.EXE",      "Long.exe",
                              "LONG~1.EXE",    "Long.name.exe", "L~1.EXE",      "Hello notes.txt",   "HELLON~1.TXT",
                              "hellon~1.doc",  "HELP~1.TXT",    "Hello.txt",    "HELLO~1.TXT",       "A+B long.txt",
                              "A_BLON~1.TXT",  "A+BLON~1.TXT",  "a.txt",        "Read me.first.txt", "README~1.TXT"};
  constexpr std::size_t kPool = sizeof pool / sizeof pool[0];
  std::uint32_t state = 7;
  auto next = [&](std::uint32_t below) {
    state = state * 1103515245u + 12345u;
    return (state >> 16) % below;
  };
  int refused = 0;
  for (int trial = 0; trial < 400; ++trial) {
    std::vector<std::size_t> order(kPool);
    for (std::size_t i = 0; i < kPool; ++i) order[i] = i;
    for (std::size_t i = kPool - 1; i > 0; --i) std::swap(order[i], order[next(static_cast<std::uint32_t>(i + 1))]);
    std::vector<std::string> names(2 + next(18));
    for (std::size_t i = 0; i < names.size(); ++i) names[i] = pool[order[i]];
    std::string line;
    for (std::size_t later = 1; later < names.size() && line.empty(); ++later) {
      for (std::size_t earlier = 0; earlier < later && line.empty(); ++earlier) {
        if (SameWindowsName(names[earlier].c_str(), names[later].c_str())) {
          line =
              "Invalid Tarnell software package: \"" + names[earlier] + "\" and \"" + names[later] + "\" name one file";
        }
      }
    }
    refused += !line.empty();
    LoadResult read = Load(FileOf(TreePackage(names)));
    EXPECT_EQ(read.errors, line.empty() ? std::vector<std::string>{} : std::vector<std::string>{line})
        << ::testing::PrintToString(names);
  }
  EXPECT_GT(refused, 100);
  EXPECT_LT(refused, 390);
}
