// The skin archive over a real file under Wine: an archive behind some
// leading bytes, as it lies behind the executable image, holding PngSuite
// pictures (a corrupt one among them). Lookup ignoring case with the
// highest slot winning, flattening, the cache key, the white fallback for
// what cannot be read, and cursors made from pictures.
#include "graphics/skin_archive.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "capture_logger.h"
#include "graphics/compositing.h"
#include "graphics/skin_directory.h"
#include "test_folder.h"

namespace {

const std::string kSuite = std::string(TARNELL_TESTDATA) + "/pngsuite/";
constexpr std::uint64_t kBase = 777;

struct Stored {
  int slot;
  const char* name;
  const char* file;  // in the suite; null for a slot whose bytes lie outside the archive
};

const Stored kPictures[] = {
    {3, "picture", "basn2c08.png"},   // opaque RGB, hidden by slot 7
    {7, "Picture", "basn6a08.png"},   // RGBA, alpha 0 to 255
    {10, "palette", "basn3p08.png"},  // 8-bit palette
    {11, "broken", "xcrn0g04.png"},   // corrupt
    {12, "Ibeamcur", "basn2c08.png"}, {13, "fifteen_chars_x", "basn2c08.png"}, {400, "outside", nullptr},
};

// A picture's reference pixels (R, G, B, A from the top row) as Pixel values.
std::vector<Pixel> Reference(const char* file) {
  std::string name = file;
  const std::string rgba = ReadTestFile(kSuite + name.substr(0, name.size() - 4) + ".rgba");
  std::vector<Pixel> pixels;
  for (std::size_t i = 0; i + 3 < rgba.size(); i += 4) {
    pixels.push_back(Pixel{static_cast<std::uint8_t>(rgba[i + 2]), static_cast<std::uint8_t>(rgba[i + 1]),
                           static_cast<std::uint8_t>(rgba[i]), static_cast<std::uint8_t>(rgba[i + 3])});
  }
  return pixels;
}

std::vector<Pixel> Pixels(const Image& image) {
  std::vector<Pixel> pixels;
  for (std::uint32_t y = 0; y < image.Height(); ++y)
    for (std::uint32_t x = 0; x < image.Width(); ++x) pixels.push_back(PixelAt(image, x, y));
  return pixels;
}

bool IsWhitePixel(const Image& image) {
  return image.Width() == 1 && image.Height() == 1 && image.BitsPerPixel() == 32 && PixelAt(image, 0, 0) == WhitePixel;
}

class SkinArchiveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string archive(kSkinDirectorySize, '\0');
    for (const Stored& picture : kPictures) {
      unsigned char* slot = reinterpret_cast<unsigned char*>(&archive[(picture.slot - 1) * kSkinSlotSize]);
      if (!picture.file) {
        ASSERT_TRUE(WriteSkinSlot(slot, 0x7FFFFF00, 500, picture.name));
        continue;
      }
      const std::string png = ReadTestFile(kSuite + picture.file);
      ASSERT_FALSE(png.empty()) << picture.file;
      ASSERT_TRUE(WriteSkinSlot(slot, static_cast<std::uint32_t>(archive.size()),
                                static_cast<std::uint32_t>(png.size()), picture.name));
      archive += png;
    }
    archive_size_ = archive.size();
    WriteTestFile(path_, std::string(kBase, 'M') + archive + "trailing package data");
  }

  void Open() { archive_.Open(path_.c_str(), kBase, archive_size_); }

  TestFolder folder_;
  std::string path_ = folder_ / "setup.exe";
  std::uint64_t archive_size_ = 0;
  CaptureLogger log_;
  SkinArchive archive_;
};

}  // namespace

TEST_F(SkinArchiveTest, BeforeOpenEveryRequestIsReportedAndGetsTheWhitePixel) {
  EXPECT_TRUE(IsWhitePixel(archive_.GetFacePicture("picture")));
  EXPECT_FALSE(archive_.MakeCursor("picture", 1, 1));
  EXPECT_EQ(log_.lines, (std::vector<std::string>{"Picture picture not found", "Picture picture not found"}));
  EXPECT_EQ(archive_.CacheCount(), 0u);
}

TEST_F(SkinArchiveTest, FindIgnoresCaseAndTheHighestSlotWins) {
  Open();
  struct Case {
    const char* name;
    int slot;
  } cases[] = {
      {"picture", 7},          {"PICTURE", 7}, {"IBeamcur", 12}, {"palette", 10}, {"fifteen_chars_x", 13},
      {"fifteen_chars_x2", 0},  // longer than any slot name can be
      {"pictur", 0},           {"", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(archive_.FindPicture(c.name, false), c.slot) << c.name;
  EXPECT_TRUE(log_.lines.empty());
  EXPECT_EQ(archive_.FindPicture("missing", true), 0);
  EXPECT_EQ(log_.lines, (std::vector<std::string>{"Picture missing not found"}));
}

TEST_F(SkinArchiveTest, PicturesAreLaidOnTheirBackgroundOrKeepTheirAlpha) {
  Open();
  const std::vector<Pixel> reference = Reference("basn6a08.png");
  ASSERT_EQ(reference[0].alpha, 0);  // column 0 is transparent, from top to bottom
  ASSERT_EQ(reference[31 * 32].alpha, 0);

  EXPECT_EQ(Pixels(archive_.GetAlphaPicture("picture")), reference);

  const std::vector<Pixel> on_face = Pixels(archive_.GetFacePicture("picture"));
  for (std::size_t i = 0; i < reference.size(); ++i) {
    if (reference[i].alpha == 0) {
      EXPECT_EQ(on_face[i], FacePixel) << i;
    }
    if (reference[i].alpha == 255) {
      EXPECT_EQ(on_face[i], reference[i]) << i;
    }
    EXPECT_EQ(on_face[i].alpha, 255) << i;
  }

  // The title bar's gradient: grey at the bottom, white at the top.
  const Pixel grey = PixelOf(Grey(143));
  const Image& on_title = archive_.GetPicture("picture", grey, WhitePixel);
  EXPECT_EQ(PixelAt(on_title, 0, 0), WhitePixel);
  EXPECT_EQ(PixelAt(on_title, 0, 31), grey);
  EXPECT_TRUE(log_.lines.empty());
}

TEST_F(SkinArchiveTest, EachNameAndBackgroundIsDecodedOnce) {
  Open();
  const Image& face = archive_.GetFacePicture("picture");
  EXPECT_EQ(&archive_.GetFacePicture("picture"), &face);
  // Another case of the same name is the same picture: no second decode.
  EXPECT_EQ(&archive_.GetFacePicture("PICTURE"), &face);
  EXPECT_EQ(archive_.CacheCount(), 1u);

  const Image& white = archive_.GetWhitePicture("picture");
  const Image& alpha = archive_.GetAlphaPicture("picture");
  EXPECT_NE(&white, &face);
  EXPECT_NE(&alpha, &face);
  EXPECT_NE(&alpha, &white);
  EXPECT_EQ(archive_.CacheCount(), 3u);
  // Handed-out pictures stay where they are while the cache grows.
  for (int i = 0; i < 50; ++i) archive_.GetPicture("palette", PixelOf(Grey(static_cast<std::uint8_t>(i))), WhitePixel);
  EXPECT_EQ(&archive_.GetFacePicture("Picture"), &face);
  EXPECT_EQ(archive_.CacheCount(), 53u);
}

TEST_F(SkinArchiveTest, PalettePicturesArriveAsThirtyTwoBitImages) {
  Open();
  const Image& palette = archive_.GetAlphaPicture("palette");
  EXPECT_EQ(palette.BitsPerPixel(), 32u);
  EXPECT_EQ(Pixels(palette), Reference("basn3p08.png"));
}

TEST_F(SkinArchiveTest, UnreadablePicturesBecomeTheWhitePixelSilently) {
  Open();
  for (const char* name : {"broken", "outside"}) {
    const Image& picture = archive_.GetFacePicture(name);
    EXPECT_TRUE(IsWhitePixel(picture)) << name;
    EXPECT_EQ(&archive_.GetFacePicture(name), &picture) << name;
  }
  EXPECT_EQ(archive_.CacheCount(), 2u);
  EXPECT_TRUE(log_.lines.empty());
  // The archive goes on serving good pictures.
  EXPECT_EQ(archive_.GetAlphaPicture("palette").Width(), 32u);
}

TEST_F(SkinArchiveTest, AnArchiveTooSmallForItsDirectoryStaysClosed) {
  archive_.Open(path_.c_str(), kBase, kSkinDirectorySize - 1);
  EXPECT_FALSE(archive_.IsOpen());
  EXPECT_TRUE(IsWhitePixel(archive_.GetFacePicture("picture")));
  EXPECT_EQ(log_.lines, (std::vector<std::string>{"Picture picture not found"}));
}

TEST_F(SkinArchiveTest, AMissingFileIsReportedAndLeavesTheArchiveClosed) {
  const std::string missing = folder_ / "missing.exe";
  EXPECT_THROW(archive_.Open(missing.c_str(), kBase, archive_size_), AbortError);
  EXPECT_EQ(log_.errors.size(), 1u);
  EXPECT_FALSE(archive_.IsOpen());
}

TEST_F(SkinArchiveTest, CursorsKeepTheirHotSpotAndTheirTopRow) {
  Open();
  CursorHandle cursor = archive_.MakeCursor("IBeamcur", 10, 11);
  ASSERT_TRUE(cursor);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(cursor.Get(), &info));
  BitmapObject colour(info.hbmColor);
  BitmapObject mask(info.hbmMask);
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 10u);
  EXPECT_EQ(info.yHotspot, 11u);
  ASSERT_TRUE(colour);

  // Read the colour bitmap back from the top and compare with the picture.
  BITMAPINFO request{};
  request.bmiHeader.biSize = sizeof request.bmiHeader;
  request.bmiHeader.biWidth = 32;
  request.bmiHeader.biHeight = -32;
  request.bmiHeader.biPlanes = 1;
  request.bmiHeader.biBitCount = 32;
  std::vector<Pixel> bits(32 * 32);
  OwnedDc dc(CreateCompatibleDC(nullptr));
  ASSERT_EQ(GetDIBits(dc.Get(), colour.Get(), 0, 32, bits.data(), &request, DIB_RGB_COLORS), 32);
  const std::vector<Pixel> reference = Reference("basn2c08.png");
  for (std::size_t i : {std::size_t{0}, std::size_t{31}, std::size_t{31 * 32}, std::size_t{32 * 32 - 1}}) {
    EXPECT_EQ(bits[i].red, reference[i].red) << i;
    EXPECT_EQ(bits[i].green, reference[i].green) << i;
    EXPECT_EQ(bits[i].blue, reference[i].blue) << i;
  }

  EXPECT_FALSE(archive_.MakeCursor("nocursor", 0, 0));
  EXPECT_EQ(log_.lines, (std::vector<std::string>{"Picture nocursor not found"}));
}
