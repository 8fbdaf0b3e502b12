#include "system/administrator.h"

#include <windows.h>

#include "handles/owned_handle.h"

bool RunsAsAdministrator() {
  SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
  SidMemory administrators;
  if (!AllocateAndInitializeSid(&nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS, 0, 0, 0, 0, 0, 0,
                                administrators.Receive())) {
    return false;
  }
  // Under UAC a filtered token holds the group for denying only: the check
  // is true only when the process is elevated.
  BOOL member = FALSE;
  if (!CheckTokenMembership(nullptr, administrators.Get(), &member)) member = FALSE;
  return member != FALSE;
}
