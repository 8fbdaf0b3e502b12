#include "fs/file_replacement.h"

#include <windows.h>

#include <ntsecapi.h>

#include <cstdint>
#include <cstring>

#include "fs/file_identity.h"
#include "fs/file_operations.h"
#include "fs/find_entries.h"
#include "fs/machine_calls.h"
#include "log/logger.h"
#include "text/fixed_text.h"
#include "text/number.h"
#include "text/path.h"

namespace {

// Temporary names end so: "Library.dll" is written as
// "Library.dll.0123456789.tarnell-new" (earlier versions wrote
// "Library.dll.tarnell-new"; the leftover pattern takes both).
constexpr char kPartSuffix[] = ".tarnell-new";
constexpr char kLeftoverPattern[] = ".*tarnell-new";
// A name another process took first is given up after this many draws.
constexpr int kNameDraws = 8;

// What runs that broke off left beside `target`. One that cannot be
// removed may be held open by whoever planted it: the write stops.
void RemoveLeftovers(const char* target) {
  Text pattern(target);
  Text folder;
  if (!pattern.Append(kLeftoverPattern) || !FolderPart(folder, target)) LogErrorWith("Error opening file: %s", target);
  FindEntries entries;
  for (bool more = entries.First(pattern.c_str()) == FindEntries::kEntry; more; more = entries.Next()) {
    Text leftover;
    if (!PathJoin(leftover, folder.c_str(), entries.Name()) ||
        !DeleteFileLogged(leftover.c_str(), DeleteReport::kFailure)) {
      LogErrorWith("Error opening file: %s", target);
    }
  }
}

}  // namespace

void BeginReplacement(FileStream& stream, const char* target) {
  stream.SetPath(target);
  if (!PathExists(target)) {
    stream.Open(FileStream::Mode::kCreateNew);
    return;
  }
  RemoveLeftovers(target);
  for (int draw = 1;; ++draw) {
    std::uint32_t random = 0;
    RtlGenRandom(&random, sizeof random);
    // A path too long for the suffix is refused by Open as a cut path.
    Text part(target);
    if (!part.Append(".") || !AppendPaddedDecimal(part, random, 10) || !part.Append(kPartSuffix)) {
      part.Assign(target);
    }
    stream.SetPath(part.c_str());
    if (std::strcmp(stream.Path(), target) == 0) stream.Fail("Error opening file: %s");
    if (draw < kNameDraws && PathExists(part.c_str())) continue;
    stream.Open(FileStream::Mode::kCreateNew);
    return;
  }
}

void CommitReplacement(FileStream& stream, const char* target) {
  // A file written in place replaces nothing: the system writes it back in
  // its own time, as every other new file, and a product of thousands of
  // files is not held up by a flush of each.
  if (std::strcmp(stream.Path(), target) == 0) {
    stream.Close();
    return;
  }
  stream.Flush();
  FileIdentity written;
  bool known = IdentityOf(stream.Handle(), written);
  stream.Close();
  // A read-only file refuses to be replaced.
  Machine().set_file_attributes(target, FILE_ATTRIBUTE_NORMAL);
  // Between the close and the move the temporary name is free: what stands
  // there now must be the file just written, or someone else's is moved in.
  FileIdentity there;
  if (!known || !IdentityAt(stream.Path(), there) || !(there == written)) {
    LogErrorWith("Error opening file: %s", target);
  }
  if (Machine().move_file(stream.Path(), target, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return;
  DeleteFileLogged(stream.Path(), DeleteReport::kSilent);
  LogErrorWith("Error opening file: %s", target);
}

void DiscardReplacement(FileStream& stream) {
  stream.Close();
  DeleteFileLogged(stream.Path(), DeleteReport::kSilent);
}
