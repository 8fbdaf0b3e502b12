// Holds the decoder against the reference decoder on one input.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Decodes `data` as a raw stream with both decoders, the real one fed in
// refills of at most `refill_piece` bytes and asked for output in pieces whose
// sizes cycle through `requests`, up to `cap` bytes. Returns what differs, or
// an empty text when both give the same bytes and the same verdict.
std::string FindDifference(const std::uint8_t* data, std::size_t size, std::size_t refill_piece,
                           const std::vector<std::size_t>& requests, std::size_t cap);
