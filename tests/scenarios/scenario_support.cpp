#include "scenario_support.h"

#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>

#include "folder_listing.h"
#include "package/crc32.h"
#include "package/integrity_record.h"
#include "package/package_loader.h"
#include "package/pe_checksum.h"
#include "package/pe_image.h"

namespace {

constexpr char kScenarioRoot[] = "C:\\scenario";

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool IsInside(const std::string& path, const std::string& folder) {
  std::string p = Lower(path);
  std::string f = Lower(folder);
  return p == f || (p.size() > f.size() && p.compare(0, f.size(), f) == 0 && p[f.size()] == '\\');
}

void MakeFolders(const std::string& path) {
  for (std::size_t at = path.find('\\', 3); at != std::string::npos; at = path.find('\\', at + 1)) {
    CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
  }
  CreateDirectoryA(path.c_str(), nullptr);
}

// One argument for the C run-time's command-line parser: quoted, with the
// backslashes before a quote doubled.
std::string Quoted(const std::string& argument) {
  std::string out = "\"";
  std::size_t backslashes = 0;
  for (char c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    out.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
    backslashes = 0;
    out += c;
  }
  out.append(2 * backslashes, '\\');
  return out + "\"";
}

// The current environment with TEMP and TMP pointing at `temp`.
std::string EnvironmentWithTemp(const std::string& temp) {
  std::string block;
  char* strings = GetEnvironmentStringsA();
  for (const char* entry = strings; *entry != '\0'; entry += std::strlen(entry) + 1) {
    if (_strnicmp(entry, "TEMP=", 5) == 0 || _strnicmp(entry, "TMP=", 4) == 0) continue;
    block += entry;
    block += '\0';
  }
  FreeEnvironmentStringsA(strings);
  block += "TEMP=" + temp + '\0' + "TMP=" + temp + '\0' + '\0';
  return block;
}

// A log line's text without its time stamp; the line itself when it has none.
std::string WithoutStamp(const std::string& line) {
  static const std::regex kStamp(R"(\d\d[./-]\d\d[./-]\d{4}  \d\d:\d\d:\d\d  (.*))");
  std::smatch match;
  return std::regex_match(line, match, kStamp) ? std::string(match[1]) : line;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::uint64_t TimeOf(const FILETIME& time) {
  return (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

void Walk(const std::string& folder, Snapshot& snapshot) {
  for (const FolderEntry& entry : EntriesMatching(folder + "\\*")) {
    std::string path = folder + "\\" + entry.name;
    if (IsInside(path, "C:\\windows") || IsInside(path, kScenarioRoot)) continue;
    snapshot[path] = {entry.IsFolder() ? UINT64_MAX : entry.size, entry.IsFolder() ? 0 : TimeOf(entry.written)};
    if (entry.IsFolder() && !entry.IsLink()) Walk(path, snapshot);
  }
}

std::string ShellFolder(int csidl) {
  char path[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_DONT_VERIFY, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

}  // namespace

void ScenarioTest::SetUp() {
  std::string reason = Environment("TARNELL_SCENARIO_SKIP");
  if (!reason.empty()) GTEST_SKIP() << reason;
  if (Environment("TARNELL_SCENARIO_SETUPS").empty()) {
    GTEST_SKIP() << "run through in-scenario-prefix.sh (ctest does), which builds the setups";
  }
  com_ = SUCCEEDED(CoInitialize(nullptr));
}

void ScenarioTest::TearDown() {
  if (com_) CoUninitialize();
}

std::string ScenarioTest::WorkFolder(const std::string& name) {
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  // A parameterised test's name holds "/", which no folder name may.
  std::string test_name = test->name();
  std::replace(test_name.begin(), test_name.end(), '/', '_');
  std::string folder = std::string(kScenarioRoot) + "\\" + test_name + "\\" + name;
  MakeFolders(folder);
  return folder;
}

std::string SetupPath(const std::string& name) { return Environment("TARNELL_SCENARIO_SETUPS") + "\\" + name + ".exe"; }

std::string ExpectedBytes(const std::string& setup, const std::string& file) {
  std::optional<std::string> bytes = FileBytes(Environment("TARNELL_SCENARIO_SETUPS") + "\\" + setup + "\\" + file);
  EXPECT_TRUE(bytes.has_value()) << setup << " carries no " << file;
  return bytes.value_or("");
}

std::uint64_t ExpectedTime(const std::string& setup, const std::string& file) {
  return WriteTime(Environment("TARNELL_SCENARIO_SETUPS") + "\\" + setup + "\\" + file);
}

std::vector<std::string> DeployRun::RecordFiles() const {
  std::vector<std::string> names;
  for (const std::string& line : record) {
    if (line.compare(0, 5, "file ") == 0) names.push_back(line.substr(5, line.find(' ', 5) - 5));
  }
  return names;
}

bool DeployRun::Logged(const std::string& text) const { return Contains(log, text); }

KernelHandle StartProgram(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& temp_folder, const std::string& output_path, const std::string& error_path,
                          HANDLE token) {
  std::string command = Quoted(program);
  for (const std::string& argument : arguments) command += " " + Quoted(argument);

  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  KernelHandle output(CreateFileA(output_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  KernelHandle error(CreateFileA(error_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = output.Get();
  startup.hStdError = error.Get();
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION process{};
  std::string environment = EnvironmentWithTemp(temp_folder);
  if (!CreateProcessAsUserA(token, nullptr, &command[0], nullptr, nullptr, TRUE, 0, &environment[0], nullptr, &startup,
                            &process)) {
    ADD_FAILURE() << "cannot start " << command;
    return KernelHandle();
  }
  return StartedProcess(process).process;
}

DWORD RunProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& temp_folder,
                 const std::string& output_path, const std::string& error_path, HANDLE token) {
  KernelHandle process = StartProgram(program, arguments, temp_folder, output_path, error_path, token);
  DWORD exit_code = 0xFFFFFFFF;
  if (!process) return exit_code;
  if (WaitForSingleObject(process.Get(), 120000) != WAIT_OBJECT_0) {
    ADD_FAILURE() << program << " hangs";
    TerminateProcess(process.Get(), exit_code);
  }
  GetExitCodeProcess(process.Get(), &exit_code);
  return exit_code;
}

std::vector<std::string> LogLines(const std::string& folder) {
  std::vector<std::string> lines;
  for (const std::string& name : FolderEntries(folder)) {
    if (name.size() < 4 || Lower(name.substr(name.size() - 4)) != ".log") continue;
    for (std::string& line : Lines(FileBytes(folder + "\\" + name).value_or(""))) {
      std::string text = WithoutStamp(line);
      if (text.size() != line.size()) lines.push_back(text);
    }
  }
  return lines;
}

std::string DeployPath() { return Environment("TARNELL_SCENARIO_DRIVER"); }

DeployRun RunDeploy(const std::vector<std::string>& arguments) {
  static int runs = 0;
  std::string folder = std::string(kScenarioRoot) + "\\runs\\" + std::to_string(++runs);
  DeployRun run;
  run.temp_folder = folder + "\\temp";
  MakeFolders(run.temp_folder);
  std::vector<std::string> with_record = arguments;
  if (!arguments.empty() && arguments.front() != "status") with_record.push_back("--print-record");
  run.exit_code =
      RunProgram(DeployPath(), with_record, run.temp_folder, folder + "\\output.txt", folder + "\\errors.txt");

  // Log lines are time-stamped; what follows them is the message and, on
  // request, the record.
  for (const std::string& line : Lines(FileBytes(folder + "\\output.txt").value_or(""))) {
    std::string text = WithoutStamp(line);
    if (text.size() != line.size()) {
      run.output.push_back(text);
    } else if (line.compare(0, 8, "record: ") == 0) {
      run.record.push_back(line.substr(8));
    } else {
      if (run.message.empty()) run.message = line;
      run.output.push_back(line);
    }
  }
  run.errors = Lines(FileBytes(folder + "\\errors.txt").value_or(""));
  if (run.exit_code == 1 && !run.errors.empty()) run.message = run.errors.back();
  run.log = LogLines(run.temp_folder);
  return run;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::optional<std::string> FileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  return std::string((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
}

std::uint64_t WriteTime(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return TimeOf(data.ftLastWriteTime);
}

void SetWriteTime(const std::string& path, std::uint64_t time) {
  KernelHandle file(CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
  FILETIME stamp{static_cast<DWORD>(time), static_cast<DWORD>(time >> 32)};
  EXPECT_TRUE(file && SetFileTime(file.Get(), nullptr, nullptr, &stamp)) << path;
}

std::vector<std::string> FolderEntries(const std::string& folder) { return NamesIn(folder); }

bool WaitUntilGone(const std::string& path, int seconds) {
  for (int i = 0; i < seconds * 10; ++i) {
    if (!Exists(path)) return true;
    Sleep(100);
  }
  return !Exists(path);
}

HeldFile::HeldFile(const std::string& path, Hold hold)
    : handle_(hold == Hold::kInUse
                  ? CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                  : CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                0, nullptr)) {}

std::string UninstallKey(const std::string& product) {
  return "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + product;
}

std::vector<std::string> PathEntries(bool all_users) {
  std::optional<std::string> path =
      all_users
          ? RegistryText(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager\\Environment", "Path")
          : RegistryText(HKEY_CURRENT_USER, "Environment", "Path");
  std::vector<std::string> entries;
  std::istringstream stream(path.value_or(""));
  for (std::string entry; std::getline(stream, entry, ';');) entries.push_back(entry);
  return entries;
}

ShellFolders FoldersFor(bool all_users) {
  ShellFolders folders;
  folders.start_menu = ShellFolder(all_users ? CSIDL_COMMON_PROGRAMS : CSIDL_PROGRAMS) + "\\Tarnell";
  folders.desktop = ShellFolder(all_users ? CSIDL_COMMON_DESKTOPDIRECTORY : CSIDL_DESKTOPDIRECTORY);
  folders.app_data = ShellFolder(all_users ? CSIDL_COMMON_APPDATA : CSIDL_APPDATA);
  return folders;
}

std::string ProgramFiles() { return ShellFolder(CSIDL_PROGRAM_FILES); }

Snapshot TakeSnapshot() {
  Snapshot snapshot;
  Walk("C:", snapshot);
  return snapshot;
}

std::vector<std::string> WrittenOutside(const Snapshot& before, const Snapshot& after,
                                        const std::vector<std::string>& allowed) {
  std::vector<std::string> changed;
  for (const auto& [path, facts] : after) {
    auto old = before.find(path);
    if (old == before.end() || old->second != facts) changed.push_back(path);
  }
  for (const auto& [path, facts] : before) {
    if (after.find(path) == after.end()) changed.push_back(path);
  }
  std::vector<std::string> outside;
  for (const std::string& path : changed) {
    bool fine = false;
    for (const std::string& folder : allowed) fine = fine || IsInside(path, folder) || IsInside(folder, path);
    if (!fine) outside.push_back(path);
  }
  return outside;
}

bool Contains(const std::vector<std::string>& items, const std::string& item) {
  return std::find(items.begin(), items.end(), item) != items.end();
}

void WriteFilledSetup(const std::string& name, const std::string& path, const char* swapped_file) {
  std::string text = FileBytes(SetupPath(name)).value_or("");
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  MemoryPackageFile file(bytes.data(), bytes.size(), path.c_str());
  PackageDirectory package;
  LoadPackageDirectory(file, path.c_str(), package);
  IntegrityRecord record = FindIntegrityRecord(file);
  ASSERT_NE(record.kind, IntegrityRecord::Kind::kNone) << "the stub carries no integrity record";
  std::size_t head = std::min<std::size_t>(bytes.size(), kPeHeadSize);
  std::uint64_t from = package.Record(1).stream_offset;
  std::uint64_t to = PackageDataEnd(bytes.data(), head, bytes.size());
  Crc32 crc;
  crc.Add(bytes.data() + from, static_cast<std::size_t>(to - from));
  EncodeIntegrityValues(crc.Value(), static_cast<std::uint32_t>(to - from), bytes.data() + record.values_offset);
  std::size_t field = ReadPeImageInfo(bytes.data(), head).checksum_field;
  std::uint32_t sum = PeFileChecksum(bytes.data(), bytes.size(), field);
  for (int i = 0; i < 4; ++i) bytes[field + i] = static_cast<std::uint8_t>(sum >> (8 * i));
  if (swapped_file != nullptr) {
    std::size_t number = FindFileRecord(package, swapped_file);
    ASSERT_NE(number, 0u) << swapped_file;
    std::size_t a = (package.Record(number).stream_offset + 64) & ~std::size_t{1};
    std::size_t b = a + 2;
    while (bytes[a] == bytes[b] && bytes[a + 1] == bytes[b + 1]) b += 2;
    std::swap(bytes[a], bytes[b]);
    std::swap(bytes[a + 1], bytes[b + 1]);
  }
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
