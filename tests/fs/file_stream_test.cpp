// Guards the file streams: each failure closes the stream and reports its
// line with the path, reads of memory and files hand out the same bytes
// whatever the piece size, and folder listing leaves out "." and "..".
#include <gtest/gtest.h>

#include <string>

#include "capture_logger.h"
#include "fs/file_stream.h"
#include "fs/find_entries.h"
#include "fs/source_stream.h"
#include "hold_file_process.h"
#include "test_folder.h"

namespace {

std::string Numbered(std::size_t n) {
  std::string bytes(n, '\0');
  for (std::size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>(i * 7 + i / 251);
  return bytes;
}

}  // namespace

TEST(FileStream, FailuresCloseTheStreamAndQuoteThePath) {
  CaptureLogger log;
  TestFolder folder;
  std::string path = folder / "data.bin";
  WriteTestFile(path, "0123456789");

  FileStream stream;
  stream.SetPath(path.c_str());
  stream.Open(FileStream::Mode::kRead);
  stream.Seek(6);
  char buffer[16];
  EXPECT_THROW(stream.Read(buffer, 10), AbortError);
  EXPECT_FALSE(stream.IsOpen());

  FileStream missing;
  std::string missing_path = folder / "missing.bin";
  missing.SetPath(missing_path.c_str());
  EXPECT_THROW(missing.Open(FileStream::Mode::kRead), AbortError);

  FileStream closed;
  closed.SetPath(path.c_str());
  EXPECT_THROW(closed.Write("x", 1), AbortError);

  ASSERT_EQ(log.errors.size(), 3u);
  EXPECT_EQ(log.errors[0], "Error reading file: " + path);
  EXPECT_EQ(log.errors[1], "Error opening file: " + missing_path);
  EXPECT_EQ(log.errors[2], "Error writing to file: " + path);
}

TEST(FileStream, SeekToTheSamePositionNeedsNoOpenFile) {
  CaptureLogger log;
  FileStream stream;
  stream.SetPath("C:\\nowhere");
  stream.Seek(0);  // no system call, so no failure
  EXPECT_TRUE(log.errors.empty());
}

TEST(FileStream, CreateTruncatesAReadOnlyFileAndKeepsTimes) {
  CaptureLogger log;
  TestFolder folder;
  std::string path = folder / "ro.txt";
  WriteTestFile(path, "old content");
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);

  FileStream stream;
  stream.SetPath(path.c_str());
  stream.Open(FileStream::Mode::kCreate);
  stream.Write("new", 3);
  FILETIME time{0x12345600u, 0x01D00000u};
  stream.SetTime(time);
  EXPECT_EQ(stream.Size(), 3u);
  stream.Close();

  EXPECT_EQ(ReadTestFile(path), "new");
  stream.Open(FileStream::Mode::kRead);
  FILETIME read_back = stream.GetTime();
  EXPECT_EQ(read_back.dwLowDateTime, time.dwLowDateTime);
  EXPECT_EQ(read_back.dwHighDateTime, time.dwHighDateTime);
  EXPECT_TRUE(log.errors.empty());
}

TEST(FileStream, APathTooLongIsRefusedNotCut) {
  CaptureLogger log;
  std::string path = "C:\\" + std::string(300, 'a');
  FileStream stream;
  stream.SetPath(path.c_str());
  EXPECT_THROW(stream.Open(FileStream::Mode::kCreate), AbortError);
  ASSERT_EQ(log.errors.size(), 1u);
  EXPECT_EQ(log.errors[0].rfind("Error opening file: C:\\aaa", 0), 0u);
}

TEST(FileStream, AFileHeldByAnotherProcessCannotBeCreated) {
  CaptureLogger log;
  TestFolder folder;
  std::string path = folder / "locked.dll";
  WriteTestFile(path, "in use");
  HeldFile held(path);
  ASSERT_TRUE(held.Held());
  FileStream stream;
  stream.SetPath(path.c_str());
  EXPECT_THROW(stream.Open(FileStream::Mode::kCreate), AbortError);
  EXPECT_EQ(log.errors.at(0), "Error opening file: " + path);
}

TEST(SourceStream, FileReadsGiveTheSameBytesInAnyPieceSize) {
  CaptureLogger log;
  TestFolder folder;
  std::string path = folder / "big.bin";
  const std::string bytes = Numbered(100000);
  WriteTestFile(path, bytes);

  for (std::size_t piece : {1u, 7u, 8192u, 32768u, 50000u}) {
    SourceStream source;
    source.CreateOverFile(path.c_str());
    std::string got;
    std::string buffer(piece, '\0');
    while (std::size_t n = source.ReadUpTo(&buffer[0], piece)) got.append(buffer, 0, n);
    EXPECT_EQ(got, bytes) << "piece " << piece;
  }

  // Seeking drops the buffer: the next read comes from the new position.
  SourceStream source;
  source.CreateOverFile(path.c_str());
  source.Seek(99990);
  char tail[10];
  source.Read(tail, 10);
  EXPECT_EQ(std::string(tail, 10), bytes.substr(99990));
  EXPECT_THROW(source.Read(tail, 1), AbortError);
  EXPECT_EQ(log.errors.at(0), "Error reading file: " + path);
}

TEST(SourceStream, MemoryReadsAndSeeks) {
  CaptureLogger log;
  const std::string bytes = Numbered(100);
  SourceStream source;
  source.CreateOverMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), "skin:insthead");
  char buffer[200];
  EXPECT_EQ(source.ReadUpTo(buffer, 60), 60u);
  EXPECT_EQ(source.ReadUpTo(buffer, 60), 40u);
  EXPECT_EQ(std::string(buffer, 40), bytes.substr(60));
  source.Seek(99);
  EXPECT_EQ(source.ReadUpTo(buffer, 5), 1u);
  EXPECT_THROW(source.Seek(100), AbortError);
  EXPECT_EQ(log.errors.at(0), "Error positioning cursor in file: skin:insthead");
}

TEST(FindEntries, ListsEntriesWithoutDots) {
  TestFolder folder;
  FindEntries entries;
  EXPECT_EQ(entries.FirstInFolder(folder.Path().c_str()), FindEntries::kEmpty);
  EXPECT_EQ(entries.FirstInFolder((folder / "missing").c_str()), FindEntries::kCannotStart);
  EXPECT_EQ(entries.FirstInFolder(""), FindEntries::kEmpty);

  WriteTestFile(folder / "a.txt", "a");
  CreateDirectoryA((folder / "sub").c_str(), nullptr);
  std::string seen;
  for (bool more = entries.FirstInFolder((folder.Path() + "\\").c_str()) == FindEntries::kEntry; more;
       more = entries.Next()) {
    seen += std::string(entries.Name()) + (entries.IsFolder() ? "/" : "") + " ";
  }
  EXPECT_TRUE(seen == "a.txt sub/ " || seen == "sub/ a.txt ") << seen;
}
