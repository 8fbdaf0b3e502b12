// The table of machine changes, filled with the system's functions, and the
// gated table that a test puts in their place.
#include "fs/machine_calls.h"

#include <objidl.h>

namespace {

HRESULT SaveLink(IPersistFile* file, const wchar_t* path) { return file->Save(path, TRUE); }

constexpr MachineCalls kSystemCalls{
    &::CreateFileA,    &::WriteFile,        &::SetFileTime,          &::SetFileAttributesA,       &::MoveFileExA,
    &::DeleteFileA,    &::CreateDirectoryA, &::RemoveDirectoryA,     &::SetNamedSecurityInfoA,    &::RegCreateKeyExA,
    &::RegSetValueExA, &::RegDeleteValueA,  &::RegDeleteKeyA,        &::CreateServiceA,           &::DeleteService,
    &::ControlService, &::StartServiceA,    &::ChangeServiceConfigA, &::SetServiceObjectSecurity, &SaveLink,
};

MachineCalls calls = kSystemCalls;
MachineChangeGate gate = nullptr;

// The gate's answer; a refusal is also left as the thread's last error, so
// that callers which read GetLastError see it.
DWORD Ask(MachineChange kind) {
  DWORD error = gate(kind);
  if (error != ERROR_SUCCESS) SetLastError(error);
  return error;
}

// What a refused call returns, by its result type.
template <typename R>
R Refused() {
  return R{};  // FALSE, or a null service handle
}
template <>
HANDLE Refused<HANDLE>() {
  return INVALID_HANDLE_VALUE;
}

// Functions that report failure through the last error.
template <auto kCall, MachineChange kKind>
struct Gated;
template <typename R, typename... A, R(WINAPI* kCall)(A...), MachineChange kKind>
struct Gated<kCall, kKind> {
  static R WINAPI Call(A... arguments) {
    if (Ask(kKind) != ERROR_SUCCESS) return Refused<R>();
    return kCall(arguments...);
  }
};

// Functions that return the error itself (the registry's, the security
// functions').
template <auto kCall, MachineChange kKind>
struct GatedReturningError;
template <typename R, typename... A, R(WINAPI* kCall)(A...), MachineChange kKind>
struct GatedReturningError<kCall, kKind> {
  static R WINAPI Call(A... arguments) {
    DWORD error = Ask(kKind);
    return error != ERROR_SUCCESS ? static_cast<R>(error) : kCall(arguments...);
  }
};
template <auto kCall>
using GatedRegistry = GatedReturningError<kCall, MachineChange::kRegistry>;

HRESULT GatedSaveLink(IPersistFile* file, const wchar_t* path) {
  DWORD error = Ask(MachineChange::kLink);
  return error != ERROR_SUCCESS ? HRESULT_FROM_WIN32(error) : SaveLink(file, path);
}

}  // namespace

MachineCalls& Machine() { return calls; }

void SetMachineChangeGate(MachineChangeGate new_gate) {
  gate = new_gate;
  if (gate == nullptr) {
    calls = kSystemCalls;
    return;
  }
  using K = MachineChange;
  calls = MachineCalls{
      &Gated<&::CreateFileA, K::kFile>::Call,
      &Gated<&::WriteFile, K::kFileBytes>::Call,
      &Gated<&::SetFileTime, K::kFile>::Call,
      &Gated<&::SetFileAttributesA, K::kFile>::Call,
      &Gated<&::MoveFileExA, K::kFile>::Call,
      &Gated<&::DeleteFileA, K::kFile>::Call,
      &Gated<&::CreateDirectoryA, K::kFolder>::Call,
      &Gated<&::RemoveDirectoryA, K::kFolder>::Call,
      &GatedReturningError<&::SetNamedSecurityInfoA, K::kFolder>::Call,
      &GatedRegistry<&::RegCreateKeyExA>::Call,
      &GatedRegistry<&::RegSetValueExA>::Call,
      &GatedRegistry<&::RegDeleteValueA>::Call,
      &GatedRegistry<&::RegDeleteKeyA>::Call,
      &Gated<&::CreateServiceA, K::kService>::Call,
      &Gated<&::DeleteService, K::kService>::Call,
      &Gated<&::ControlService, K::kService>::Call,
      &Gated<&::StartServiceA, K::kService>::Call,
      &Gated<&::ChangeServiceConfigA, K::kService>::Call,
      &Gated<&::SetServiceObjectSecurity, K::kService>::Call,
      &GatedSaveLink,
  };
}
