// The commands that read a finished setup with the setup's own package
// reader and decoder: list its directory, verify every stream, extract the
// product files. Each raises PackError on the first fault.
#pragma once

#include <ostream>
#include <string>

struct ListOptions {
  bool json = false;    // the shape README.md documents
  bool sha256 = false;  // decode every file and print its SHA-256
};

void ListSetup(const std::string& path, const ListOptions& options, std::ostream& out);
// Decodes every stream and compares its length with its record's size,
// checks the skin archive's directory and the PE checksum over the file, and
// says which sum it found.
void VerifySetup(const std::string& path, std::ostream& out);
// Writes every product file into `folder` (created when missing) with its
// recorded time; prints each path written. A setup whose PE checksum fails
// is refused before anything is written. Each file is written under a
// temporary name and renamed when complete, so a damaged stream leaves any
// file of that name as it was. Unless `force` is set, a folder that holds a
// product file's name already is refused before anything is written.
void ExtractSetup(const std::string& path, const std::string& folder, bool force, std::ostream& out);
