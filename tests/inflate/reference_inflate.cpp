// The plain reference decoder (see reference_inflate.h).
#include "reference_inflate.h"

namespace {

struct Refused {};
struct Capped {};

class BitReader {
 public:
  BitReader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

  unsigned Bit() {
    if (bit_ == -1 || bit_ == 8) {  // step onto the next byte
      if (bit_ == 8) ++position_;
      bit_ = 0;
    }
    if (position_ >= size_) throw Refused{};
    return (data_[position_] >> bit_++) & 1;
  }
  unsigned Bits(unsigned count) {
    unsigned value = 0;
    for (unsigned i = 0; i < count; ++i) value |= Bit() << i;
    return value;
  }
  void AlignToByte() {
    if (bit_ >= 0) ++position_;
    bit_ = -1;
  }
  unsigned Byte() {
    if (bit_ >= 0 || position_ >= size_) throw Refused{};
    return data_[position_++];
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
  int bit_ = -1;  // bits of the current byte used; -1: on a byte boundary
};

struct CanonicalCode {
  long base[16] = {};
  long last[16] = {};
  unsigned symbols[288] = {};

  CanonicalCode(const unsigned* lengths, unsigned count) {
    unsigned per_length[16] = {};
    for (unsigned s = 0; s < count; ++s) ++per_length[lengths[s]];
    unsigned start[16] = {};
    for (unsigned length = 1; length < 16; ++length) start[length] = start[length - 1] + per_length[length - 1];
    unsigned next[16];
    for (unsigned length = 0; length < 16; ++length) next[length] = start[length];
    for (unsigned s = 0; s < count; ++s) symbols[next[lengths[s]]++] = s;
    long code = 0;
    long index = per_length[0];
    for (unsigned length = 1; length < 16; ++length) {
      if (per_length[length] > 0) {
        base[length] = index - code;
        last[length] = code + per_length[length] - 1;
        index += per_length[length];
        code += per_length[length];
      } else {
        last[length] = -1;
      }
      code *= 2;
    }
  }

  unsigned Decode(BitReader& in) const {
    long code = 0;
    for (unsigned length = 1; length < 16; ++length) {
      code = code * 2 + in.Bit();
      if (code <= last[length]) return symbols[base[length] + code];
    }
    throw Refused{};
  }
};

const unsigned kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                  31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const unsigned kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                   2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const unsigned kDistanceBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                    33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                    1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
const unsigned kDistanceExtra[30] = {0, 0, 0, 0, 1, 1, 2, 2,  3,  3,  4,  4,  5,  5,  6,
                                     6, 7, 7, 8, 8, 9, 9, 10, 10, 11, 11, 12, 12, 13, 13};
const unsigned kOrder[19] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15};

void ReadLengths(BitReader& in, const CanonicalCode& code_lengths, unsigned* lengths, unsigned count) {
  unsigned i = 0;
  while (i < count) {
    unsigned symbol = code_lengths.Decode(in);
    if (symbol < 16) {
      lengths[i++] = symbol;
      continue;
    }
    unsigned value = 0, times = 0;
    if (symbol == 16) {
      if (i == 0) throw Refused{};
      value = lengths[i - 1];
      times = 3 + in.Bits(2);
    } else if (symbol == 17) {
      times = 3 + in.Bits(3);
    } else {
      times = 11 + in.Bits(7);
    }
    if (i + times > count) throw Refused{};
    while (times-- > 0) lengths[i++] = value;
  }
}

class Output {
 public:
  Output(std::vector<std::uint8_t>& bytes, std::size_t cap) : bytes_(bytes), cap_(cap) {}
  void Put(unsigned byte) {
    if (bytes_.size() >= cap_) throw Capped{};
    bytes_.push_back(static_cast<std::uint8_t>(byte));
  }
  // The window starts zeroed: a distance before the start gives zeros.
  void Copy(unsigned distance, unsigned length) {
    for (unsigned i = 0; i < length; ++i) Put(distance > bytes_.size() ? 0 : bytes_[bytes_.size() - distance]);
  }

 private:
  std::vector<std::uint8_t>& bytes_;
  std::size_t cap_;
};

void DecodeCompressed(BitReader& in, Output& out, const CanonicalCode& literals, const CanonicalCode& distances) {
  for (;;) {
    unsigned symbol = literals.Decode(in);
    if (symbol < 256) {
      out.Put(symbol);
    } else if (symbol == 256) {
      return;
    } else if (symbol <= 285) {
      unsigned length = kLengthBase[symbol - 257] + in.Bits(kLengthExtra[symbol - 257]);
      unsigned d = distances.Decode(in);
      if (d > 29) throw Refused{};
      out.Copy(kDistanceBase[d] + in.Bits(kDistanceExtra[d]), length);
    } else {
      throw Refused{};
    }
  }
}

}  // namespace

ReferenceResult ReferenceInflate(const std::uint8_t* data, std::size_t size, std::size_t cap) {
  ReferenceResult result;
  BitReader in(data, size);
  Output out(result.bytes, cap);
  try {
    bool final_block = false;
    while (!final_block) {
      final_block = in.Bit() != 0;
      unsigned type = in.Bits(2);
      if (type == 0) {
        in.AlignToByte();
        unsigned length = in.Byte() | in.Byte() << 8;
        unsigned complement = in.Byte() | in.Byte() << 8;
        if (length == 0 || length != (~complement & 0xFFFFu)) throw Refused{};
        while (length-- > 0) out.Put(in.Byte());
      } else if (type == 1) {
        unsigned literal_lengths[288], distance_lengths[32];
        for (unsigned s = 0; s < 288; ++s) literal_lengths[s] = s < 144 ? 8 : s < 256 ? 9 : s < 280 ? 7 : 8;
        for (unsigned& length : distance_lengths) length = 5;
        DecodeCompressed(in, out, CanonicalCode(literal_lengths, 288), CanonicalCode(distance_lengths, 32));
      } else if (type == 2) {
        unsigned literal_count = in.Bits(5) + 257, distance_count = in.Bits(5) + 1, code_count = in.Bits(4) + 4;
        unsigned code_lengths[19] = {};
        for (unsigned i = 0; i < code_count; ++i) code_lengths[kOrder[i]] = in.Bits(3);
        CanonicalCode code_length_code(code_lengths, 19);
        unsigned literal_lengths[288] = {}, distance_lengths[32] = {};
        ReadLengths(in, code_length_code, literal_lengths, literal_count);
        ReadLengths(in, code_length_code, distance_lengths, distance_count);
        DecodeCompressed(in, out, CanonicalCode(literal_lengths, literal_count),
                         CanonicalCode(distance_lengths, distance_count));
      } else {
        throw Refused{};
      }
    }
  } catch (const Refused&) {
    result.refused = true;
  } catch (const Capped&) {
    result.capped = true;
  }
  return result;
}
