// Runs the real decoder and the reference decoder on the same input and
// compares what they give.
#include "differential.h"

#include <algorithm>

#include "inflate/inflate_state.h"
#include "inflate/memory_source.h"
#include "log/abort_error.h"
#include "reference_inflate.h"

std::string FindDifference(const std::uint8_t* data, std::size_t size, std::size_t refill_piece,
                           const std::vector<std::size_t>& requests, std::size_t cap) {
  const ReferenceResult expected = ReferenceInflate(data, size, cap);

  MemorySource source(data, size, refill_piece);
  InflateState inflater(&source);
  std::vector<std::uint8_t> bytes(cap);
  std::size_t produced = 0;
  bool refused = false, ended = false;
  try {
    inflater.BeginStream();
    for (std::size_t round = 0; produced < cap; ++round) {
      const std::size_t wanted = std::min(requests[round % requests.size()], cap - produced);
      const std::size_t got = inflater.Inflate(wanted, bytes.data() + produced);
      produced += got;
      if (got < wanted) {
        ended = true;
        break;
      }
    }
  } catch (const AbortError&) {
    refused = true;
  }
  bytes.resize(produced);
  if (ended) {
    std::uint8_t after[8];
    if (inflater.Inflate(sizeof after, after) != 0) return "output after the end of the stream";
    try {  // the zlib trailer's way of reading on after the stream
      inflater.AlignToByte();
      inflater.ReadU16();
    } catch (const AbortError&) {
    }
  }

  const std::size_t common = std::min(bytes.size(), expected.bytes.size());
  if (!std::equal(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(common), expected.bytes.begin())) {
    return "different bytes";
  }
  // Stopping at the cap, the decoder reads no further than the reference,
  // which goes on to its first byte past the cap.
  if (refused && !expected.refused) return "refused, the reference accepts";
  if (bytes.size() >= cap) return "";
  if (expected.capped) return "ended early, the reference did not";
  if (!refused && expected.refused) return "accepted, the reference refuses";
  // A refused call hands out nothing, so only accepted output must be complete.
  if (!refused && bytes.size() != expected.bytes.size()) return "different length";
  return "";
}
