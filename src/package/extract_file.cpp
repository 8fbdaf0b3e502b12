#include "package/extract_file.h"

#include <algorithm>

#include "fs/file_operations.h"
#include "log/logger.h"
#include "package/file_name_rules.h"
#include "text/path.h"

namespace {

constexpr std::size_t kCopyBufferSize = 8192;

}  // namespace

void ExtractFile(ExtractionContext& context, const FileRecord& record) {
  auto destination = static_cast<Destination>(record.destination);
  if (destination == Destination::kDataFolderUntouched) return;
  // The reader refuses such names; a record from anywhere else must not
  // write outside its folder either.
  if (const char* fault = FileNameFault(record.name.c_str())) {
    LogErrorWith("Invalid Tarnell software package: unsafe file name \"%s\", which %s", record.name.c_str(), fault);
  }
  const char* folder = destination == Destination::kDataFolder ? context.data_folder : context.program_folder;
  Text path;
  PathJoin(path, folder, record.name.c_str());
  if (destination == Destination::kDataFolder && context.keep_data && PathExists(path.c_str())) return;

  FileStream target;
  target.SetPath(path.c_str());
  target.Open(FileStream::Mode::kCreate);
  context.package.Seek(record.stream_offset);
  UnpackStream(context, target, record.size);
  FILETIME time;
  time.dwLowDateTime = static_cast<DWORD>(record.file_time);
  time.dwHighDateTime = static_cast<DWORD>(record.file_time >> 32);
  target.SetTime(time);
  target.Close();
}

void UnpackStream(ExtractionContext& context, FileStream& target, std::uint32_t size) {
  std::uint8_t buffer[kCopyBufferSize];
  context.decoder.BeginStream();
  std::uint32_t remaining = size;
  while (remaining > 0) {
    std::size_t n = std::min<std::size_t>(kCopyBufferSize, remaining);
    std::size_t produced = context.decoder.Inflate(n, buffer);
    // A short file would pass for the product's own: refuse it.
    if (produced == 0) LogErrorWith("Error reading file: %s", context.package.Path());
    target.Write(buffer, produced);
    remaining -= static_cast<std::uint32_t>(produced);
  }
}
