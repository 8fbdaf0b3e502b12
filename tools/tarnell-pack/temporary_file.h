// A file written under a temporary name beside its destination and renamed
// over it only once it is complete, so that a failure halfway (a damaged
// stream, a full disk) never leaves a half-written file under the real name
// nor touches a file already there. Removed unless it was renamed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

class TemporaryFile {
 public:
  // PackError when no file can be made beside `destination`.
  explicit TemporaryFile(const std::string& destination);
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  void Append(const std::uint8_t* bytes, std::size_t n);
  // Overwrites bytes already written.
  void WriteAt(std::uint64_t offset, const std::uint8_t* bytes, std::size_t n);
  // Reads back bytes already written.
  void ReadAt(std::uint64_t offset, std::uint8_t* bytes, std::size_t n) const;
  // Drops what was appended from `size` on.
  void TruncateTo(std::uint64_t size);
  std::uint64_t Size() const { return size_; }
  // Gives the file `permissions` less the umask (and `modified`, when given)
  // and writes it to the disk.
  void Finish(unsigned permissions, std::optional<timespec> modified = std::nullopt);
  void RenameTo(const std::string& destination);

  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  int descriptor_ = -1;
  std::uint64_t size_ = 0;
  bool kept_ = false;
};
