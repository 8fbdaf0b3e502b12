// Every change the setup makes to the machine goes through this table of
// system calls: file writes, moves and deletions, folders, registry keys and
// values, services and shell links. One table lets a test count the changes
// of a whole run and refuse, or end the process at, any one of them, which is
// how the runs that break off halfway are tested. The program itself never
// changes the table: it holds the system's own functions.
//
// Reads (opening a file to read it, querying values and services) are not
// changes and call the system directly. Every folder made or removed goes
// through the table, the setup's own temporary folder and a folder link it
// unlinks included. Three calls pass it by design. The setup log
// (AppendFile) is the record of the changes, not one of them: through the
// table, every logged line would count as a change, and a refused or
// broken-off run would lose the very lines that tell what it did. Starting
// the uninstall batch and broadcasting that the environment changed alter
// nothing themselves: the batch file and the PATH value went through the
// table before.
#pragma once

#include <windows.h>

#include <aclapi.h>

#include <cstdint>

struct IPersistFile;

// Saves a shell link through its IPersistFile (IPersistFile::Save with
// remember = TRUE).
using SaveLinkCall = HRESULT (*)(IPersistFile* file, const wchar_t* path);

struct MachineCalls {
  decltype(&::CreateFileA) create_file;  // for writing only
  decltype(&::WriteFile) write_file;
  decltype(&::SetFileTime) set_file_time;
  decltype(&::SetFileAttributesA) set_file_attributes;
  decltype(&::MoveFileExA) move_file;
  decltype(&::DeleteFileA) delete_file;
  decltype(&::CreateDirectoryA) create_directory;
  decltype(&::RemoveDirectoryA) remove_directory;
  decltype(&::SetNamedSecurityInfoA) set_named_security;  // a folder's access rules
  decltype(&::RegCreateKeyExA) create_key;
  decltype(&::RegSetValueExA) set_value;
  decltype(&::RegDeleteValueA) delete_value;
  decltype(&::RegDeleteKeyA) delete_key;
  decltype(&::CreateServiceA) create_service;
  decltype(&::DeleteService) delete_service;
  decltype(&::ControlService) control_service;
  decltype(&::StartServiceA) start_service;
  decltype(&::ChangeServiceConfigA) change_service_config;
  decltype(&::SetServiceObjectSecurity) set_service_security;
  SaveLinkCall save_link;
};

MachineCalls& Machine();

// The kinds of change, for a gate that acts on some of them only.
enum class MachineChange : std::uint8_t {
  kFile = 0,       // create, time, attributes, move, delete
  kFileBytes = 5,  // a piece of a file's contents
  kFolder = 1,     // create, remove, access rules
  kRegistry = 2,   // key create and delete, value write and delete
  kService = 3,    // create, delete, stop, start, configure
  kLink = 4,       // shell link save
};

// Test seam: a gate runs before every change made through Machine(). It
// returns ERROR_SUCCESS to let the change through, or the error that the
// call then fails with (ERROR_ACCESS_DENIED, ERROR_DISK_FULL) without
// changing anything. It may also end the process. nullptr puts the
// system's functions back.
using MachineChangeGate = DWORD (*)(MachineChange kind);
void SetMachineChangeGate(MachineChangeGate gate);
