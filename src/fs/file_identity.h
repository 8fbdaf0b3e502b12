// Which file a handle or a name stands for, whatever path reached it: the
// volume's serial number and the file's index on it. Two names, a short and
// a long one, or a name and a handle opened earlier, are the same file when
// their identities are equal.
//
// https://learn.microsoft.com/windows/win32/api/fileapi/nf-fileapi-getfileinformationbyhandle
#pragma once

#include <windows.h>

struct FileIdentity {
  DWORD volume = 0;
  DWORD index_high = 0;
  DWORD index_low = 0;

  bool operator==(const FileIdentity& other) const {
    return volume == other.volume && index_high == other.index_high && index_low == other.index_low;
  }
};

// False when the handle tells nothing (closed, or no file system's).
bool IdentityOf(HANDLE handle, FileIdentity& out);
// The identity of the entry `path` names, a link itself not followed.
bool IdentityAt(const char* path, FileIdentity& out);
