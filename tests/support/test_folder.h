// A folder of a test's own inside the temporary folder, removed with
// everything in it at the end, so tests can run in parallel and again.
#pragma once

#include <string>

class TestFolder {
 public:
  TestFolder();
  ~TestFolder();
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::string& Path() const { return path_; }
  // Path() joined with a relative name.
  std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

 private:
  std::string path_;
};

// Writes `bytes` to `path` (created or truncated); the test fails otherwise.
void WriteTestFile(const std::string& path, const std::string& bytes);
std::string ReadTestFile(const std::string& path);
