// The choice of mode against Wine's real registry and real setup files: the
// mode table row by row, what the window shows for a registered product
// (options, folders, associations) and the version lines. Every test writes
// its own setups and registers products of its own names, removed at the end.
#include "app/setup_mode.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "capture_logger.h"
#include "package/directory_writer.h"
#include "registry_values.h"
#include "system/locations.h"
#include "system/uninstall_registration.h"
#include "test_folder.h"

namespace {

struct PackageShape {
  std::uint8_t language = 0;
  std::uint8_t patch = 0;
  std::uint8_t major = 1;
  std::uint16_t minor = 0;
  bool data_file = false;
  std::vector<std::string> extensions;
};

// The headers of a PE image with no sections and no CheckSum: as much of a
// program as the check of the whole file asks for.
std::string ProgramStandIn() {
  std::string image(64 + 24 + 96, '\0');
  image[0] = 'M';
  image[1] = 'Z';
  image[0x3C] = 64;
  image.replace(64, 4, std::string("PE\0\0", 4));
  image[64 + 20] = 96;    // the optional header's size
  image[64 + 24] = 0x0B;  // PE32
  image[64 + 25] = 0x01;
  return image;
}

// Writes a setup file: a stand-in for the program, then the directory.
void WriteSetup(const std::string& path, const std::string& product, const PackageShape& shape) {
  const std::string program = ProgramStandIn();
  PackageDirectory package;
  package.header_offset = static_cast<std::uint32_t>(program.size());
  package.version.language = shape.language;
  package.version.patch = shape.patch;
  package.version.major = shape.major;
  package.version.minor = shape.minor;
  package.version.check_word = PackageCheckWord(package.version);
  package.product_name.Assign(product.c_str());
  package.files.Add(FileRecord{});
  package.files.Add(FileRecord{}, "App.exe").size = 1000;
  if (shape.data_file) package.files.Add(FileRecord{}, "Data.db").destination = 1;
  package.display_icon.Assign("App.exe,0");
  for (const std::string& extension : shape.extensions) {
    AssociationEntry& entry = package.associations[package.association_count++];
    entry.extension.Assign(extension.c_str());
    entry.program.Assign("App.exe");
  }
  std::vector<std::uint8_t> directory = SerializePackageDirectory(package);
  WriteTestFile(path, program + std::string(directory.begin(), directory.end()));
}

std::string Upper(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

// The installed setup copy that the registration names.
enum class Copy { kNone, kThisRun, kReadable, kMissing, kDamaged };

// A product of the test's own: its setups in a test folder, its registration
// and file types removed at the end.
class TestProduct {
 public:
  explicit TestProduct(const TestFolder& folder) : folder_(folder) {
    static int counter = 0;
    name_ = "TarnellMode" + std::to_string(GetCurrentProcessId()) + "n" + std::to_string(counter++);
    CreateDirectoryA(ProgramFolder().c_str(), nullptr);
  }
  ~TestProduct() {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, UninstallKeyPath(name_.c_str()).c_str());
    for (const std::string& extension : extensions_) RegDeleteKeyA(HKEY_CLASSES_ROOT, ("." + extension).c_str());
  }

  const std::string& Name() const { return name_; }
  std::string ProgramFolder() const { return folder_ / (name_ + " Program"); }
  std::string PackagePath() const { return folder_ / (name_ + ".exe"); }
  std::string CopyPath() const { return ProgramFolder() + "\\" + name_ + "_Setup.exe"; }
  // An extension of this product's own.
  std::string Extension(char letter) const {
    return "x" + std::to_string(GetCurrentProcessId()) + name_.substr(name_.rfind('n') + 1) + letter;
  }

  // Writes the package and the setup copy; returns the path to run: the
  // package, or for kThisRun the copy in other letters (the same file).
  std::string WriteSetups(Copy copy, const PackageShape& package, const PackageShape& installed = {}) {
    WriteSetup(PackagePath(), name_, package);
    if (copy == Copy::kThisRun) {
      WriteSetup(CopyPath(), name_, package);
      return Upper(CopyPath());
    }
    if (copy == Copy::kReadable) WriteSetup(CopyPath(), name_, installed);
    if (copy == Copy::kDamaged) WriteTestFile(CopyPath(), "not a setup at all");
    return PackagePath();
  }

  // Registers the product as an earlier install would, with `command` as
  // its uninstall command (the setup copy by default).
  void Register(std::uint32_t flags, const char* data_folder = "", const std::string& command = "") {
    ProductRecord record;
    ApplyOptionFlags(flags, record);
    record.program_folder.Assign(ProgramFolder().c_str());
    record.data_folder.Assign(data_folder);
    RegisterProduct(record, name_.c_str(), command.empty() ? CopyPath().c_str() : command.c_str(), 0);
  }

  // Points the extension at this product's file type, as an install does.
  void AssociateExtension(const std::string& extension) {
    extensions_.push_back(extension);
    SetRegistryText(HKEY_CLASSES_ROOT, "." + extension, nullptr, name_ + "." + extension);
  }

 private:
  const TestFolder& folder_;
  std::string name_;
  std::vector<std::string> extensions_;
};

struct ModeRow {
  const char* what;
  bool registered;
  PackageShape package;
  Copy copy;
  PackageShape installed;
  SetupMode mode;
  bool install_enabled;
  bool uninstall_enabled;
};

TEST(SetupMode, TheTableRowByRow) {
  PackageShape english_1_0;
  PackageShape english_1_1;
  english_1_1.minor = 1;
  PackageShape german_1_0;
  german_1_0.language = 1;
  PackageShape patch_1_1 = english_1_1;
  patch_1_1.patch = 1;
  const ModeRow rows[] = {
      {"not registered", false, english_1_0, Copy::kNone, {}, SetupMode::kInstall, true, false},
      {"this run is the setup copy", true, english_1_0, Copy::kThisRun, {}, SetupMode::kRepair, true, true},
      {"patch", true, patch_1_1, Copy::kReadable, english_1_0, SetupMode::kPatch, true, true},
      {"same version", true, english_1_0, Copy::kReadable, english_1_0, SetupMode::kRepair, true, true},
      {"other language", true, german_1_0, Copy::kReadable, english_1_0, SetupMode::kUpdate, true, true},
      {"other version", true, english_1_1, Copy::kReadable, english_1_0, SetupMode::kUpdate, true, true},
      {"copy missing", true, english_1_1, Copy::kMissing, {}, SetupMode::kUpdate, true, false},
      {"copy damaged", true, english_1_1, Copy::kDamaged, {}, SetupMode::kUpdate, true, false},
      {"copy missing, patch", true, patch_1_1, Copy::kMissing, {}, SetupMode::kUpdate, false, false},
      {"copy damaged, patch", true, patch_1_1, Copy::kDamaged, {}, SetupMode::kUpdate, false, false},
  };
  TestFolder folder;
  for (const ModeRow& row : rows) {
    SCOPED_TRACE(row.what);
    TestProduct product(folder);
    CaptureLogger log;
    std::string run_path = product.WriteSetups(row.copy, row.package, row.installed);
    if (row.registered) product.Register(kFlagStartMenuShortcuts);

    SetupState state;
    SetupView view = StartSetup(state, run_path.c_str());
    EXPECT_EQ(view.mode, row.mode);
    EXPECT_EQ(view.install_enabled, row.install_enabled);
    EXPECT_EQ(view.uninstall_enabled, row.uninstall_enabled);

    bool installed_version_line = false;
    for (const std::string& line : log.lines) installed_version_line |= line == "Installed version: english, 1.0";
    EXPECT_EQ(installed_version_line, row.copy == Copy::kReadable);
    if (row.copy == Copy::kThisRun || row.copy == Copy::kReadable) {
      // The installed record describes the installed package.
      EXPECT_EQ(state.installed.FileCount(), 2u);
      EXPECT_STREQ(state.installed.Record(2).name, "App.exe");
    } else {
      EXPECT_EQ(state.installed.FileCount(), 0u);
    }
    if (row.copy == Copy::kMissing || row.copy == Copy::kDamaged) {
      EXPECT_FALSE(log.errors.empty()) << "the reader's line stays in the log";
    }
  }
}

TEST(SetupMode, RegisteredOptionsAndFoldersAreShown) {
  TestFolder folder;
  for (std::uint32_t flags : {0u, 15u, 5u}) {
    SCOPED_TRACE(flags);
    TestProduct product(folder);
    CaptureLogger log;
    WriteSetup(product.PackagePath(), product.Name(), PackageShape{});
    product.Register(flags);
    SetupState state;
    SetupView view = StartSetup(state, product.PackagePath().c_str());
    EXPECT_EQ(view.start_menu_shortcuts, (flags & kFlagStartMenuShortcuts) != 0);
    EXPECT_EQ(view.desktop_shortcut, (flags & kFlagDesktopShortcut) != 0);
    EXPECT_EQ(view.add_to_path, (flags & kFlagAddToPath) != 0);
    EXPECT_EQ(view.all_users, (flags & kFlagAllUsers) != 0);
    EXPECT_STREQ(view.program_folder.c_str(), product.ProgramFolder().c_str());
  }
}

TEST(SetupMode, AFreshInstallOffersTheDefaults) {
  TestFolder folder;
  TestProduct product(folder);
  CaptureLogger log;
  WriteSetup(product.PackagePath(), product.Name(), PackageShape{});
  SetupState state;
  SetupView view = StartSetup(state, product.PackagePath().c_str());
  EXPECT_STREQ(ModeCaption(view.mode), "Install");
  EXPECT_TRUE(view.start_menu_shortcuts);
  EXPECT_TRUE(view.desktop_shortcut);
  EXPECT_FALSE(view.all_users);
  EXPECT_FALSE(view.add_to_path);
  EXPECT_STREQ(view.program_folder.c_str(), DefaultProgramFolder().c_str());
}

TEST(SetupMode, DataFolderRow) {
  PackageShape with_data;
  with_data.data_file = true;
  const std::string user_default = DefaultDataFolder(false).c_str();
  const std::string common_default = DefaultDataFolder(true).c_str();
  struct Row {
    const char* what;
    bool registered;
    std::uint32_t flags;
    const char* registered_data;
    PackageShape package;
    std::string data_folder;
    DataFolderRow data_row;
  };
  const Row rows[] = {
      {"fresh, package with data", false, 0, "", with_data, user_default, DataFolderRow::kShown},
      {"fresh, package without data", false, 0, "", PackageShape{}, "", DataFolderRow::kRemoved},
      {"registered data folder", true, 0, "D:\\Data", with_data, "D:\\Data", DataFolderRow::kShown},
      {"none registered, current user", true, 0, "", with_data, user_default, DataFolderRow::kShown},
      {"none registered, all users", true, kFlagAllUsers, "", with_data, common_default, DataFolderRow::kShown},
      {"only the installation has one", true, 0, "D:\\Data", PackageShape{}, "D:\\Data", DataFolderRow::kReadOnly},
      {"neither has one", true, 0, "", PackageShape{}, "", DataFolderRow::kRemoved},
  };
  TestFolder folder;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TestProduct product(folder);
    CaptureLogger log;
    WriteSetup(product.PackagePath(), product.Name(), row.package);
    if (row.registered) product.Register(row.flags, row.registered_data);
    SetupState state;
    SetupView view = StartSetup(state, product.PackagePath().c_str());
    EXPECT_EQ(view.data_folder_row, row.data_row);
    EXPECT_STREQ(view.data_folder.c_str(), row.data_folder.c_str());
  }
}

TEST(SetupMode, AssociationChecksFollowWhatIsInForce) {
  TestFolder folder;
  struct Row {
    const char* what;
    bool registered;
    Copy copy;
    bool first_checked;
    bool second_checked;
  };
  // The package has two extensions; the installed copy only the first, and
  // the system points only the first at this product.
  const Row rows[] = {
      {"not registered: all wanted", false, Copy::kNone, true, true},
      {"update: as in force", true, Copy::kReadable, true, false},
      {"this run is the copy: as in force", true, Copy::kThisRun, true, false},
      {"copy unreadable: nothing known", true, Copy::kMissing, false, false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    TestProduct product(folder);
    CaptureLogger log;
    std::string first = product.Extension('a');
    std::string second = product.Extension('b');
    PackageShape package;
    package.minor = 1;
    package.extensions = {first, second};
    PackageShape installed;
    installed.extensions = {first};
    std::string run_path = product.WriteSetups(row.copy, package, installed);
    if (row.registered) product.Register(0);
    product.AssociateExtension(first);

    SetupState state;
    SetupView view = StartSetup(state, run_path.c_str());
    ASSERT_EQ(state.package.association_count, 2);
    EXPECT_EQ(view.associations[0], row.first_checked);
    EXPECT_EQ(view.associations[1], row.second_checked);
    EXPECT_EQ(state.package.associations[0].create, row.first_checked);
    EXPECT_EQ(state.package.associations[1].create, row.second_checked);
  }
}

TEST(SetupMode, VersionLines) {
  struct Row {
    std::uint8_t language, patch, major;
    std::uint16_t minor;
    const char* line;
  };
  const Row rows[] = {
      {0, 0, 1, 0, "Version of this package: english, 1.0"},
      {1, 1, 2, 13, "Version of this package: german, Patch, 2.13"},
      {7, 0, 10, 300, "Version of this package: german, 10.300"},
  };
  for (const Row& row : rows) {
    CaptureLogger log;
    VersionRecord version;
    version.language = row.language;
    version.patch = row.patch;
    version.major = row.major;
    version.minor = row.minor;
    LogVersionLine(version, "Version of this package: ");
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0], row.line);
  }
}

TEST(SetupMode, AnUnreadablePackageEndsTheStart) {
  TestFolder folder;
  WriteTestFile(folder / "Broken.exe", "no package here, only some bytes");
  CaptureLogger log;
  SetupState state;
  EXPECT_THROW(StartSetup(state, (folder / "Broken.exe").c_str()), AbortError);
  EXPECT_EQ(log.errors.size(), 1u);
}

}  // namespace
