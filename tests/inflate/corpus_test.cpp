// Decodes every stream of the shared corpus of independent encoders (zlib,
// libdeflate, gzip, 7-Zip, zopfli, Python and hand-made edge cases): each must
// give its original byte for byte or be refused, as the corpus manifest says,
// whatever the refill pieces and request sizes, and the zlib wrapper around
// it must be readable byte by byte afterwards, as the PNG decoder reads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "inflate/inflate_state.h"
#include "inflate_test_support.h"
#include "log/abort_error.h"

namespace {

struct CorpusStream {
  std::string stream;
  std::string original;  // "error" when the stream must be refused
};

void PrintTo(const CorpusStream& row, std::ostream* out) { *out << row.stream; }

std::vector<CorpusStream> ReadManifest() {
  std::vector<CorpusStream> rows;
  std::ifstream manifest(CorpusPath("manifest.tsv"));
  std::string line;
  std::getline(manifest, line);  // column names
  while (std::getline(manifest, line)) {
    std::istringstream fields(line);
    CorpusStream row;
    if (std::getline(fields, row.stream, '\t') && std::getline(fields, row.original, '\t')) rows.push_back(row);
  }
  return rows;
}

const std::vector<CorpusStream>& Manifest() {
  static const std::vector<CorpusStream> rows = ReadManifest();
  return rows;
}

std::vector<CorpusStream> DecodableStreams() {
  std::vector<CorpusStream> rows;
  for (const CorpusStream& row : Manifest()) {
    if (row.original != "error") rows.push_back(row);
  }
  return rows;
}

std::string TestName(const testing::TestParamInfo<CorpusStream>& info) {
  std::string name = info.param.stream.substr(0, info.param.stream.rfind(".deflate"));
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

// The PNG decoder's way: Refill overridden to hand out pieces of its data.
class PieceFeeder final : public InflateState {
 public:
  PieceFeeder(const Bytes& data, std::size_t piece) : InflateState(nullptr), data_(data), piece_(piece) {}

 protected:
  std::size_t Refill(std::uint8_t* buffer, std::size_t capacity) override {
    std::size_t count = std::min({capacity, piece_, data_.size() - position_});
    std::copy_n(data_.begin() + static_cast<std::ptrdiff_t>(position_), count, buffer);
    position_ += count;
    return count;
  }

 private:
  const Bytes& data_;
  std::size_t piece_;
  std::size_t position_ = 0;
};

std::uint32_t Adler32(const Bytes& bytes) {
  std::uint32_t a = 1, b = 0;
  for (std::uint8_t byte : bytes) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  return (b << 16) | a;
}

class InflateCorpus : public testing::TestWithParam<CorpusStream> {
 protected:
  void SetUp() override {
    stream_ = ReadFileBytes(CorpusPath("streams/" + GetParam().stream));
    refused_ = GetParam().original == "error";
    if (!refused_) original_ = ReadFileBytes(CorpusPath("originals/" + GetParam().original));
  }

  void ExpectOutcome(const Decoded& decoded, const char* how) const {
    EXPECT_EQ(decoded.refused, refused_) << how;
    if (!refused_) {
      EXPECT_TRUE(decoded.bytes == original_) << how << ": output differs from the original";
    }
  }

  Bytes stream_;
  Bytes original_;
  bool refused_ = false;
};

TEST_P(InflateCorpus, DecodesToOriginalOrIsRefused) {
  const std::size_t whole = original_.size() + 1;  // one more than there is
  ExpectOutcome(Decode(stream_, 8192, {refused_ ? std::size_t{1} << 20 : whole}), "all at once");
  ExpectOutcome(Decode(stream_, 777, {3, 258, 1, 8192, 40000, 2}), "mixed pieces");
  // A byte at a time through the 2 MB large.txt would take most of a minute
  // under the sanitizers; the smaller originals pass the same encoders.
  if (GetParam().stream.rfind("large.txt.", 0) == 0) return;
  ExpectOutcome(Decode(stream_, 1, {whole}), "refills of 1 byte");
  ExpectOutcome(Decode(stream_, 8192, {1}), "1 byte per request");
  ExpectOutcome(Decode(stream_, 1, {1}), "1-byte refills and requests");
}

using InflateZlibWrapper = InflateCorpus;

TEST_P(InflateZlibWrapper, ReadsAroundTheStream) {
  Bytes wrapped = {0x78, 0x9C};
  wrapped.insert(wrapped.end(), stream_.begin(), stream_.end());
  const std::uint32_t adler = Adler32(original_);
  for (int shift = 24; shift >= 0; shift -= 8) wrapped.push_back(static_cast<std::uint8_t>(adler >> shift));

  for (std::size_t piece : {std::size_t{8192}, std::size_t{61}}) {
    PieceFeeder feeder(wrapped, piece);
    EXPECT_EQ(feeder.ReadByte(), 0x78);
    EXPECT_EQ(feeder.ReadByte(), 0x9C);
    feeder.ResetWindow();
    feeder.ReadBlockHeader();
    Bytes output(original_.size() + 1);
    EXPECT_EQ(feeder.Inflate(output.size(), output.data()), original_.size());
    output.pop_back();
    EXPECT_TRUE(output == original_) << "pieces of " << piece;
    feeder.AlignToByte();
    std::uint32_t high = feeder.ReadU16(), low = feeder.ReadU16();
    std::uint32_t read = (high & 0xFF) << 24 | (high >> 8) << 16 | (low & 0xFF) << 8 | low >> 8;
    EXPECT_EQ(read, adler) << "pieces of " << piece;
    EXPECT_THROW(feeder.ReadByte(), AbortError) << "nothing follows the Adler-32";
  }
}

INSTANTIATE_TEST_SUITE_P(Streams, InflateCorpus, testing::ValuesIn(Manifest()), TestName);
INSTANTIATE_TEST_SUITE_P(Streams, InflateZlibWrapper, testing::ValuesIn(DecodableStreams()), TestName);

TEST(InflateCorpusManifest, ListsEveryStream) {
  // Guards against a corpus that cannot be found, which would test nothing.
  EXPECT_GE(Manifest().size(), 120u);
}

}  // namespace
