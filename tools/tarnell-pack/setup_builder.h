// Lays out a setup executable: the setup program, the skin archive (record
// 1), one checked DEFLATE stream per product file, zero bytes up to where the
// finished file is a multiple of 8 bytes long (so that signing appends its
// certificate table directly behind the trailer), the package directory and
// the trailer; last, the integrity record and the PE header's CheckSum over
// all of it. The same inputs always give the same bytes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "manifest.h"
#include "stream_encoder.h"

// Told of each product file once its stream is made: the file and the
// stream's size in bytes.
using FilePacked = std::function<void(const ManifestFile&, std::size_t)>;
// Told, while a large file is packed, how many of its bytes are done.
using FileProgress = std::function<void(const ManifestFile&, std::uint64_t)>;

// A file above this size is compressed as it is read, with zlib, instead of
// whole with libdeflate, so that the builder's memory stays bounded.
inline constexpr std::uint64_t kWholeFileLimit = 16u << 20;

// Builds the setup into `path` through a temporary file beside it, each
// stream written as it is made; the file becomes `path` only once the
// package in it reads back, and on any failure no file is left and an
// existing one is unchanged. Returns the setup's size. PackError when the
// stub is no program image, is signed already, is a finished setup, or the
// result cannot be addressed with 32 bits.
std::uint64_t BuildSetupFile(const std::string& path, const Manifest& manifest, const Bytes& stub, const Bytes& skin,
                             int level, const FilePacked& on_file = {}, const FileProgress& on_progress = {});

Bytes ReadWholeFile(const std::string& path, const std::string& what);
