#include "package/file_list.h"

#include <cstdint>
#include <cstring>

FileList& FileList::operator=(const FileList& other) {
  if (this == &other) return *this;
  records_ = other.records_;
  names_ = other.names_;
  Rebase(other.names_.data(), other.names_.size());
  return *this;
}

void FileList::Reserve(std::size_t records, std::size_t name_bytes) {
  records_.reserve(records);
  const char* old_base = names_.data();
  names_.reserve(name_bytes);
  Rebase(old_base, names_.size());
}

FileRecord& FileList::Add(const FileRecord& fields, const char* name, std::size_t length) {
  const char* old_base = names_.data();
  std::size_t at = names_.size();
  names_.insert(names_.end(), name, name + length);
  names_.push_back('\0');
  Rebase(old_base, at);
  records_.push_back(fields);
  records_.back().name = names_.data() + at;
  return records_.back();
}

FileRecord& FileList::Add(const FileRecord& fields, const char* name) { return Add(fields, name, std::strlen(name)); }

FileRecord& FileList::Add(const FileRecord& record) { return Add(record, record.name, std::strlen(record.name)); }

void FileList::Set(std::size_t number, const FileRecord& record) {
  if (InPool(record.name)) {
    records_[number - 1] = record;
    return;
  }
  // The name is copied first: the copy may move the pool, and `record` may be one of ours.
  FileRecord fields = record;
  Add(fields, record.name, std::strlen(record.name));
  records_[number - 1] = records_.back();
  records_.pop_back();
}

void FileList::Rename(std::size_t number, const char* name) {
  FileRecord record = Record(number);
  record.name = name;
  Set(number, record);
}

void FileList::Clear() {
  records_.clear();
  names_.clear();
}

void FileList::Rebase(const char* old_base, std::size_t old_size) {
  if (names_.data() == old_base) return;
  auto from = reinterpret_cast<std::uintptr_t>(old_base);
  for (FileRecord& record : records_) {
    // A name outside the old pool is the empty name of a record never named.
    std::uintptr_t at = reinterpret_cast<std::uintptr_t>(record.name) - from;
    if (at < old_size) record.name = names_.data() + at;
  }
}
