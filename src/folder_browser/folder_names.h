// The names a user types in the folder browser for a new or renamed folder.
// Each names one folder inside the selected one: a name with separators or
// ".." parts would make or move folders elsewhere, with the setup's rights.
#pragma once

#include "text/fixed_text.h"

// One folder in the folder it is joined to, by the rule the package reader
// keeps for file names: no separator, drive colon, ".." or device name.
bool IsPlainFolderName(const char* name);

// Makes the folder `name` in `parent` and sets `path` to it, logging as
// CreateFolderChain does; a name that is no plain name is refused with
// "Directory NOT created: %s" and nothing is made.
bool MakeFolderIn(const char* parent, const char* name, Text& path);
