// Runs the setup's own package code on a setup that tarnell-pack built, for
// the native builder tests (they start it under Wine):
//   package_check SETUP.exe FOLDER
// reads the package, prints its directory as stored (hex) and its
// has-data-folder flag, its version strings and icon group 1 as the
// resource API reads them, and whether its PE checksum holds, writes FOLDER\copy.exe as the setup copy and
// extracts every product file into FOLDER\program and FOLDER\data.
// Exit status 0 when all of it worked, 1 with the logged line otherwise.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "capture_logger.h"
#include "fs/source_stream.h"
#include "handles/owned_handle.h"
#include "inflate/inflate_state.h"
#include "package/directory_writer.h"
#include "package/extract_file.h"
#include "package/read_package.h"
#include "package/setup_copy.h"

namespace {

// What Explorer shows of the setup file, through the resource API: the
// version strings and icon group 1 with the size of each of its pictures.
void PrintIdentity(const char* path) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &ignored);
  std::vector<char> info(size);
  if (size != 0 && GetFileVersionInfoA(path, 0, size, info.data())) {
    for (const char* key : {"ProductName", "ProductVersion", "FileDescription", "CompanyName", "LegalCopyright"}) {
      char* value = nullptr;
      UINT length = 0;
      std::string query = std::string("\\StringFileInfo\\040904B0\\") + key;
      if (VerQueryValueA(info.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) && length > 0) {
        std::printf("version %s=%s\n", key, value);
      }
    }
  }
  ModuleHandle library(LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE));
  if (!library) return;
  HMODULE module = library.Get();
  HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
  if (group != nullptr) {
    const auto* bytes = static_cast<const unsigned char*>(LockResource(LoadResource(module, group)));
    int count = bytes[4] | bytes[5] << 8;
    for (int i = 0; i < count; ++i) {
      const unsigned char* entry = bytes + 6 + 14 * i;
      int id = entry[12] | entry[13] << 8;
      HRSRC icon = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3));  // RT_ICON
      std::printf("icon %dx%d %lu bytes\n", entry[0], entry[1], icon ? SizeofResource(module, icon) : 0ul);
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: package_check SETUP.exe FOLDER\n");
    return 2;
  }
  CaptureLogger logger;
  std::string folder = argv[2];
  std::string program = folder + "\\program", data = folder + "\\data";
  CreateDirectoryA(program.c_str(), nullptr);
  CreateDirectoryA(data.c_str(), nullptr);
  try {
    static PackageDirectory package;
    if (!ReadPackage(package, argv[1])) throw AbortError{};
    std::printf("directory ");
    for (std::uint8_t byte : SerializePackageDirectory(package)) std::printf("%02x", byte);
    std::printf("\nhas_data_folder %d\n", package.has_data_folder ? 1 : 0);
    PrintIdentity(argv[1]);

    SourceStream stream;
    stream.CreateOverFile(argv[1]);
    std::printf("sum %s\n", PackageSumHolds(stream, package.SkinRecord().stream_offset) ? "holds" : "broken");
    InflateState decoder(&stream);
    ExtractionContext context{stream, decoder, program.c_str(), data.c_str(), false};
    for (std::size_t number = 2; number <= package.FileCount(); ++number) ExtractFile(context, package.Record(number));
    unsigned long long size = WriteSetupCopy(stream, package, (folder + "\\copy.exe").c_str());
    std::printf("copied %llu\n", size);
  } catch (const AbortError&) {
    std::fprintf(stderr, "%s\n", logger.errors.empty() ? "aborted" : logger.errors.back().c_str());
    return 1;
  }
  return 0;
}
