// Runs the setup program as a user would and reads what it leaves behind:
// its exit code and its log file in the temporary folder. The bare program
// carries no package, so every run here ends at start, before any window:
// the runs with a package and a window are driven in tests/setup_window.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <regex>
#include <string>

#include "run_program.h"
#include "test_folder.h"

namespace {

// Runs the setup with TEMP and TMP pointing at `temp`; returns the exit code.
DWORD RunSetup(const std::string& temp) {
  std::string environment;
  char* block = GetEnvironmentStringsA();
  for (const char* entry = block; *entry != '\0'; entry += std::strlen(entry) + 1) {
    std::string text = entry;
    if (text.rfind("TEMP=", 0) == 0 || text.rfind("TMP=", 0) == 0) continue;
    environment += text + '\0';
  }
  FreeEnvironmentStringsA(block);
  environment += "TEMP=" + temp + '\0' + "TMP=" + temp + '\0' + '\0';

  DWORD code = RunProgramToEnd(nullptr, std::string("\"") + SETUP_EXE + "\"", &environment[0], 60000);
  if (code == kNotStarted) ADD_FAILURE() << "cannot start " << SETUP_EXE;
  return code;
}

const std::regex kLine(R"((\d\d[./-]\d\d[./-]\d{4}|\d{4}[./-]\d\d[./-]\d\d)  \d\d:\d\d:\d\d  (.*)\r)");

std::vector<std::string> TextsOf(const std::string& log) {
  std::vector<std::string> texts;
  std::size_t start = 0;
  for (std::size_t end; (end = log.find('\n', start)) != std::string::npos; start = end + 1) {
    std::smatch match;
    std::string line = log.substr(start, end - start);
    EXPECT_TRUE(std::regex_match(line, match, kLine)) << line;
    texts.push_back(match[2]);
  }
  EXPECT_EQ(start, log.size()) << "the last line has no line end";
  return texts;
}

using Texts = std::vector<std::string>;

}  // namespace

const Texts kUnreadableRun = {"Setup started", "Invalid Tarnell software package.", "Abort while starting the program"};

Texts Twice(const Texts& texts) {
  Texts both = texts;
  both.insert(both.end(), texts.begin(), texts.end());
  return both;
}

TEST(SetupRun, AnUnreadablePackageEndsTheStartAndRunsAppendToTheLog) {
  TestFolder temp;
  EXPECT_EQ(RunSetup(temp.Path()), 0u);
  EXPECT_EQ(TextsOf(ReadTestFile(temp / "tarnell-setup.log")), kUnreadableRun);
  EXPECT_EQ(RunSetup(temp.Path()), 0u);
  EXPECT_EQ(TextsOf(ReadTestFile(temp / "tarnell-setup.log")), Twice(kUnreadableRun));
}

TEST(SetupRun, AFullLogMovesToTheNextNumber) {
  TestFolder temp;
  WriteTestFile(temp / "tarnell-setup.log", std::string(10485760, 'x'));
  EXPECT_EQ(RunSetup(temp.Path()), 0u);
  EXPECT_EQ(ReadTestFile(temp / "tarnell-setup.log").size(), 10485760u);
  EXPECT_EQ(TextsOf(ReadTestFile(temp / "tarnell-setup1.log")), kUnreadableRun);
}

TEST(SetupRun, AnUnwritableTemporaryFolderStillEndsWithCodeZero) {
  TestFolder temp;
  // A file where the folder should be: no log can be opened under any name.
  std::string not_a_folder = temp / "not-a-folder";
  WriteTestFile(not_a_folder, "x");
  EXPECT_EQ(RunSetup(not_a_folder), 0u);
  EXPECT_EQ(ReadTestFile(not_a_folder), "x");
}
