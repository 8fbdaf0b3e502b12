#include "system/associations.h"

#include <windows.h>

#include "fs/machine_calls.h"
#include "log/logger.h"
#include "system/registry_key.h"
#include "text/case_fold.h"
#include "text/number.h"
#include "text/path.h"
#include "text/text.h"

namespace {

// Room for a product name, a dot and an extension of full length, so key
// names are never cut (the registry refuses the overlong ones itself).
using KeyName = FixedText<2 * Text::kMaxLength + 1>;

// "Product.ext".
KeyName FileTypeName(const char* product_name, const char* extension) {
  KeyName name(product_name);
  name.Append(".");
  name.Append(extension);
  return name;
}

// ".ext", the extension's key under HKEY_CLASSES_ROOT.
KeyName ExtensionKeyPath(const char* extension) { return FileTypeName("", extension); }

// The file type the extension names now; empty when it names none.
Text CurrentFileType(const char* extension) {
  Text type;
  RegistryKey key;
  if (key.Open(HKEY_CLASSES_ROOT, ExtensionKeyPath(extension).c_str(), KEY_QUERY_VALUE)) key.ReadText(nullptr, type);
  return type;
}

// True when the extension names no type or this product's own, so that
// restoring or removing it takes nothing from another program.
bool ExtensionStillOurs(const char* product_name, const char* extension) {
  Text current = CurrentFileType(extension);
  return current.empty() || EqualIgnoringCase(current.c_str(), FileTypeName(product_name, extension).c_str());
}

// Removes the extension's key. Other programs may have put subkeys of their
// own below it (OpenWithProgids, ShellNew); then only the pointer to this
// product's type goes. A key without subkeys that cannot be deleted is a
// failure: its emptied remains would be left for good.
bool DeleteExtensionKey(const char* key_path) {
  if (DeleteRegistryKey(HKEY_CLASSES_ROOT, key_path)) return true;
  RegistryKey key;
  if (!key.Open(HKEY_CLASSES_ROOT, key_path)) return false;
  DWORD subkeys = 0;
  if (RegQueryInfoKeyA(key.Handle(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr, nullptr, nullptr,
                       nullptr, nullptr) != ERROR_SUCCESS ||
      subkeys == 0) {
    return false;
  }
  LONG result = Machine().delete_value(key.Handle(), nullptr);
  return result == ERROR_SUCCESS || result == ERROR_FILE_NOT_FOUND;
}

AssociationEntry* FindEntry(ProductRecord& record, const char* extension) {
  for (std::size_t i = 0; i < record.association_count; ++i) {
    if (EqualIgnoringCase(record.associations[i].extension.c_str(), extension)) return &record.associations[i];
  }
  return nullptr;
}

bool PackageHas(const ProductRecord& package, const char* extension) {
  for (std::size_t i = 0; i < package.association_count; ++i) {
    if (EqualIgnoringCase(package.associations[i].extension.c_str(), extension)) return true;
  }
  return false;
}

}  // namespace

void DetectAssociations(ProductRecord& record, const char* product_name) {
  for (std::size_t i = 0; i < record.association_count; ++i) {
    AssociationEntry& entry = record.associations[i];
    const char* extension = entry.extension.c_str();
    // A type whose extension does not point at it yet (or any more) is a
    // run's half-made or half-removed association: it counts as made, so
    // that the next run completes it or takes it away.
    KeyName type_name = FileTypeName(product_name, extension);
    if (EqualText(CurrentFileType(extension).c_str(), type_name.c_str()) ||
        !RegistryKeyMissing(HKEY_CLASSES_ROOT, type_name.c_str())) {
      entry.create = true;
    }
  }
}

void SaveOldFileType(const AssociationOwner& owner, const char* extension) {
  RegistryKey uninstall;
  bool opened = uninstall.Open(HKEY_LOCAL_MACHINE, owner.uninstall_key);
  if (!opened && RegistryKeyMissing(HKEY_LOCAL_MACHINE, owner.uninstall_key)) return;
  if (opened && uninstall.HasValue(extension)) return;
  Text previous = CurrentFileType(extension);
  if (previous.empty()) return;
  // Only this product's own type is skipped: another product whose name
  // merely begins the same way must get its type back.
  if (EqualIgnoringCase(previous.c_str(), FileTypeName(owner.product_name, extension).c_str())) return;
  // An uninstall key that is there but refused would lose the type for good.
  if (!opened || !uninstall.WriteText(extension, previous.c_str()))
    LogErrorWith("Old filetype %s NOT saved", extension);
}

void RestoreOldFileType(const AssociationOwner& owner, const char* extension) {
  RegistryKey uninstall;
  if (!uninstall.Open(HKEY_LOCAL_MACHINE, owner.uninstall_key)) return;
  if (!ExtensionStillOurs(owner.product_name, extension)) return;
  KeyName key_path = ExtensionKeyPath(extension);
  Text saved;
  if (uninstall.ReadText(extension, saved)) {
    RegistryKey key;
    if (!key.Create(HKEY_CLASSES_ROOT, key_path.c_str()) || !key.WriteText(nullptr, saved.c_str())) {
      LogErrorWith("Old filetype %s has NOT been restored", extension);
    }
  } else if (!DeleteExtensionKey(key_path.c_str())) {
    LogErrorWith("Filetype %s has NOT been deleted", extension);
  }
}

bool CreateAssociation(const char* product_name, const AssociationEntry& entry, const char* program_folder) {
  KeyName type_name = FileTypeName(product_name, entry.extension.c_str());
  Text program;
  Text command;
  Text icon;
  if (!PathJoin(program, program_folder, entry.program.c_str()) || !QuoteText(command, program.c_str()) ||
      !ConcatenateText(icon, command.c_str(), ",") || !AppendDecimal(icon, entry.icon_index)) {
    return false;
  }

  // The shell starts the program without arguments and hands it the
  // document through DDE.
  struct TypeValue {
    const char* subkey;
    const char* value;
  };
  const TypeValue values[] = {
      {"DefaultIcon", icon.c_str()},
      {"shell\\open\\command", command.c_str()},
      {"shell\\open\\ddeexec", "%1"},
      {"shell\\open\\ddeexec\\Application", program.c_str()},
      {"shell\\open\\ddeexec\\Topic", "openfile"},
  };
  // The type is complete before the extension points at it, so a failure
  // leaves the extension with the type it had.
  RegistryKey type_key;
  if (!type_key.Create(HKEY_CLASSES_ROOT, type_name.c_str())) return false;
  for (const TypeValue& item : values) {
    RegistryKey key;
    if (!key.Create(type_key.Handle(), item.subkey) || !key.WriteText(nullptr, item.value)) return false;
  }
  RegistryKey extension;
  return extension.Create(HKEY_CLASSES_ROOT, ExtensionKeyPath(entry.extension.c_str()).c_str()) &&
         extension.WriteText(nullptr, type_name.c_str());
}

bool DeleteAssociationKeys(const char* product_name, const AssociationEntry& entry) {
  KeyName type_name = FileTypeName(product_name, entry.extension.c_str());
  RegistryKey type_key;
  if (!type_key.Open(HKEY_CLASSES_ROOT, type_name.c_str())) return true;

  // Innermost first: a key goes only once it has no subkeys.
  const char* const subkeys[] = {
      "DefaultIcon",
      "shell\\open\\command",
      "shell\\open\\ddeexec\\Application",
      "shell\\open\\ddeexec\\Topic",
      "shell\\open\\ddeexec",
      "shell\\open",
      "shell",
  };
  int failures = 0;
  for (const char* subkey : subkeys) {
    if (!DeleteRegistryKey(type_key.Handle(), subkey)) ++failures;
  }
  type_key.Close();
  if (!DeleteRegistryKey(HKEY_CLASSES_ROOT, type_name.c_str())) ++failures;
  return failures == 0;
}

void RemoveAssociation(const AssociationOwner& owner, const AssociationEntry& entry) {
  RestoreOldFileType(owner, entry.extension.c_str());
  if (!DeleteAssociationKeys(owner.product_name, entry)) {
    LogErrorWith("The file association %s has not been deleted", entry.extension.c_str());
  }
}

void RemoveDroppedAssociations(const AssociationOwner& owner, ProductRecord& installed, const ProductRecord& package) {
  // The last entry fills the gap and is looked at next.
  for (std::size_t i = 0; i < installed.association_count;) {
    AssociationEntry& entry = installed.associations[i];
    if (PackageHas(package, entry.extension.c_str())) {
      ++i;
      continue;
    }
    if (entry.create) RemoveAssociation(owner, entry);
    std::size_t last = --installed.association_count;
    entry = installed.associations[last];
    installed.associations[last] = AssociationEntry{};
  }
}

void UpdateAssociations(const AssociationOwner& owner, ProductRecord& installed, const ProductRecord& package) {
  RemoveDroppedAssociations(owner, installed, package);
  for (std::size_t i = 0; i < package.association_count; ++i) {
    const AssociationEntry& wanted = package.associations[i];
    const char* extension = wanted.extension.c_str();
    if (wanted.create) {
      SaveOldFileType(owner, extension);
      if (!CreateAssociation(owner.product_name, wanted, package.program_folder.c_str())) {
        LogErrorWith("The file association %s could not be created", extension);
      }
    }
    if (AssociationEntry* held = FindEntry(installed, extension)) {
      if (held->create && !wanted.create) RemoveAssociation(owner, *held);
      *held = wanted;
    } else if (installed.association_count < kMaxAssociations) {
      installed.associations[installed.association_count++] = wanted;
    }
  }
}

void RemoveAllAssociations(const AssociationOwner& owner, ProductRecord& record) {
  while (record.association_count > 0) {
    AssociationEntry& entry = record.associations[record.association_count - 1];
    if (entry.create) RemoveAssociation(owner, entry);
    entry = AssociationEntry{};
    --record.association_count;
  }
}
