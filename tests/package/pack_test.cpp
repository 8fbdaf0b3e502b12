// Guards tarnell-pack as a publisher meets it: a full manifest builds a setup
// that lists, verifies and extracts exactly (bytes and file times), the same
// inputs give the same bytes, a signed setup reads like the unsigned one,
// every invalid manifest names its field and leaves no file behind, and
// damaged setups are refused with the setup's own lines.
#include <gtest/gtest.h>
#include <libdeflate.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "capture_logger.h"
#include "integrity_record.h"
#include "pack_error.h"
#include "package/directory_writer.h"
#include "package/package_loader.h"
#include "package/package_sum.h"
#include "package/pe_checksum.h"
#include "package/pe_image.h"
#include "stream_encoder.h"

namespace fs = std::filesystem;

namespace {

struct PackRun {
  int status;
  std::string out;
  std::string err;
};

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

Bytes ReadBytes(const fs::path& path) {
  std::string text = ReadText(path);
  return Bytes(text.begin(), text.end());
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void WriteText(const fs::path& path, const std::string& text) { WriteBytes(path, Bytes(text.begin(), text.end())); }

std::string Quote(const std::string& text) { return "'" + text + "'"; }

// A folder of the test's own, removed afterwards.
class PackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* base = std::getenv("TARNELL_TEST_TMP");
    folder_ = fs::path(base ? base : "/tmp") / ("pack-" + std::to_string(getpid()) + "-" +
                                                ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override {
    if (!HasFailure()) fs::remove_all(folder_);
  }

  PackRun Pack(const std::string& arguments) {
    std::string out = (folder_ / "stdout.txt").string();
    std::string err = (folder_ / "stderr.txt").string();
    std::string command = Quote(TARNELL_PACK) + " " + arguments + " >" + Quote(out) + " 2>" + Quote(err);
    int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadText(out), ReadText(err)};
  }

  PackRun Build(const fs::path& manifest, const fs::path& output, const std::string& more = "") {
    return Pack("build " + Quote(manifest.string()) + " -o " + Quote(output.string()) + " --stub " +
                Quote(TARNELL_TEST_STUB) + " " + more);
  }

  fs::path folder_;
};

// The 19 files of the full manifest: every destination and shortcut kind,
// two services, given and default file times, an empty and incompressible files.
struct SampleFile {
  std::string name;
  std::string destination;
  std::string shortcut;
  int icon;
  bool service;
  std::string time;  // empty: the source's own
  std::size_t size;
  bool random;
};

std::vector<SampleFile> NineteenFiles() {
  std::vector<SampleFile> files = {
      {"Hello.exe", "program", "start-menu+desktop", 0, false, "2026-01-02T03:04:05Z", 300000, false},
      {"HelloAgent.exe", "program", "start-menu", 2, true, "2025-06-30T23:59:59.1234567+02:00", 50000, false},
      {"Watcher.Main.exe", "program", "none", 0, true, "", 4000, true},
      {"empty.cfg", "program", "none", 0, false, "2020-02-29T12:00:00Z", 0, false},
      {"noise.bin", "data", "none", 0, false, "", 150000, true},
      {"settings.ini", "data-untouched", "none", 0, false, "1999-12-31T23:59:59Z", 700, false},
      {"readme.txt", "program", "start-menu", 5, false, "", 9000, false},
  };
  for (int i = 0; files.size() < 19; ++i) {
    files.push_back({"part" + std::to_string(i) + ".dat", i % 2 ? "data" : "program", "none", 0, false, "",
                     static_cast<std::size_t>(1000 * i + 1), i % 3 == 0});
  }
  return files;
}

Bytes SampleContent(const SampleFile& file, unsigned seed) {
  std::mt19937 random(seed);
  Bytes bytes(file.size);
  const std::string words = "install update repair patch uninstall Tarnell setup ";
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    bytes[i] = file.random ? static_cast<std::uint8_t>(random())
                           : static_cast<std::uint8_t>(words[(i * 7 + i / 50) % words.size()]);
  }
  return bytes;
}

std::string NineteenFileManifest(const fs::path& folder) {
  std::ostringstream manifest;
  manifest << "[product]\nname = \"Hello World\"\nversion = \"2.13\"\nlanguage = \"german\"\npatch = true\n"
              "display_icon = \"Hello.exe,1\"\n";
  unsigned seed = 1;
  for (const SampleFile& file : NineteenFiles()) {
    WriteBytes(folder / "bin" / (file.name + ".src"), SampleContent(file, seed++));
    manifest << "\n[[file]]\nsource = \"bin/" << file.name << ".src\"\nname = \"" << file.name << "\"\ndestination = \""
             << file.destination << "\"\nshortcut = \"" << file.shortcut << "\"\nicon = " << file.icon
             << "\nservice = " << (file.service ? "true" : "false") << "\n";
    if (!file.time.empty()) manifest << "time = " << file.time << "\n";
  }
  const char* extensions[] = {"hlo", "hlx", "hwd", "hel"};
  for (int i = 0; i < 4; ++i) {
    manifest << "\n[[association]]\nextension = \"" << extensions[i] << "\"\nprogram = \""
             << (i == 3 ? "HelloAgent.exe" : "Hello.exe") << "\"\ntext = \"Hello document " << i << "\"\nicon = " << i
             << "\n";
  }
  return manifest.str();
}

PackageDirectory LoadDirectory(const Bytes& setup) {
  CaptureLogger logger;
  PackageDirectory package;
  MemoryPackageFile file(setup.data(), setup.size(), "setup.exe");
  LoadPackageDirectory(file, "setup.exe", package);
  return package;
}

std::size_t ChecksumField(const Bytes& setup) { return ReadPeImageInfo(setup.data(), kPeHeadSize).checksum_field; }

void SetChecksum(Bytes& setup, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) setup[ChecksumField(setup) + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t StoredChecksum(const Bytes& setup) { return ReadPeImageInfo(setup.data(), kPeHeadSize).checksum; }

// The setup as builders made it before the integrity record: the record's
// values 0, and the PE sum over the file as it then is.
Bytes WithoutIntegrityRecord(Bytes setup) {
  std::optional<IntegrityRecord> record = FindIntegrityRecord(setup);
  if (record) std::fill_n(setup.begin() + static_cast<std::ptrdiff_t>(record->at + 4), 8, 0);
  SetChecksum(setup, PeFileChecksum(setup.data(), setup.size(), ChecksumField(setup)));
  return setup;
}

// Whether `setup` carries the sections of the program `stub` (the builder
// rewrites the headers and adds a resource section behind them).
bool StartsWithProgramOf(const Bytes& setup, const std::string& stub) {
  Bytes program = ReadBytes(stub);
  constexpr std::size_t kHeaders = 1024;
  return setup.size() > program.size() &&
         std::equal(program.begin() + kHeaders, program.end(), setup.begin() + kHeaders);
}

}  // namespace

TEST_F(PackTest, NineteenFilesAndFourAssociationsBuildListVerifyAndExtract) {
  WriteText(folder_ / "hello.toml", NineteenFileManifest(folder_));
  PackRun built = Build(folder_ / "hello.toml", folder_ / "Hello_Setup.exe");
  ASSERT_EQ(built.status, 0) << built.err;
  Bytes setup = ReadBytes(folder_ / "Hello_Setup.exe");
  EXPECT_EQ(setup.size() % 8, 0u) << "signing would pad behind the trailer";

  PackageDirectory package = LoadDirectory(setup);
  EXPECT_STREQ(package.product_name.c_str(), "Hello World");
  EXPECT_EQ(package.version.language, 1);
  EXPECT_EQ(package.version.patch, 1);
  EXPECT_EQ(package.version.major, 2);
  EXPECT_EQ(package.version.minor, 13);
  EXPECT_STREQ(package.display_icon.c_str(), "Hello.exe,1");
  ASSERT_EQ(package.FileCount(), 20u);
  EXPECT_STREQ(package.SkinRecord().name, "");
  EXPECT_TRUE(StartsWithProgramOf(setup, TARNELL_TEST_STUB));
  EXPECT_TRUE(package.has_data_folder);
  std::vector<SampleFile> files = NineteenFiles();
  for (std::size_t i = 0; i < files.size(); ++i) {
    const FileRecord& record = package.Record(i + 2);
    EXPECT_STREQ(record.name, files[i].name.c_str());
    EXPECT_EQ(record.size, files[i].size);
    EXPECT_EQ(record.service, files[i].service ? 1 : 0);
    EXPECT_EQ(record.icon_index, files[i].icon);
  }
  EXPECT_EQ(package.Record(2).shortcut_kind, 2);
  EXPECT_EQ(package.Record(3).shortcut_kind, 1);
  EXPECT_EQ(package.Record(4).shortcut_kind, 0);
  EXPECT_EQ(package.Record(6).destination, 1);
  EXPECT_EQ(package.Record(7).destination, 2);
  // 2026-01-02T03:04:05Z and 2025-06-30T21:59:59.1234567Z as FILETIME.
  EXPECT_EQ(package.Record(2).file_time, 134117966450000000u);
  EXPECT_EQ(package.Record(3).file_time, 133957943991234567u);
  ASSERT_EQ(package.association_count, 4);
  EXPECT_STREQ(package.associations[3].extension.c_str(), "hel");
  EXPECT_STREQ(package.associations[3].program.c_str(), "HelloAgent.exe");
  EXPECT_STREQ(package.associations[3].third.c_str(), "Hello document 3");
  EXPECT_EQ(package.associations[3].icon_index, 3);

  PackRun listed = Pack("list " + Quote((folder_ / "Hello_Setup.exe").string()));
  ASSERT_EQ(listed.status, 0) << listed.err;
  for (const char* expected :
       {"Product:      Hello World\n", "Version:      2.13, german, patch\n", "Files:        19\n",
        "  HelloAgent.exe\n    size 50000, stream at ",
        ", program, shortcut start-menu, icon 2, service, time 2025-06-30T21:59:59.1234567Z\n", "  settings.ini\n",
        "data-untouched", "Associations: 4\n", "  .hel -> HelloAgent.exe, icon 3, text \"Hello document 3\"\n"}) {
    EXPECT_NE(listed.out.find(expected), std::string::npos) << expected << "\n" << listed.out;
  }

  PackRun verified = Pack("verify " + Quote((folder_ / "Hello_Setup.exe").string()));
  EXPECT_EQ(verified.status, 0) << verified.err;

  PackRun extracted =
      Pack("extract " + Quote((folder_ / "Hello_Setup.exe").string()) + " " + Quote((folder_ / "out").string()));
  ASSERT_EQ(extracted.status, 0) << extracted.err;
  for (std::size_t i = 0; i < files.size(); ++i) {
    fs::path target = folder_ / "out" / files[i].name;
    EXPECT_EQ(ReadBytes(target), ReadBytes(folder_ / "bin" / (files[i].name + ".src"))) << files[i].name;
    struct stat extracted_status {
    }, source_status{};
    ASSERT_EQ(stat(target.c_str(), &extracted_status), 0);
    ASSERT_EQ(stat((folder_ / "bin" / (files[i].name + ".src")).c_str(), &source_status), 0);
    if (files[i].time.empty()) {
      // The source's own time, to the 100 ns the package keeps.
      EXPECT_EQ(extracted_status.st_mtim.tv_sec, source_status.st_mtim.tv_sec) << files[i].name;
      EXPECT_EQ(extracted_status.st_mtim.tv_nsec, source_status.st_mtim.tv_nsec / 100 * 100) << files[i].name;
    }
  }
  struct stat agent {};
  ASSERT_EQ(stat((folder_ / "out" / "HelloAgent.exe").c_str(), &agent), 0);
  EXPECT_EQ(agent.st_mtim.tv_sec, 1751320799);
  EXPECT_EQ(agent.st_mtim.tv_nsec, 123456700);

  // The same inputs give the same bytes.
  ASSERT_EQ(Build(folder_ / "hello.toml", folder_ / "again.exe").status, 0);
  EXPECT_EQ(ReadBytes(folder_ / "again.exe"), setup);
}

namespace {

std::uint32_t Le16(const Bytes& bytes, std::size_t at) { return bytes[at] | bytes[at + 1] << 8; }

std::uint32_t Le32(const Bytes& bytes, std::size_t at) { return Le16(bytes, at) | Le16(bytes, at + 2) << 16; }

void PutLe32(Bytes& bytes, std::size_t at, std::uint32_t value) {
  for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// How many bytes the raw DEFLATE stream at `at`, of `size` bytes inflated, takes.
std::size_t StreamLength(const Bytes& setup, std::size_t at, std::size_t size) {
  libdeflate_decompressor* decompressor = libdeflate_alloc_decompressor();
  Bytes out(size);
  std::size_t length = 0;
  libdeflate_result result = libdeflate_deflate_decompress_ex(decompressor, setup.data() + at, setup.size() - at,
                                                              out.data(), out.size(), &length, nullptr);
  libdeflate_free_decompressor(decompressor);
  return result == LIBDEFLATE_SUCCESS ? length : 0;
}

Bytes SkinArchiveOf(const Bytes& setup) {
  FileRecord skin = LoadDirectory(setup).SkinRecord();
  return Bytes(setup.begin() + skin.stream_offset, setup.begin() + skin.stream_offset + skin.size);
}

// The flat setup `setup` with `skin` in place of its skin archive, as the
// builder lays it out: the streams move by the skin's growth, the zeros
// before the directory keep the file a multiple of 8 bytes, and the
// directory's stream offsets, the skin's size and the trailer follow.
Bytes WithSkinArchive(const Bytes& setup, const Bytes& skin) {
  PackageDirectory package = LoadDirectory(setup);
  const FileRecord& old_skin = package.SkinRecord();
  const FileRecord* last = &old_skin;
  for (std::size_t i = 2; i <= package.FileCount(); ++i) {
    if (package.Record(i).stream_offset > last->stream_offset) last = &package.Record(i);
  }
  std::size_t payload_start = old_skin.stream_offset + old_skin.size;
  std::size_t payload_end = last->stream_offset + StreamLength(setup, last->stream_offset, last->size);
  Bytes directory(setup.begin() + Le32(setup, setup.size() - 4), setup.end());

  Bytes moved(setup.begin(), setup.begin() + old_skin.stream_offset);
  moved.insert(moved.end(), skin.begin(), skin.end());
  moved.insert(moved.end(), setup.begin() + payload_start, setup.begin() + payload_end);
  moved.resize(moved.size() + (8 - (moved.size() + directory.size()) % 8) % 8, 0);

  // Version, product name, file count, then the records, each led by its length.
  std::uint32_t growth = static_cast<std::uint32_t>(skin.size() - old_skin.size);
  std::size_t at = 8;
  at += 2 + Le16(directory, at);
  std::size_t count = Le16(directory, at);
  at += 2;
  for (std::size_t i = 1; i <= count; at += Le16(directory, at), ++i) {
    if (i == 1) {
      PutLe32(directory, at + 19, static_cast<std::uint32_t>(skin.size()));
    } else {
      PutLe32(directory, at + 7, Le32(directory, at + 7) + growth);
    }
  }
  PutLe32(directory, directory.size() - 4, static_cast<std::uint32_t>(moved.size()));
  moved.insert(moved.end(), directory.begin(), directory.end());
  return moved;
}

}  // namespace

// Setups already out there read only the flat layout: a product that fits it
// (19 files, no folders) is built byte for byte as before packages held
// trees. The kept setup holds the default skin of its day; its program part,
// streams, directory and trailer are compared as they are with today's skin
// archive in its place, which verify reads back.
TEST_F(PackTest, ProductThatFitsTheFlatLayoutIsBuiltAsBefore) {
  const fs::path fixture = fs::path(TARNELL_SOURCE_DIR) / "tests" / "data" / "today-format";
  const fs::path setup_path = folder_ / "Hello_Setup.exe";
  PackRun built = Pack("build " + Quote((fixture / "manifest.toml").string()) + " -o " + Quote(setup_path.string()) +
                       " --stub " + Quote((fixture / "stub.exe").string()));
  ASSERT_EQ(built.status, 0) << built.err;
  Bytes now = ReadBytes(setup_path);
  Bytes before = ReadBytes(fixture / "Hello_Setup.exe");
  ASSERT_EQ(WithSkinArchive(before, SkinArchiveOf(before)), before) << "the kept setup is not laid out as assumed";

  Bytes expected = WithSkinArchive(before, SkinArchiveOf(now));
  ASSERT_EQ(now.size(), expected.size());
  // The program part differs only in the integrity record the builder now
  // fills and the PE sum over it.
  std::optional<IntegrityRecord> record = FindIntegrityRecord(now);
  ASSERT_TRUE(record);
  for (std::size_t at : {record->at + 4, record->at + 8, ChecksumField(now)}) {
    std::copy_n(now.begin() + at, 4, expected.begin() + at);
  }
  auto [differs, _] = std::mismatch(now.begin(), now.end(), expected.begin());
  EXPECT_EQ(differs, now.end()) << "first different byte at " << (differs - now.begin());
  PackRun verified = Pack("verify " + Quote(setup_path.string()));
  EXPECT_EQ(verified.status, 0) << verified.err;
}

// A product folder with subfolders: packed with its paths (a pattern leaving
// out debug files and a test folder), listed, verified and extracted into the
// same tree; a [[file]] gives a file of the tree its shortcut; a symbolic link
// in the tree is refused unless the manifest follows links.
TEST_F(PackTest, FolderTreeIsPackedListedAndExtractedWithItsSubfolders) {
  std::vector<std::string> packed = {"bin/Hello.exe", "bin/plugins/codec.dll", "share/locale/de/hello.mo"};
  for (int i = 0; i < 40; ++i) packed.push_back("share/doc/page" + std::to_string(i) + ".html");
  for (const std::string& path : packed) WriteText(folder_ / "dist" / path, "content of " + path);
  WriteText(folder_ / "dist" / "bin" / "Hello.pdb", "debug");
  WriteText(folder_ / "dist" / "tests" / "unit" / "t.txt", "test");
  const std::string manifest =
      "[product]\nname = \"Tree\"\nversion = \"1.0\"\ndisplay_icon = \"bin\\\\Hello.exe,0\"\n"
      "[[folder]]\nsource = \"dist\"\nexclude = [\"*.pdb\", \"tests/**\"]\n"
      "[[file]]\nsource = \"dist/bin/Hello.exe\"\nshortcut = \"start-menu\"\n"
      "[[association]]\nextension = \"tre\"\nprogram = \"bin\\\\Hello.exe\"\n";
  WriteText(folder_ / "tree.toml", manifest);
  PackRun built = Build(folder_ / "tree.toml", folder_ / "Tree_Setup.exe");
  ASSERT_EQ(built.status, 0) << built.err;

  PackageDirectory package = LoadDirectory(ReadBytes(folder_ / "Tree_Setup.exe"));
  ASSERT_EQ(package.FileCount(), packed.size() + 1);
  std::size_t hello = FindFileRecord(package, "bin\\Hello.exe");
  ASSERT_NE(hello, 0u);
  EXPECT_EQ(package.Record(hello).shortcut_kind, 1);
  EXPECT_EQ(FindFileRecord(package, "bin\\Hello.pdb"), 0u);

  PackRun listed = Pack("list " + Quote((folder_ / "Tree_Setup.exe").string()));
  EXPECT_NE(listed.out.find("  share\\locale\\de\\hello.mo\n"), std::string::npos) << listed.out;
  EXPECT_EQ(Pack("verify " + Quote((folder_ / "Tree_Setup.exe").string())).status, 0);
  PackRun extracted =
      Pack("extract " + Quote((folder_ / "Tree_Setup.exe").string()) + " " + Quote((folder_ / "out").string()));
  ASSERT_EQ(extracted.status, 0) << extracted.err;
  std::size_t files_out = 0;
  for (const auto& entry : fs::recursive_directory_iterator(folder_ / "out")) files_out += entry.is_regular_file();
  EXPECT_EQ(files_out, packed.size());
  for (const std::string& path : packed) EXPECT_EQ(ReadText(folder_ / "out" / path), "content of " + path) << path;

  fs::create_symlink("../bin/Hello.exe", folder_ / "dist" / "share" / "link.exe");
  PackRun linked = Build(folder_ / "tree.toml", folder_ / "Linked.exe");
  EXPECT_EQ(linked.status, 1);
  EXPECT_NE(linked.err.find("folder[1].source: share/link.exe is a symbolic link"), std::string::npos) << linked.err;
  EXPECT_FALSE(fs::exists(folder_ / "Linked.exe"));
  std::string following = manifest;
  following.replace(following.find("exclude"), 0, "follow_links = true\n");
  WriteText(folder_ / "follow.toml", following);
  PackRun followed = Build(folder_ / "follow.toml", folder_ / "Followed.exe");
  ASSERT_EQ(followed.status, 0) << followed.err;
  EXPECT_NE(FindFileRecord(LoadDirectory(ReadBytes(folder_ / "Followed.exe")), "share\\link.exe"), 0u);
}

// A tree may hold a name that Windows may give another file or folder of the
// same folder as its short (8.3) name: both would be one, so the build is
// refused, naming them. In different folders they are two.
TEST_F(PackTest, ShortNameBesideItsLongNameInATreeIsRefused) {
  WriteText(folder_ / "dist" / "bin" / "Long Name.dll", "long");
  WriteText(folder_ / "dist" / "bin" / "LONGNA~1.DLL", "short");
  WriteText(folder_ / "dist" / "lib" / "LONGNA~2.DLL", "short, elsewhere");
  WriteText(folder_ / "m.toml", "[product]\nname = \"Tree\"\nversion = \"1.0\"\n[[folder]]\nsource = \"dist\"\n");
  PackRun file = Build(folder_ / "m.toml", folder_ / "Tree.exe");
  EXPECT_EQ(file.status, 1);
  EXPECT_NE(file.err.find("m.toml:1: file: \"bin\\Long Name.dll\" and \"bin\\LONGNA~1.DLL\" name one file (Windows "
                          "may give a long name that short name)"),
            std::string::npos)
      << file.err;
  fs::remove(folder_ / "dist" / "bin" / "LONGNA~1.DLL");
  WriteText(folder_ / "dist" / "Program Files" / "a.txt", "a");
  WriteText(folder_ / "dist" / "PROGRA~1" / "b.txt", "b");
  PackRun folder = Build(folder_ / "m.toml", folder_ / "Tree.exe");
  EXPECT_EQ(folder.status, 1);
  EXPECT_NE(folder.err.find("file: \"PROGRA~1\" and \"Program Files\" name one folder (Windows may give"),
            std::string::npos)
      << folder.err;
  EXPECT_FALSE(fs::exists(folder_ / "Tree.exe"));
  fs::remove_all(folder_ / "dist" / "PROGRA~1");
  EXPECT_EQ(Build(folder_ / "m.toml", folder_ / "Tree.exe").status, 0);
}

TEST_F(PackTest, CompressionLevelIsAnOption) {
  WriteText(folder_ / "m.toml", "[product]\nname = \"Hello\"\nversion = \"1.0\"\n[[file]]\nsource = \"a.txt\"\n");
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "line " + std::to_string(i % 97) + " of the text\n";
  WriteText(folder_ / "a.txt", text);
  ASSERT_EQ(Build(folder_ / "m.toml", folder_ / "fast.exe", "--level 1").status, 0);
  ASSERT_EQ(Build(folder_ / "m.toml", folder_ / "best.exe").status, 0);
  EXPECT_LT(fs::file_size(folder_ / "best.exe"), fs::file_size(folder_ / "fast.exe"));
  EXPECT_EQ(Pack("verify " + Quote((folder_ / "fast.exe").string())).status, 0);
  PackRun bad_level = Build(folder_ / "m.toml", folder_ / "x.exe", "--level 13");
  EXPECT_NE(bad_level.status, 0);
  EXPECT_NE(bad_level.err.find("--level"), std::string::npos);
}

// A file above the builder's whole-file limit is compressed as it is read;
// its stream must read back whole, beside a small file packed as before.
TEST_F(PackTest, FileLargerThanTheWholeFileLimitIsStreamedAndExtractsWhole) {
  WriteText(folder_ / "m.toml",
            "[product]\nname = \"Big\"\nversion = \"1.0\"\n[[file]]\nsource = \"big.bin\"\n"
            "[[file]]\nsource = \"small.txt\"\n");
  Bytes big(17u << 20);
  std::uint32_t state = 1;
  for (std::size_t i = 0; i < big.size(); ++i) {
    state = state * 1103515245u + 12345u;
    big[i] = static_cast<std::uint8_t>(i % 4096 < 2048 ? (state >> 24) % 16 : i % 251);
  }
  WriteBytes(folder_ / "big.bin", big);
  WriteText(folder_ / "small.txt", "small\n");
  ASSERT_EQ(Build(folder_ / "m.toml", folder_ / "s.exe", "--level 1").status, 0);
  EXPECT_LT(fs::file_size(folder_ / "s.exe"), big.size());
  EXPECT_EQ(Pack("verify " + Quote((folder_ / "s.exe").string())).status, 0);
  ASSERT_EQ(Pack("extract " + Quote((folder_ / "s.exe").string()) + " " + Quote((folder_ / "out").string())).status, 0);
  EXPECT_TRUE(ReadBytes(folder_ / "out" / "big.bin") == big);
  EXPECT_EQ(ReadBytes(folder_ / "out" / "small.txt").size(), 6u);
}

TEST_F(PackTest, InvalidManifestsNameTheFieldAndLeaveNoFile) {
  WriteText(folder_ / "bin" / "Hello.exe", "program");
  WriteText(folder_ / "bin" / "other.dll", "library");
  const std::string product = "[product]\nname = \"Hello\"\nversion = \"1.0\"\n";
  const std::string hello = "[[file]]\nsource = \"bin/Hello.exe\"\n";
  auto file_named = [](const std::string& name) {
    return "[[file]]\nsource = \"bin/other.dll\"\nname = \"" + name + "\"\n";
  };
  auto association = [](const std::string& extension, const std::string& program) {
    return "[[association]]\nextension = \"" + extension + "\"\nprogram = \"" + program + "\"\n";
  };
  std::string five_associations = product + hello;
  for (int i = 0; i < 5; ++i) five_associations += association("e" + std::to_string(i), "Hello.exe");

  struct Case {
    std::string manifest;
    std::string message;  // the field and what is wrong with it
  };
  const Case cases[] = {
      {five_associations, "association: more than 4 file associations"},
      {product + "setup_icon = \"" + std::string(300, 'x') + ".ico\"\n" + hello,
       "m.toml:4: product.setup_icon: no file \"" + std::string(60, 'x') + "...\"\n"},
      {product + "[[file]]\nsource = \"bin/missing.exe\"\n", "file[1].source: cannot find bin/missing.exe"},
      {product + hello + file_named("..\\\\x.dll"), "file[2].name: \"..\\x.dll\" holds a path separator"},
      {product + hello + file_named("sub/x.dll"), "file[2].name: \"sub/x.dll\" holds a path separator"},
      {product + hello + file_named("C:x.dll"), "file[2].name: \"C:x.dll\" holds a drive colon"},
      {product + hello + file_named(".."), "file[2].name: \"..\" is a folder reference"},
      {product + hello + file_named("what?.dll"), "file[2].name: \"what?.dll\" holds one of <>"},
      {product + hello + file_named("tab\\there"), "file[2].name: \"tab\there\" holds a control character"},
      {product + hello + file_named("x.dll."), "file[2].name: \"x.dll.\" ends with a dot"},
      {product + hello + file_named("con.txt"), "file[2].name: \"con.txt\" is a device name"},
      {product + hello + file_named("HELLO.EXE"), "file[2].name: \"HELLO.EXE\" is the name of file[1] as well"},
      {product + file_named("Long Name.dll") + file_named("LONGNA~1.DLL"),
       "file[2].name: \"LONGNA~1.DLL\" is the name of file[1] as well"},
      {product + hello + file_named("\u00c4rger.txt") + file_named("\u00e4rger.txt"),
       "file[3].name: \"\u00e4rger.txt\" is the name of file[2] as well"},
      {product + hello + file_named("\u65e5\u672c.txt"), "file[2].name: \"\u65e5\u672c.txt\" holds a character"},
      {"[product]\nname = \"Tools\\\\Hello\"\nversion = \"1.0\"\n" + hello,
       "product.name: \"Tools\\Hello\" holds a path separator"},
      {"[product]\nname = \"\"\nversion = \"1.0\"\n" + hello, "product.name: \"\" is empty"},
      {"[product]\nname = \"Hello?\"\nversion = \"1.0\"\n" + hello, "product.name: \"Hello?\" holds one of <>"},
      {"[product]\nname = \"" + std::string(246, 'x') + "\"\nversion = \"1.0\"\n" + hello,
       "product.name: is longer than 245 characters"},
      {"[product]\nversion = \"1.0\"\n" + hello, "product.name: missing"},
      {"[product]\nname = \"Hello\"\nversion = \"256.0\"\n" + hello, "product.version: \"256.0\" is not major.minor"},
      {"[product]\nname = \"Hello\"\nversion = \"1\"\n" + hello, "product.version: \"1\" is not major.minor"},
      {"[product]\nname = \"Hello\"\nversion = 1.0\n" + hello, "product.version: must be a text"},
      {product + "language = \"french\"\n" + hello, "product.language: \"french\" is none of \"english\", \"german\""},
      {product + "display_icon = \"Other.exe,0\"\n" + hello, "product.display_icon: \"Other.exe\" is neither"},
      {product + "display_icon = \"Hello.exe\"\n" + hello, "product.display_icon: must be a file name, a comma"},
      {product + "colour = \"red\"\n" + hello, "product.colour: unknown key"},
      {product, "file: the manifest names no product file"},
      {product + hello + "destination = \"elsewhere\"\n", "file[1].destination: \"elsewhere\" is none of"},
      {product + hello + "shortcut = \"desktop\"\n", "file[1].shortcut: \"desktop\" is none of"},
      {product + hello + "icon = 256\n", "file[1].icon: must lie between 0 and 255"},
      {product + hello + "time = 2026-01-02T03:04:05\n", "file[1].time: must be a date and time with its offset"},
      {product + hello + "service = true\ndestination = \"data-untouched\"\n",
       "file[1].service: a file the install does not write cannot be a service"},
      {product + hello + "service = true\ndestination = \"data\"\n",
       "file[1].service: a service must be installed in the program folder"},
      {product + hello + "destination = \"data\"\nservice = true\n",
       "file[1].service: a service must be installed in the program folder"},
      {product + hello + "service = true\n" + file_named("hello.dll") + "service = true\n",
       "file[2].service: its service name \"hello\" is that of file[1]"},
      {product + hello + association("hlo", "other.dll"),
       "association[1].program: \"other.dll\" is not the name of a product file"},
      {product + hello + association(".hlo", "Hello.exe"),
       "association[1].extension: \".hlo\" must be given without dots"},
      {product + hello + association("hlo", "Hello.exe") + association("HLO", "Hello.exe"),
       "association[2].extension: \"HLO\" is associated in association[1] already"},
      {product + hello + "[[association]]\nprogram = \"Hello.exe\"\n", "association[1].extension: missing"},
      {product + "[[file]\n", "m.toml:4: "},
  };
  WriteText(folder_ / "kept.exe", "an older setup");
  for (const Case& c : cases) {
    WriteText(folder_ / "m.toml", c.manifest);
    PackRun run = Build(folder_ / "m.toml", folder_ / "kept.exe");
    EXPECT_EQ(run.status, 1) << c.message;
    EXPECT_EQ(run.err.rfind("tarnell-pack: " + (folder_ / "m.toml").string() + ":", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << "expected: " << c.message << "\ngot: " << run.err;
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(ReadText(folder_ / "kept.exe"), "an older setup") << c.message;
  }
  // Nothing but the inputs and the untouched older setup is left.
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(folder_)) left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"bin", "kept.exe", "m.toml", "stderr.txt", "stdout.txt"}));
}

TEST_F(PackTest, SourceTooLargeForThePackageIsRefused) {
  { std::ofstream(folder_ / "huge.bin"); }
  fs::resize_file(folder_ / "huge.bin", std::uint64_t{1} << 32);  // sparse: 4 GiB, one byte too many
  WriteText(folder_ / "m.toml", "[product]\nname = \"Hello\"\nversion = \"1.0\"\n[[file]]\nsource = \"huge.bin\"\n");
  PackRun run = Build(folder_ / "m.toml", folder_ / "out.exe");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("file[1].source: huge.bin is larger than 4 GiB - 1 bytes"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(folder_ / "out.exe"));
}

// What the builder refuses before it writes anything: the exit status and
// the line on standard error, for build and check alike where both apply.
TEST_F(PackTest, RefusalsOfTheCommandLine) {
  WriteText(folder_ / "a.txt", "text");
  WriteText(folder_ / "elsewhere" / "b.txt", "text");
  const std::string product = "[product]\nname = \"Hello\"\nversion = \"1.0\"\n";
  WriteText(folder_ / "app" / "m.toml", product + "[[file]]\nsource = \"../a.txt\"\nname = \"Hello.exe\"\n");
  WriteText(folder_ / "m.toml", product + "[[file]]\nsource = \"a.txt\"\nname = \"Hello.exe\"\n");
  for (const char* extension : {"EXE", "js", "Ps1", "lnk"}) {
    WriteText(folder_ / (std::string(extension) + ".toml"),
              product + "[[file]]\nsource = \"a.txt\"\nname = \"Hello.exe\"\n[[association]]\nextension = \"" +
                  extension + "\"\nprogram = \"Hello.exe\"\n");
  }
  const std::string stub = " --stub " + Quote(TARNELL_TEST_STUB);
  const std::string m = Quote((folder_ / "m.toml").string()), out = " -o " + Quote((folder_ / "out.exe").string());
  auto manifest = [&](const std::string& name) { return Quote((folder_ / name).string()); };
  struct Case {
    std::string arguments;
    int status;
    std::string line;
  };
  const Case cases[] = {
      {"build " + m + out + " --stub " + Quote(TARNELL_TEST_PLAIN_PROGRAM), 1,
       "tarnell-pack: the stub is not a Tarnell setup program (it carries no integrity record, resource 1800)"},
      {"check " + m + " --stub " + Quote(TARNELL_TEST_PLAIN_PROGRAM), 1,
       "tarnell-pack: the stub is not a Tarnell setup program"},
      {"build " + manifest("EXE.toml") + out + stub, 1,
       ":8: association[1].extension: \"EXE\" files run as code when opened; a product may not take them over"},
      {"check " + manifest("js.toml") + stub, 1, "association[1].extension: \"js\" files run as code"},
      {"build " + manifest("Ps1.toml") + out + stub, 1, "association[1].extension: \"Ps1\" files run as code"},
      {"build " + manifest("lnk.toml") + out + stub, 1, "association[1].extension: \"lnk\" files run as code"},
      {"build " + m + out + " -o " + Quote((folder_ / "other.exe").string()) + stub, 2, "tarnell-pack: -o given twice"},
      {"build " + m + out + stub + stub, 2, "tarnell-pack: --stub given twice"},
      {"build " + m + out + stub + " --level 3 --level 3", 2, "tarnell-pack: --level given twice"},
      {"build " + m + out + stub + " --quiet --verbose", 2,
       "tarnell-pack: --verbose and --quiet contradict each other"},
      {"build " + manifest("app/m.toml") + out + stub + " --warnings-as-errors", 1,
       "tarnell-pack: 1 warning, which --warnings-as-errors makes errors; nothing written"},
      {"check " + manifest("app/m.toml") + stub + " --warnings-as-errors", 1,
       "tarnell-pack: warning: file[1].source: " + (folder_ / "a.txt").string() +
           " lies outside the manifest's folder " + (folder_ / "app").string()},
  };
  for (const Case& c : cases) {
    PackRun run = Pack(c.arguments);
    EXPECT_EQ(run.status, c.status) << c.arguments;
    EXPECT_NE(run.err.find(c.line), std::string::npos) << c.arguments << "\n" << run.err;
    EXPECT_FALSE(fs::exists(folder_ / "out.exe")) << c.arguments;
    EXPECT_FALSE(fs::exists(folder_ / "other.exe")) << c.arguments;
  }
  // A warning alone still builds.
  PackRun warned = Pack("build " + manifest("app/m.toml") + out + stub);
  EXPECT_EQ(warned.status, 0) << warned.err;
  EXPECT_NE(warned.err.find("lies outside the manifest's folder"), std::string::npos) << warned.err;
}

TEST_F(PackTest, StubMustBeAnUnsignedProgram) {
  WriteText(folder_ / "a.txt", "text");
  WriteText(folder_ / "m.toml", "[product]\nname = \"Hello\"\nversion = \"1.0\"\n[[file]]\nsource = \"a.txt\"\n");
  WriteText(folder_ / "not-a-program.exe", "plain text");
  PackRun run = Pack("build " + Quote((folder_ / "m.toml").string()) + " -o " + Quote((folder_ / "out.exe").string()) +
                     " --stub " + Quote((folder_ / "not-a-program.exe").string()));
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("the stub is not a Windows program image"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(folder_ / "out.exe"));
}

TEST_F(PackTest, OutputThatIsAnInputIsRefusedAndTheInputKept) {
  WriteText(folder_ / "a.txt", "the product's text");
  WriteBytes(folder_ / "stub.exe", ReadBytes(TARNELL_TEST_STUB));
  fs::copy_file(fs::path(TARNELL_SOURCE_DIR) / "skin" / "default" / "insthead.png", folder_ / "head.png");
  WriteText(folder_ / "m.toml",
            "[product]\nname = \"Hello\"\nversion = \"1.0\"\n[skin]\nheader = \"head.png\"\n"
            "[[file]]\nsource = \"a.txt\"\n");
  fs::create_hard_link(folder_ / "a.txt", folder_ / "hard-link.exe");
  fs::create_symlink(folder_ / "m.toml", folder_ / "symlink.exe");
  const std::vector<std::string> inputs = {"m.toml", "a.txt", "stub.exe", "head.png"};
  std::vector<Bytes> before;
  for (const std::string& input : inputs) before.push_back(ReadBytes(folder_ / input));

  struct Case {
    std::string output;
    std::string message;
  };
  const Case cases[] = {
      {"m.toml", "is the manifest"},
      {"a.txt", "is file[1].source"},
      {"./stub.exe", "is the stub"},
      {"head.png", "is skin.header"},
      {"hard-link.exe", "is file[1].source"},
      {"symlink.exe", "is the manifest"},
      {".", "is a folder"},
      {"missing/out.exe", "the output's folder " + (folder_ / "missing").string() + " cannot be used"},
      {"a.txt/out.exe", "a.txt is not a folder"},
  };
  for (const Case& c : cases) {
    PackRun run = Pack("build " + Quote((folder_ / "m.toml").string()) + " -o " + Quote((folder_ / c.output).string()) +
                       " --stub " + Quote((folder_ / "stub.exe").string()));
    EXPECT_EQ(run.status, 1) << c.output;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.output << ": " << run.err;
    for (std::size_t i = 0; i < inputs.size(); ++i) EXPECT_EQ(ReadBytes(folder_ / inputs[i]), before[i]) << c.output;
  }
  EXPECT_FALSE(fs::exists(folder_ / "missing"));

  // A finished setup is no stub: its package would sit inside the new one's program.
  ASSERT_EQ(Build(folder_ / "m.toml", folder_ / "setup.exe").status, 0);
  PackRun nested = Pack("build " + Quote((folder_ / "m.toml").string()) + " -o " + Quote((folder_ / "x.exe").string()) +
                        " --stub " + Quote((folder_ / "setup.exe").string()));
  EXPECT_EQ(nested.status, 1);
  EXPECT_NE(nested.err.find("the stub is a finished Tarnell setup (of \"Hello\")"), std::string::npos) << nested.err;
  EXPECT_FALSE(fs::exists(folder_ / "x.exe"));
}

TEST_F(PackTest, CustomSkinFolderIsCheckedAndPacked) {
  const fs::path skin = fs::path(TARNELL_SOURCE_DIR) / "skin" / "default";
  WriteText(folder_ / "a.txt", "text");
  fs::create_directories(folder_ / "good");
  fs::copy_file(skin / "check2.png", folder_ / "good" / "check1.png");  // 13x15, another picture
  fs::create_directories(folder_ / "bad");
  fs::copy_file(skin / "insthead.png", folder_ / "bad" / "check1.png");  // 500x70
  const std::string manifest = "[product]\nname = \"Hello\"\nversion = \"1.0\"\n[[file]]\nsource = \"a.txt\"\n";

  WriteText(folder_ / "default.toml", manifest);
  WriteText(folder_ / "good.toml", manifest + "[skin]\nfolder = \"good\"\n");
  WriteText(folder_ / "bad.toml", manifest + "[skin]\nfolder = \"bad\"\n");
  ASSERT_EQ(Build(folder_ / "default.toml", folder_ / "default.exe").status, 0);
  PackRun good = Build(folder_ / "good.toml", folder_ / "good.exe");
  ASSERT_EQ(good.status, 0) << good.err;
  EXPECT_EQ(Pack("verify " + Quote((folder_ / "good.exe").string())).status, 0);
  PackageDirectory with_default = LoadDirectory(ReadBytes(folder_ / "default.exe"));
  PackageDirectory with_custom = LoadDirectory(ReadBytes(folder_ / "good.exe"));
  EXPECT_GT(with_default.SkinRecord().size, 12000u) << "the default skin's pictures";
  EXPECT_NE(with_custom.SkinRecord().size, with_default.SkinRecord().size);

  PackRun bad = Build(folder_ / "bad.toml", folder_ / "bad.exe");
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("tarnell-pack: skin.folder: "), std::string::npos) << bad.err;
  EXPECT_FALSE(fs::exists(folder_ / "bad.exe"));

  EXPECT_EQ(Pack("skin check " + Quote((folder_ / "good").string())).status, 0);
  PackRun checked = Pack("skin check " + Quote((folder_ / "bad").string()));
  EXPECT_EQ(checked.status, 1);
  EXPECT_NE(checked.out.find("check1.png: 500x70, but the setup draws \"check1\" at 13x15"), std::string::npos)
      << checked.out;
}

namespace {

// Signs `in` into `out` with a throw-away certificate made in `folder`.
int Sign(const fs::path& folder, const fs::path& in, const fs::path& out) {
  std::string key = (folder / "key.pem").string(), cert = (folder / "cert.pem").string();
  std::string make = "openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj /CN=Throwaway -keyout " + Quote(key) +
                     " -out " + Quote(cert) + " >/dev/null 2>&1";
  if (std::system(make.c_str()) != 0) return -1;
  std::string sign = "osslsigncode sign -certs " + Quote(cert) + " -key " + Quote(key) + " -n Hello -in " +
                     Quote(in.string()) + " -out " + Quote(out.string()) + " >/dev/null 2>&1";
  return std::system(sign.c_str());
}

}  // namespace

TEST_F(PackTest, SignedSetupListsAndVerifiesLikeTheUnsignedOne) {
  WriteText(folder_ / "m.toml", NineteenFileManifest(folder_));
  ASSERT_EQ(Build(folder_ / "m.toml", folder_ / "setup.exe").status, 0);
  ASSERT_EQ(Sign(folder_, folder_ / "setup.exe", folder_ / "signed.exe"), 0);
  Bytes plain = ReadBytes(folder_ / "setup.exe");
  Bytes signed_setup = ReadBytes(folder_ / "signed.exe");
  ASSERT_GT(signed_setup.size(), plain.size());

  PackRun plain_list = Pack("list " + Quote((folder_ / "setup.exe").string()));
  PackRun signed_list = Pack("list " + Quote((folder_ / "signed.exe").string()));
  ASSERT_EQ(signed_list.status, 0) << signed_list.err;
  EXPECT_EQ(signed_list.out, plain_list.out);
  PackRun verified = Pack("verify " + Quote((folder_ / "signed.exe").string()));
  EXPECT_EQ(verified.status, 0) << verified.err;
  std::string check = "osslsigncode verify -CAfile " + Quote((folder_ / "cert.pem").string()) + " " +
                      Quote((folder_ / "signed.exe").string()) + " >/dev/null 2>&1";
  EXPECT_EQ(std::system(check.c_str()), 0) << "the signature covers the package";
}

namespace {

std::string WinePath(const fs::path& path) {
  std::string text = "Z:" + path.string();
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

std::string Hex(const Bytes& bytes) {
  std::string text;
  char digits[3];
  for (std::uint8_t byte : bytes) {
    std::snprintf(digits, sizeof digits, "%02x", byte);
    text += digits;
  }
  return text;
}

// The i686 build's package_check, or the x86_64 build's where Wine runs no
// 32-bit programs (scripts/wine-host.sh says which in TARNELL_WINE_ARCHS).
std::string PackageCheckForThisHost() {
  const char* archs = std::getenv("TARNELL_WINE_ARCHS");
  const std::string arch = archs == nullptr || std::string(archs).find("i686") != std::string::npos ? "i686" : "x86_64";
  std::string path = TARNELL_PACKAGE_CHECK;
  if (std::size_t at = path.rfind("ARCH"); at != std::string::npos) path.replace(at, 4, arch);
  return path;
}

}  // namespace

// The setup's own Windows code (ReadPackage, ExtractFile, WriteSetupCopy)
// on what the builder made, signed and unsigned.
TEST_F(PackTest, BuiltSetupReadsAndExtractsUnderWine) {
  const std::string package_check = PackageCheckForThisHost();
  if (!fs::exists(package_check) || std::getenv("WINEPREFIX") == nullptr) {
    GTEST_SKIP() << "needs the Windows build's " << package_check << " and a Wine prefix (WINEPREFIX)";
  }
  WriteText(folder_ / "m.toml", NineteenFileManifest(folder_));
  ASSERT_EQ(Build(folder_ / "m.toml", folder_ / "setup.exe").status, 0);
  ASSERT_EQ(Sign(folder_, folder_ / "setup.exe", folder_ / "signed.exe"), 0);
  const std::vector<SampleFile> files = NineteenFiles();
  for (const char* name : {"setup.exe", "signed.exe"}) {
    Bytes setup = ReadBytes(folder_ / name);
    fs::path out = folder_ / (std::string(name) + ".out");
    fs::create_directories(out);
    std::string command = "wine " + Quote(package_check) + " " + Quote(WinePath(folder_ / name)) + " " +
                          Quote(WinePath(out)) + " </dev/null >" + Quote((out / "stdout.txt").string()) + " 2>" +
                          Quote((out / "stderr.txt").string());
    ASSERT_EQ(std::system(command.c_str()), 0) << name << ": " << ReadText(out / "stderr.txt");
    std::string printed = ReadText(out / "stdout.txt");
    printed.erase(std::remove(printed.begin(), printed.end(), '\r'), printed.end());
    PackageDirectory package = LoadDirectory(setup);
    EXPECT_NE(printed.find("directory " + Hex(SerializePackageDirectory(package)) + "\n"), std::string::npos)
        << name << " read differently:\n"
        << printed;
    EXPECT_NE(printed.find("has_data_folder 1\n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("sum holds\n"), std::string::npos) << printed;
    EXPECT_NE(printed.find("copied " + std::to_string(setup.size()) + "\n"), std::string::npos) << printed;

    for (std::size_t i = 0; i < files.size(); ++i) {
      const SampleFile& file = files[i];
      fs::path target = out / (file.destination == "program" ? "program" : "data") / file.name;
      if (file.destination == "data-untouched") {
        EXPECT_FALSE(fs::exists(target)) << target;
        continue;
      }
      EXPECT_EQ(ReadBytes(target), ReadBytes(folder_ / "bin" / (file.name + ".src"))) << target;
      struct stat written {};
      ASSERT_EQ(stat(target.c_str(), &written), 0) << target;
      std::uint64_t file_time = package.Record(i + 2).file_time;
      EXPECT_EQ(written.st_mtim.tv_sec, static_cast<time_t>(file_time / 10000000 - 11644473600)) << target;
      EXPECT_EQ(written.st_mtim.tv_nsec, static_cast<long>(file_time % 10000000 * 100)) << target;
    }

    Bytes copy = ReadBytes(out / "copy.exe");
    ASSERT_EQ(copy.size(), setup.size());
    PackageDirectory copied = LoadDirectory(copy);
    EXPECT_EQ(copied.version.patch, 0) << name;
    EXPECT_EQ(copied.version.check_word, PackageCheckWord(copied.version)) << name;
    copied.version = package.version;
    EXPECT_EQ(SerializePackageDirectory(copied), SerializePackageDirectory(package)) << "only the version changes";
    // The patch flag changed, and the copy's sum with it: it passes the check as its source did.
    EXPECT_EQ(StoredChecksum(copy), PeFileChecksum(copy.data(), copy.size(), ChecksumField(copy))) << name;
  }
  Bytes damaged = ReadBytes(folder_ / "setup.exe");
  damaged[LoadDirectory(damaged).Record(4).stream_offset + 1] ^= 0x08;
  WriteBytes(folder_ / "damaged.exe", damaged);
  fs::create_directories(folder_ / "damaged.out");
  std::string command = "wine " + Quote(PackageCheckForThisHost()) + " " + Quote(WinePath(folder_ / "damaged.exe")) +
                        " " + Quote(WinePath(folder_ / "damaged.out")) +
                        " </dev/null 2>/dev/null | tr -d '\\r' | grep -qx 'sum broken'";
  EXPECT_EQ(std::system(command.c_str()), 0) << "the setup's own check passes a damaged payload";
}

namespace {

// A built setup of three files, to be damaged.
struct Damageable {
  Bytes setup;
  PackageDirectory package;
};

// m.toml with a.txt (5003 bytes that compress) and b.dll (13 bytes, data folder).
void WriteTwoFileProduct(const fs::path& folder) {
  WriteText(folder / "a.txt", std::string(5000, 'a') + "end");
  WriteText(folder / "b.dll", "library bytes");
  WriteText(folder / "m.toml",
            "[product]\nname = \"Hello\"\nversion = \"1.0\"\n[[file]]\nsource = \"a.txt\"\n"
            "[[file]]\nsource = \"b.dll\"\ndestination = \"data\"\n");
}

// Damage as an older setup shows it, with no PE checksum and no integrity
// record to find it first: what the package reader and the decoder must find
// on their own.
Bytes Unsummed(Bytes setup) {
  SetChecksum(setup, 0);
  std::optional<IntegrityRecord> record = FindIntegrityRecord(setup);
  if (record) std::fill_n(setup.begin() + static_cast<std::ptrdiff_t>(record->at + 4), 8, 0);
  return setup;
}

// Rewrites the directory of `setup` from `package` (the header offset kept).
Bytes WithDirectory(const Bytes& setup, const PackageDirectory& package) {
  Bytes out(setup.begin(), setup.begin() + package.header_offset);
  Bytes directory = SerializePackageDirectory(package);
  out.insert(out.end(), directory.begin(), directory.end());
  return out;
}

}  // namespace

TEST_F(PackTest, DamagedSetupsAreRefusedAndNothingIsWrittenOutside) {
  WriteTwoFileProduct(folder_);
  ASSERT_EQ(Build(folder_ / "m.toml", folder_ / "good.exe").status, 0);
  Bytes good = ReadBytes(folder_ / "good.exe");
  PackageDirectory package = LoadDirectory(good);
  std::string setup_path = (folder_ / "bad.exe").string();

  struct Case {
    const char* what;
    std::function<Bytes()> damage;
    std::string line;
  };
  const Case cases[] = {
      {"flipped check word",
       [&] {
         Bytes bad = good;
         bad[package.header_offset + 6] ^= 0x80;
         return bad;
       },
       "Invalid Tarnell software package."},
      {"truncated directory",
       [&] {
         Bytes bad(good.begin(), good.end() - 30);
         bad.insert(bad.end(), good.end() - 4, good.end());
         return bad;
       },
       setup_path + ": truncated, or not a Tarnell setup"},
      {"trailer pointing outside",
       [&] {
         Bytes bad = good;
         bad[bad.size() - 1] = 0x7F;
         return bad;
       },
       setup_path + ": truncated, or not a Tarnell setup"},
      {"truncated stream",
       [&] {
         // The first stream loses its last bytes; what follows moves up.
         std::uint32_t next = package.Record(3).stream_offset;
         Bytes bad(good.begin(), good.begin() + next - 3);
         bad.insert(bad.end(), good.begin() + next, good.begin() + package.header_offset);
         PackageDirectory cut = package;
         cut.Record(3).stream_offset = next - 3;
         cut.header_offset = package.header_offset - 3;
         return WithDirectory(bad, cut);
       },
       "a.txt: "},
      {"size larger than the stream",
       [&] {
         PackageDirectory bigger = package;
         bigger.Record(3).size += 1;
         return WithDirectory(good, bigger);
       },
       "b.dll: the stream yields 13 of its 14 bytes"},
      {"file name ..\\x.dll",
       [&] {
         PackageDirectory escaping = package;
         escaping.files.Rename(3, "..\\x.dll");
         return WithDirectory(good, escaping);
       },
       "Invalid Tarnell software package: unsafe file name \"..\\x.dll\", which is a folder reference, not a file "
       "name"},
      // Names the setup's reader refuses are refused here by the same rule.
      {"device name",
       [&] {
         PackageDirectory hostile = package;
         hostile.files.Rename(3, "NUL");
         return WithDirectory(good, hostile);
       },
       "Invalid Tarnell software package: unsafe file name \"NUL\", which is a device name on Windows"},
      {"two names of one file",
       [&] {
         PackageDirectory hostile = package;
         hostile.files.Rename(3, "A.TXT");
         return WithDirectory(good, hostile);
       },
       "Invalid Tarnell software package: \"a.txt\" and \"A.TXT\" name one file"},
      {"a folder by its short name",
       [&] {
         PackageDirectory hostile = package;
         hostile.files.Rename(2, "Program Files\\a.txt");
         hostile.files.Rename(3, "PROGRA~1\\b.dll");
         return WithDirectory(good, hostile);
       },
       "Invalid Tarnell software package: \"Program Files\" and \"PROGRA~1\" name one folder"},
      {"association program that is no product file",
       [&] {
         PackageDirectory hostile = package;
         hostile.association_count = 1;
         hostile.associations[0] = {Text("hlo"), Text("cmd.exe"), Text(""), 0, false};
         return WithDirectory(good, hostile);
       },
       "Invalid Tarnell software package: files of type \"hlo\" open with \"cmd.exe\", which is no program file"},
      {"service in the data folder",
       [&] {
         PackageDirectory hostile = package;
         hostile.Record(3).service = 1;
         hostile.Record(3).destination = 1;
         return WithDirectory(good, hostile);
       },
       "Invalid Tarnell software package: the service file \"b.dll\" is not in the program folder"},
  };
  for (const Case& c : cases) {
    WriteBytes(setup_path, Unsummed(c.damage()));
    for (const char* command : {"verify", "extract"}) {
      fs::remove_all(folder_ / "target");
      std::string args = std::string(command) + " " + Quote(setup_path);
      if (std::string(command) == "extract") args += " " + Quote((folder_ / "target" / "inner").string());
      PackRun run = Pack(args);
      EXPECT_EQ(run.status, 1) << c.what << " " << command;
      EXPECT_NE(run.err.find(c.line), std::string::npos) << c.what << " " << command << ": " << run.err;
      // Only whole product files, and only inside the target folder.
      if (fs::exists(folder_ / "target")) {
        for (const auto& entry : fs::recursive_directory_iterator(folder_ / "target")) {
          if (entry.is_directory()) continue;
          EXPECT_EQ(entry.path().parent_path(), folder_ / "target" / "inner") << c.what;
          EXPECT_EQ(ReadBytes(entry.path()), ReadBytes(folder_ / entry.path().filename())) << c.what;
        }
      }
      EXPECT_FALSE(fs::exists(folder_ / "target" / "x.dll"));
      EXPECT_FALSE(fs::exists(folder_ / "x.dll"));
    }
  }
}

TEST_F(PackTest, ExtractNeverReplacesAFileWithLessThanAWholeProductFile) {
  WriteTwoFileProduct(folder_);
  ASSERT_EQ(Build(folder_ / "m.toml", folder_ / "good.exe").status, 0);
  Bytes good = ReadBytes(folder_ / "good.exe");
  PackageDirectory package = LoadDirectory(good);
  Bytes damaged = good;
  damaged[package.Record(3).stream_offset] ^= 0xFF;  // b.dll's stream no longer decodes to its 13 bytes
  WriteBytes(folder_ / "damaged.exe", Unsummed(damaged));
  PackageDirectory twice = package;
  twice.files.Rename(3, "A.TXT");
  WriteBytes(folder_ / "twice.exe", WithDirectory(good, twice));
  const fs::path target = folder_ / "target";
  const std::string mine = "the user's own file, not to be lost";
  auto extract = [&](const std::string& setup, const std::string& more = "") {
    return Pack("extract " + Quote((folder_ / setup).string()) + " " + Quote(target.string()) + more);
  };

  // A folder that holds a product file's name is refused before anything is written.
  WriteText(target / "b.dll", mine);
  PackRun refused = extract("good.exe");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find((target / "b.dll").string() + " exists already"), std::string::npos) << refused.err;
  EXPECT_FALSE(fs::exists(target / "a.txt"));
  EXPECT_EQ(ReadText(target / "b.dll"), mine);

  // With --force, a damaged stream still leaves the user's file as it was, and no temporary file.
  PackRun forced = extract("damaged.exe", " --force");
  EXPECT_EQ(forced.status, 1);
  EXPECT_NE(forced.err.find("b.dll: "), std::string::npos) << forced.err;
  EXPECT_EQ(ReadText(target / "b.dll"), mine);
  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(target)) left.push_back(entry.path().filename().string());
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"a.txt", "b.dll"}));

  // Records that repeat a name are a damaged package, for extract and verify alike.
  for (const char* command : {"extract", "verify"}) {
    std::string args = std::string(command) + " " + Quote((folder_ / "twice.exe").string());
    if (std::string(command) == "extract") args += " " + Quote((folder_ / "other").string());
    PackRun run = Pack(args);
    EXPECT_EQ(run.status, 1) << command;
    EXPECT_NE(run.err.find("\"a.txt\" and \"A.TXT\" name one file"), std::string::npos) << run.err;
  }
  EXPECT_FALSE(fs::exists(folder_ / "other"));

  // Not even --force replaces the setup being read.
  WriteBytes(folder_ / "self" / "b.dll", good);
  PackRun itself = Pack("extract " + Quote((folder_ / "self" / "b.dll").string()) + " " +
                        Quote((folder_ / "self").string()) + " --force");
  EXPECT_EQ(itself.status, 1);
  EXPECT_NE(itself.err.find("is the setup being read"), std::string::npos) << itself.err;
  EXPECT_EQ(ReadBytes(folder_ / "self" / "b.dll"), good);

  PackRun replaced = extract("good.exe", " --force");
  ASSERT_EQ(replaced.status, 0) << replaced.err;
  EXPECT_EQ(ReadText(target / "b.dll"), "library bytes");
}

TEST_F(PackTest, UnreadableInputsAreNamedWithTheReason) {
  WriteText(folder_ / "tiny.exe", "MZ");
  WriteBytes(folder_ / "program.exe", ReadBytes(TARNELL_TEST_STUB));
  fs::create_directories(folder_ / "folder.toml");
  struct Case {
    std::string arguments;
    std::string message;
  };
  const std::string tiny = (folder_ / "tiny.exe").string(), program = (folder_ / "program.exe").string();
  const Case cases[] = {
      {"list " + Quote(tiny), tiny + ": truncated, or not a Tarnell setup"},
      {"verify " + Quote(program), program + ": Invalid Tarnell software package. Not a Tarnell setup"},
      {"list " + Quote((folder_ / "none.exe").string()),
       "cannot open " + (folder_ / "none.exe").string() + ": No such file"},
      {"build " + Quote((folder_ / "folder.toml").string()) + " -o x.exe",
       (folder_ / "folder.toml").string() + ": is a folder, not a manifest file"},
      {"build " + Quote((folder_ / "none.toml").string()) + " -o x.exe",
       (folder_ / "none.toml").string() + ": cannot open the manifest: No such file or directory"},
  };
  for (const Case& c : cases) {
    PackRun run = Pack(c.arguments);
    EXPECT_EQ(run.status, 1) << c.arguments;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << c.arguments << ": " << run.err;
    EXPECT_EQ(run.err.find("line 0"), std::string::npos) << run.err;
  }
}

namespace {

PackageSum SumOf(const Bytes& setup) {
  CaptureLogger logger;
  MemoryPackageFile file(setup.data(), setup.size(), "setup.exe");
  return CheckPackageSum(file, LoadDirectory(setup).SkinRecord().stream_offset);
}

}  // namespace

TEST_F(PackTest, EveryFlippedByteOfThePackageIsFoundByThePeChecksum) {
  std::mt19937 random(7);
  Bytes noise(3000);
  for (std::uint8_t& byte : noise) byte = static_cast<std::uint8_t>(random());
  WriteBytes(folder_ / "noise.bin", noise);  // incompressible: a stored stream
  WriteText(folder_ / "a.txt", std::string(4000, 'a') + "end");
  WriteText(folder_ / "m.toml",
            "[product]\nname = \"Hello\"\nversion = \"1.0\"\n[[file]]\nsource = \"noise.bin\"\n"
            "[[file]]\nsource = \"a.txt\"\n");
  ASSERT_EQ(Build(folder_ / "m.toml", folder_ / "built.exe").status, 0);
  // The PE sum alone, as in a setup made before the integrity record.
  const Bytes setup = WithoutIntegrityRecord(ReadBytes(folder_ / "built.exe"));
  WriteBytes(folder_ / "setup.exe", setup);
  const PackageDirectory package = LoadDirectory(setup);
  ASSERT_EQ(SumOf(setup), PackageSum::kWholeFile);
  // Windows' own sum, as osslsigncode computes it, agrees.
  std::string oss = "osslsigncode verify " + Quote((folder_ / "setup.exe").string()) + " 2>&1 | grep -i checksum";
  std::FILE* pipe = popen(oss.c_str(), "r");
  char line[256] = {};
  std::string said;
  while (std::fgets(line, sizeof line, pipe)) said += line;
  pclose(pipe);
  char expected[64];
  std::snprintf(expected, sizeof expected, "PE checksum   : %08X", StoredChecksum(setup));
  EXPECT_NE(said.find(expected), std::string::npos) << said;
  EXPECT_EQ(said.find("invalid"), std::string::npos) << said;

  // Every byte of the streams and the directory, and a sample of the rest.
  const std::size_t payload = package.Record(2).stream_offset;
  for (std::size_t at = 0; at < setup.size(); at += at < payload ? 61 : 1) {
    Bytes bad = setup;
    bad[at] = static_cast<std::uint8_t>(bad[at] ^ (1u << (at % 8)));
    PackageSum sum;
    try {
      sum = SumOf(bad);
    } catch (const AbortError&) {
      continue;  // the directory no longer reads: refused anyway
    }
    // A flip inside the emptied record gives it a count: damage either way.
    ASSERT_TRUE(sum == PackageSum::kBroken || sum == PackageSum::kRecordBroken) << "byte " << at;
  }

  // The command line: a flipped byte in the stored stream decodes to the
  // right length, and only the sum finds it.
  Bytes flipped = setup;
  flipped[package.Record(2).stream_offset + 100] ^= 0x20;
  WriteBytes(folder_ / "flipped.exe", flipped);
  PackRun verified = Pack("verify " + Quote((folder_ / "flipped.exe").string()));
  EXPECT_EQ(verified.status, 1);
  EXPECT_NE(verified.err.find("the PE checksum does not match the file: the setup is damaged"), std::string::npos)
      << verified.err;
  PackRun extracted =
      Pack("extract " + Quote((folder_ / "flipped.exe").string()) + " " + Quote((folder_ / "out").string()));
  EXPECT_EQ(extracted.status, 1);
  EXPECT_FALSE(fs::exists(folder_ / "out" / "noise.bin"));
  PackRun good = Pack("verify " + Quote((folder_ / "setup.exe").string()));
  EXPECT_NE(good.out.find("the PE checksum over the whole file matches"), std::string::npos) << good.out;
}

TEST_F(PackTest, SignedAndOlderSetupsPassThePeChecksum) {
  WriteText(folder_ / "m.toml", NineteenFileManifest(folder_));
  ASSERT_EQ(Build(folder_ / "m.toml", folder_ / "setup.exe").status, 0);
  ASSERT_EQ(Sign(folder_, folder_ / "setup.exe", folder_ / "signed.exe"), 0);
  const Bytes setup = ReadBytes(folder_ / "setup.exe");
  const Bytes signed_setup = ReadBytes(folder_ / "signed.exe");
  Bytes builders_sum = signed_setup;  // a signing tool that leaves the field alone
  SetChecksum(builders_sum, StoredChecksum(setup));
  Bytes older = WithoutIntegrityRecord(setup);  // the linker's sum of the setup program alone
  SetChecksum(older,
              PeFileChecksum(older.data(), LoadDirectory(older).SkinRecord().stream_offset, ChecksumField(older)));
  Bytes zero = setup;
  SetChecksum(zero, 0);
  Bytes older_damaged = older;
  older_damaged[LoadDirectory(older).Record(3).stream_offset] ^= 0x04;

  struct Case {
    const char* what;
    const Bytes& bytes;
    PackageSum sum;
    const char* said;  // by verify
  };
  const Case cases[] = {
      {"signed, summed again by osslsigncode", signed_setup, PackageSum::kWholeFile, "over the whole file matches"},
      {"signed, the builder's sum kept", builders_sum, PackageSum::kUnsignedFile, "without its signature matches"},
      {"built before package sums", older, PackageSum::kNone, "no PE checksum over the package"},
      {"no sum at all", zero, PackageSum::kNone, "no PE checksum over the package"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(SumOf(c.bytes), c.sum) << c.what;
    WriteBytes(folder_ / "case.exe", c.bytes);
    PackRun run = Pack("verify " + Quote((folder_ / "case.exe").string()));
    EXPECT_EQ(run.status, 0) << c.what << ": " << run.err;
    EXPECT_NE(run.out.find(c.said), std::string::npos) << c.what << ": " << run.out;
  }
  // An older setup has no package sum: only its streams can show damage.
  EXPECT_EQ(SumOf(older_damaged), PackageSum::kNone);
  Bytes signed_damaged = signed_setup;
  signed_damaged[LoadDirectory(signed_setup).Record(5).stream_offset + 10] ^= 0x10;
  EXPECT_EQ(SumOf(signed_damaged), PackageSum::kRecordBroken);
}

// Two swapped aligned words leave the PE checksum as it was; in a stored
// stream the decoder finds nothing either. The CRC of the integrity record
// does, and nothing is extracted.
TEST_F(PackTest, SwappedWordsInAStoredStreamFailVerifyAndExtract) {
  Bytes noise(6000);
  std::uint32_t state = 12345;
  for (std::uint8_t& byte : noise) byte = static_cast<std::uint8_t>((state = state * 1103515245 + 12345) >> 16);
  WriteBytes(folder_ / "noise.bin", noise);
  WriteText(folder_ / "m.toml", "[product]\nname = \"Hello\"\nversion = \"1.0\"\n[[file]]\nsource = \"noise.bin\"\n");
  ASSERT_EQ(Build(folder_ / "m.toml", folder_ / "good.exe").status, 0);
  Bytes good = ReadBytes(folder_ / "good.exe");
  std::optional<IntegrityRecord> record = FindIntegrityRecord(good);
  ASSERT_TRUE(record);
  EXPECT_EQ(record->count, good.size() - LoadDirectory(good).SkinRecord().stream_offset);
  PackRun intact = Pack("verify " + Quote((folder_ / "good.exe").string()));
  EXPECT_EQ(intact.status, 0) << intact.err;
  EXPECT_NE(intact.out.find("the CRC-32 of the package data matches its integrity record"), std::string::npos);

  // Past the stored block's header, two different words at even offsets.
  std::size_t at = (LoadDirectory(good).Record(2).stream_offset + 64) & ~std::size_t{1};
  while (good[at] == good[at + 2] && good[at + 1] == good[at + 3]) at += 2;
  Bytes bad = good;
  std::swap(bad[at], bad[at + 2]);
  std::swap(bad[at + 1], bad[at + 3]);
  ASSERT_EQ(StoredChecksum(bad), PeFileChecksum(bad.data(), bad.size(), ChecksumField(bad)))
      << "the 16-bit sum cannot see it";
  EXPECT_EQ(SumOf(bad), PackageSum::kRecordBroken);
  WriteBytes(folder_ / "bad.exe", bad);
  PackRun verify = Pack("verify " + Quote((folder_ / "bad.exe").string()));
  EXPECT_EQ(verify.status, 1);
  EXPECT_NE(verify.err.find("the integrity record (CRC-32) does not match the package"), std::string::npos)
      << verify.err;
  PackRun extract = Pack("extract " + Quote((folder_ / "bad.exe").string()) + " " + Quote((folder_ / "out").string()));
  EXPECT_EQ(extract.status, 1);
  EXPECT_FALSE(fs::exists(folder_ / "out" / "noise.bin"));
}

TEST_F(PackTest, SourceDateEpochMakesAFreshCheckoutBuildTheSameSetup) {
  WriteText(folder_ / "a.txt", "text");
  WriteText(folder_ / "b.txt", "more text");
  WriteText(folder_ / "m.toml",
            "[product]\nname = \"Hello\"\nversion = \"1.0\"\n[[file]]\nsource = \"a.txt\"\n"
            "[[file]]\nsource = \"b.txt\"\ntime = 2020-01-01T00:00:00Z\n");
  setenv("SOURCE_DATE_EPOCH", "1767225600", 1);  // 2026-01-01T00:00:00Z
  PackRun one = Build(folder_ / "m.toml", folder_ / "one.exe");
  fs::last_write_time(folder_ / "a.txt", fs::last_write_time(folder_ / "a.txt") - std::chrono::hours(50));
  PackRun two = Build(folder_ / "m.toml", folder_ / "two.exe");
  setenv("SOURCE_DATE_EPOCH", "yesterday", 1);
  PackRun bad = Build(folder_ / "m.toml", folder_ / "bad.exe");
  unsetenv("SOURCE_DATE_EPOCH");
  ASSERT_EQ(one.status, 0) << one.err;
  ASSERT_EQ(two.status, 0) << two.err;
  EXPECT_EQ(ReadBytes(folder_ / "one.exe"), ReadBytes(folder_ / "two.exe"));
  PackageDirectory package = LoadDirectory(ReadBytes(folder_ / "one.exe"));
  EXPECT_EQ(package.Record(2).file_time, (1767225600 + 11644473600ull) * 10000000);
  EXPECT_EQ(package.Record(3).file_time, (1577836800 + 11644473600ull) * 10000000) << "a given time stays";
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("SOURCE_DATE_EPOCH: \"yesterday\" is not a number"), std::string::npos) << bad.err;
  EXPECT_FALSE(fs::exists(folder_ / "bad.exe"));
  // The Windows programs carry no link time either (0 in the PE header).
  if (fs::exists(PackageCheckForThisHost())) {
    Bytes program = ReadBytes(PackageCheckForThisHost());
    std::size_t pe = program[0x3C] | program[0x3D] << 8;
    EXPECT_EQ(program[pe + 8] | program[pe + 9] << 8 | program[pe + 10] << 16 | program[pe + 11] << 24, 0);
  }
}

TEST_F(PackTest, CommandsForContinuousIntegration) {
  WriteText(folder_ / "bin" / "Hello.exe", std::string(20000, 'h'));
  WriteText(folder_ / "bin" / "notes.txt", "text\n");
  WriteText(folder_ / "m.toml",
            "[product]\nname = \"Hello\"\nversion = \"1.2\"\n[[file]]\nsource = \"bin/Hello.exe\"\n"
            "[[file]]\nsource = \"bin/notes.txt\"\ndestination = \"data\"\n"
            "[[association]]\nextension = \"hlo\"\nprogram = \"Hello.exe\"\n"
            "text = \"a \\\"quoted\\\" text\\\\ and a\\ttab\"\n");
  const std::string manifest = Quote((folder_ / "m.toml").string()), setup = Quote((folder_ / "s.exe").string());

  PackRun version = Pack("--version");
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, "tarnell-pack 1.0\n");

  PackRun checked = Pack("check " + manifest + " --stub " + Quote(TARNELL_TEST_STUB));
  EXPECT_EQ(checked.status, 0) << checked.err;
  EXPECT_EQ(checked.out, (folder_ / "m.toml").string() + ": 2 files, 1 associations, ready to build\n");
  EXPECT_TRUE(fs::is_empty(folder_ / "bin") == false && !fs::exists(folder_ / "s.exe"));
  WriteText(folder_ / "bad.toml", "[product]\nname = \"Hello\"\nversion = \"x\"\n");
  PackRun refused = Pack("check " + Quote((folder_ / "bad.toml").string()) + " --stub " + Quote(TARNELL_TEST_STUB));
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.err.find("product.version"), std::string::npos) << refused.err;

  PackRun normal = Build(folder_ / "m.toml", folder_ / "s.exe");  // standard error is no terminal here
  ASSERT_EQ(normal.status, 0) << normal.err;
  EXPECT_EQ(normal.err, "");
  EXPECT_NE(normal.out.find("s.exe: 2 files, "), std::string::npos);
  PackRun verbose = Build(folder_ / "m.toml", folder_ / "s.exe", "--verbose");
  EXPECT_NE(verbose.err.find("  Hello.exe: 20000 -> "), std::string::npos) << verbose.err;
  EXPECT_NE(verbose.err.find("  notes.txt: 5 -> "), std::string::npos) << verbose.err;
  EXPECT_EQ(std::count(verbose.err.begin(), verbose.err.end(), '%'), 2) << verbose.err;
  PackRun quiet = Build(folder_ / "m.toml", folder_ / "s.exe", "--quiet");
  EXPECT_EQ(quiet.status, 0);
  EXPECT_EQ(quiet.out + quiet.err, "");

  PackRun json = Pack("list --json --sha256 " + setup);
  ASSERT_EQ(json.status, 0) << json.err;
  WriteText(folder_ / "list.json", json.out);
  std::string parse =
      "python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); print(d[\"product\"], d[\"version\"], "
      "d[\"files\"][1][\"name\"], d[\"files\"][1][\"destination\"], d[\"associations\"][0][\"extension\"], "
      "repr(d[\"associations\"][0][\"text\"]), "
      "d[\"files\"][0][\"sha256\"])' " +
      Quote((folder_ / "list.json").string()) + " >" + Quote((folder_ / "parsed.txt").string());
  ASSERT_EQ(std::system(parse.c_str()), 0) << json.out;
  std::string sum = "sha256sum " + Quote((folder_ / "bin" / "Hello.exe").string()) + " | cut -c1-64 >" +
                    Quote((folder_ / "sum.txt").string());
  ASSERT_EQ(std::system(sum.c_str()), 0);
  std::string hello_sum = ReadText(folder_ / "sum.txt");
  EXPECT_EQ(ReadText(folder_ / "parsed.txt"),
            "Hello 1.2 notes.txt data hlo 'a \"quoted\" text\\\\ and a\\ttab' " + hello_sum);
  PackRun listed = Pack("list --sha256 " + setup);
  EXPECT_NE(listed.out.find("    sha256 " + hello_sum), std::string::npos) << listed.out;
}

TEST_F(PackTest, LikelyMistakesAreWarnedAndTheSetupIsStillBuilt) {
  WriteText(folder_ / "Hello.exe", "program");
  WriteText(folder_ / "readme.txt", "text");
  WriteText(folder_ / "agent.dll", "library");
  WriteText(folder_ / "settings.ini", "defaults");
  WriteText(folder_ / "empty.ini", "");
  const std::string long_name = std::string(180, 'n') + ".txt";
  WriteText(folder_ / long_name, "deep");
  const std::string product = "[product]\nname = \"Hello\"\nversion = \"1.0\"\n";
  auto file = [](const std::string& source, const std::string& more = "") {
    return "[[file]]\nsource = \"" + source + "\"\n" + more;
  };
  struct Case {
    std::string manifest;
    std::string warning;  // empty: none
  };
  const Case cases[] = {
      {product + file("Hello.exe") + file("readme.txt"), ""},
      {product + file("readme.txt") + file("Hello.exe"),
       "file[1]: \"readme.txt\" is not a program in the program folder"},
      {product + file("Hello.exe", "destination = \"data\"\n"),
       "file[1]: \"Hello.exe\" is not a program in the program folder"},
      {product + file("Hello.exe") + file("agent.dll", "service = true\n"),
       "file[2].service: \"agent.dll\" is not an .exe"},
      {product + file("Hello.exe") + file("settings.ini", "destination = \"data-untouched\"\n"),
       "file[2].destination: the 8 bytes of \"settings.ini\" are packed, but the install never writes"},
      {product + file("Hello.exe") + file("empty.ini", "destination = \"data-untouched\"\n"), ""},
      {product + file("Hello.exe") + file(long_name),
       "file[2]: \"" + long_name + "\" is 184 characters long: under a folder of more than 74 characters it passes"},
  };
  for (const Case& c : cases) {
    WriteText(folder_ / "m.toml", c.manifest);
    fs::remove(folder_ / "s.exe");
    PackRun run = Build(folder_ / "m.toml", folder_ / "s.exe");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(fs::exists(folder_ / "s.exe"));
    if (c.warning.empty()) {
      EXPECT_EQ(run.err, "") << c.manifest;
    } else {
      EXPECT_EQ(run.err.rfind("tarnell-pack: warning: " + c.warning, 0), 0u) << run.err;
      EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    }
    EXPECT_EQ(Pack("check " + Quote((folder_ / "m.toml").string()) + " --stub " + Quote(TARNELL_TEST_STUB)).err,
              run.err);
    EXPECT_EQ(Build(folder_ / "m.toml", folder_ / "s.exe", "--quiet").err, "");
  }
}

TEST_F(PackTest, InstalledToolFindsTheSetupProgramBesideIt) {
  std::string install = "cmake --install " + Quote(TARNELL_BINARY_DIR) + " --prefix " +
                        Quote((folder_ / "prefix").string()) + " >/dev/null";
  ASSERT_EQ(std::system(install.c_str()), 0);
  const fs::path bin = folder_ / "prefix" / "bin";
  ASSERT_TRUE(fs::exists(bin / "tarnell-pack"));
  // Other programs under the setups' names show which one build took.
  fs::remove(bin / "tarnell-setup.exe");
  fs::remove(bin / "tarnell-setup-x64.exe");
  fs::copy_file(TARNELL_TEST_STUB, bin / "tarnell-setup.exe");
  fs::copy_file(TARNELL_TEST_STUB_X64, bin / "tarnell-setup-x64.exe");
  WriteText(folder_ / "a.txt", "text");
  const std::string manifest = "[product]\nname = \"Hello\"\nversion = \"1.0\"\n";
  const std::string file = "[[file]]\nsource = \"a.txt\"\n";
  WriteText(folder_ / "x86.toml", manifest + file);
  WriteText(folder_ / "x64.toml", manifest + "architecture = \"x64\"\n" + file);
  for (const std::string architecture : {"x86", "x64"}) {
    std::string build = Quote((bin / "tarnell-pack").string()) + " build --quiet " +
                        Quote((folder_ / (architecture + ".toml")).string()) + " -o " +
                        Quote((folder_ / "s.exe").string());
    ASSERT_EQ(std::system(build.c_str()), 0) << architecture;
    EXPECT_TRUE(StartsWithProgramOf(ReadBytes(folder_ / "s.exe"),
                                    architecture == "x86" ? TARNELL_TEST_STUB : TARNELL_TEST_STUB_X64))
        << architecture;
  }
}

TEST_F(PackTest, ArchitecturePicksTheSetupProgramAndListShowsIt) {
  WriteText(folder_ / "Hello.exe", "program");
  const std::string product = "[product]\nname = \"Hello\"\nversion = \"1.0\"\n";
  const std::string file = "[[file]]\nsource = \"Hello.exe\"\n";
  WriteText(folder_ / "x86.toml", product + file);
  WriteText(folder_ / "x64.toml", product + "architecture = \"x64\"\n" + file);
  WriteText(folder_ / "arm.toml", product + "architecture = \"arm64\"\n" + file);
  auto build = [&](const std::string& manifest, const std::string& stub) {
    return Pack("build " + Quote((folder_ / manifest).string()) + " -o " + Quote((folder_ / "s.exe").string()) +
                " --stub " + Quote(stub));
  };
  PackRun x64 = build("x64.toml", TARNELL_TEST_STUB_X64);
  ASSERT_EQ(x64.status, 0) << x64.err;
  const Bytes setup = ReadBytes(folder_ / "s.exe");
  EXPECT_EQ(SumOf(setup), PackageSum::kWholeFile) << "the sum of a PE32+ image";
  EXPECT_NE(Pack("list " + Quote((folder_ / "s.exe").string())).out.find("Setup:        x64 (64-bit setup program)\n"),
            std::string::npos);
  EXPECT_NE(Pack("list --json " + Quote((folder_ / "s.exe").string())).out.find("\"architecture\": \"x64\""),
            std::string::npos);
  ASSERT_EQ(build("x86.toml", TARNELL_TEST_STUB).status, 0);
  EXPECT_NE(Pack("list " + Quote((folder_ / "s.exe").string())).out.find("Setup:        x86 (32-bit setup program)\n"),
            std::string::npos);

  struct Case {
    std::string manifest;
    std::string stub;
    std::string message;
  };
  const Case cases[] = {
      {"x64.toml", TARNELL_TEST_STUB, "the stub is a 32-bit setup program, but product.architecture asks for \"x64\""},
      {"x86.toml", TARNELL_TEST_STUB_X64,
       "the stub is a 64-bit setup program, but product.architecture asks for \"x86\""},
      {"arm.toml", TARNELL_TEST_STUB, "product.architecture: \"arm64\" is none of \"x86\", \"x64\""},
  };
  for (const Case& c : cases) {
    fs::remove(folder_ / "s.exe");
    PackRun run = build(c.manifest, c.stub);
    EXPECT_EQ(run.status, 1) << c.manifest;
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(folder_ / "s.exe"));
  }
}

TEST_F(PackTest, SetupCarriesTheProductsIconAndVersion) {
  // An icon file whose one picture is a PNG, as Windows Vista and later take them.
  Bytes png = ReadBytes(fs::path(TARNELL_SOURCE_DIR) / "skin" / "default" / "check2.png");
  Bytes ico = {0, 0, 1, 0, 1, 0, 13, 15, 0, 0, 1, 0, 32, 0};
  for (int i = 0; i < 4; ++i) ico.push_back(static_cast<std::uint8_t>(png.size() >> (8 * i)));
  ico.insert(ico.end(), {22, 0, 0, 0});
  ico.insert(ico.end(), png.begin(), png.end());
  WriteBytes(folder_ / "hello.ico", ico);
  WriteText(folder_ / "not.ico", "no icon");
  WriteText(folder_ / "Hello.exe", "program");
  const std::string product = "[product]\nname = \"Hello World\"\nversion = \"2.13\"\n";
  const std::string file = "[[file]]\nsource = \"Hello.exe\"\n";
  WriteText(folder_ / "m.toml", product + "setup_icon = \"hello.ico\"\ncopyright = \"\u00a9 2026 Hello Ltd\"\n" + file);
  WriteText(folder_ / "bad.toml", product + "setup_icon = \"not.ico\"\n" + file);
  ASSERT_EQ(Build(folder_ / "m.toml", folder_ / "setup.exe").status, 0);
  PackRun bad = Build(folder_ / "bad.toml", folder_ / "bad.exe");
  EXPECT_EQ(bad.status, 1);
  EXPECT_NE(bad.err.find("bad.toml:4: product.setup_icon: \"not.ico\" is not an icon file"), std::string::npos)
      << bad.err;

  // Still a signable image whose package reads and verifies.
  ASSERT_EQ(Sign(folder_, folder_ / "setup.exe", folder_ / "signed.exe"), 0);
  std::string check = "osslsigncode verify -CAfile " + Quote((folder_ / "cert.pem").string()) + " " +
                      Quote((folder_ / "signed.exe").string()) + " >/dev/null 2>&1";
  EXPECT_EQ(std::system(check.c_str()), 0);
  for (const char* name : {"setup.exe", "signed.exe"}) {
    PackRun verified = Pack("verify " + Quote((folder_ / name).string()));
    EXPECT_EQ(verified.status, 0) << name << ": " << verified.err;
  }

  if (!fs::exists(PackageCheckForThisHost()) || std::getenv("WINEPREFIX") == nullptr) {
    GTEST_SKIP() << "the resource API part needs a Windows build's package_check and a Wine prefix";
  }
  for (const char* name : {"setup.exe", "signed.exe"}) {
    fs::path out = folder_ / (std::string(name) + ".out");
    fs::create_directories(out);
    std::string command = "wine " + Quote(PackageCheckForThisHost()) + " " + Quote(WinePath(folder_ / name)) + " " +
                          Quote(WinePath(out)) + " </dev/null 2>/dev/null | tr -d '\\r' >" +
                          Quote((out / "printed.txt").string());
    ASSERT_EQ(std::system(command.c_str()), 0) << name;
    std::string printed = ReadText(out / "printed.txt");
    for (const std::string& line :
         {std::string("version ProductName=Hello World\n"), std::string("version ProductVersion=2.13\n"),
          std::string("version FileDescription=Hello World Setup\n"), std::string("version CompanyName=Tarnell AG\n"),
          std::string("version LegalCopyright=\xa9 2026 Hello Ltd\n"),  // as the ANSI API gives it
          "icon 13x15 " + std::to_string(png.size()) + " bytes\n", std::string("sum holds\n")}) {
      EXPECT_NE(printed.find(line), std::string::npos) << name << ": " << line << "\n" << printed;
    }
  }
}

TEST(StreamEncoder, RefusedStreamIsReplacedByTheNextEncoders) {
  Bytes data(20000);
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<std::uint8_t>(i * i / 7);
  // An empty stored block before the data: valid DEFLATE, refused by the setup.
  StreamEncoder with_empty_block{"empty stored block first", [](const Bytes& input) {
                                   Bytes stream = {0x00, 0x00, 0x00, 0xFF, 0xFF};
                                   Bytes rest = DefaultEncoders(6)[0].encode(input);
                                   stream.insert(stream.end(), rest.begin(), rest.end());
                                   return stream;
                                 }};
  ASSERT_FALSE(DecodesTo(with_empty_block.encode(data), data));
  std::vector<StreamEncoder> encoders = DefaultEncoders(12);
  encoders.insert(encoders.begin(), with_empty_block);
  Bytes stream = EncodeChecked(data, encoders);
  EXPECT_EQ(stream, DefaultEncoders(12)[0].encode(data));

  StreamEncoder truncating{"truncating", [](const Bytes& input) {
                             Bytes half = DefaultEncoders(6)[0].encode(input);
                             half.resize(half.size() / 2);
                             return half;
                           }};
  try {
    EncodeChecked(data, {with_empty_block, truncating});
    FAIL() << "no stream passed, yet one was used";
  } catch (const PackError& error) {
    EXPECT_NE(std::string(error.what()).find("(empty stored block first, truncating)"), std::string::npos);
  }
}

TEST(StreamEncoder, EmptyFileIsTheEmptyFixedBlockAndLongerStreamsFail) {
  EXPECT_EQ(EncodeChecked({}, DefaultEncoders(12)), (Bytes{0x03, 0x00}));
  Bytes data = {1, 2, 3, 4, 5};
  Bytes stream = DefaultEncoders(12)[0].encode(data);
  EXPECT_TRUE(DecodesTo(stream, data));
  EXPECT_FALSE(DecodesTo(stream, Bytes{1, 2, 3, 4}));
  EXPECT_FALSE(DecodesTo(stream, Bytes{1, 2, 3, 4, 5, 6}));
  EXPECT_FALSE(DecodesTo(stream, Bytes{1, 2, 3, 4, 6}));
  // zlib's and libdeflate's own empty streams hold a stored block of length 0.
  EXPECT_FALSE(DecodesTo(DefaultEncoders(12)[0].encode({}), {}));
}
