#include "hold_file_process.h"

HeldFile::HeldFile(const std::string& path) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  KernelHandle child_in, child_out, from_child;
  CreatePipe(child_in.Receive(), to_child_.Receive(), &inherit, 0);
  CreatePipe(from_child.Receive(), child_out.Receive(), &inherit, 0);
  SetHandleInformation(to_child_.Get(), HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(from_child.Get(), HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = child_in.Get();
  startup.hStdOutput = child_out.Get();
  startup.hStdError = child_out.Get();
  std::string command = std::string("\"") + HOLD_FILE_EXE + "\" \"" + path + "\"";
  PROCESS_INFORMATION process{};
  if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    process_ = StartedProcess(process).process;
    std::string reply;
    char byte;
    DWORD got = 0;
    while (reply.size() < 4 && ReadFile(from_child.Get(), &byte, 1, &got, nullptr) && got == 1) reply += byte;
    held_ = reply == "held";
  }
}

HeldFile::~HeldFile() {
  if (to_child_) {
    DWORD written;
    WriteFile(to_child_.Get(), "\n", 1, &written, nullptr);
    to_child_.Reset();
  }
  if (process_) WaitForSingleObject(process_.Get(), 10000);
}
