#include "fs/file_identity.h"

#include "handles/owned_handle.h"

bool IdentityOf(HANDLE handle, FileIdentity& out) {
  BY_HANDLE_FILE_INFORMATION information;
  if (!GetFileInformationByHandle(handle, &information)) return false;
  out = FileIdentity{information.dwVolumeSerialNumber, information.nFileIndexHigh, information.nFileIndexLow};
  return true;
}

bool IdentityAt(const char* path, FileIdentity& out) {
  KernelHandle entry(CreateFileA(path, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                 nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS,
                                 nullptr));
  return entry && IdentityOf(entry.Get(), out);
}
