// Guards tarnell-pack as a publisher meets it: a full manifest builds a setup
// that lists, verifies and extracts exactly (bytes and file times), the same
// inputs give the same bytes, a signed setup reads like the unsigned one,
// every invalid manifest names its field and leaves no file behind, and
// damaged setups are refused with the setup's own lines.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "capture_logger.h"
#include "package/directory_writer.h"
#include "package/package_loader.h"
#include "pack_error.h"
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
    folder_ = fs::path(base ? base : "/tmp") /
              ("pack-" + std::to_string(getpid()) + "-" +
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
    bytes[i] = file.random ? static_cast<std::uint8_t>(random()) : static_cast<std::uint8_t>(words[(i * 7 + i / 50) % words.size()]);
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
    manifest << "\n[[file]]\nsource = \"bin/" << file.name << ".src\"\nname = \"" << file.name
             << "\"\ndestination = \"" << file.destination << "\"\nshortcut = \"" << file.shortcut
             << "\"\nicon = " << file.icon << "\nservice = " << (file.service ? "true" : "false") << "\n";
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
  ASSERT_EQ(package.file_count, 20);
  EXPECT_STREQ(package.Record(1).name.c_str(), "");
  EXPECT_EQ(package.Record(1).stream_offset, fs::file_size(TARNELL_TEST_STUB));
  EXPECT_TRUE(package.has_data_folder);
  std::vector<SampleFile> files = NineteenFiles();
  for (std::size_t i = 0; i < files.size(); ++i) {
    const FileRecord& record = package.Record(i + 2);
    EXPECT_STREQ(record.name.c_str(), files[i].name.c_str());
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
        "  HelloAgent.exe\n    size 50000, stream at ", ", program, shortcut start-menu, icon 2, service, time 2025-06-30T21:59:59.1234567Z\n",
        "  settings.ini\n", "data-untouched", "Associations: 4\n", "  .hel -> HelloAgent.exe, icon 3, text \"Hello document 3\"\n"}) {
    EXPECT_NE(listed.out.find(expected), std::string::npos) << expected << "\n" << listed.out;
  }

  PackRun verified = Pack("verify " + Quote((folder_ / "Hello_Setup.exe").string()));
  EXPECT_EQ(verified.status, 0) << verified.err;

  PackRun extracted = Pack("extract " + Quote((folder_ / "Hello_Setup.exe").string()) + " " + Quote((folder_ / "out").string()));
  ASSERT_EQ(extracted.status, 0) << extracted.err;
  for (std::size_t i = 0; i < files.size(); ++i) {
    fs::path target = folder_ / "out" / files[i].name;
    EXPECT_EQ(ReadBytes(target), ReadBytes(folder_ / "bin" / (files[i].name + ".src"))) << files[i].name;
    struct stat extracted_status {}, source_status {};
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
  std::string twenty_files = product;
  for (int i = 0; i < 20; ++i) twenty_files += file_named("f" + std::to_string(i) + ".dll");
  std::string five_associations = product + hello;
  for (int i = 0; i < 5; ++i) five_associations += association("e" + std::to_string(i), "Hello.exe");

  struct Case {
    std::string manifest;
    std::string message;  // the field and what is wrong with it
  };
  const Case cases[] = {
      {twenty_files, "file: more than 19 product files"},
      {five_associations, "association: more than 4 file associations"},
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
      {product + hello + file_named("\u00c4rger.txt") + file_named("\u00e4rger.txt"),
       "file[3].name: \"\u00e4rger.txt\" is the name of file[2] as well"},
      {product + hello + file_named("\u65e5\u672c.txt"), "file[2].name: \"\u65e5\u672c.txt\" holds a character"},
      {"[product]\nname = \"Tools\\\\Hello\"\nversion = \"1.0\"\n" + hello, "product.name: \"Tools\\Hello\" holds a path separator"},
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
      {product + hello + "service = true\n" + file_named("hello.dll") + "service = true\n",
       "file[2].service: its service name \"hello\" is that of file[1]"},
      {product + hello + association("hlo", "other.dll"), "association[1].program: \"other.dll\" is not the name of a product file"},
      {product + hello + association(".hlo", "Hello.exe"), "association[1].extension: \".hlo\" must be given without dots"},
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
  {
    std::ofstream(folder_ / "huge.bin");
  }
  fs::resize_file(folder_ / "huge.bin", std::uint64_t{1} << 32);  // sparse: 4 GiB, one byte too many
  WriteText(folder_ / "m.toml", "[product]\nname = \"Hello\"\nversion = \"1.0\"\n[[file]]\nsource = \"huge.bin\"\n");
  PackRun run = Build(folder_ / "m.toml", folder_ / "out.exe");
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("file[1].source: huge.bin is larger than 4 GiB - 1 bytes"), std::string::npos) << run.err;
  EXPECT_FALSE(fs::exists(folder_ / "out.exe"));
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
  EXPECT_GT(with_default.Record(1).size, 12000u) << "the default skin's pictures";
  EXPECT_NE(with_custom.Record(1).size, with_default.Record(1).size);

  PackRun bad = Build(folder_ / "bad.toml", folder_ / "bad.exe");
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err.rfind("tarnell-pack: skin.folder: ", 0), 0u) << bad.err;
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

}  // namespace

// The setup's own Windows code (ReadPackage, ExtractFile, WriteSetupCopy)
// on what the builder made, signed and unsigned.
TEST_F(PackTest, BuiltSetupReadsAndExtractsUnderWine) {
  if (!fs::exists(TARNELL_PACKAGE_CHECK) || std::getenv("WINEPREFIX") == nullptr) {
    GTEST_SKIP() << "needs the i686 build's " << TARNELL_PACKAGE_CHECK << " and a Wine prefix (WINEPREFIX)";
  }
  WriteText(folder_ / "m.toml", NineteenFileManifest(folder_));
  ASSERT_EQ(Build(folder_ / "m.toml", folder_ / "setup.exe").status, 0);
  ASSERT_EQ(Sign(folder_, folder_ / "setup.exe", folder_ / "signed.exe"), 0);
  const std::vector<SampleFile> files = NineteenFiles();
  for (const char* name : {"setup.exe", "signed.exe"}) {
    Bytes setup = ReadBytes(folder_ / name);
    fs::path out = folder_ / (std::string(name) + ".out");
    fs::create_directories(out);
    std::string command = "wine " + Quote(TARNELL_PACKAGE_CHECK) + " " + Quote(WinePath(folder_ / name)) + " " +
                          Quote(WinePath(out)) + " </dev/null >" + Quote((out / "stdout.txt").string()) + " 2>" +
                          Quote((out / "stderr.txt").string());
    ASSERT_EQ(std::system(command.c_str()), 0) << name << ": " << ReadText(out / "stderr.txt");
    std::string printed = ReadText(out / "stdout.txt");
    printed.erase(std::remove(printed.begin(), printed.end(), '\r'), printed.end());
    PackageDirectory package = LoadDirectory(setup);
    EXPECT_NE(printed.find("directory " + Hex(SerializePackageDirectory(package)) + "\n"), std::string::npos)
        << name << " read differently:\n" << printed;
    EXPECT_NE(printed.find("has_data_folder 1\n"), std::string::npos) << printed;
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
  }
}

namespace {

// A built setup of three files, to be damaged.
struct Damageable {
  Bytes setup;
  PackageDirectory package;
};

// Rewrites the directory of `setup` from `package` (the header offset kept).
Bytes WithDirectory(const Bytes& setup, const PackageDirectory& package) {
  Bytes out(setup.begin(), setup.begin() + package.header_offset);
  Bytes directory = SerializePackageDirectory(package);
  out.insert(out.end(), directory.begin(), directory.end());
  return out;
}

}  // namespace

TEST_F(PackTest, DamagedSetupsAreRefusedAndNothingIsWrittenOutside) {
  WriteText(folder_ / "a.txt", std::string(5000, 'a') + "end");
  WriteText(folder_ / "b.dll", "library bytes");
  WriteText(folder_ / "m.toml",
            "[product]\nname = \"Hello\"\nversion = \"1.0\"\n[[file]]\nsource = \"a.txt\"\n"
            "[[file]]\nsource = \"b.dll\"\ndestination = \"data\"\n");
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
       "Error reading file: " + setup_path},
      {"trailer pointing outside",
       [&] {
         Bytes bad = good;
         bad[bad.size() - 1] = 0x7F;
         return bad;
       },
       "Error reading file: " + setup_path},
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
         escaping.Record(3).name.Assign("..\\x.dll");
         return WithDirectory(good, escaping);
       },
       "Invalid Tarnell software package: unsafe file name \"..\\x.dll\", which holds a path separator"},
      // Names the setup's reader refuses are refused here by the same rule.
      {"device name",
       [&] {
         PackageDirectory hostile = package;
         hostile.Record(3).name.Assign("NUL");
         return WithDirectory(good, hostile);
       },
       "Invalid Tarnell software package: unsafe file name \"NUL\", which is a device name on Windows"},
      {"two names of one file",
       [&] {
         PackageDirectory hostile = package;
         hostile.Record(3).name.Assign("A.TXT");
         return WithDirectory(good, hostile);
       },
       "Invalid Tarnell software package: \"a.txt\" and \"A.TXT\" name one file"},
      {"association program that is no product file",
       [&] {
         PackageDirectory hostile = package;
         hostile.association_count = 1;
         hostile.associations[0] = {Text("hlo"), Text("cmd.exe"), Text(""), 0, false};
         return WithDirectory(good, hostile);
       },
       "Invalid Tarnell software package: files of type \"hlo\" open with \"cmd.exe\", which is no program file"},
  };
  for (const Case& c : cases) {
    WriteBytes(setup_path, c.damage());
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
