// The program folder on the "Path" environment variable: the machine's for an
// all-users install, the user's otherwise. Entries are compared whole, between
// ";" separators and without regard to case, so C:\Tools is neither found in
// nor cut out of C:\Tools2. The value is read whatever its length and always
// written back whole, as REG_EXPAND_SZ. After every change all top-level
// windows are told that the environment changed.
//
// https://learn.microsoft.com/windows/win32/procthread/environment-variables
#pragma once

#include "package/product_record.h"

// Appends the record's program folder to the Path of its scope unless it is
// there already. A failed write is logged ("Program directory NOT added to
// PATH") and the install goes on.
void AddProgramFolderToPath(const ProductRecord& record);
// Takes the record's program folder out of the Path of its scope; the value
// is deleted when nothing else remains. A failed write or deletion is
// reported ("Program directory NOT removed in PATH") through LogError.
void RemoveProgramFolderFromPath(const ProductRecord& record);
// The PATH step of an install: adds the package's entry first, then removes
// the installed one when the folder or the scope changed or the option is off.
void UpdatePath(const ProductRecord& package, const ProductRecord& installed);
