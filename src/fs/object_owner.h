// Who made an object the setup finds already there: a folder on its way, or
// a named mutex. An object is the administrators' when the built-in
// administrators or the local system own it, as they own everything an
// elevated run makes; a user who made it first owns it himself.
//
// https://learn.microsoft.com/windows/win32/api/aclapi/nf-aclapi-getsecurityinfo
#pragma once

#include <windows.h>

#include <aclapi.h>

// Whether the administrators, the system or `also_trusted` (may be null)
// own `object`. False when its owner cannot be read.
bool OwnedByAdministrators(HANDLE object, SE_OBJECT_TYPE type, PSID also_trusted);
