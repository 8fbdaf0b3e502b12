// Reads a package directory from bytes, checking everything that a damaged or
// hostile package could use to make the setup read past a capacity, write
// outside its folders or point at data that is not there.
//
// Every failure is reported like a stream failure: one line through the
// current logger's LogError, which raises AbortError. Bytes that run out are
// the read error of the package file; a wrong check word is the invalid
// package line; everything else the reader refuses gets an invalid package
// line that says why.
#pragma once

#include <cstddef>
#include <cstdint>

#include "package/package_directory.h"

// `bytes` are the `length` bytes from the header offset up to the trailer;
// `path` names the package in error lines. Fills `out` as far as it gets.
void ParsePackageDirectory(const std::uint8_t* bytes, std::size_t length, std::uint32_t header_offset, const char* path,
                           PackageDirectory& out);
