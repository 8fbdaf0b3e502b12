// Lays out a setup executable: the setup program, the skin archive (record
// 1), one checked DEFLATE stream per product file, zero bytes up to where the
// finished file is a multiple of 8 bytes long (so that signing appends its
// certificate table directly behind the trailer), the package directory and
// the trailer; last, the PE header's CheckSum over all of it. The same inputs
// always give the same bytes.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "manifest.h"
#include "stream_encoder.h"

// Told of each product file once its stream is made: the file and the
// stream's size in bytes.
using FilePacked = std::function<void(const ManifestFile&, std::size_t)>;

// The whole setup in memory. PackError when the stub is no program image,
// is signed already, is a finished setup, or the result cannot be addressed
// with 32 bits.
Bytes ComposeSetup(const Manifest& manifest, const Bytes& stub, const Bytes& skin,
                   const std::vector<StreamEncoder>& encoders, const FilePacked& on_file = {});

// Writes `bytes` to `path` through a temporary file beside it, which becomes
// `path` only once the package in it reads back; on any failure no file is
// left and an existing one is unchanged.
void WriteSetupFile(const std::string& path, const Bytes& bytes);

Bytes ReadWholeFile(const std::string& path, const std::string& what);
