// File associations against the real registry: the file type's keys and
// values, the previous type noted in the uninstall key and put back at
// removal, repair and update runs, and the failure messages. Each test works
// on a product name and extensions of its own and removes every key it made.
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "capture_logger.h"
#include "handles/owned_handle.h"
#include "package/product_record.h"
#include "registry_values.h"
#include "system/associations.h"

namespace {

constexpr char kUninstallRoot[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
constexpr char kProgramFolder[] = "C:\\Programs\\Tarnell";

// The default value or a named value of a key, with its type checked.
std::optional<std::string> ReadText(HKEY root, const std::string& path, const char* name = nullptr) {
  std::optional<RegistryValue> stored = ReadRegistryValue(root, path, name);
  if (!stored) return std::nullopt;
  EXPECT_EQ(stored->type, static_cast<DWORD>(REG_SZ)) << path;
  EXPECT_TRUE(!stored->bytes.empty() && stored->bytes.back() == '\0') << path << ": stored without its NUL";
  return std::string(stored->bytes.c_str());
}

// An empty DACL refuses every opening of the key; without a DACL everyone
// has full access again. The key's owner may always change it.
bool RefuseAccess(HKEY root, const std::string& path, bool refuse) {
  RegistryHandle key;
  if (RegOpenKeyExA(root, path.c_str(), 0, WRITE_DAC, key.Receive()) != ERROR_SUCCESS) return false;
  SECURITY_DESCRIPTOR descriptor;
  InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
  ACL empty;
  InitializeAcl(&empty, sizeof empty, ACL_REVISION);
  SetSecurityDescriptorDacl(&descriptor, TRUE, refuse ? &empty : nullptr, FALSE);
  return RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
}

AssociationEntry Entry(const std::string& extension, bool create, const char* program = "Viewer.exe",
                       std::uint16_t icon = 2) {
  AssociationEntry entry;
  entry.extension.Assign(extension.c_str());
  entry.program.Assign(program);
  entry.third.Assign("Viewer documents");
  entry.icon_index = icon;
  entry.create = create;
  return entry;
}

class AssociationsTest : public ::testing::Test {
 protected:
  AssociationsTest() {
    static int counter = 0;
    std::string tag = std::to_string(GetCurrentProcessId()) + "x" + std::to_string(counter++);
    product_ = "TnAssoc" + tag;
    uninstall_key_ = kUninstallRoot + product_;
    owner_ = AssociationOwner{product_.c_str(), uninstall_key_.c_str()};
    for (const char* letter : {"a", "b", "c", "d"}) extensions_.push_back("tn" + tag + letter);
    package_.program_folder.Assign(kProgramFolder);
  }

  void SetUp() override { SetRegistryText(HKEY_LOCAL_MACHINE, uninstall_key_, "DisplayName", product_); }

  ~AssociationsTest() override {
    for (const std::string& extension : extensions_) {
      RefuseAccess(HKEY_CLASSES_ROOT, "." + extension, false);
      RegDeleteTreeA(HKEY_CLASSES_ROOT, ("." + extension).c_str());
      RegDeleteTreeA(HKEY_CLASSES_ROOT, TypeName(extension).c_str());
      RegDeleteKeyA(HKEY_CLASSES_ROOT, TypeName(extension).c_str());  // a volatile one
    }
    RefuseAccess(HKEY_LOCAL_MACHINE, uninstall_key_, false);
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, uninstall_key_.c_str());
  }

  std::string TypeName(const std::string& extension) const { return product_ + "." + extension; }
  std::optional<std::string> ExtensionType(const std::string& extension) const {
    return ReadText(HKEY_CLASSES_ROOT, "." + extension);
  }
  std::optional<std::string> SavedType(const std::string& extension) const {
    return ReadText(HKEY_LOCAL_MACHINE, uninstall_key_, extension.c_str());
  }

  void SetPackage(std::vector<AssociationEntry> entries) {
    package_.association_count = static_cast<std::uint8_t>(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) package_.associations[i] = entries[i];
  }
  // One install run's association step, as the install sequence makes it.
  void Install(std::vector<AssociationEntry> entries) {
    SetPackage(std::move(entries));
    UpdateAssociations(owner_, installed_, package_);
  }

  std::string product_;
  std::string uninstall_key_;
  AssociationOwner owner_;
  std::vector<std::string> extensions_;
  ProductRecord package_;
  ProductRecord installed_;
  CaptureLogger log_;
};

TEST_F(AssociationsTest, WritesTheFileTypeWithItsDdeKeysAndPointsTheExtensionAtIt) {
  const std::string& ext = extensions_[0];
  Install({Entry(ext, true, "Viewer.exe", 2)});

  const std::string type = TypeName(ext);
  const std::string program = std::string(kProgramFolder) + "\\Viewer.exe";
  EXPECT_EQ(ExtensionType(ext), type);
  struct Expected {
    std::string key;
    std::string value;
  };
  for (const Expected& expected : std::vector<Expected>{
           {type + "\\DefaultIcon", "\"" + program + "\",2"},
           {type + "\\shell\\open\\command", "\"" + program + "\""},
           {type + "\\shell\\open\\ddeexec", "%1"},
           {type + "\\shell\\open\\ddeexec\\Application", program},
           {type + "\\shell\\open\\ddeexec\\Topic", "openfile"},
       }) {
    EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, expected.key), expected.value) << expected.key;
  }
  EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, type));
  EXPECT_EQ(SavedType(ext), std::nullopt) << "there was no type to note";

  ASSERT_EQ(installed_.association_count, 1);
  EXPECT_STREQ(installed_.associations[0].extension.c_str(), ext.c_str());
  EXPECT_TRUE(installed_.associations[0].create);
  EXPECT_TRUE(log_.errors.empty());
}

TEST_F(AssociationsTest, ExtensionWithoutPreviousTypeIsDeletedAtRemoval) {
  const std::string& ext = extensions_[0];
  Install({Entry(ext, true)});
  RemoveAllAssociations(owner_, installed_);

  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, "." + ext));
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, TypeName(ext)));
  EXPECT_EQ(installed_.association_count, 0);
  EXPECT_TRUE(log_.errors.empty());
}

TEST_F(AssociationsTest, AnotherProgramsTypeIsNotedAndPutBackAtRemoval) {
  const std::string& ext = extensions_[0];
  // A product whose name merely begins like ours is still another program.
  for (const std::string& previous : {std::string("txtfile"), product_ + "Viewer.Document"}) {
    SCOPED_TRACE(previous);
    ASSERT_TRUE(RegistryKeyExists(HKEY_LOCAL_MACHINE, uninstall_key_));
    RestoreRegistryValue(HKEY_LOCAL_MACHINE, uninstall_key_, ext.c_str(), std::nullopt);
    SetRegistryText(HKEY_CLASSES_ROOT, "." + ext, nullptr, previous);

    Install({Entry(ext, true)});
    EXPECT_EQ(ExtensionType(ext), TypeName(ext));
    EXPECT_EQ(SavedType(ext), previous);

    RemoveAllAssociations(owner_, installed_);
    EXPECT_EQ(ExtensionType(ext), previous);
    EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, TypeName(ext)));
    EXPECT_EQ(SavedType(ext), previous) << "the note goes with the uninstall key";
  }
  EXPECT_TRUE(log_.errors.empty());
}

TEST_F(AssociationsTest, RepairKeepsTheFirstNotedTypeAndNotesNothingNew) {
  const std::string& fresh = extensions_[0];
  const std::string& taken = extensions_[1];
  SetRegistryText(HKEY_CLASSES_ROOT, "." + taken, nullptr, "OtherApp.Document");
  Install({Entry(fresh, true), Entry(taken, true)});

  // The repair run starts from what it detects on the machine.
  ProductRecord detected;
  detected.association_count = 2;
  detected.associations[0] = Entry(fresh, false);
  detected.associations[1] = Entry(taken, false);
  DetectAssociations(detected, product_.c_str());
  EXPECT_TRUE(detected.associations[0].create);
  EXPECT_TRUE(detected.associations[1].create);

  installed_ = detected;
  Install({Entry(fresh, true), Entry(taken, true)});
  EXPECT_EQ(SavedType(fresh), std::nullopt);
  EXPECT_EQ(SavedType(taken), "OtherApp.Document");
  EXPECT_EQ(ExtensionType(taken), TypeName(taken));

  RemoveAllAssociations(owner_, installed_);
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, "." + fresh));
  EXPECT_EQ(ExtensionType(taken), "OtherApp.Document");
  EXPECT_TRUE(log_.errors.empty());
}

TEST_F(AssociationsTest, DetectSetsOnlyTheFlagsOfThisProductsTypes) {
  SetRegistryText(HKEY_CLASSES_ROOT, "." + extensions_[0], nullptr, TypeName(extensions_[0]));
  SetRegistryText(HKEY_CLASSES_ROOT, "." + extensions_[1], nullptr, "OtherApp.Document");
  // The system's value is compared with its case.
  std::string upper = TypeName(extensions_[2]);
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  SetRegistryText(HKEY_CLASSES_ROOT, "." + extensions_[2], nullptr, upper);

  ProductRecord record;
  record.association_count = 4;
  for (std::size_t i = 0; i < 4; ++i) record.associations[i] = Entry(extensions_[i], false);
  record.associations[3].create = true;  // never cleared
  DetectAssociations(record, product_.c_str());
  EXPECT_TRUE(record.associations[0].create);
  EXPECT_FALSE(record.associations[1].create);
  EXPECT_FALSE(record.associations[2].create);
  EXPECT_TRUE(record.associations[3].create);
}

TEST_F(AssociationsTest, UpdateRemovesDroppedAndUncheckedAssociationsAndMakesCheckedOnes) {
  const std::string& dropped = extensions_[0];
  const std::string& unchecked = extensions_[1];
  const std::string& kept = extensions_[2];
  SetRegistryText(HKEY_CLASSES_ROOT, "." + dropped, nullptr, "DroppedApp.Document");
  SetRegistryText(HKEY_CLASSES_ROOT, "." + unchecked, nullptr, "OtherApp.Document");
  Install({Entry(dropped, true), Entry(unchecked, true), Entry(kept, true)});

  // The new package no longer knows `dropped`; the user unchecked `unchecked`.
  Install({Entry(kept, true, "Viewer2.exe", 0), Entry(unchecked, false)});
  EXPECT_EQ(ExtensionType(dropped), "DroppedApp.Document");
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, TypeName(dropped)));
  EXPECT_EQ(ExtensionType(unchecked), "OtherApp.Document");
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, TypeName(unchecked)));
  EXPECT_EQ(ReadText(HKEY_CLASSES_ROOT, TypeName(kept) + "\\shell\\open\\ddeexec\\Application"),
            std::string(kProgramFolder) + "\\Viewer2.exe");

  ASSERT_EQ(installed_.association_count, 2);
  EXPECT_STREQ(installed_.associations[0].extension.c_str(), kept.c_str());
  EXPECT_TRUE(installed_.associations[0].create);
  EXPECT_STREQ(installed_.associations[1].extension.c_str(), unchecked.c_str());
  EXPECT_FALSE(installed_.associations[1].create);

  // Checked again later: made anew, and the first noted type still counts.
  Install({Entry(kept, true), Entry(unchecked, true)});
  EXPECT_EQ(ExtensionType(unchecked), TypeName(unchecked));
  RemoveAllAssociations(owner_, installed_);
  EXPECT_EQ(ExtensionType(unchecked), "OtherApp.Document");
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, "." + kept));
  EXPECT_TRUE(log_.errors.empty());
}

TEST_F(AssociationsTest, RemovalTakesNothingThatBelongsToOtherPrograms) {
  const std::string& taken_over = extensions_[0];
  const std::string& shared = extensions_[1];
  Install({Entry(taken_over, true), Entry(shared, true)});
  // Since the install, another program took one extension and put its own
  // subkey below the other.
  SetRegistryText(HKEY_CLASSES_ROOT, "." + taken_over, nullptr, "NewerApp.Document");
  SetRegistryText(HKEY_CLASSES_ROOT, "." + shared + "\\OpenWithProgids", "NewerApp.Document", "");

  RemoveAllAssociations(owner_, installed_);
  EXPECT_EQ(ExtensionType(taken_over), "NewerApp.Document");
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, TypeName(taken_over)));
  EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, "." + shared + "\\OpenWithProgids"));
  EXPECT_EQ(ExtensionType(shared), std::nullopt);
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, TypeName(shared)));
  EXPECT_TRUE(log_.errors.empty());
}

TEST_F(AssociationsTest, KeysThatAreAlreadyGoneAreNoFailure) {
  const std::string& ext = extensions_[0];
  Install({Entry(ext, true)});
  RegDeleteTreeA(HKEY_CLASSES_ROOT, TypeName(ext).c_str());
  RegDeleteKeyA(HKEY_CLASSES_ROOT, TypeName(ext).c_str());
  RegDeleteKeyA(HKEY_CLASSES_ROOT, ("." + ext).c_str());

  RemoveAllAssociations(owner_, installed_);
  EXPECT_EQ(installed_.association_count, 0);
  EXPECT_TRUE(log_.errors.empty());
}

// Each failure ends the running sequence with its one line.
TEST_F(AssociationsTest, FailuresAreReportedWithTheExtension) {
  const std::string& ext = extensions_[0];
  SetRegistryText(HKEY_CLASSES_ROOT, "." + ext, nullptr, "OtherApp.Document");

  // The uninstall key is there but refused: the previous type could not be
  // noted, so it is not replaced either.
  ASSERT_TRUE(RefuseAccess(HKEY_LOCAL_MACHINE, uninstall_key_, true));
  EXPECT_THROW(Install({Entry(ext, true)}), AbortError);
  ASSERT_TRUE(RefuseAccess(HKEY_LOCAL_MACHINE, uninstall_key_, false));
  EXPECT_EQ(ExtensionType(ext), "OtherApp.Document");
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, TypeName(ext)));

  // A type key that only volatile subkeys may go below.
  RegistryHandle volatile_key;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, TypeName(ext).c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS,
                            nullptr, volatile_key.Receive(), nullptr),
            ERROR_SUCCESS);
  volatile_key.Reset();
  EXPECT_THROW(Install({Entry(ext, true)}), AbortError);
  EXPECT_EQ(ExtensionType(ext), "OtherApp.Document") << "the extension moves only to a complete type";
  RegDeleteKeyA(HKEY_CLASSES_ROOT, TypeName(ext).c_str());

  // A subkey nobody expected keeps the type's keys from going.
  Install({Entry(ext, true)});
  const std::string extra = TypeName(ext) + "\\shell\\open\\ddeexec\\Application\\Extra";
  SetRegistryText(HKEY_CLASSES_ROOT, extra, nullptr, "x");
  EXPECT_THROW(RemoveAllAssociations(owner_, installed_), AbortError);
  EXPECT_EQ(installed_.association_count, 1) << "the record still holds what is on the machine";
  RegDeleteKeyA(HKEY_CLASSES_ROOT, extra.c_str());

  // The extension's key refuses the type to be put back.
  SetRegistryText(HKEY_CLASSES_ROOT, "." + ext, nullptr, TypeName(ext));
  ASSERT_TRUE(RefuseAccess(HKEY_CLASSES_ROOT, "." + ext, true));
  EXPECT_THROW(RemoveAllAssociations(owner_, installed_), AbortError);
  ASSERT_TRUE(RefuseAccess(HKEY_CLASSES_ROOT, "." + ext, false));

  // With no type noted, a refused extension key that has a subkey cannot go.
  const std::string& fresh = extensions_[1];
  Install({Entry(fresh, true)});
  EXPECT_EQ(ExtensionType(ext), "OtherApp.Document") << "dropped by this update";
  SetRegistryText(HKEY_CLASSES_ROOT, "." + fresh + "\\ShellNew", nullptr, "");
  ASSERT_TRUE(RefuseAccess(HKEY_CLASSES_ROOT, "." + fresh, true));
  EXPECT_THROW(RemoveAllAssociations(owner_, installed_), AbortError);

  EXPECT_EQ(log_.errors, (std::vector<std::string>{
                             "Old filetype " + ext + " NOT saved",
                             "The file association " + ext + " could not be created",
                             "The file association " + ext + " has not been deleted",
                             "Old filetype " + ext + " has NOT been restored",
                             "Filetype " + fresh + " has NOT been deleted",
                         }));
}

}  // namespace
