// The benchmark's payload: realistic data of four kinds gathered from files
// every Debian machine has, the same files on every run, each kind
// compressed once as one raw DEFLATE stream.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

using Bytes = std::vector<std::uint8_t>;

struct PayloadPart {
  std::string kind;  // "text", "source", "binary", "compressed"
  Bytes original;
  Bytes stream;  // raw DEFLATE, zlib level 6
};

// About `bytes_per_kind` bytes of each kind. Throws std::runtime_error when
// the machine does not have enough files of a kind.
std::vector<PayloadPart> BuildPayload(std::size_t bytes_per_kind);
