// Links in folders users control: a folder tree is deleted without entering
// its links, folders under a link that no administrator made are refused
// (those of the system and administrators are followed), and a written file
// or the log never carries its bytes to another file through a second hard
// link. Wine reports a Unix symbolic link to a folder as a reparse point
// owned by the user, so the tests make real ones with /bin/ln; a link that
// an administrator owns goes through the judge seam, as Wine cannot make one.
#include "fs/links.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "capture_logger.h"
#include "fs/append_file.h"
#include "fs/file_operations.h"
#include "fs/file_stream.h"
#include "fs/machine_calls.h"
#include "symbolic_link.h"
#include "test_folder.h"
#include "text/case_fold.h"

namespace {

// A folder the deletes must never reach.
struct Bystander {
  explicit Bystander(const TestFolder& root) : folder(root / "Windows") {
    CreateDirectoryA(folder.c_str(), nullptr);
    WriteTestFile(folder + "\\system.dll", "keep me");
  }
  bool Untouched() const { return ReadTestFile(folder + "\\system.dll") == "keep me"; }
  std::string folder;
};

}  // namespace

TEST(Links, DeletingAFolderTreeLeavesWhatALinkInItPointsTo) {
  TestFolder root;
  Bystander windows(root);
  std::string doomed = root / "Chosen";
  CreateDirectoryA(doomed.c_str(), nullptr);
  WriteTestFile(doomed + "\\a.txt", "a");
  SymbolicLink junction(doomed + "\\Junction", windows.folder);
  ASSERT_TRUE(junction.Made());
  ASSERT_TRUE(IsLink((doomed + "\\Junction").c_str())) << "Wine reports the folder link as a reparse point";

  CaptureLogger log;
  DeleteFolderTree(doomed.c_str(), true);
  EXPECT_TRUE(windows.Untouched());
  // The link picked itself for deletion.
  DeleteFolderTree((doomed + "\\Junction").c_str(), true);
  EXPECT_TRUE(windows.Untouched());
}

// Removing the link is a change like any other: refused, the link stays and
// the failure is logged. Wine removes none of its Unix links, so the link is
// an empty folder that the judge calls one.
TEST(Links, RemovingAFolderLinkGoesThroughTheMachinesCalls) {
  TestFolder root;
  static std::string link;
  link = root / "Junction";
  ASSERT_TRUE(CreateDirectoryA(link.c_str(), nullptr));
  const LinkJudge judge{[](const char* path) { return EqualIgnoringCase(path, link.c_str()); },
                        [](const char*) { return false; }};
  SetLinkJudge(&judge);
  CaptureLogger log;
  SetMachineChangeGate([](MachineChange) -> DWORD { return ERROR_ACCESS_DENIED; });
  bool removed = DeleteFolderTree(link.c_str(), true);
  SetMachineChangeGate(nullptr);
  SetLinkJudge(nullptr);
  EXPECT_FALSE(removed);
  EXPECT_NE(GetFileAttributesA(link.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(log.lines, std::vector<std::string>{"Directory NOT deleted: " + link});
}

TEST(Links, FoldersUnderALinkOfAUserAreRefused) {
  TestFolder root;
  Bystander windows(root);
  std::string data = root / "Data";
  SymbolicLink link(data, windows.folder);
  ASSERT_TRUE(link.Made());

  const std::string refused = data + "\\Tarnell\\Product";
  EXPECT_STREQ(UntrustedLinkOn(refused.c_str()).c_str(), data.c_str());
  EXPECT_STREQ(UntrustedLinkOn(data.c_str()).c_str(), data.c_str());
  EXPECT_STREQ(UntrustedLinkOn((root / "Elsewhere\\Product").c_str()).c_str(), "");
  CaptureLogger log;
  EXPECT_THROW(RefuseUntrustedLinks(refused.c_str()), AbortError);
  EXPECT_EQ(log.errors, std::vector<std::string>{"Directory " + refused +
                                                 " lies under a link that is not the administrators': " + data});
}

namespace {

// Links Wine cannot make: C:\Users\Me\Documents redirected by an
// administrator, C:\Users\Me\AppData\Local\Temp\Planted by the user.
bool FakeIsLink(const char* path) {
  return EqualIgnoringCase(path, "C:\\Users\\Me\\Documents") ||
         EqualIgnoringCase(path, "C:\\Users\\Me\\AppData\\Local\\Temp\\Planted");
}
bool FakeMadeByAdministrators(const char* path) { return EqualIgnoringCase(path, "C:\\Users\\Me\\Documents"); }

}  // namespace

TEST(Links, LinksOfTheSystemOrAdministratorsAreFollowed) {
  const LinkJudge judge{FakeIsLink, FakeMadeByAdministrators};
  SetLinkJudge(&judge);
  struct Case {
    const char* path;
    const char* refused_at;
  };
  const Case cases[] = {
      {"C:\\Users\\Me\\Documents\\Tarnell", ""},
      {"C:\\Users\\Me\\Documents", ""},
      {"C:\\Users\\Me\\AppData\\Local\\Temp\\Planted\\Tarnell", "C:\\Users\\Me\\AppData\\Local\\Temp\\Planted"},
      {"C:\\Users\\Me\\AppData\\Local\\Temp\\Planted\\", "C:\\Users\\Me\\AppData\\Local\\Temp\\Planted"},
      {"C:\\Users\\Me\\AppData\\Local\\Temp\\PlantedNot", ""},
      {"C:\\", ""},
  };
  for (const Case& c : cases) EXPECT_STREQ(UntrustedLinkOn(c.path).c_str(), c.refused_at) << c.path;
  SetLinkJudge(nullptr);
}

TEST(Links, WritesNeverReachAnotherNameOfTheFile) {
  TestFolder root;
  Bystander windows(root);
  std::string planted = root / "Hello.exe";
  ASSERT_TRUE(CreateHardLinkA(planted.c_str(), (windows.folder + "\\system.dll").c_str(), nullptr));

  CaptureLogger log;
  FileStream stream;
  stream.SetPath(planted.c_str());
  stream.Open(FileStream::Mode::kCreate);
  stream.Write("new program", 11);
  stream.Close();
  EXPECT_EQ(ReadTestFile(planted), "new program");
  EXPECT_TRUE(windows.Untouched());

  // The log in %TEMP%: a second name planted under the log's name.
  std::string log_path = root / "Setup.log";
  ASSERT_TRUE(CreateHardLinkA(log_path.c_str(), (windows.folder + "\\system.dll").c_str(), nullptr));
  AppendFile log_file;
  ASSERT_EQ(log_file.Open(log_path.c_str(), 1 << 20), AppendFile::OpenResult::kOpened);
  log_file.Write("line", 4);
  log_file.Close();
  EXPECT_EQ(ReadTestFile(log_path), "line");
  EXPECT_TRUE(windows.Untouched());
}

// Taking the planted name away is a change like any other: refused, it
// fails and leaves both names, and the caller does not write.
TEST(Links, RemovingAPlantedNameGoesThroughTheMachinesCalls) {
  TestFolder root;
  Bystander windows(root);
  std::string planted = root / "Hello.exe";
  ASSERT_TRUE(CreateHardLinkA(planted.c_str(), (windows.folder + "\\system.dll").c_str(), nullptr));
  SetMachineChangeGate([](MachineChange) -> DWORD { return ERROR_ACCESS_DENIED; });
  bool removed = UnlinkIfLeadingElsewhere(planted.c_str());
  SetMachineChangeGate(nullptr);
  EXPECT_FALSE(removed);
  EXPECT_NE(GetFileAttributesA(planted.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(windows.Untouched());
}

// The log's folder (%TEMP%, or tarnell-deploy's --log) is checked like any
// other, and the file opened is the one named.
TEST(Links, TheLogIsNeverOpenedThroughAUsersLink) {
  TestFolder root;
  Bystander windows(root);
  std::string temp = root / "Temp";
  SymbolicLink link(temp, windows.folder);
  ASSERT_TRUE(link.Made());
  AppendFile log_file;
  EXPECT_EQ(log_file.Open((temp + "\\Setup.log").c_str(), 1 << 20), AppendFile::OpenResult::kCannotOpen);
  EXPECT_EQ(GetFileAttributesA((windows.folder + "\\Setup.log").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(windows.Untouched());
}

namespace {

// Stands in for a user who swaps the chosen folder for a link to another
// one after it was checked, just before the setup opens a file in it.
std::string swapped_folder;
std::string swap_target;
SymbolicLink* swapped_in = nullptr;
DWORD SwapFolderForLink(MachineChange) {
  if (swapped_in == nullptr && MoveFileA(swapped_folder.c_str(), (swapped_folder + " moved").c_str())) {
    swapped_in = new SymbolicLink(swapped_folder, swap_target);
  }
  return ERROR_SUCCESS;
}

}  // namespace

// What a write opened is checked on its handle: a link swapped in between
// the check by name and the open is caught, and no bytes go through it.
TEST(Links, AFolderSwappedForALinkBeforeTheOpenIsCaughtOnTheHandle) {
  TestFolder root;
  Bystander windows(root);
  swapped_folder = root / "Chosen";
  swap_target = windows.folder;
  ASSERT_TRUE(CreateDirectoryA(swapped_folder.c_str(), nullptr));
  const std::string path = swapped_folder + "\\Hello.exe";
  EXPECT_STREQ(UntrustedLinkOn(path.c_str()).c_str(), "");

  CaptureLogger log;
  FileStream stream;
  stream.SetPath(path.c_str());
  SetMachineChangeGate(SwapFolderForLink);
  EXPECT_THROW(
      {
        stream.Open(FileStream::Mode::kCreateNew);
        stream.Write("new program", 11);
      },
      AbortError);
  SetMachineChangeGate(nullptr);
  ASSERT_NE(swapped_in, nullptr);
  EXPECT_TRUE(swapped_in->Made());
  EXPECT_EQ(log.errors, std::vector<std::string>{"Error opening file: " + path});
  std::string reached = windows.folder + "\\Hello.exe";
  if (GetFileAttributesA(reached.c_str()) != INVALID_FILE_ATTRIBUTES) {
    EXPECT_EQ(ReadTestFile(reached), "");
  }
  EXPECT_TRUE(windows.Untouched());
  delete swapped_in;
  swapped_in = nullptr;
}
