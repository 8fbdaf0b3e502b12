// Finds and reads the package directory of a setup executable: the trailer at
// the end of the appended data (before a signature's certificate table, when
// the setup is signed), then the directory it points at. The setup reads its
// own file and earlier setup copies through this; the package builder's list,
// verify and extract commands read any setup through it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "package/package_directory.h"

// Random access to a setup file. Both operations report their own failures
// (one line through LogError, raising AbortError).
class PackageFile {
 public:
  virtual std::uint64_t Size() = 0;
  // Reads exactly n bytes at `offset`.
  virtual void ReadAt(std::uint64_t offset, void* buffer, std::size_t n) = 0;

 protected:
  ~PackageFile() = default;
};

// Fills `out` from the file, or ends in AbortError after its one line
// (`path` names the file in the lines that need it).
void LoadPackageDirectory(PackageFile& file, const char* path, PackageDirectory& out);

// A whole setup held in memory; a read past its end is a read error.
class MemoryPackageFile final : public PackageFile {
 public:
  MemoryPackageFile(const std::uint8_t* bytes, std::size_t length, const char* path)
      : bytes_(bytes), length_(length), path_(path) {}
  std::uint64_t Size() override { return length_; }
  void ReadAt(std::uint64_t offset, void* buffer, std::size_t n) override;

 private:
  const std::uint8_t* bytes_;
  std::size_t length_;
  const char* path_;
};
