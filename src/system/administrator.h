// Whether the process runs with the rights of the built-in administrators
// group: the setup changes the machine's program folders, registration and
// services, which only an elevated administrator may.
//
// https://learn.microsoft.com/windows/win32/api/securitybaseapi/nf-securitybaseapi-checktokenmembership
#pragma once

bool RunsAsAdministrator();
