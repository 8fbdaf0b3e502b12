// The rights of a program folder the setup makes outside Program Files.
//
// Such a folder (D:\Apps\Product, C:\Product) would inherit the drive root's
// "Authenticated Users: Modify", yet it holds the LocalSystem service
// program, the registered uninstaller and perhaps a folder on the machine's
// PATH. So each folder the setup makes on the way is created with a
// protected DACL: SYSTEM and Administrators full control, Users read and
// execute, as under Program Files; it never exists with weaker rights, not
// even for a moment. Folders under Program Files already inherit that, and
// folders that were there before are not the setup's to change: one that
// users may write to is reported in the log.
//
// https://learn.microsoft.com/windows/win32/secauthz/security-descriptor-string-format
#pragma once

#include "text/fixed_text.h"

// The highest folder of `path` that does not exist yet; empty when all do.
Text FirstMissingFolder(const char* path);
// Whether `path` is the program-files folder or lies in it (either view).
bool LiesUnderProgramFiles(const char* path);
// Creates the missing folders of `path`, with the protected DACL outside
// Program Files. A folder that was missing and is there by the time it is
// created was made by someone else: like any failure, it ends the run with
// "Directory NOT created: %s". An existing `path` outside Program Files
// that users may write to is logged as a warning.
void CreateProgramFolder(const char* path);
// Whether users who are not administrators may write to `folder` or change
// its rights by its DACL (allowing entries for Users, Authenticated Users,
// Everyone or Interactive).
bool UsersMayWrite(const char* folder);
// The protected DACL itself, as SDDL.
inline constexpr char kProgramFolderAccess[] = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FRFX;;;BU)";
