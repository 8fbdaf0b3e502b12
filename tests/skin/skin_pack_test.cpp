// Guards the skin packer: the archive layout the setup reads back, that every
// stored picture decodes with the setup's decoder to its table size and its
// original pixels, how a folder and a header take the default skin's place,
// and the findings (and refusals) for a broken skin folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "graphics/image.h"
#include "graphics/png_decoder.h"
#include "graphics/skin_directory.h"
#include "png_codec.h"
#include "skin_pack.h"
#include "skin_table.h"
#include "stream_encoder.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<std::uint8_t>;
using Kind = SkinFinding::Kind;

// The pictures the default skin carries: all that the setup shows.
constexpr int kSetupPictureCount = 90;

class TempFolder {
 public:
  TempFolder() {
    const char* root = std::getenv("TARNELL_TEST_TMP");
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = fs::path(root ? root : fs::temp_directory_path().string()) /
            ("skinpack-" + std::string(test->name()) + "-" + std::to_string(getpid()));
    fs::remove_all(path_);
    fs::create_directories(path_);
  }
  ~TempFolder() { fs::remove_all(path_); }

  std::string operator/(const std::string& name) const { return (path_ / name).string(); }
  std::string Path() const { return path_.string(); }

 private:
  fs::path path_;
};

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

Bytes SolidPng(std::uint32_t width, std::uint32_t height, std::uint8_t red) {
  RgbaPicture picture;
  picture.width = width;
  picture.height = height;
  for (std::uint32_t i = 0; i < width * height; ++i) picture.pixels.insert(picture.pixels.end(), {red, 20, 30, 255});
  return WriteRgbaPng(picture);
}

struct Archive {
  Bytes bytes;
  SkinDirectory directory;

  explicit Archive(Bytes archive) : bytes(std::move(archive)) {
    EXPECT_TRUE(directory.Parse(bytes.data(), bytes.size(), bytes.size()));
  }
  Bytes Png(const char* name) const {
    int number = directory.Find(name);
    EXPECT_NE(number, 0) << name;
    if (number == 0) return {};
    const SkinSlot& slot = directory.Slot(number);
    EXPECT_TRUE(slot.IsReadable()) << name;
    return Bytes(bytes.begin() + slot.offset, bytes.begin() + slot.offset + slot.size);
  }
  RgbaPicture Picture(const char* name) const {
    RgbaPicture picture;
    std::string error;
    EXPECT_TRUE(ReadPngAsRgba(Png(name), PngDecoder::kMaxSide, picture, error)) << name << ": " << error;
    return picture;
  }
};

// Chunk types in file order; empty when the signature is wrong.
std::vector<std::string> ChunkTypes(const Bytes& png) {
  static const std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (png.size() < 8 || !std::equal(kSignature, kSignature + 8, png.begin())) return {};
  std::vector<std::string> types;
  for (std::size_t at = 8; at + 8 <= png.size();) {
    std::size_t length = std::size_t{png[at]} << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
    types.emplace_back(png.begin() + at + 4, png.begin() + at + 8);
    at += 12 + length;
  }
  return types;
}

TEST(SkinPack, DefaultSkinFillsTheDirectoryInNameOrder) {
  Archive archive(PackDefaultSkin());
  std::string previous;
  std::uint32_t next_offset = kSkinDirectorySize;
  int used = 0;
  for (int number = 1; number <= kSkinSlotCount; ++number) {
    const SkinSlot& slot = archive.directory.Slot(number);
    if (slot.state == SkinSlotState::kUnused) continue;
    ++used;
    EXPECT_EQ(number, used) << "pictures take the slots from 1 without gaps";
    EXPECT_TRUE(slot.IsReadable()) << slot.name.c_str();
    EXPECT_LT(previous, slot.name.c_str());
    EXPECT_EQ(slot.offset, next_offset) << "PNGs lie back to back behind the directory";
    previous = slot.name.c_str();
    next_offset = slot.offset + slot.size;
  }
  // Every picture the setup shows; not the radio buttons nor the maximise
  // and restore buttons, which belong to widgets no setup shows.
  EXPECT_EQ(used, kSetupPictureCount);
  EXPECT_EQ(archive.directory.Find("radiopat0"), 0);
  EXPECT_EQ(archive.directory.Find("maximizebmp1"), 0);
  EXPECT_EQ(next_offset, archive.bytes.size());
}

TEST(SkinPack, EveryDefaultPictureDecodesWithTheSetupsDecoderAtItsTableSize) {
  Archive archive(PackDefaultSkin());
  for (std::size_t i = 0; i < kSkinTableSize; ++i) {
    const SkinTableEntry& entry = kSkinTable[i];
    if (archive.directory.Find(entry.name) == 0) continue;
    SCOPED_TRACE(entry.name);
    Bytes png = archive.Png(entry.name);
    std::vector<std::string> chunks = ChunkTypes(png);
    ASSERT_GE(chunks.size(), 3u);
    EXPECT_EQ(chunks.front(), "IHDR");
    EXPECT_EQ(chunks.back(), "IEND");
    const bool palette = png[25] == 3;
    for (std::size_t c = 1; c + 1 < chunks.size(); ++c) {
      const bool palette_chunk = palette && c <= 2 && (chunks[c] == "PLTE" || chunks[c] == "tRNS");
      EXPECT_TRUE(chunks[c] == "IDAT" || palette_chunk) << "no extra chunks: " << chunks[c];
    }
    EXPECT_TRUE(png[24] == 8 || palette) << "bit depth";
    EXPECT_TRUE(png[25] == 6 || png[25] == 2 || png[25] == 4 || palette) << "RGBA, RGB, grey and alpha or a palette";
    EXPECT_EQ(png[28], 0) << "not interlaced";

    Image image;
    ASSERT_NO_THROW(DecodePng(image, png.data(), png.size()));
    EXPECT_EQ(image.Width(), entry.width);
    EXPECT_EQ(image.Height(), entry.height);
    EXPECT_EQ(image.BitsPerPixel(), palette ? 8u : 32u);
  }
}

TEST(SkinPack, BuiltInDefaultSkinIsTheCommittedFolder) {
  const std::string folder = std::string(TARNELL_SOURCE_DIR) + "/skin/default";
  EXPECT_EQ(PackSkinFolder(folder), PackDefaultSkin());
  for (const SkinFinding& finding : CheckSkinFolder(folder)) {
    EXPECT_EQ(finding.kind, Kind::kPicture) << finding.text;
  }
}

// A pattern no row filter predicts, so that the fewest bits a pixel pack smallest.
std::uint32_t Scattered(std::uint32_t i) { return i * 2654435761u >> 13; }

TEST(SkinPack, StoresANarrowerLayoutOnlyWhereItKeepsThePixels) {
  // Pixel i of a 30 x 20 picture; more than 256 colours unless said.
  using Colour = std::array<std::uint8_t, 4>;
  struct Case {
    const char* what;
    Colour (*pixel)(std::uint32_t i);
    std::uint8_t colour_type;
  };
  const Case cases[] = {
      {"colours with alpha",
       [](std::uint32_t i) {
         return Colour{std::uint8_t(i), std::uint8_t(i / 3), 30, 200};
       },
       6},
      {"opaque colours",
       [](std::uint32_t i) {
         return Colour{std::uint8_t(i), std::uint8_t(i / 3), 30, 255};
       },
       2},
      {"greys with alpha",
       [](std::uint32_t i) {
         return Colour{std::uint8_t(i), std::uint8_t(i), std::uint8_t(i), std::uint8_t(i / 3)};
       },
       4},
      {"two colours, one translucent",
       [](std::uint32_t i) {
         return Scattered(i) % 2 == 0 ? Colour{200, 20, 30, 255} : Colour{10, 90, 250, 40};
       },
       3},
      {"twenty opaque colours",
       [](std::uint32_t i) {
         const auto k = static_cast<std::uint8_t>(Scattered(i) % 20);
         return Colour{std::uint8_t(k * 9), std::uint8_t(k * 5 + 7), std::uint8_t(250 - k * 11), 255};
       },
       3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RgbaPicture picture;
    picture.width = 30;
    picture.height = 20;
    for (std::uint32_t i = 0; i < picture.width * picture.height; ++i) {
      const Colour pixel = c.pixel(i);
      picture.pixels.insert(picture.pixels.end(), pixel.begin(), pixel.end());
    }
    Bytes png = WriteRgbaPng(picture);
    ASSERT_GT(png.size(), 26u);
    EXPECT_EQ(png[25], c.colour_type);

    Image image;
    ASSERT_NO_THROW(DecodePng(image, png.data(), png.size()));
    for (std::uint32_t y = 0; y < picture.height; ++y) {
      for (std::uint32_t x = 0; x < picture.width; ++x) {
        const std::uint8_t* bgra = image.Bgra(x, y);
        const std::uint8_t* rgba = &picture.pixels[(std::size_t{y} * picture.width + x) * 4];
        ASSERT_EQ((std::array<std::uint8_t, 4>{bgra[2], bgra[1], bgra[0], bgra[3]}),
                  (std::array<std::uint8_t, 4>{rgba[0], rgba[1], rgba[2], rgba[3]}))
            << x << ", " << y;
      }
    }
  }
}

TEST(SkinPack, StoringAgainKeepsThePixelsOfEveryPngKind) {
  // Palette, interlaced 16-bit RGBA, RGB with a tRNS key colour, 16-bit grey.
  const std::map<std::string, std::string> suite = {
      {"pal", "basn3p08"}, {"adam16", "basi6a16"}, {"keyed", "tbrn2c08"}, {"grey16", "basn0g16"}};
  TempFolder folder;
  const std::string testdata = std::string(TARNELL_TESTDATA) + "/pngsuite/";
  for (const auto& [name, file] : suite) fs::copy_file(testdata + file + ".png", folder / (name + ".png"));

  Archive archive(PackSkinFolder(folder.Path()));
  for (const auto& [name, file] : suite) {
    SCOPED_TRACE(file);
    RgbaPicture picture = archive.Picture(name.c_str());
    EXPECT_EQ(picture.pixels, ReadFile(testdata + file + ".rgba"));
  }
}

TEST(SkinPack, FolderAndHeaderTakeTheDefaultPicturesPlace) {
  TempFolder folder;
  WriteFile(folder / "CHECK1.png", SolidPng(13, 15, 200));
  WriteFile(folder / "insthead.png", SolidPng(500, 70, 100));
  const std::string header = folder / "banner.bin";
  WriteFile(header, SolidPng(500, 70, 150));

  Archive archive(PackSkinFolder(folder.Path(), header));
  EXPECT_STREQ(archive.directory.Slot(archive.directory.Find("check1")).name.c_str(), "CHECK1");
  EXPECT_EQ(archive.Picture("check1").pixels[0], 200);
  EXPECT_EQ(archive.Picture("insthead").pixels[0], 150) << "the header given on its own wins";
  EXPECT_EQ(archive.Png("check2"), Archive(PackDefaultSkin()).Png("check2"));
  int used = 0;
  for (int number = 1; number <= kSkinSlotCount; ++number) used += archive.directory.Slot(number).IsReadable();
  EXPECT_EQ(used, kSetupPictureCount) << "no picture twice";

  Archive with_header(PackDefaultSkin(header));
  EXPECT_EQ(with_header.Picture("insthead").pixels[0], 150);
}

TEST(SkinPack, HeaderOfAnotherSizeIsRefused) {
  TempFolder folder;
  WriteFile(folder / "head.png", SolidPng(500, 60, 10));
  try {
    PackDefaultSkin(folder / "head.png");
    FAIL() << "packed a header of 500x60";
  } catch (const SkinPackError& error) {
    EXPECT_NE(std::string(error.what()).find("500x60, but the setup draws \"insthead\" at 500x70"), std::string::npos)
        << error.what();
  }
}

TEST(SkinPack, CheckReportsEveryKindOfFault) {
  TempFolder folder;
  WriteFile(folder / "check1.png", SolidPng(14, 15, 0));
  WriteFile(folder / "check2.png", {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13, 'I', 'H'});
  WriteFile(folder / "Check3.png", SolidPng(13, 15, 0));
  WriteFile(folder / "check3.png", SolidPng(13, 15, 0));
  WriteFile(folder / "check4.png", SolidPng(13, 15, 0));
  WriteFile(folder / "a16characterName.png", SolidPng(4, 4, 0));
  WriteFile(folder / "fifteencharname.png", SolidPng(4, 4, 0));
  WriteFile(folder / "notes.txt", {'x'});

  std::map<std::string, SkinFinding> found;
  for (const SkinFinding& finding : CheckSkinFolder(folder.Path())) found.emplace(finding.name, finding);
  const std::map<std::string, Kind> expected = {
      {"check1", Kind::kWrongSize},           {"check2", Kind::kUndecodable}, {"Check3", Kind::kPicture},
      {"check3", Kind::kDuplicateName},       {"check4", Kind::kPicture},     {"a16characterName", Kind::kBadName},
      {"fifteencharname", Kind::kNotInTable}, {"check5", Kind::kMissing},     {"insthead", Kind::kMissing},
  };
  for (const auto& [name, kind] : expected) {
    ASSERT_EQ(found.count(name), 1u) << name;
    EXPECT_EQ(found.at(name).kind, kind) << found.at(name).text;
  }
  EXPECT_EQ(found.count("notes"), 0u);
  EXPECT_EQ(found.at("check1").width, 14u);
  EXPECT_EQ(found.at("check4").text, folder / "check4.png" + ": 13x15");
  EXPECT_NE(found.at("a16characterName").text.find("at most 15"), std::string::npos);

  try {
    PackSkinFolder(folder.Path());
    FAIL() << "packed a broken skin folder";
  } catch (const SkinPackError& error) {
    EXPECT_NE(std::string(error.what()).find("(and 3 more problems)"), std::string::npos) << error.what();
  }
}

// DEFLATE bits, first bit lowest; Huffman codes go most significant bit first.
struct BitWriter {
  Bytes bytes;
  int used = 8;
  void Bits(std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i) {
      if (used == 8) bytes.push_back(0), used = 0;
      bytes.back() |= static_cast<std::uint8_t>(((value >> i) & 1) << used++);
    }
  }
  void Code(std::uint32_t code, int length) {
    for (int i = length - 1; i >= 0; --i) Bits(code >> i, 1);
  }
};

// `inner`'s stream behind an empty dynamic block whose code lengths are
// literal 0 and end-of-block (1 bit each), literal 257, distances 0 and 1
// (none) and distances 2 and 3 (1 bit each). With `crossing`, the three
// zeros from literal 257 on are one repeat running into the distance
// lengths: valid DEFLATE, which zlib reads, but not for the setup's decoder.
StreamEncoder BehindEmptyBlock(bool crossing, const StreamEncoder& inner) {
  return {
      crossing ? "crossing run" : "separate runs", [crossing, inner](const Bytes& data) {
        // Code-length codes: 0 -> 00, 1 -> 01, 17 -> 10, 18 -> 11 (without
        // runs across: 1 -> 0, 17 -> 10, 18 -> 11).
        struct Code {
          std::uint32_t bits;
          int length;
        };
        const Code zero{0, 2};
        const Code one = crossing ? Code{0, 1} : Code{1, 2};
        const Code seventeen{2, 2};
        const Code eighteen{3, 2};
        BitWriter out;
        out.Bits(0, 1);          // not the final block
        out.Bits(2, 2);          // dynamic codes
        out.Bits(258 - 257, 5);  // literal/length lengths
        out.Bits(4 - 1, 5);      // distance lengths
        out.Bits(18 - 4, 4);     // code-length lengths, up to symbol 1's
        const int order[18] = {16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1};
        for (int symbol : order) {
          int length = symbol == 17 || symbol == 18 ? 2 : symbol == 1 ? one.length : symbol == 0 && !crossing ? 2 : 0;
          out.Bits(static_cast<std::uint32_t>(length), 3);
        }
        out.Code(one.bits, one.length);  // literal 0
        out.Code(eighteen.bits, 2), out.Bits(138 - 11, 7);
        out.Code(eighteen.bits, 2), out.Bits(117 - 11, 7);  // literals 1 to 255
        out.Code(one.bits, one.length);                     // end of block
        if (crossing) {
          out.Code(seventeen.bits, 2), out.Bits(3 - 3, 3);  // literal 257, distances 0 and 1
        } else {
          for (int i = 0; i < 3; ++i) out.Code(zero.bits, 2);
        }
        out.Code(one.bits, one.length), out.Code(one.bits, one.length);  // distances 2 and 3
        out.Code(1, 1);                                                  // end of block
        for (std::uint8_t byte : inner.encode(data)) out.Bits(byte, 8);
        return out.bytes;
      }};
}

bool SetupReads(const Bytes& png, const RgbaPicture& picture) {
  Image image;
  PngDecoder decoder(png.data(), png.size());
  decoder.Decode(image, nullptr);
  for (std::uint32_t y = 0; y < picture.height; ++y) {
    for (std::uint32_t x = 0; x < picture.width; ++x) {
      const std::uint8_t* bgra = image.Bgra(x, y);
      const std::uint8_t* rgba = &picture.pixels[(std::size_t{y} * picture.width + x) * 4];
      if (bgra[0] != rgba[2] || bgra[1] != rgba[1] || bgra[2] != rgba[0] || bgra[3] != rgba[3]) return false;
    }
  }
  return image.Width() == picture.width && image.Height() == picture.height;
}

// A re-packed picture stream the setup's decoder refuses is not stored:
// libpng's stream is, and the picture is packed all the same.
TEST(SkinPack, RepackedStreamTheSetupRefusesGivesWayToLibpngs) {
  RgbaPicture picture;
  picture.width = 96;
  picture.height = 40;
  for (std::uint32_t y = 0; y < picture.height; ++y) {
    for (std::uint32_t x = 0; x < picture.width; ++x) {
      auto shade = static_cast<std::uint8_t>((x * 7 + y * 3) ^ (x * y / 5));
      picture.pixels.insert(picture.pixels.end(), {shade, static_cast<std::uint8_t>(x * 2), 90, 255});
    }
  }
  const StreamEncoder libdeflate = LibdeflateEncoder(12);
  const StreamEncoder refusing{"refusing", [](const Bytes&) { return Bytes{}; }};
  Bytes sample(5000);
  for (std::size_t i = 0; i < sample.size(); ++i) sample[i] = static_cast<std::uint8_t>(i % 251 * i / 97);
  ASSERT_TRUE(DecodesTo(BehindEmptyBlock(false, libdeflate).encode(sample), sample));
  ASSERT_FALSE(DecodesTo(BehindEmptyBlock(true, libdeflate).encode(sample), sample));

  const Bytes libpngs = WriteRgbaPng(picture, refusing);
  const Bytes separate = WriteRgbaPng(picture, BehindEmptyBlock(false, libdeflate));
  ASSERT_LT(separate.size(), libpngs.size()) << "a stream of this size is taken when the setup reads it";
  const Bytes crossing = WriteRgbaPng(picture, BehindEmptyBlock(true, libdeflate));
  EXPECT_EQ(crossing, libpngs);
  EXPECT_TRUE(SetupReads(crossing, picture));
  EXPECT_TRUE(SetupReads(separate, picture));
}

TEST(SkinPack, MinimalArchiveIsAnEmptyDirectory) {
  Archive archive(MinimalSkinArchive());
  EXPECT_EQ(archive.bytes, Bytes(kSkinDirectorySize, 0));
  for (int number = 1; number <= kSkinSlotCount; ++number) {
    EXPECT_EQ(archive.directory.Slot(number).state, SkinSlotState::kUnused);
  }
}

}  // namespace
