// A second, deliberately plain decoder: the decoder's rules read literally,
// one bit at a time, with canonical codes walked bit by bit and no tables.
// It shares no code with the real decoder, so the fuzzer and the mutation
// test can hold the real one against it on any input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct ReferenceResult {
  bool refused = false;  // the stream breaks a rule or is cut off
  bool capped = false;   // decoding stopped at the output cap
  std::vector<std::uint8_t> bytes;
};

ReferenceResult ReferenceInflate(const std::uint8_t* data, std::size_t size, std::size_t cap);
