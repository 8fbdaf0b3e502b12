// Replacing a file in a folder other users may write to: the new contents
// never go into a file someone else put there, under the temporary name or
// in its place before the move.
#include "fs/file_replacement.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture_logger.h"
#include "folder_listing.h"
#include "fs/file_identity.h"
#include "fs/machine_calls.h"
#include "handles/owned_handle.h"
#include "test_folder.h"

namespace {

void Replace(const std::string& target, const std::string& bytes) {
  FileStream stream;
  BeginReplacement(stream, target.c_str());
  stream.Write(bytes.data(), bytes.size());
  CommitReplacement(stream, target.c_str());
}

FileIdentity IdentityOfPath(const std::string& path) {
  FileIdentity identity;
  EXPECT_TRUE(IdentityAt(path.c_str(), identity)) << path;
  return identity;
}

}  // namespace

// A planter holds a leftover open (reading, sharing read and write) so that
// it cannot be deleted: the write stops, and neither the planted file nor
// its bytes become the program. One that is not held simply goes.
TEST(FileReplacement, APlantedLeftoverIsNeverInstalled) {
  struct Case {
    const char* leftover;
    bool held;
  };
  const Case cases[] = {
      {"Hello.exe.tarnell-new", true},
      {"Hello.exe.0123456789.tarnell-new", true},
      {"Hello.exe.tarnell-new", false},
  };
  for (const Case& c : cases) {
    TestFolder folder;
    std::string target = folder / "Hello.exe";
    std::string planted = folder / c.leftover;
    WriteTestFile(target, "old program");
    WriteTestFile(planted, "planted");
    FileIdentity planted_identity = IdentityOfPath(planted);
    KernelHandle holder(c.held ? CreateFileA(planted.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                             OPEN_EXISTING, 0, nullptr)
                               : INVALID_HANDLE_VALUE);
    ASSERT_EQ(static_cast<bool>(holder), c.held);

    CaptureLogger log;
    if (c.held) {
      EXPECT_THROW(Replace(target, "new program"), AbortError) << c.leftover;
      EXPECT_EQ(ReadTestFile(target), "old program") << c.leftover;
      EXPECT_EQ(log.errors, std::vector<std::string>{"Error opening file: " + target}) << c.leftover;
      char seen[16] = {};
      DWORD got = 0;
      ASSERT_TRUE(ReadFile(holder.Get(), seen, sizeof seen - 1, &got, nullptr));
      EXPECT_STREQ(seen, "planted") << c.leftover;
      EXPECT_FALSE(IdentityOfPath(target) == planted_identity) << c.leftover;
    } else {
      Replace(target, "new program");
      EXPECT_EQ(ReadTestFile(target), "new program");
      EXPECT_EQ(GetFileAttributesA(planted.c_str()), INVALID_FILE_ATTRIBUTES);
    }
  }
}

namespace {

// Stands in for a user who, once the setup has closed its temporary file,
// moves it away and puts a file of theirs under its name.
std::string swap_folder;
DWORD SwapTemporaryFile(MachineChange) {
  std::vector<FolderEntry> found = EntriesMatching(swap_folder + "\\Hello.exe.*.tarnell-new");
  if (found.empty()) return ERROR_SUCCESS;
  std::string part = swap_folder + "\\" + found[0].name;
  if (MoveFileA(part.c_str(), (swap_folder + "\\moved").c_str())) WriteTestFile(part, "planted");
  return ERROR_SUCCESS;
}

}  // namespace

TEST(FileReplacement, OnlyTheFileWrittenIsMovedIntoPlace) {
  TestFolder folder;
  std::string target = folder / "Hello.exe";
  WriteTestFile(target, "old program");
  CaptureLogger log;

  // Names nobody can guess ahead, each created new.
  std::string names[2];
  for (std::string& name : names) {
    FileStream stream;
    BeginReplacement(stream, target.c_str());
    name = stream.Path();
    DiscardReplacement(stream);
  }
  EXPECT_NE(names[0], target + ".tarnell-new");
  EXPECT_NE(names[0], names[1]);

  FileStream stream;
  BeginReplacement(stream, target.c_str());
  stream.Write("new program", 11);
  swap_folder = folder.Path();
  SetMachineChangeGate(SwapTemporaryFile);
  EXPECT_THROW(CommitReplacement(stream, target.c_str()), AbortError);
  SetMachineChangeGate(nullptr);
  EXPECT_EQ(ReadTestFile(target), "old program");
  EXPECT_EQ(log.errors, std::vector<std::string>{"Error opening file: " + target});
}
