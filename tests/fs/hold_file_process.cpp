#include "hold_file_process.h"

HeldFile::HeldFile(const std::string& path) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE child_in = nullptr, child_out = nullptr, from_child = nullptr;
  CreatePipe(&child_in, &to_child_, &inherit, 0);
  CreatePipe(&from_child, &child_out, &inherit, 0);
  SetHandleInformation(to_child_, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(from_child, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = child_in;
  startup.hStdOutput = child_out;
  startup.hStdError = child_out;
  std::string command = std::string("\"") + HOLD_FILE_EXE + "\" \"" + path + "\"";
  if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process_)) {
    std::string reply;
    char byte;
    DWORD got = 0;
    while (reply.size() < 4 && ReadFile(from_child, &byte, 1, &got, nullptr) && got == 1) reply += byte;
    held_ = reply == "held";
  }
  CloseHandle(child_in);
  CloseHandle(child_out);
  CloseHandle(from_child);
}

HeldFile::~HeldFile() {
  if (to_child_ != nullptr) {
    DWORD written;
    WriteFile(to_child_, "\n", 1, &written, nullptr);
    CloseHandle(to_child_);
  }
  if (process_.hProcess != nullptr) {
    WaitForSingleObject(process_.hProcess, 10000);
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
  }
}
