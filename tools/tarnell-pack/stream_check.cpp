#include "stream_encoder.h"

#include <algorithm>
#include <cstring>

#include "inflate/byte_source.h"
#include "inflate/inflate_state.h"
#include "log/abort_error.h"
#include "pack_error.h"

namespace {

// Final block, fixed codes, the end-of-block code at once: 1, 01, 0000000.
const Bytes kEmptyStream = {0x03, 0x00};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(const Bytes& bytes) : bytes_(bytes) {}
  std::size_t ReadUpTo(void* destination, std::size_t n) override {
    n = std::min(n, bytes_.size() - position_);
    if (n != 0) std::memcpy(destination, bytes_.data() + position_, n);
    position_ += n;
    return n;
  }

 private:
  const Bytes& bytes_;
  std::size_t position_ = 0;
};

}  // namespace

bool DecodesTo(const Bytes& stream, const Bytes& original) {
  MemorySource source(stream);
  InflateState decoder(&source);
  Bytes decoded(original.size() + 1);
  try {
    decoder.BeginStream();
    std::size_t produced = 0;
    // Ask for one byte more than expected: a longer stream must show it.
    while (produced < decoded.size()) {
      std::size_t n = decoder.Inflate(decoded.size() - produced, decoded.data() + produced);
      if (n == 0) break;
      produced += n;
    }
    return produced == original.size() && std::equal(original.begin(), original.end(), decoded.begin());
  } catch (const AbortError&) {
    return false;
  }
}

Bytes EncodeChecked(const Bytes& data, const std::vector<StreamEncoder>& encoders) {
  std::string tried;
  for (const StreamEncoder& encoder : encoders) {
    Bytes stream = data.empty() ? kEmptyStream : encoder.encode(data);
    if (!stream.empty() && DecodesTo(stream, data)) return stream;
    tried += (tried.empty() ? "" : ", ") + encoder.name;
  }
  throw PackError("the setup's decoder refuses the streams of every encoder (" + tried + ")");
}
