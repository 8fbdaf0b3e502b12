// Helpers of the DEFLATE decoder tests.
#include "inflate_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "inflate/inflate_state.h"
#include "inflate/memory_source.h"
#include "log/abort_error.h"

std::string CorpusPath(const std::string& relative) { return std::string(TARNELL_TESTDATA) + "/deflate/" + relative; }

Bytes ReadFileBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  EXPECT_TRUE(file.good()) << "cannot open " << path;
  Bytes bytes(static_cast<std::size_t>(std::max<std::streamoff>(file.tellg(), 0)));
  file.seekg(0);
  file.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return bytes;
}

Decoded Decode(const Bytes& stream, std::size_t refill_piece, const std::vector<std::size_t>& requests) {
  // No stream of the corpus or the tests decodes to more than this.
  constexpr std::size_t kOutputCap = std::size_t{16} << 20;
  MemorySource source(stream.data(), stream.size(), refill_piece);
  InflateState state(&source);
  Decoded result;
  std::size_t size = 0;
  try {
    state.BeginStream();
    for (std::size_t round = 0;; ++round) {
      std::size_t wanted = requests[round % requests.size()];
      if (result.bytes.size() - size < wanted) result.bytes.resize(std::max(2 * result.bytes.size(), size + wanted));
      std::size_t got = state.Inflate(wanted, result.bytes.data() + size);
      EXPECT_LE(got, wanted);
      size += got;
      if (got < wanted) break;
      if (size > kOutputCap) {
        ADD_FAILURE() << "output does not end";
        break;
      }
    }
    std::uint8_t after[16];
    EXPECT_EQ(state.Inflate(sizeof after, after), 0u) << "output after the end of the stream";
  } catch (const AbortError&) {
    result.refused = true;
  }
  result.bytes.resize(size);
  return result;
}

BitWriter& BitWriter::Bits(unsigned value, unsigned count) {
  for (unsigned i = 0; i < count; ++i) {
    if (used_ == 8) {
      bytes_.push_back(0);
      used_ = 0;
    }
    bytes_.back() = static_cast<std::uint8_t>(bytes_.back() | (((value >> i) & 1) << used_));
    ++used_;
  }
  return *this;
}

BitWriter& BitWriter::Code(unsigned code, unsigned length) {
  for (unsigned i = length; i-- > 0;) Bits((code >> i) & 1, 1);
  return *this;
}

BitWriter& BitWriter::AlignToByte() {
  used_ = 8;
  return *this;
}

void FixedLiteral(BitWriter& writer, unsigned symbol) {
  if (symbol < 144) {
    writer.Code(0x30 + symbol, 8);
  } else if (symbol < 256) {
    writer.Code(0x190 + symbol - 144, 9);
  } else if (symbol < 280) {
    writer.Code(symbol - 256, 7);
  } else {
    writer.Code(0xC0 + symbol - 280, 8);
  }
}

void FixedDistance(BitWriter& writer, unsigned symbol) { writer.Code(symbol, 5); }
