// The default skin as the setup itself shows it: every picture of skin/default
// packed into an archive, read back through the skin archive, flattened on
// face grey and drawn with the canvas, each under its name, onto one sheet
// written to the build folder as skin-sheet-setup.png for a person to look
// at. The test fails when any picture does not decode with the setup's own
// decoder.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "capture_logger.h"
#include "dib_surface.h"
#include "folder_listing.h"
#include "graphics/canvas.h"
#include "graphics/graphics_resources.h"
#include "graphics/image_drawing.h"
#include "graphics/skin_archive.h"
#include "graphics/skin_directory.h"
#include "test_folder.h"

namespace {

std::vector<std::string> SkinPictureNames() {
  std::vector<std::string> names;
  for (const FolderEntry& entry : EntriesMatching(SKIN_FOLDER "\\*.png")) {
    names.push_back(entry.name.substr(0, entry.name.size() - 4));
  }
  return names;
}

// The pictures in the last slots of the directory, as the builder lays them out.
std::string ArchiveOf(const std::vector<std::string>& names) {
  std::string archive(kSkinDirectorySize, '\0');
  int slot = kSkinSlotCount - static_cast<int>(names.size());
  for (const std::string& name : names) {
    const std::string png = ReadTestFile(std::string(SKIN_FOLDER) + "\\" + name + ".png");
    EXPECT_TRUE(WriteSkinSlot(reinterpret_cast<unsigned char*>(&archive[std::size_t(slot) * kSkinSlotSize]),
                              static_cast<std::uint32_t>(archive.size()), static_cast<std::uint32_t>(png.size()),
                              name.c_str()));
    archive += png;
    ++slot;
  }
  return archive;
}

// A plain PNG writer for the sheet: RGB rows in stored DEFLATE blocks.
class PngWriter {
 public:
  static std::string Encode(int width, int height, const std::vector<std::uint8_t>& rgb_rows) {
    std::string raw;
    for (int y = 0; y < height; ++y) {
      raw += '\0';  // no filter
      raw.append(reinterpret_cast<const char*>(&rgb_rows[std::size_t(y) * width * 3]), std::size_t(width) * 3);
    }
    std::string header;
    Append32(header, static_cast<std::uint32_t>(width));
    Append32(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + Chunk("IHDR", header) + Chunk("IDAT", Zlib(raw)) + Chunk("IEND", "");
  }

 private:
  static void Append32(std::string& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(value >> shift);
  }
  static std::uint32_t Crc(const std::string& bytes) {
    std::uint32_t crc = 0xFFFFFFFF;
    for (unsigned char byte : bytes) {
      crc ^= byte;
      for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320 & (0 - (crc & 1)));
    }
    return ~crc;
  }
  static std::string Chunk(const char* type, const std::string& data) {
    std::string chunk;
    Append32(chunk, static_cast<std::uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    chunk += typed;
    Append32(chunk, Crc(typed));
    return chunk;
  }
  static std::string Zlib(const std::string& raw) {
    std::string stream("\x78\x01", 2);
    std::size_t done = 0;
    do {
      const std::size_t length = std::min<std::size_t>(raw.size() - done, 65535);
      const auto length16 = static_cast<std::uint16_t>(length);
      stream += static_cast<char>(done + length == raw.size() ? 1 : 0);
      for (std::uint16_t half : {length16, static_cast<std::uint16_t>(~length16)}) {
        stream += static_cast<char>(half);
        stream += static_cast<char>(half >> 8);
      }
      stream += raw.substr(done, length);
      done += length;
    } while (done < raw.size());
    std::uint32_t a = 1, b = 0;
    for (unsigned char byte : raw) {
      a = (a + byte) % 65521;
      b = (b + a) % 65521;
    }
    Append32(stream, b << 16 | a);
    return stream;
  }
};

}  // namespace

TEST(SkinSheet, EveryDefaultPictureDecodesAndIsDrawnOnOneSheet) {
  const std::vector<std::string> names = SkinPictureNames();
  ASSERT_GE(names.size(), 90u);
  TestFolder folder;
  const std::string archive = ArchiveOf(names);
  const std::string path = folder / "setup.exe";
  WriteTestFile(path, std::string(4096, 'M') + archive);

  CaptureLogger log;
  ASSERT_TRUE(Graphics().Create());
  SkinArchive skin;
  skin.Open(path.c_str(), 4096, archive.size());

  constexpr int kWidth = 760, kMargin = 12, kGap = 14;
  const int line_height = Graphics().NormalFont().LineHeight();
  DibSurface sheet(kWidth, 900, FaceColour);
  Canvas canvas;
  canvas.Init(sheet.Dc(), sheet.Width(), sheet.Height());
  canvas.SetColours(BlackColour, FaceColour);
  canvas.SelectFont(Graphics().NormalFont());

  int x = kMargin, y = kMargin, row_height = 0;
  for (const std::string& name : names) {
    const Image& picture = skin.GetFacePicture(name.c_str());
    EXPECT_GT(picture.Width() * picture.Height(), 1u) << name << " fell back to the white pixel";
    const int text_width = TextWidth(Graphics().NormalFont(), name.c_str(), name.size());
    const int cell_width = std::max(static_cast<int>(picture.Width()), text_width);
    if (x + cell_width > kWidth - kMargin) {
      x = kMargin;
      y += row_height + kGap;
      row_height = 0;
    }
    DrawImage(canvas, x, y, picture);
    const int text_top = y + static_cast<int>(picture.Height()) + 2;
    canvas.TextOutRect(x, text_top, Rect{x, text_top, x + text_width, text_top + line_height}, name.c_str(),
                       name.size());
    row_height = std::max(row_height, static_cast<int>(picture.Height()) + 2 + line_height);
    x += cell_width + kGap;
  }
  canvas.RestoreObjects();
  EXPECT_TRUE(log.lines.empty());
  const int height = y + row_height + kMargin;
  ASSERT_LE(height, sheet.Height());

  std::vector<std::uint8_t> rgb;
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < kWidth; ++column) {
      const GdiColour colour = sheet.At(column, row);
      rgb.insert(rgb.end(), {RedOf(colour), GreenOf(colour), BlueOf(colour)});
    }
  }
  std::ofstream(SKIN_SHEET_PATH, std::ios::binary) << PngWriter::Encode(kWidth, height, rgb);
  Graphics().Release();
}
