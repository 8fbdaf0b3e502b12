// Guards the setup's side of the package on real files under Windows: the
// reader fills the record from a setup file (signed or not) and reports each
// failure with its one line, the setup copy of a patch is no patch and
// reads back, that of a tree carries no streams, and extraction writes exactly the bytes and the file time of
// each record, keeps existing data files when asked and refuses short streams.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "app/install_files.h"
#include "capture_logger.h"
#include "folder_listing.h"
#include "fs/machine_calls.h"
#include "fs/source_stream.h"
#include "handles/owned_handle.h"
#include "inflate/inflate_state.h"
#include "package/directory_writer.h"
#include "package/extract_file.h"
#include "package/pe_checksum.h"
#include "package/read_package.h"
#include "package/setup_copy.h"
#include "test_folder.h"

namespace {

using Bytes = std::string;

// Raw DEFLATE in stored blocks, or the empty fixed block for no data: what
// any encoder may write, and the setup's decoder accepts.
Bytes StoredStream(const Bytes& data) {
  if (data.empty()) return Bytes("\x03\x00", 2);
  Bytes stream;
  for (std::size_t at = 0; at < data.size(); at += 65535) {
    std::size_t n = std::min<std::size_t>(65535, data.size() - at);
    stream += static_cast<char>(at + n == data.size() ? 1 : 0);
    char lengths[4] = {static_cast<char>(n), static_cast<char>(n >> 8), static_cast<char>(~n),
                       static_cast<char>(~n >> 8)};
    stream.append(lengths, 4);
    stream.append(data, at, n);
  }
  return stream;
}

struct ProductFile {
  std::string name;
  Bytes content;
  std::uint8_t destination;
  std::uint64_t file_time;
};

// A setup: a stand-in program image, a small skin, one stream per file, the
// directory and the trailer.
Bytes MakeSetup(const std::vector<ProductFile>& files, bool patch, PackageDirectory& package) {
  Bytes setup(512, 'P');
  setup[0] = 'M';
  setup[1] = 'Z';
  package = PackageDirectory{};
  package.version = VersionRecord{0, 0, static_cast<std::uint8_t>(patch ? 1 : 0), 3, 7, 0};
  package.version.check_word = PackageCheckWord(package.version);
  package.product_name.Assign("Hello");
  package.display_icon.Assign("Hello.exe,0");
  FileRecord skin;
  skin.stream_offset = static_cast<std::uint32_t>(setup.size());
  skin.size = 100;
  package.files.Add(skin);
  setup += Bytes(100, '\0');
  for (const ProductFile& file : files) {
    FileRecord& record = package.files.Add(FileRecord{}, file.name.c_str());
    record.destination = file.destination;
    record.file_time = file.file_time;
    record.size = static_cast<std::uint32_t>(file.content.size());
    record.stream_offset = static_cast<std::uint32_t>(setup.size());
    setup += StoredStream(file.content);
  }
  package.association_count = 1;
  package.associations[0] = {Text("hlo"), Text("Hello.exe"), Text("Hello document"), 2, false};
  package.header_offset = static_cast<std::uint32_t>(setup.size());
  std::vector<std::uint8_t> directory = SerializePackageDirectory(package);
  return setup + Bytes(directory.begin(), directory.end());
}

std::uint64_t FileTimeOf(const std::string& path) {
  KernelHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  FILETIME time{};
  GetFileTime(file.Get(), nullptr, nullptr, &time);
  return std::uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime;
}

const std::vector<ProductFile> kFiles = {
    {"Hello.exe", Bytes(70000, 'h') + "end", 0, 0x01DC5A0B12345677},  // an odd 100 ns count
    {"empty.cfg", "", 0, 0x01D0000000000001},
    {"notes.txt", "data file", 1, 0x01DA000000000000},
    {"kept.ini", "never written", 2, 0x01DA000000000000},
};

}  // namespace

TEST(ReadPackage, FillsTheRecordFromTheFile) {
  TestFolder folder;
  PackageDirectory written;
  WriteTestFile(folder / "setup.exe", MakeSetup(kFiles, true, written));
  CaptureLogger logger;
  PackageDirectory package;
  ASSERT_TRUE(ReadPackage(package, (folder / "setup.exe").c_str()));
  EXPECT_TRUE(logger.lines.empty());
  EXPECT_EQ(SerializePackageDirectory(package), SerializePackageDirectory(written));
  EXPECT_EQ(package.header_offset, written.header_offset);
  EXPECT_EQ(package.version.patch, 1);
  EXPECT_STREQ(package.product_name.c_str(), "Hello");
  EXPECT_EQ(package.FileCount(), 5);
  EXPECT_TRUE(package.has_data_folder);
  EXPECT_STREQ(package.associations[0].third.c_str(), "Hello document");
}

TEST(ReadPackage, EachFailureEndsWithItsOneLine) {
  TestFolder folder;
  PackageDirectory written;
  const Bytes good = MakeSetup(kFiles, false, written);
  const std::string path = folder / "setup.exe";
  struct Case {
    const char* what;
    Bytes file;
    std::string line;
  };
  Bytes flipped = good;
  flipped[written.header_offset + 6] ^= 0x10;
  Bytes truncated = good.substr(0, good.size() - 40) + good.substr(good.size() - 4);
  Bytes outside = good;
  outside[outside.size() - 1] = 0x40;
  PackageDirectory escaping = written;
  escaping.files.Rename(2, "..\\x.dll");
  std::vector<std::uint8_t> escaping_directory = SerializePackageDirectory(escaping);
  PackageDirectory aliased = written;
  aliased.files.Rename(2, "Program Files\\Hello.exe");
  aliased.files.Rename(3, "PROGRA~1\\empty.cfg");
  std::vector<std::uint8_t> aliased_directory = SerializePackageDirectory(aliased);
  const Case cases[] = {
      {"flipped check word", flipped, "Invalid Tarnell software package."},
      {"truncated directory", truncated, "Error reading file: " + path},
      {"trailer pointing outside", outside, "Error reading file: " + path},
      {"file name ..\\x.dll",
       good.substr(0, written.header_offset) + Bytes(escaping_directory.begin(), escaping_directory.end()),
       "Invalid Tarnell software package: unsafe file name \"..\\x.dll\", which is a folder reference, not a file "
       "name"},
      {"a folder by its short name",
       good.substr(0, written.header_offset) + Bytes(aliased_directory.begin(), aliased_directory.end()),
       "Invalid Tarnell software package: \"Program Files\" and \"PROGRA~1\" name one folder"},
      {"program without package", Bytes(3000, '\0'), "Invalid Tarnell software package."},
  };
  for (const Case& c : cases) {
    WriteTestFile(path, c.file);
    CaptureLogger logger;
    PackageDirectory package;
    EXPECT_FALSE(ReadPackage(package, path.c_str())) << c.what;
    EXPECT_EQ(logger.errors, std::vector<std::string>{c.line}) << c.what;
  }
  CaptureLogger logger;
  PackageDirectory package;
  EXPECT_FALSE(ReadPackage(package, (folder / "missing.exe").c_str()));
  EXPECT_EQ(logger.errors, std::vector<std::string>{"Error opening file: " + (folder / "missing.exe")});
}

namespace {

// The headers of a PE32 image whose security entry names a certificate
// table at `table` of `size` bytes, padded to `length` bytes.
Bytes PeHead(std::uint32_t table, std::uint32_t size, std::size_t length) {
  Bytes head(length, '\0');
  head[0] = 'M';
  head[1] = 'Z';
  auto put32 = [&](std::size_t at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) head[at + i] = static_cast<char>(value >> (8 * i));
  };
  put32(0x3C, 0x80);
  std::memcpy(&head[0x80], "PE\0\0", 4);
  head[0x80 + 20] = static_cast<char>(96 + 16 * 8);  // size of the optional header
  head[0x80 + 24] = 0x0B;
  head[0x80 + 25] = 0x01;
  put32(0x80 + 24 + 92, 16);
  put32(0x80 + 24 + 96 + 4 * 8, table);
  put32(0x80 + 24 + 96 + 4 * 8 + 4, size);
  return head;
}

}  // namespace

TEST(WriteSetupCopy, CopyOfAPatchIsNoPatchAndReadsBack) {
  for (bool is_signed : {false, true}) {
    TestFolder folder;
    PackageDirectory written;
    Bytes setup = MakeSetup(kFiles, true, written);
    if (is_signed) {
      // Signing names a table appended behind the trailer in the PE headers.
      Bytes table(48, 'S');
      setup = PeHead(static_cast<std::uint32_t>(setup.size()), 48, 512) + setup.substr(512) + table;
    }
    WriteTestFile(folder / "setup.exe", setup);
    FILETIME source_time{0x12345678, 0x01D9ABCD};
    {
      KernelHandle file(
          CreateFileA((folder / "setup.exe").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
      SetFileTime(file.Get(), nullptr, nullptr, &source_time);
    }

    CaptureLogger logger;
    PackageDirectory package;
    ASSERT_TRUE(ReadPackage(package, (folder / "setup.exe").c_str())) << is_signed;
    SourceStream stream;
    stream.CreateOverFile((folder / "setup.exe").c_str());
    std::uint64_t size = WriteSetupCopy(stream, package, (folder / "Hello_Setup.exe").c_str());
    stream.Close();
    EXPECT_EQ(size, setup.size());
    EXPECT_EQ(package.version.patch, 0) << "the package record keeps the cleared flag";

    Bytes copy = ReadTestFile(folder / "Hello_Setup.exe");
    ASSERT_EQ(copy.size(), setup.size());
    std::size_t version = package.header_offset;
    if (is_signed) {
      // The copy's own sum goes into its CheckSum field, so that it passes the check as its source did.
      constexpr std::size_t kChecksumField = 0x80 + 24 + 64;
      std::string sum = copy.substr(kChecksumField, 4);
      copy.replace(kChecksumField, 4, 4, '\0');
      std::uint32_t expected =
          PeFileChecksum(reinterpret_cast<const std::uint8_t*>(copy.data()), copy.size(), kChecksumField);
      std::uint32_t stored = 0;
      std::memcpy(&stored, sum.data(), 4);
      EXPECT_EQ(stored, expected);
    }
    EXPECT_EQ(copy.substr(0, version + 2), setup.substr(0, version + 2));
    EXPECT_EQ(copy[version + 2], 0);
    EXPECT_EQ(copy.substr(version + 8), setup.substr(version + 8));
    EXPECT_EQ(FileTimeOf(folder / "Hello_Setup.exe"), 0x01D9ABCD12345678u);

    PackageDirectory reread;
    ASSERT_TRUE(ReadPackage(reread, (folder / "Hello_Setup.exe").c_str())) << is_signed;
    EXPECT_EQ(reread.version.patch, 0);
    EXPECT_EQ(reread.version.check_word, PackageCheckWord(reread.version));
    EXPECT_EQ(reread.version.check_word, 0x4931 ^ (3 + 7));
    EXPECT_TRUE(logger.errors.empty());
  }
}

// A package in the extended layout (here: a file in a subfolder) gives a
// copy of the program, the skin and the directory, marked as carrying no
// streams, with neither streams nor signature; it reads back whole.
TEST(WriteSetupCopy, CopyOfATreeCarriesNoStreams) {
  std::vector<ProductFile> files = kFiles;
  files.push_back({"lib\\deep\\big.bin", Bytes(200000, 'b'), 0, 0x01DA000000000000});
  for (bool is_signed : {false, true}) {
    TestFolder folder;
    PackageDirectory written;
    Bytes setup = MakeSetup(files, false, written);
    std::size_t table_size = is_signed ? 48 : 0;
    if (is_signed)
      setup = PeHead(static_cast<std::uint32_t>(setup.size()), 48, 512) + setup.substr(512) + Bytes(48, 'S');
    WriteTestFile(folder / "setup.exe", setup);

    CaptureLogger logger;
    PackageDirectory package;
    ASSERT_TRUE(ReadPackage(package, (folder / "setup.exe").c_str())) << is_signed;
    SourceStream stream;
    stream.CreateOverFile((folder / "setup.exe").c_str());
    WriteSetupCopy(stream, package, (folder / "Hello_Setup.exe").c_str());
    stream.Close();

    Bytes copy = ReadTestFile(folder / "Hello_Setup.exe");
    std::size_t skin_end = 512 + 100;
    std::size_t directory_size = setup.size() - table_size - written.header_offset;
    ASSERT_EQ(copy.size(), skin_end + directory_size) << is_signed;
    if (is_signed) {
      EXPECT_EQ(copy.substr(0x80 + 24 + 96 + 4 * 8, 8), Bytes(8, '\0')) << "no certificate table is named";
    }
    PackageDirectory reread;
    ASSERT_TRUE(ReadPackage(reread, (folder / "Hello_Setup.exe").c_str())) << is_signed;
    EXPECT_TRUE(reread.without_streams);
    EXPECT_EQ(reread.header_offset, skin_end);
    ASSERT_EQ(reread.FileCount(), written.FileCount());
    for (std::size_t number = 1; number <= written.FileCount(); ++number) {
      EXPECT_STREQ(reread.Record(number).name, written.Record(number).name);
      EXPECT_EQ(reread.Record(number).size, written.Record(number).size);
    }
    EXPECT_TRUE(logger.errors.empty());
  }
}

namespace {

class Extraction {
 public:
  Extraction(const TestFolder& folder, const Bytes& setup) : program_(folder / "program"), data_(folder / "data") {
    CreateDirectoryA(program_.c_str(), nullptr);
    CreateDirectoryA(data_.c_str(), nullptr);
    WriteTestFile(folder / "setup.exe", setup);
    stream_.CreateOverFile((folder / "setup.exe").c_str());
  }

  bool Extract(const FileRecord& record, bool keep_data) {
    InflateState decoder(&stream_);
    ExtractionContext context{stream_, decoder, program_.c_str(), data_.c_str(), keep_data};
    return ExtractFile(context, record);
  }
  // The install's step for one file: written, made a service, given its links.
  void Install(const FileRecord& record, bool keep_data) {
    ProductRecord package;
    package.program_folder.Assign(program_.c_str());
    package.data_folder.Assign(data_.c_str());
    package.keep_data = keep_data;
    ProductRecord installed;
    InflateState decoder(&stream_);
    ExtractionContext context{stream_, decoder, program_.c_str(), data_.c_str(), keep_data};
    InstallFile(ShortcutRun{package, installed, "Planted", "setup.exe"}, context, record);
  }
  std::string Program(const std::string& name) const { return program_ + "\\" + name; }
  std::string Data(const std::string& name) const { return data_ + "\\" + name; }

 private:
  std::string program_;
  std::string data_;
  SourceStream stream_;
};

}  // namespace

TEST(ExtractFile, WritesBytesAndTheExactFileTime) {
  TestFolder folder;
  PackageDirectory package;
  Extraction extraction(folder, MakeSetup(kFiles, false, package));
  CaptureLogger logger;
  // A read-only file in the way is replaced.
  WriteTestFile(extraction.Program("Hello.exe"), "old");
  SetFileAttributesA(extraction.Program("Hello.exe").c_str(), FILE_ATTRIBUTE_READONLY);
  for (std::size_t number = 2; number <= package.FileCount(); ++number)
    extraction.Extract(package.Record(number), false);
  EXPECT_TRUE(logger.lines.empty());

  EXPECT_EQ(ReadTestFile(extraction.Program("Hello.exe")), kFiles[0].content);
  EXPECT_EQ(FileTimeOf(extraction.Program("Hello.exe")), kFiles[0].file_time);
  EXPECT_EQ(ReadTestFile(extraction.Program("empty.cfg")), "");
  EXPECT_EQ(FileTimeOf(extraction.Program("empty.cfg")), kFiles[1].file_time);
  EXPECT_EQ(ReadTestFile(extraction.Data("notes.txt")), "data file");
  EXPECT_EQ(GetFileAttributesA(extraction.Data("kept.ini").c_str()), INVALID_FILE_ATTRIBUTES)
      << "destination 2 is never written";
  EXPECT_EQ(GetFileAttributesA(extraction.Program("notes.txt").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(ExtractFile, KeepDataSparesExistingDataFilesOnly) {
  std::vector<ProductFile> files = kFiles;
  files.push_back({"missing.dat", "written anyway", 1, 0x01DA000000000000});
  TestFolder folder;
  PackageDirectory package;
  Extraction extraction(folder, MakeSetup(files, false, package));
  WriteTestFile(extraction.Data("notes.txt"), "the user's notes");
  std::uint64_t user_time = FileTimeOf(extraction.Data("notes.txt"));
  WriteTestFile(extraction.Program("Hello.exe"), "old program");
  CaptureLogger logger;
  for (std::size_t number = 2; number <= package.FileCount(); ++number)
    extraction.Extract(package.Record(number), true);

  EXPECT_EQ(ReadTestFile(extraction.Data("notes.txt")), "the user's notes");
  EXPECT_EQ(FileTimeOf(extraction.Data("notes.txt")), user_time);
  EXPECT_EQ(ReadTestFile(extraction.Data("missing.dat")), "written anyway");
  EXPECT_EQ(ReadTestFile(extraction.Program("Hello.exe")), kFiles[0].content) << "program files are never kept";
}

int service_changes = 0;
DWORD CountAndRefuseServiceChanges(MachineChange kind) {
  if (kind != MachineChange::kService) return ERROR_SUCCESS;
  ++service_changes;
  return ERROR_ACCESS_DENIED;
}

// A service runs as the system, so only a program the run has just written
// becomes one: a file kept in the data folder, which users may have put
// there first, is not registered even where a record asks for it.
TEST(InstallFile, AServiceIsNeverMadeOfAFileTheRunDidNotWrite) {
  TestFolder folder;
  PackageDirectory package;
  Extraction extraction(folder,
                        MakeSetup({{"Agent.exe", "the product's agent", 1, 0x01DA000000000000}}, false, package));
  FileRecord agent = package.Record(2);
  agent.service = 1;
  WriteTestFile(extraction.Data("Agent.exe"), "planted by a user");
  CaptureLogger logger;
  service_changes = 0;
  SetMachineChangeGate(CountAndRefuseServiceChanges);
  EXPECT_THROW(extraction.Install(agent, true), AbortError);
  EXPECT_FALSE(extraction.Extract(agent, true)) << "a kept data file is not written";
  SetMachineChangeGate(nullptr);
  EXPECT_EQ(service_changes, 0) << "no service was asked for";
  EXPECT_EQ(logger.errors, std::vector<std::string>{"Service Agent installation failed"});
  EXPECT_EQ(ReadTestFile(extraction.Data("Agent.exe")), "planted by a user");
}

TEST(ExtractFile, FailuresEndWithTheirLine) {
  TestFolder folder;
  PackageDirectory package;
  Extraction extraction(folder, MakeSetup(kFiles, false, package));
  struct Case {
    const char* what;
    FileRecord record;
    std::string line;
  };
  FileRecord longer = package.Record(4);  // "data file" claims one byte more
  longer.size += 1;
  FileRecord escaping = package.Record(2);
  escaping.name = "..\\x.dll";
  FileRecord blocked = package.Record(2);
  blocked.name = "sub";
  CreateDirectoryA(extraction.Program("sub").c_str(), nullptr);
  const Case cases[] = {
      {"stream shorter than the size", longer, "Error reading file: " + (folder / "setup.exe")},
      {"name leaving the folder", escaping,
       "Invalid Tarnell software package: unsafe file name \"..\\x.dll\", which is a folder reference, not a file "
       "name"},
      {"a folder in the way", blocked, "Error opening file: " + extraction.Program("sub")},
  };
  for (const Case& c : cases) {
    CaptureLogger logger;
    EXPECT_THROW(extraction.Extract(c.record, false), AbortError) << c.what;
    EXPECT_EQ(logger.errors, std::vector<std::string>{c.line}) << c.what;
  }
  EXPECT_EQ(GetFileAttributesA((folder / "x.dll").c_str()), INVALID_FILE_ATTRIBUTES);
}

// The file the setup installs over is replaced only by a whole one: a
// damaged stream leaves it as it was, and no temporary file beside it.
TEST(ExtractFile, AFileThatIsThereIsReplacedOnlyByAWholeOne) {
  TestFolder folder;
  PackageDirectory package;
  Extraction extraction(folder, MakeSetup(kFiles, false, package));
  WriteTestFile(extraction.Program("Hello.exe"), "the program that works");
  FileRecord damaged = package.Record(2);
  damaged.size += 1;
  CaptureLogger logger;
  EXPECT_THROW(extraction.Extract(damaged, false), AbortError);
  EXPECT_EQ(ReadTestFile(extraction.Program("Hello.exe")), "the program that works");
  std::vector<std::string> names;
  for (const FolderEntry& entry : EntriesMatching(extraction.Program("*"))) names.push_back(entry.name);
  EXPECT_EQ(names, std::vector<std::string>{"Hello.exe"});
}
