// The uninstall registration in Wine's real registry, read back through the
// same registry view the program writes (32-bit programs land in
// Wow6432Node on a 64-bit prefix): the values, their order and types, the
// option flags, the size estimate, a refused write and the removal.
#include "system/uninstall_registration.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "capture_logger.h"
#include "fs/machine_calls.h"
#include "registry_values.h"
#include "system/registry_values.h"

namespace {

// A product name of this test's own; its registration is removed at the end.
class TestProduct {
 public:
  explicit TestProduct(const std::string& stem = "TarnellReg") {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    name_ = stem + std::to_string(GetCurrentProcessId()) + info->name();
  }
  ~TestProduct() {
    std::string key = KeyPath();
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, (key + "\\Child").c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, key.c_str());
  }
  const char* Name() const { return name_.c_str(); }
  std::string KeyPath() const { return UninstallKeyPath(Name()).c_str(); }

 private:
  std::string name_;
};

struct StoredValue {
  std::string name;
  DWORD type;
  std::string data;  // texts without their NUL, a DWORD as its decimal digits
};

// Every value of the key, with its data as the checks compare it.
std::vector<StoredValue> ReadValues(const std::string& key_path) {
  std::vector<StoredValue> values;
  for (const RegistryValue& stored : RegistryValuesIn(HKEY_LOCAL_MACHINE, key_path)) {
    StoredValue value{stored.name, stored.type, ""};
    if (stored.type == REG_DWORD && stored.bytes.size() == sizeof(DWORD)) {
      DWORD number;
      std::memcpy(&number, stored.bytes.data(), sizeof number);
      value.data = std::to_string(number);
    } else {
      EXPECT_TRUE(!stored.bytes.empty() && stored.bytes.back() == '\0') << stored.name << " is written with its NUL";
      if (!stored.bytes.empty()) value.data = stored.bytes.substr(0, stored.bytes.size() - 1);
    }
    values.push_back(value);
  }
  return values;
}

const StoredValue* FindValue(const std::vector<StoredValue>& values, const std::string& name) {
  for (const StoredValue& value : values) {
    if (value.name == name) return &value;
  }
  return nullptr;
}

ProductRecord SampleRecord() {
  ProductRecord record;
  record.start_menu_shortcuts = true;
  record.add_to_path = true;
  record.version.major = 2;
  record.version.minor = 13;
  FileRecord file;
  file.size = 5000000;  // the skin archive: part of the setup already
  record.files.Add(file);
  file.size = 200000;
  record.files.Add(file);
  file.size = 99000;
  record.files.Add(file);
  record.program_folder.Assign("C:\\Programs\\Tarnell");
  record.data_folder.Assign("C:\\Data\\Tarnell");
  record.display_icon.Assign("App.exe,1");
  return record;
}

std::string Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char date[16];
  std::snprintf(date, sizeof date, "%04u%02u%02u", now.wYear, now.wMonth, now.wDay);
  return date;
}

const char* const kValueOrder[] = {
    "Flags",           "UninstallString", "DataPath",     "DisplayName",  "HelpLink",
    "URLUpdateInfo",   "URLInfoAbout",    "Publisher",    "DisplayIcon",  "EstimatedSize",
    "InstallLocation", "InstallDate",     "VersionMajor", "VersionMinor", "DisplayVersion",
};

TEST(Registration, WritesItsValuesWithTheirTypes) {
  TestProduct product;
  CaptureLogger log;
  std::string copy = "C:\\Programs\\Tarnell\\" + std::string(product.Name()) + "_Setup.exe";
  RegisterProduct(SampleRecord(), product.Name(), copy.c_str(), 310902);

  std::string home = kPublisherHomePage;
  std::string lower_name = product.Name();
  for (char& c : lower_name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::vector<StoredValue> expected = {
      {"DisplayName", REG_SZ, product.Name()},
      {"UninstallString", REG_SZ, "\"" + copy + "\""},  // quoted: a command Windows runs
      {"HelpLink", REG_SZ, kPublisherInstallInfo},
      {"URLUpdateInfo", REG_SZ, home + "/" + lower_name + ".php"},
      {"URLInfoAbout", REG_SZ, home},
      {"Publisher", REG_SZ, "Tarnell AG"},
      {"Flags", REG_DWORD, "5"},
      {"DisplayIcon", REG_SZ, "C:\\Programs\\Tarnell\\App.exe,1"},
      {"EstimatedSize", REG_DWORD, "609"},  // 310,902 + 200,000 + 99,000 bytes
      {"InstallLocation", REG_SZ, "C:\\Programs\\Tarnell"},
      {"InstallDate", REG_SZ, Today()},
      {"VersionMajor", REG_DWORD, "2"},
      {"VersionMinor", REG_DWORD, "13"},
      {"DisplayVersion", REG_SZ, "2.13"},
      {"DataPath", REG_SZ, "C:\\Data\\Tarnell"},
  };
  std::vector<StoredValue> values = ReadValues(product.KeyPath());
  EXPECT_EQ(values.size(), expected.size());
  for (const StoredValue& want : expected) {
    SCOPED_TRACE(want.name);
    const StoredValue* value = FindValue(values, want.name);
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->type, want.type);
    EXPECT_EQ(value->data, want.data);
  }
  EXPECT_TRUE(log.errors.empty());
}

TEST(Registration, FlagsHoldTheFourOptions) {
  struct Case {
    bool start_menu, desktop, path, all_users;
    std::uint32_t flags;
  };
  const Case cases[] = {
      {false, false, false, false, 0}, {true, false, false, false, 1}, {false, true, false, false, 2},
      {false, false, true, false, 4},  {false, false, false, true, 8}, {true, true, true, true, 15},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.flags);
    ProductRecord record;
    record.start_menu_shortcuts = c.start_menu;
    record.desktop_shortcut = c.desktop;
    record.add_to_path = c.path;
    record.all_users = c.all_users;
    EXPECT_EQ(OptionFlags(record), c.flags);

    ProductRecord read_back;
    read_back.start_menu_shortcuts = read_back.desktop_shortcut = read_back.add_to_path = read_back.all_users = true;
    ApplyOptionFlags(c.flags, read_back);
    EXPECT_EQ(OptionFlags(read_back), c.flags);
  }
}

TEST(Registration, ReadBackGivesTheInstalledFoldersAndOptions) {
  TestProduct product;
  CaptureLogger log;
  ProductRecord installed;
  Text command;
  EXPECT_FALSE(ReadInstalledRegistration(product.Name(), installed, command));

  ProductRecord record = SampleRecord();
  record.all_users = true;
  record.desktop_shortcut = true;
  RegisterProduct(record, product.Name(), "C:\\Programs\\Tarnell\\Foo_Setup.exe", 0);
  ASSERT_TRUE(ReadInstalledRegistration(product.Name(), installed, command));
  EXPECT_STREQ(command.c_str(), "C:\\Programs\\Tarnell\\Foo_Setup.exe");
  EXPECT_STREQ(installed.program_folder.c_str(), "C:\\Programs\\Tarnell");
  EXPECT_STREQ(installed.data_folder.c_str(), "C:\\Data\\Tarnell");
  EXPECT_EQ(OptionFlags(installed), 15u);

  // A current-user install with no option still registers under
  // HKEY_LOCAL_MACHINE, and reads back with every option off.
  ProductRecord plain = SampleRecord();
  plain.start_menu_shortcuts = plain.add_to_path = false;
  RegisterProduct(plain, product.Name(), "C:\\Programs\\Tarnell\\Foo_Setup.exe", 0);
  EXPECT_EQ(FindValue(ReadValues(product.KeyPath()), "Flags")->data, "0");
  ProductRecord off;
  ASSERT_TRUE(ReadInstalledRegistration(product.Name(), off, command));
  EXPECT_EQ(OptionFlags(off), 0u);

  // Earlier installs wrote the path without quotes, blanks and all.
  const char legacy[] = "C:\\Program Files\\Tarnell\\Foo_Setup.exe";
  SetRegistryText(HKEY_LOCAL_MACHINE, product.KeyPath(), "UninstallString", legacy);
  ProductRecord earlier;
  ASSERT_TRUE(ReadInstalledRegistration(product.Name(), earlier, command));
  EXPECT_STREQ(command.c_str(), legacy);
  EXPECT_STREQ(earlier.program_folder.c_str(), "C:\\Program Files\\Tarnell");
}

TEST(Registration, AnEmptyDataFolderRemovesDataPath) {
  TestProduct product;
  CaptureLogger log;
  ProductRecord record = SampleRecord();
  RegisterProduct(record, product.Name(), "C:\\P\\Foo_Setup.exe", 0);
  ASSERT_NE(FindValue(ReadValues(product.KeyPath()), "DataPath"), nullptr);

  record.data_folder.Clear();
  RegisterProduct(record, product.Name(), "C:\\P\\Foo_Setup.exe", 0);
  EXPECT_EQ(FindValue(ReadValues(product.KeyPath()), "DataPath"), nullptr);
  // Again, with no DataPath to delete: no error.
  RegisterProduct(record, product.Name(), "C:\\P\\Foo_Setup.exe", 0);
  EXPECT_TRUE(log.errors.empty());
}

TEST(Registration, RegisteringTwiceJoinsTheIconOnce) {
  TestProduct product;
  CaptureLogger log;
  ProductRecord record = SampleRecord();
  RegisterProduct(record, product.Name(), "C:\\P\\Foo_Setup.exe", 0);
  RegisterProduct(record, product.Name(), "C:\\P\\Foo_Setup.exe", 0);
  EXPECT_EQ(FindValue(ReadValues(product.KeyPath()), "DisplayIcon")->data, "C:\\Programs\\Tarnell\\App.exe,1");
}

TEST(Registration, UpdateAddressIsLowerCase) {
  TestProduct product("My Tool \xC4\xD6\xDC ");
  CaptureLogger log;
  RegisterProduct(SampleRecord(), product.Name(), "C:\\P\\Foo_Setup.exe", 0);
  std::string address = FindValue(ReadValues(product.KeyPath()), "URLUpdateInfo")->data;
  std::string tail = address.substr(address.rfind('/'));
  EXPECT_EQ(tail.substr(0, 13), "/my tool \xE4\xF6\xFC ");
  EXPECT_EQ(tail.substr(tail.size() - 4), ".php");
  for (char c : tail) EXPECT_FALSE(c >= 'A' && c <= 'Z') << tail;
}

// The n-th value write fails; the key is created before them.
int changes_seen = 0;
int failing_change = 0;
DWORD FailNthChange(MachineChange) {
  return ++changes_seen == failing_change + 1 ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
}

// Failing each write in turn shows the order of the writes: what was written
// before the refused one stays, nothing after it is written.
TEST(Registration, ARefusedWriteAbortsAndKeepsWhatWasWritten) {
  for (int failing = 1; failing <= 15; ++failing) {
    SCOPED_TRACE(failing);
    TestProduct product;
    CaptureLogger log;
    changes_seen = 0;
    failing_change = failing;
    SetMachineChangeGate(FailNthChange);
    EXPECT_THROW(RegisterProduct(SampleRecord(), product.Name(), "C:\\P\\Foo_Setup.exe", 0), AbortError);
    SetMachineChangeGate(nullptr);
    ASSERT_EQ(log.errors.size(), 1u);
    EXPECT_EQ(log.errors[0], "Software has not been registered");
    std::vector<StoredValue> values = ReadValues(product.KeyPath());
    EXPECT_EQ(values.size(), static_cast<std::size_t>(failing - 1));
    for (int i = 0; i < failing - 1; ++i) EXPECT_NE(FindValue(values, kValueOrder[i]), nullptr) << kValueOrder[i];
  }
}

TEST(Registration, UnregisterRemovesTheKeyWithItsValues) {
  TestProduct product;
  CaptureLogger log;
  RegisterProduct(SampleRecord(), product.Name(), "C:\\P\\Foo_Setup.exe", 0);
  UnregisterProduct(product.Name());
  EXPECT_FALSE(RegistryKeyExists(HKEY_LOCAL_MACHINE, product.KeyPath()));
  // Not registered any more: nothing to remove, no error.
  UnregisterProduct(product.Name());
  EXPECT_TRUE(log.errors.empty());
}

TEST(Registration, UnregisterThatFailsIsReported) {
  TestProduct product;
  CaptureLogger log;
  RegisterProduct(SampleRecord(), product.Name(), "C:\\P\\Foo_Setup.exe", 0);
  // A key with a subkey cannot be deleted by a plain key deletion.
  SetRegistryText(HKEY_LOCAL_MACHINE, product.KeyPath() + "\\Child", nullptr, "");
  EXPECT_THROW(UnregisterProduct(product.Name()), AbortError);
  ASSERT_EQ(log.errors.size(), 1u);
  EXPECT_EQ(log.errors[0], "The registration of " + std::string(product.Name()) + " has not been erased");
}

}  // namespace
