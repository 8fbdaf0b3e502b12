// The file records of a package, record 1 (the skin archive) first. A product
// may carry a hundred thousand files, so each record is a few fixed fields and
// a pointer into one pool that holds every name: no per-file text buffer and
// no per-file heap block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct FileRecord {
  std::uint16_t shortcut_kind = 0;  // a ShortcutKind, kept as stored
  std::uint8_t icon_index = 0;
  std::uint8_t service = 0;
  std::uint8_t destination = 0;  // a Destination, kept as stored
  std::uint32_t stream_offset = 0;
  std::uint64_t file_time = 0;  // FILETIME: 100 ns units since 1601-01-01 UTC
  std::uint32_t size = 0;
  // Relative to the record's folder, parts joined by '\'; record 1's is empty.
  // Owned by the FileList that holds the record.
  const char* name = "";
};

class FileList {
 public:
  FileList() = default;
  FileList(const FileList& other) { *this = other; }
  FileList& operator=(const FileList& other);
  // A moved pool keeps its buffer, and so every name its place.
  FileList(FileList&&) = default;
  FileList& operator=(FileList&&) = default;

  // Record 1 included.
  std::size_t Count() const { return records_.size(); }
  // `number` from 1 to Count().
  FileRecord& Record(std::size_t number) { return records_[number - 1]; }
  const FileRecord& Record(std::size_t number) const { return records_[number - 1]; }
  // Record 1: the skin archive, which is never installed.
  FileRecord& Skin() { return records_[0]; }
  const FileRecord& Skin() const { return records_[0]; }

  // Room for `records` records whose names take `name_bytes` bytes with their NULs.
  void Reserve(std::size_t records, std::size_t name_bytes);
  // Appends `fields` named by the `length` characters at `name`.
  FileRecord& Add(const FileRecord& fields, const char* name, std::size_t length);
  FileRecord& Add(const FileRecord& fields, const char* name);
  // Appends a copy of `record` of any list, its name kept in this one.
  FileRecord& Add(const FileRecord& record);
  // Makes record `number` a copy of `record` of any list.
  void Set(std::size_t number, const FileRecord& record);
  // Gives record `number` a copy of `name`.
  void Rename(std::size_t number, const char* name);
  void RemoveLast() { records_.pop_back(); }
  void Clear();

 private:
  bool InPool(const char* name) const {
    return !names_.empty() && name >= names_.data() && name < names_.data() + names_.size();
  }
  // Points every name that lay in the `old_size` bytes at `old_base` to the
  // same place in `names_`, after the pool moved or was copied.
  void Rebase(const char* old_base, std::size_t old_size);

  std::vector<FileRecord> records_;
  std::vector<char> names_;
};
