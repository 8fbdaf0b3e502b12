// Hand-made streams for the rules that the corpus does not pin down: which
// code-length sequences and symbols are refused, that incomplete and
// over-subscribed codes decode the bit sequences they do cover, byte reads
// after the final block, one state decoding several streams, and that no
// cut-off stream ends in anything but AbortError.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "inflate/inflate_state.h"
#include "inflate/memory_source.h"
#include "inflate_test_support.h"
#include "log/abort_error.h"

namespace {

// One code-length symbol of a dynamic block header, with its extra bits.
struct LengthOp {
  unsigned symbol;
  unsigned extra;
};
using LengthOps = std::vector<LengthOp>;

LengthOps Zeros(unsigned count) {
  LengthOps ops;
  for (; count >= 11; count -= std::min(count, 138u)) ops.push_back({18, std::min(count, 138u) - 11});
  for (; count >= 3; count -= std::min(count, 10u)) ops.push_back({17, std::min(count, 10u) - 3});
  for (; count > 0; --count) ops.push_back({0, 0});
  return ops;
}

LengthOps operator+(LengthOps a, const LengthOps& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// A final dynamic block header. Its code-length code gives all 19 symbols 5
// bits, so code-length symbol s is written as the 5-bit code s.
BitWriter DynamicBlock(unsigned literal_count, const LengthOps& literal_ops, unsigned distance_count,
                       const LengthOps& distance_ops) {
  BitWriter writer;
  writer.Bits(1, 1).Bits(2, 2).Bits(literal_count - 257, 5).Bits(distance_count - 1, 5).Bits(19 - 4, 4);
  for (int i = 0; i < 19; ++i) writer.Bits(5, 3);
  for (const LengthOps* ops : {&literal_ops, &distance_ops}) {
    for (const LengthOp& op : *ops) {
      writer.Code(op.symbol, 5);
      if (op.symbol >= 16) writer.Bits(op.extra, op.symbol == 16 ? 2 : op.symbol == 17 ? 3 : 7);
    }
  }
  return writer;
}

// Literal lengths for 257 symbols: 'A', 'B', 'C' and end of block get the
// lengths given (0: no code), all others none.
LengthOps Literals(unsigned a, unsigned b, unsigned c, unsigned end) {
  return Zeros(65) + LengthOps{{a, 0}, {b, 0}, {c, 0}} + Zeros(256 - 68) + LengthOps{{end, 0}};
}

BitWriter FixedBlock() {
  BitWriter writer;
  writer.Bits(1, 1).Bits(1, 2);
  return writer;
}

struct StreamCase {
  const char* name;
  Bytes stream;
  bool refused;
  std::string output;
};

constexpr bool kRefused = true;

std::vector<StreamCase> StreamCases() {
  std::vector<StreamCase> cases;
  {
    // A = 0, end = 10; 11 is no code.
    BitWriter block = DynamicBlock(257, Literals(1, 0, 0, 2), 1, {{1, 0}});
    cases.push_back(
        {"incomplete code, covered sequences", block.Code(0, 1).Code(0, 1).Code(2, 2).Finish(), !kRefused, "AA"});
    BitWriter stray = DynamicBlock(257, Literals(1, 0, 0, 2), 1, {{1, 0}});
    cases.push_back({"incomplete code, sequence with no code", stray.Code(0, 1).Code(3, 2).Finish(), kRefused, ""});
  }
  {
    // end = 0, A = 10, B = 11; C would be 100, which no longer fits 2 bits.
    BitWriter block = DynamicBlock(257, Literals(2, 2, 2, 1), 1, {{1, 0}});
    cases.push_back({"over-subscribed code", block.Code(2, 2).Code(3, 2).Code(0, 1).Finish(), !kRefused, "AB"});
  }
  cases.push_back({"literal lengths start with a repeat",
                   DynamicBlock(257, LengthOps{{16, 0}} + Literals(1, 0, 0, 1), 1, {{1, 0}}).Finish(), kRefused, ""});
  cases.push_back({"distance lengths start with a repeat",
                   DynamicBlock(257, Literals(1, 0, 0, 1), 2, {{16, 0}}).Finish(), kRefused, ""});
  cases.push_back({"zero run past the literal lengths",
                   DynamicBlock(257, Zeros(256) + LengthOps{{18, 0}}, 1, {{1, 0}}).Finish(), kRefused, ""});
  cases.push_back({"repeat runs on into the distance lengths",
                   DynamicBlock(258, Literals(1, 0, 0, 1) + LengthOps{{16, 0}}, 2, {{1, 0}}).Finish(), kRefused, ""});
  for (unsigned symbol : {286u, 287u}) {
    BitWriter block = FixedBlock();
    FixedLiteral(block, 'a');
    FixedLiteral(block, symbol);
    cases.push_back({"literal/length symbol above 285", block.Finish(), kRefused, ""});
  }
  for (unsigned symbol : {30u, 31u}) {
    BitWriter block = FixedBlock();
    FixedLiteral(block, 'a');
    FixedLiteral(block, 257);
    FixedDistance(block, symbol);
    cases.push_back({"distance symbol above 29", block.Finish(), kRefused, ""});
  }
  {
    BitWriter block = FixedBlock();
    FixedLiteral(block, 'a');
    FixedLiteral(block, 284);  // 227 + 31 extra = 258
    block.Bits(31, 5);
    FixedDistance(block, 0);
    FixedLiteral(block, 256);
    cases.push_back({"longest length code with all extra bits set", block.Finish(), !kRefused, std::string(259, 'a')});
  }
  return cases;
}

TEST(InflateEdge, HandMadeStreams) {
  for (const StreamCase& c : StreamCases()) {
    for (std::size_t piece : {std::size_t{8192}, std::size_t{1}}) {
      Decoded decoded = Decode(c.stream, piece, {1 << 16});
      EXPECT_EQ(decoded.refused, c.refused) << c.name << ", refills of " << piece;
      if (!c.refused) {
        EXPECT_EQ(std::string(decoded.bytes.begin(), decoded.bytes.end()), c.output) << c.name;
      }
    }
  }
}

TEST(InflateEdge, ByteReadsOnlyOutsideAStartedByte) {
  struct Case {
    const char* name;
    unsigned literal;
    unsigned count;
  };
  // 3 + 8 + 7 bits leave the last byte started; 3 + 6 * 9 + 7 bits end on
  // its last bit, which still counts as started until AlignToByte.
  for (const Case& c : {Case{"mid-byte end", 'a', 1}, Case{"end on a byte boundary", 0xF0, 6}}) {
    BitWriter writer = FixedBlock();
    for (unsigned i = 0; i < c.count; ++i) FixedLiteral(writer, c.literal);
    FixedLiteral(writer, 256);
    writer.AlignToByte().Bits(0x3412, 16).Bits(0x7856, 16);
    Bytes stream = writer.Finish();

    MemorySource source(stream.data(), stream.size());
    InflateState state(&source);
    state.BeginStream();
    EXPECT_THROW(state.ReadByte(), AbortError) << c.name;
    Bytes output(c.count + 1);
    EXPECT_EQ(state.Inflate(output.size(), output.data()), c.count) << c.name;
    EXPECT_EQ(output[0], c.literal) << c.name;
    EXPECT_THROW(state.ReadByte(), AbortError) << c.name;
    state.AlignToByte();
    EXPECT_EQ(state.ReadU16(), 0x3412) << c.name;
    EXPECT_EQ(state.ReadU16(), 0x7856) << c.name;
    EXPECT_THROW(state.ReadByte(), AbortError) << c.name << ": input exhausted";
  }
}

TEST(InflateEdge, OneStateDecodesStreamAfterStream) {
  // The install decodes every file of a package with one state, seeking the
  // package stream to each file's data; each stream starts with a zeroed window.
  const Bytes english = ReadFileBytes(CorpusPath("streams/english.txt.zlib-6.deflate"));
  const Bytes backref = ReadFileBytes(CorpusPath("streams/backref-at-start.deflate"));
  Bytes package = english;
  package.insert(package.end(), backref.begin(), backref.end());
  const Bytes english_text = ReadFileBytes(CorpusPath("originals/english.txt"));

  MemorySource source(package.data(), package.size());
  InflateState state(&source);
  for (int round = 0; round < 2; ++round) {
    source.Seek(0);
    state.BeginStream();
    Bytes output(english_text.size() + 1);
    ASSERT_EQ(state.Inflate(output.size(), output.data()), english_text.size());
    output.pop_back();
    EXPECT_TRUE(output == english_text);

    source.Seek(english.size());
    state.BeginStream();
    std::uint8_t zeros[4] = {1, 1, 1, 1};
    ASSERT_EQ(state.Inflate(sizeof zeros, zeros), 3u);
    EXPECT_EQ(zeros[0] | zeros[1] | zeros[2], 0) << "the window of the stream before leaked in";
  }
}

TEST(InflateEdge, EveryCutOffStreamIsRefused) {
  // A cut-off stream must end in AbortError, never in decoding stale bytes
  // of the input buffer or the end of the window.
  const char* names[] = {"english.txt.zlib-6.deflate", "random.bin.zlib-6.deflate", "dist32768.deflate",
                         "fixed-stored-fixed.deflate", "source.h.zlib-fixed.deflate"};
  for (const char* name : names) {
    const Bytes stream = ReadFileBytes(CorpusPath(std::string("streams/") + name));
    const std::size_t step = stream.size() / 60 + 1;
    for (std::size_t cut = 0; cut < stream.size(); cut += step) {
      const Bytes head(stream.begin(), stream.begin() + static_cast<std::ptrdiff_t>(cut));
      for (std::size_t piece : {std::size_t{8192}, std::size_t{3}}) {
        EXPECT_TRUE(Decode(head, piece, {1 << 16}).refused) << name << " cut at " << cut << ", refills of " << piece;
      }
    }
  }
}

}  // namespace
