#include "fs/file_replacement.h"

#include <cstring>

#include "fs/file_operations.h"
#include "fs/machine_calls.h"
#include "log/logger.h"
#include "text/fixed_text.h"

namespace {

// The suffix of the temporary name: "Library.dll" is written as
// "Library.dll.tarnell-new".
constexpr char kPartSuffix[] = ".tarnell-new";

}  // namespace

void BeginReplacement(FileStream& stream, const char* target) {
  if (!PathExists(target)) {
    stream.SetPath(target);
    stream.Open(FileStream::Mode::kCreate);
    return;
  }
  // A path too long for the suffix is refused by Open as a cut path.
  Text part(target);
  if (!part.Append(kPartSuffix)) part.Assign(target);
  stream.SetPath(part.c_str());
  if (std::strcmp(stream.Path(), target) == 0) stream.Fail("Error opening file: %s");
  // What a run that broke off left there.
  DeleteFileLogged(part.c_str(), DeleteReport::kSilent);
  stream.Open(FileStream::Mode::kCreate);
}

void CommitReplacement(FileStream& stream, const char* target) {
  stream.Close();
  if (std::strcmp(stream.Path(), target) == 0) return;
  // A read-only file refuses to be replaced.
  Machine().set_file_attributes(target, FILE_ATTRIBUTE_NORMAL);
  if (Machine().move_file(stream.Path(), target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return;
  DeleteFileLogged(stream.Path(), DeleteReport::kSilent);
  LogErrorWith("Error opening file: %s", target);
}

void DiscardReplacement(FileStream& stream) {
  stream.Close();
  DeleteFileLogged(stream.Path(), DeleteReport::kSilent);
}
