// Where an installation puts its things. Every product of the publisher
// shares one "Tarnell" folder in the program-files folder, in the
// application-data folder and in the start menu.
//
// The shell folders come from the shell (SHGetFolderPathA with the matching
// CSIDL, the common ones for an all-users install). Only where it has no
// answer are the "User Shell Folders" values read and expanded: those of
// HKEY_LOCAL_MACHINE with names beginning "Common" for an all-users install,
// those of HKEY_CURRENT_USER otherwise.
//
// https://learn.microsoft.com/windows/win32/shell/csidl
#pragma once

#include "package/product_record.h"
#include "text/fixed_text.h"

// The program-files folder followed by "\Tarnell", as the shell names it
// (%ProgramFiles% only where the shell has no answer). The same for all
// users and one user.
Text DefaultProgramFolder();
// The application-data folder followed by "\Tarnell"; empty when there is
// no such folder.
Text DefaultDataFolder(bool all_users);
// Fills the record's start-menu folder (the programs folder joined with
// "Tarnell") and desktop folder by its all-users flag. A folder that cannot
// be found keeps what the record held.
void ResolveShortcutFolders(ProductRecord& record);
// The setup copy in the record's program folder: the product name followed
// by "_Setup.exe". False when that path would not fit a Text.
bool SetupCopyPath(const ProductRecord& record, const char* product_name, Text& out);
// Removes the emptied ancestors of a folder that has just been removed,
// innermost first, up to the first that cannot be removed. The drive itself
// is never tried.
void RemoveEmptyParents(const char* path);
