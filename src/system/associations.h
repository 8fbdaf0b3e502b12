// File associations. For each extension the user leaves checked, the product
// registers a file type of its own under HKEY_CLASSES_ROOT ("Product.ext"),
// whose program receives documents by DDE (topic "openfile"), and points the
// extension at it. The type the extension had before is kept as a value
// named after the extension in the product's uninstall key, so removing the
// association can put it back.
//
// Every failure is reported through LogError, which aborts the running
// install or uninstall.
#pragma once

#include "package/product_record.h"

// The product that owns the file types.
struct AssociationOwner {
  const char* product_name;   // file type names are the product name, ".", the extension
  const char* uninstall_key;  // under HKEY_LOCAL_MACHINE; keeps the replaced types
};

// Sets the create flag of every entry whose extension currently names this
// product's file type, or whose file type key is there; never clears one.
void DetectAssociations(ProductRecord& record, const char* product_name);

// Notes the extension's current file type in the uninstall key, unless a type
// is noted already (the first one is the one to restore) or the current type
// is this product's own.
void SaveOldFileType(const AssociationOwner& owner, const char* extension);
// Puts the noted type back, or removes the extension's key when none was
// noted. An extension that another program has taken over since is left alone.
void RestoreOldFileType(const AssociationOwner& owner, const char* extension);

// Writes the file type and points the extension at it; false on any failure.
bool CreateAssociation(const char* product_name, const AssociationEntry& entry, const char* program_folder);
// Deletes the file type's keys; true when none is left (or there was none).
bool DeleteAssociationKeys(const char* product_name, const AssociationEntry& entry);
// Restores the extension's previous type and deletes this product's type.
void RemoveAssociation(const AssociationOwner& owner, const AssociationEntry& entry);

// Retires the installed associations that the package no longer has. An
// update does it before it writes anything: once the new setup copy is in
// place, nothing on the machine would name them any more.
void RemoveDroppedAssociations(const AssociationOwner& owner, ProductRecord& installed, const ProductRecord& package);
// The association step of an install: retires the installed associations
// that the package no longer has, makes or removes each package association
// as its create flag says, and leaves the installed record holding the
// package's entries.
void UpdateAssociations(const AssociationOwner& owner, ProductRecord& installed, const ProductRecord& package);
// The association step of an uninstall: removes every association in force,
// last first, and empties the record's list.
void RemoveAllAssociations(const AssociationOwner& owner, ProductRecord& record);
