// The rights of a program folder the setup makes outside Program Files.
//
// Such a folder (D:\Apps\Product, C:\Product) would inherit the drive root's
// "Authenticated Users: Modify", yet it holds the LocalSystem service
// program, the registered uninstaller and perhaps a folder on the machine's
// PATH. So the highest folder the setup makes on the way gets a protected
// DACL: SYSTEM and Administrators full control, Users read and execute, as
// under Program Files. Folders under Program Files already inherit that and
// folders that were there before are not the setup's to change.
//
// https://learn.microsoft.com/windows/win32/secauthz/security-descriptor-string-format
#pragma once

#include "text/fixed_text.h"

// The highest folder of `path` that does not exist yet; empty when all do.
Text FirstMissingFolder(const char* path);
// Whether `path` is the program-files folder or lies in it (either view).
bool LiesUnderProgramFiles(const char* path);
// Sets the protected DACL on `folder`; false when it could not be set.
bool ProtectProgramFolder(const char* folder);
// The protected DACL itself, as SDDL.
inline constexpr char kProgramFolderAccess[] = "D:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;FRFX;;;BU)";
