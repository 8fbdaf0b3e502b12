// Guards the setup log file: the numbered names, the 10 MiB limit, appending
// across runs, and lines that always end with CR LF within 512 characters.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "handles/owned_handle.h"
#include "setup_log/setup_log.h"
#include "test_folder.h"

namespace {

std::string Stripped(const std::string& line) { return line.substr(22); }  // past the stamp and blanks

}  // namespace

TEST(SetupLog, AppendsAcrossRuns) {
  TestFolder folder;
  for (const char* text : {"first run", "second run"}) {
    SetupLog log{DateFormat{}};
    ASSERT_TRUE(log.Open(folder.Path().c_str(), "Hello"));
    EXPECT_EQ(std::string(log.Path()), folder / "Hello.log");
    log.WriteLine(log.PrepareLine(text).c_str());
    log.Write("raw");
  }
  std::string content = ReadTestFile(folder / "Hello.log");
  ASSERT_EQ(content.size(), 2 * (20 + 2 + 9 + 2 + 3) + 1);
  EXPECT_EQ(content.substr(20, 13), "  first run\r\n");
  EXPECT_EQ(content.substr(36 + 20, 14), "  second run\r\n");
}

TEST(SetupLog, AFullOrHeldFileMovesToTheNextNumber) {
  TestFolder folder;
  {
    KernelHandle full(CreateFileA((folder / "B.log").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    LARGE_INTEGER size;
    size.QuadPart = SetupLog::kSizeLimit;
    SetFilePointerEx(full.Get(), size, nullptr, FILE_BEGIN);
    SetEndOfFile(full.Get());
  }
  // B1.log is held open for writing by someone else.
  KernelHandle held(CreateFileA((folder / "B1.log").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
  SetupLog log{DateFormat{}};
  ASSERT_TRUE(log.Open(folder.Path().c_str(), "B"));
  EXPECT_EQ(std::string(log.Path()), folder / "B2.log");
}

TEST(SetupLog, NumberNineHundredNinetyNineIsTheLastTried) {
  TestFolder folder;
  // Folders in the way of every name but the last.
  CreateDirectoryA((folder / "B.log").c_str(), nullptr);
  for (int n = 1; n <= 998; ++n) CreateDirectoryA((folder / ("B" + std::to_string(n) + ".log")).c_str(), nullptr);
  SetupLog log{DateFormat{}};
  ASSERT_TRUE(log.Open(folder.Path().c_str(), "B"));
  EXPECT_EQ(std::string(log.Path()), folder / "B999.log");
  log.Close();
  CreateDirectoryA((folder / "B999-in-the-way").c_str(), nullptr);
  DeleteFileA((folder / "B999.log").c_str());
  CreateDirectoryA((folder / "B999.log").c_str(), nullptr);
  EXPECT_FALSE(log.Open(folder.Path().c_str(), "B"));
}

TEST(SetupLog, LongTextsAreCutSoEveryLineEnds) {
  TestFolder folder;
  SetupLog log{DateFormat{}};
  ASSERT_TRUE(log.Open(folder.Path().c_str(), "L"));
  for (std::size_t length : {488u, 489u, 490u, 700u}) {
    Text line = log.PrepareLine(std::string(length, 'x').c_str());
    EXPECT_EQ(line.size(), 22 + (length < 488 ? length : 488u)) << length;
    log.WriteLine(line.c_str());
  }
  log.Close();
  std::string content = ReadTestFile(folder / "L.log");
  ASSERT_EQ(content.size(), 4 * 512u);
  for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(content.substr(i * 512 + 510, 2), "\r\n");
  EXPECT_EQ(Stripped(content.substr(0, 510)), std::string(488, 'x'));
}
