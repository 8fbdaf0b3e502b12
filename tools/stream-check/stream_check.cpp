#include "stream_encoder.h"

#include <algorithm>

#include "inflate/inflate_state.h"
#include "inflate/memory_source.h"
#include "log/abort_error.h"
#include "pack_error.h"

namespace {

// Final block, fixed codes, the end-of-block code at once: 1, 01, 0000000.
const Bytes kEmptyStream = {0x03, 0x00};

}  // namespace

bool DecodesTo(const Bytes& stream, const Bytes& original) {
  MemorySource source(stream.data(), stream.size());
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

std::optional<Bytes> FirstDecodingStream(const Bytes& data, const std::vector<StreamEncoder>& encoders) {
  for (const StreamEncoder& encoder : encoders) {
    Bytes stream = data.empty() ? kEmptyStream : encoder.encode(data);
    if (!stream.empty() && DecodesTo(stream, data)) return stream;
  }
  return std::nullopt;
}

Bytes EncodeChecked(const Bytes& data, const std::vector<StreamEncoder>& encoders) {
  if (std::optional<Bytes> stream = FirstDecodingStream(data, encoders)) return *stream;
  std::string tried;
  for (const StreamEncoder& encoder : encoders) tried += (tried.empty() ? "" : ", ") + encoder.name;
  throw PackError("the setup's decoder refuses the streams of every encoder (" + tried + ")");
}
