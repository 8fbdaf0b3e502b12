// tarnell-pack: makes a setup executable from a manifest and the setup
// program, and reads finished setups with the setup's own reader and decoder.
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "ansi_text.h"
#include "manifest.h"
#include "manifest_warnings.h"
#include "output_guard.h"
#include "pack_error.h"
#include "setup_builder.h"
#include "setup_commands.h"
#include "skin_archive.h"
#include "skin_pack.h"
#include "stream_encoder.h"
#include "stub_check.h"

namespace {

constexpr int kUsageError = 2;

const char kUsage[] =
    "usage: tarnell-pack COMMAND ...\n"
    "  build MANIFEST -o SETUP.exe [--level N] [--stub STUB.exe] [--verbose|--quiet]\n"
    "        [--warnings-as-errors]\n"
    "                         make a setup executable from a manifest\n"
    "  check MANIFEST [--stub STUB.exe] [--warnings-as-errors]\n"
    "                         check a manifest and the stub without building\n"
    "  list SETUP.exe [--json] [--sha256]\n"
    "                         print the package directory of a setup\n"
    "  verify SETUP.exe       decode every stream; non-zero exit on any fault\n"
    "  extract SETUP.exe DIR [--force]\n"
    "                         write the product files into DIR\n"
    "  skin check FOLDER [--header PNG]\n"
    "                         check a skin folder's pictures before building\n"
    "Run tarnell-pack COMMAND --help for one command; tarnell-pack --version.\n";

const char kBuildUsage[] =
    "usage: tarnell-pack build MANIFEST -o SETUP.exe [--level N] [--stub STUB.exe] [--verbose|--quiet]\n"
    "                          [--warnings-as-errors]\n"
    "  MANIFEST        the TOML manifest; its paths are relative to its folder\n"
    "  -o SETUP.exe    the setup to write; replaced only when the build succeeds\n"
    "  --level N       libdeflate compression level, 1 to 12 (default 12)\n"
    "  --stub STUB.exe the unsigned setup program to append the package to; by\n"
    "                  default tarnell-setup.exe (architecture \"x64\":\n"
    "                  tarnell-setup-x64.exe) beside tarnell-pack, else the one\n"
    "                  this source tree builds with the i686 (x86_64) preset:\n"
    "                  " TARNELL_PACK_DEFAULT_STUB
    "\n"
    "                  " TARNELL_PACK_DEFAULT_STUB_X64
    "\n"
    "  --verbose       one line per file on standard error, with its size and\n"
    "                  ratio (the default when standard error is a terminal)\n"
    "  --quiet         print nothing but errors\n"
    "  --warnings-as-errors  build nothing when the manifest draws a warning\n"
    "  Files without a time take SOURCE_DATE_EPOCH when it is set.\n";

const char kCheckUsage[] =
    "usage: tarnell-pack check MANIFEST [--stub STUB.exe] [--warnings-as-errors]\n"
    "  Checks the manifest, its files, its skin and the setup program as build does,\n"
    "  without building. --stub and --warnings-as-errors as for build.\n";

const char kListUsage[] =
    "usage: tarnell-pack list SETUP.exe [--json] [--sha256]\n"
    "  Prints product, version, files and associations.\n"
    "  --json    as one JSON object (its shape is in README.md)\n"
    "  --sha256  decode every file and print its SHA-256\n";
const char kVerifyUsage[] =
    "usage: tarnell-pack verify SETUP.exe\n"
    "  Reads the package as the setup does, checks the skin archive's directory and\n"
    "  decodes every stream, comparing its length with the recorded size.\n";
const char kExtractUsage[] =
    "usage: tarnell-pack extract SETUP.exe DIR [--force]\n"
    "  Writes every product file into DIR (created when missing) with its recorded time.\n"
    "  Each file is written under a temporary name and renamed when it is complete.\n"
    "  --force  replace files of DIR that have a product file's name (refused otherwise)\n";

const char kSkinUsage[] =
    "usage: tarnell-pack skin check FOLDER [--header PNG]\n"
    "  Checks every PNG of FOLDER (and the header picture) the way build packs them:\n"
    "  one line per picture, then one per picture the setup asks for that the folder\n"
    "  leaves to the default skin. Exit status 1 when a picture would stop the build.\n";

struct UsageError {
  std::string reason;
};

bool WantsHelp(const std::vector<std::string>& args) {
  for (const std::string& arg : args) {
    if (arg == "--help" || arg == "-h") return true;
  }
  return false;
}

// Removes every `flag` from `args`; whether there was one.
bool TakeFlag(std::vector<std::string>& args, const std::string& flag) {
  auto end = std::remove(args.begin(), args.end(), flag);
  bool found = end != args.end();
  args.erase(end, args.end());
  return found;
}

// The setup program for `architecture`: beside tarnell-pack (an installed
// pair), else the one this source tree builds.
std::string DefaultStub(Architecture architecture) {
  bool x64 = architecture == Architecture::kX64;
  const char* name = x64 ? "tarnell-setup-x64.exe" : "tarnell-setup.exe";
  std::string built = x64 ? TARNELL_PACK_DEFAULT_STUB_X64 : TARNELL_PACK_DEFAULT_STUB;
  std::error_code error;
  std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) {
    std::filesystem::path beside = self.parent_path() / name;
    if (std::filesystem::is_regular_file(beside)) return beside.string();
  }
  if (std::filesystem::is_regular_file(built)) return built;
  throw PackError(std::string("no ") + name + " beside tarnell-pack or at " + built + " (build the " +
                  (x64 ? "x86_64" : "i686") + " preset, or name one with --stub)");
}

int ParseLevel(const std::string& text) {
  char* end = nullptr;
  long level = std::strtol(text.c_str(), &end, 10);
  if (text.empty() || *end != '\0' || level < 1 || level > 12) {
    throw UsageError{"--level takes a number from 1 to 12, not \"" + text + "\""};
  }
  return static_cast<int>(level);
}

// Every file the build reads, which its output must not replace.
std::vector<BuildInput> BuildInputs(const std::string& manifest_path, const Manifest& manifest,
                                    const std::string& stub) {
  std::vector<BuildInput> inputs = {{manifest_path, "the manifest"}, {stub, "the stub"}};
  for (std::size_t i = 0; i < manifest.files.size(); ++i) {
    inputs.push_back({manifest.files[i].source, "file[" + std::to_string(i + 1) + "].source"});
  }
  if (manifest.header_picture) inputs.push_back({*manifest.header_picture, "skin.header"});
  if (manifest.setup_icon) inputs.push_back({*manifest.setup_icon, "product.setup_icon"});
  if (manifest.skin_folder) {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(*manifest.skin_folder, error)) {
      inputs.push_back({entry.path().string(), "a picture of skin.folder"});
    }
  }
  return inputs;
}

enum class Verbosity { kQuiet, kNormal, kPerFile };

// `value` for an option that may be given once; `current` is what it has.
std::string Once(const std::string& option, const std::string& current, const std::string& value) {
  if (!current.empty()) throw UsageError{option + " given twice"};
  return value;
}

// Prints the manifest's warnings (always when they are errors); PackError
// when there are some and `as_errors`.
void ReportWarnings(const Manifest& manifest, const std::string& manifest_path, bool print, bool as_errors) {
  std::vector<std::string> warnings = ManifestWarnings(manifest);
  for (std::string& warning : OutsideSourceWarnings(manifest, manifest_path)) warnings.push_back(std::move(warning));
  if (print || as_errors) {
    for (const std::string& warning : warnings) std::cerr << "tarnell-pack: warning: " << warning << "\n";
  }
  if (as_errors && !warnings.empty()) {
    throw PackError(std::to_string(warnings.size()) + (warnings.size() == 1 ? " warning" : " warnings") +
                    ", which --warnings-as-errors makes errors; nothing written");
  }
}

std::string Ratio(std::size_t packed, std::size_t size) {
  if (size == 0) return "empty";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f%%", 100.0 * static_cast<double>(packed) / static_cast<double>(size));
  return text;
}

int Build(const std::vector<std::string>& args) {
  std::string manifest_path, output, stub, level_text, verbosity_flag;
  int level = 12;
  bool warnings_as_errors = false;
  Verbosity verbosity = isatty(STDERR_FILENO) ? Verbosity::kPerFile : Verbosity::kNormal;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto next = [&]() -> const std::string& {
      if (i + 1 >= args.size()) throw UsageError{arg + " needs a value"};
      return args[++i];
    };
    if (arg == "-o") {
      output = Once(arg, output, next());
    } else if (arg == "--level") {
      level_text = Once(arg, level_text, next());
      level = ParseLevel(level_text);
    } else if (arg == "--stub") {
      stub = Once(arg, stub, next());
    } else if (arg == "--verbose" || arg == "--quiet") {
      if (!verbosity_flag.empty() && verbosity_flag != arg)
        throw UsageError{"--verbose and --quiet contradict each other"};
      verbosity_flag = arg;
      verbosity = arg == "--quiet" ? Verbosity::kQuiet : Verbosity::kPerFile;
    } else if (arg == "--warnings-as-errors") {
      warnings_as_errors = true;
    } else if (!arg.empty() && arg[0] == '-') {
      throw UsageError{"unknown option " + arg};
    } else if (manifest_path.empty()) {
      manifest_path = arg;
    } else {
      throw UsageError{"more than one manifest given"};
    }
  }
  if (manifest_path.empty()) throw UsageError{"no manifest given"};
  if (output.empty()) throw UsageError{"no output given (-o SETUP.exe)"};

  Manifest manifest = LoadManifest(manifest_path);
  if (stub.empty()) stub = DefaultStub(manifest.architecture);
  CheckOutput(output, BuildInputs(manifest_path, manifest, stub));
  ReportWarnings(manifest, manifest_path, verbosity != Verbosity::kQuiet, warnings_as_errors);
  FilePacked on_file;
  FileProgress on_progress;
  if (verbosity == Verbosity::kPerFile) {
    // On a terminal a large file shows how far it has come, on a line that
    // its summary line then replaces.
    bool terminal = isatty(STDERR_FILENO);
    on_file = [terminal](const ManifestFile& file, std::size_t packed) {
      std::cerr << (terminal && file.size > kWholeFileLimit ? "\r\033[K" : "") << "  " << AnsiToUtf8(file.name) << ": "
                << file.size << " -> " << packed << " bytes (" << Ratio(packed, file.size) << ")\n";
    };
    if (terminal) {
      on_progress = [](const ManifestFile& file, std::uint64_t done) {
        std::cerr << "\r  " << AnsiToUtf8(file.name) << ": " << 100 * done / file.size << "% of " << file.size
                  << " bytes" << std::flush;
      };
    }
  }
  std::uint64_t size = BuildSetupFile(output, manifest, ReadWholeFile(stub, "stub"), BuildSkinArchive(manifest), level,
                                      on_file, on_progress);
  if (verbosity != Verbosity::kQuiet) {
    std::cout << output << ": " << manifest.files.size() << " files, " << size << " bytes\n";
  }
  return 0;
}

int Check(const std::vector<std::string>& args) {
  std::string manifest_path, stub;
  bool warnings_as_errors = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--stub" && i + 1 < args.size()) {
      stub = Once("--stub", stub, args[++i]);
    } else if (args[i] == "--warnings-as-errors") {
      warnings_as_errors = true;
    } else if (manifest_path.empty() && !args[i].empty() && args[i][0] != '-') {
      manifest_path = args[i];
    } else {
      throw UsageError{kCheckUsage};
    }
  }
  if (manifest_path.empty()) throw UsageError{kCheckUsage};
  Manifest manifest = LoadManifest(manifest_path);
  if (stub.empty()) stub = DefaultStub(manifest.architecture);
  CheckStub(ReadWholeFile(stub, "stub"), manifest.architecture);
  BuildSkinArchive(manifest);
  ReportWarnings(manifest, manifest_path, true, warnings_as_errors);
  std::cout << manifest_path << ": " << manifest.files.size() << " files, " << manifest.associations.size()
            << " associations, ready to build\n";
  return 0;
}

int SkinCheck(const std::vector<std::string>& args) {
  std::optional<std::string> header;
  std::string folder;
  for (std::size_t i = 1; i < args.size(); ++i) {
    if (args[i] == "--header" && i + 1 < args.size()) {
      header = args[++i];
    } else if (folder.empty() && args[i][0] != '-') {
      folder = args[i];
    } else {
      throw UsageError{kSkinUsage};
    }
  }
  if (args.empty() || args[0] != "check" || folder.empty()) throw UsageError{kSkinUsage};
  bool problem = false;
  try {
    for (const SkinFinding& finding : CheckSkinFolder(folder, header)) {
      std::cout << finding.text << "\n";
      problem = problem || finding.IsProblem();
    }
  } catch (const SkinPackError& error) {
    throw PackError(error.what());
  }
  if (problem) throw PackError("the skin folder " + folder + " has pictures that the build would refuse");
  return 0;
}

int Run(const std::string& command, const std::vector<std::string>& args) {
  if (command == "skin") {
    if (WantsHelp(args)) return std::cout << kSkinUsage, 0;
    return SkinCheck(args);
  }
  if (command == "build") {
    if (WantsHelp(args)) return std::cout << kBuildUsage, 0;
    return Build(args);
  }
  if (command == "check") {
    if (WantsHelp(args)) return std::cout << kCheckUsage, 0;
    return Check(args);
  }
  struct Reader {
    const char* name;
    const char* usage;
    std::size_t arguments;
  };
  const Reader readers[] = {{"list", kListUsage, 1}, {"verify", kVerifyUsage, 1}, {"extract", kExtractUsage, 2}};
  for (const Reader& reader : readers) {
    if (command != reader.name) continue;
    if (WantsHelp(args)) return std::cout << reader.usage, 0;
    std::vector<std::string> operands = args;
    bool force = command == "extract" && TakeFlag(operands, "--force");
    ListOptions list;
    if (command == "list") {
      list.json = TakeFlag(operands, "--json");
      list.sha256 = TakeFlag(operands, "--sha256");
    }
    if (operands.size() != reader.arguments) throw UsageError{std::string(reader.usage)};
    if (command == "list") ListSetup(operands[0], list, std::cout);
    if (command == "verify") VerifySetup(operands[0], std::cout);
    if (command == "extract") ExtractSetup(operands[0], operands[1], force, std::cout);
    return 0;
  }
  throw UsageError{"unknown command " + command};
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    std::cout << kUsage;
    return args.empty() ? kUsageError : 0;
  }
  if (args[0] == "--version") {
    std::cout << "tarnell-pack " TARNELL_PACK_VERSION "\n";
    return 0;
  }
  std::string command = args[0];
  args.erase(args.begin());
  try {
    return Run(command, args);
  } catch (const UsageError& error) {
    std::string reason = error.reason;
    if (!reason.empty() && reason.back() == '\n') reason.pop_back();
    std::cerr << "tarnell-pack: " << reason.substr(0, reason.find('\n')) << "\n";
    return kUsageError;
  } catch (const std::exception& error) {  // PackError and the library's own
    std::cerr << "tarnell-pack: " << error.what() << "\n";
    return EXIT_FAILURE;
  }
}
