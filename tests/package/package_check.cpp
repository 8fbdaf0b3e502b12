// Runs the setup's own package code on a setup that tarnell-pack built, for
// the native builder tests (they start it under Wine):
//   package_check SETUP.exe FOLDER
// reads the package, prints its directory as stored (hex) and its
// has-data-folder flag and whether its PE checksum holds, writes FOLDER\copy.exe as the setup copy and
// extracts every product file into FOLDER\program and FOLDER\data.
// Exit status 0 when all of it worked, 1 with the logged line otherwise.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "capture_logger.h"
#include "fs/source_stream.h"
#include "inflate/inflate_state.h"
#include "package/directory_writer.h"
#include "package/extract_file.h"
#include "package/read_package.h"
#include "package/setup_copy.h"

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

    SourceStream stream;
    stream.CreateOverFile(argv[1]);
    std::printf("sum %s\n", PackageSumHolds(stream, package.Record(1).stream_offset) ? "holds" : "broken");
    InflateState decoder(&stream);
    ExtractionContext context{stream, decoder, program.c_str(), data.c_str(), false};
    for (std::size_t number = 2; number <= package.file_count; ++number) ExtractFile(context, package.Record(number));
    unsigned long long size = WriteSetupCopy(stream, package, (folder + "\\copy.exe").c_str());
    std::printf("copied %llu\n", size);
  } catch (const AbortError&) {
    std::fprintf(stderr, "%s\n", logger.errors.empty() ? "aborted" : logger.errors.back().c_str());
    return 1;
  }
  return 0;
}
