// Guards the skin packer: the archive layout the setup reads back, that every
// stored picture decodes with the setup's decoder to its table size and its
// original pixels, how a folder and a header take the default skin's place,
// and the findings (and refusals) for a broken skin folder.
#include <gtest/gtest.h>
#include <unistd.h>

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
    for (std::size_t c = 1; c + 1 < chunks.size(); ++c) EXPECT_EQ(chunks[c], "IDAT") << "no extra chunks";
    EXPECT_EQ(png[24], 8) << "bit depth";
    EXPECT_EQ(png[25], 6) << "RGBA";
    EXPECT_EQ(png[28], 0) << "not interlaced";

    Image image;
    ASSERT_NO_THROW(DecodePng(image, png.data(), png.size()));
    EXPECT_EQ(image.Width(), entry.width);
    EXPECT_EQ(image.Height(), entry.height);
    EXPECT_EQ(image.BitsPerPixel(), 32u);
  }
}

TEST(SkinPack, BuiltInDefaultSkinIsTheCommittedFolder) {
  const std::string folder = std::string(TARNELL_SOURCE_DIR) + "/skin/default";
  EXPECT_EQ(PackSkinFolder(folder), PackDefaultSkin());
  for (const SkinFinding& finding : CheckSkinFolder(folder)) {
    EXPECT_EQ(finding.kind, Kind::kPicture) << finding.text;
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

TEST(SkinPack, MinimalArchiveIsAnEmptyDirectory) {
  Archive archive(MinimalSkinArchive());
  EXPECT_EQ(archive.bytes, Bytes(kSkinDirectorySize, 0));
  for (int number = 1; number <= kSkinSlotCount; ++number) {
    EXPECT_EQ(archive.directory.Slot(number).state, SkinSlotState::kUnused);
  }
}

}  // namespace
