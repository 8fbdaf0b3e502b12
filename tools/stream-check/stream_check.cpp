#include "stream_encoder.h"

#include <algorithm>

#include "inflate/byte_source.h"
#include "inflate/inflate_state.h"
#include "inflate/memory_source.h"
#include "log/abort_error.h"
#include "pack_error.h"

namespace {

// Final block, fixed codes, the end-of-block code at once: 1, 01, 0000000.
const Bytes kEmptyStream = {0x03, 0x00};

}  // namespace

namespace {

class PieceSource final : public ByteSource {
 public:
  explicit PieceSource(const ReadPiece& read) : read_(read) {}
  std::size_t ReadUpTo(void* destination, std::size_t n) override {
    return read_(static_cast<std::uint8_t*>(destination), n);
  }

 private:
  const ReadPiece& read_;
};

constexpr std::size_t kPieceSize = 1 << 18;

// Fills `n` bytes unless `read` ends first; the count.
std::size_t ReadFull(const ReadPiece& read, std::uint8_t* destination, std::size_t n) {
  std::size_t done = 0;
  while (done < n) {
    std::size_t got = read(destination + done, n - done);
    if (got == 0) break;
    done += got;
  }
  return done;
}

}  // namespace

bool StreamDecodesTo(const ReadPiece& stream, const ReadPiece& original) {
  PieceSource source(stream);
  InflateState decoder(&source);
  Bytes decoded(kPieceSize), expected(kPieceSize);
  try {
    decoder.BeginStream();
    for (;;) {
      std::size_t want = ReadFull(original, expected.data(), expected.size());
      // One byte more than expected at the end: a longer stream must show it.
      std::size_t asked = want < expected.size() ? want + 1 : want;
      std::size_t got = 0;
      while (got < asked) {
        std::size_t n = decoder.Inflate(asked - got, decoded.data() + got);
        if (n == 0) break;
        got += n;
      }
      if (got != want ||
          !std::equal(expected.begin(), expected.begin() + static_cast<std::ptrdiff_t>(want), decoded.begin())) {
        return false;
      }
      if (want < expected.size()) return true;
    }
  } catch (const AbortError&) {
    return false;
  }
}

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
