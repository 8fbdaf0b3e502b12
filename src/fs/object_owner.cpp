#include "fs/object_owner.h"

#include "handles/owned_handle.h"

bool OwnedByAdministrators(HANDLE object, SE_OBJECT_TYPE type, PSID also_trusted) {
  PSID owner = nullptr;
  // The owner lies inside the descriptor.
  LocalMemory descriptor;
  if (GetSecurityInfo(object, type, OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr,
                      descriptor.Receive()) != ERROR_SUCCESS ||
      owner == nullptr) {
    return false;
  }
  return IsWellKnownSid(owner, WinBuiltinAdministratorsSid) || IsWellKnownSid(owner, WinLocalSystemSid) ||
         (also_trusted != nullptr && EqualSid(owner, also_trusted));
}
