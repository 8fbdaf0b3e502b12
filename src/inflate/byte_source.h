// Where compressed bytes come from. The decoders pull input through this
// interface, so they know nothing of files or handles: the setup hands them
// its package stream, the tools a file or a block of memory.
#pragma once

#include <cstddef>

class ByteSource {
 public:
  // Copies up to `n` bytes into `destination`; 0 means the end of the data.
  // A source that cannot read reports the failure itself (it raises AbortError).
  virtual std::size_t ReadUpTo(void* destination, std::size_t n) = 0;

 protected:
  ~ByteSource() = default;
};
