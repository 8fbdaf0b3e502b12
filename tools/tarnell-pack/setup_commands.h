// The commands that read a finished setup with the setup's own package
// reader and decoder: list its directory, verify every stream, extract the
// product files. Each raises PackError on the first fault.
#pragma once

#include <ostream>
#include <string>

void ListSetup(const std::string& path, std::ostream& out);
// Decodes every stream and compares its length with its record's size, and
// checks the skin archive's directory.
void VerifySetup(const std::string& path, std::ostream& out);
// Writes every product file into `folder` (created when missing) with its
// recorded time; prints each path written.
void ExtractSetup(const std::string& path, const std::string& folder, std::ostream& out);
