// Reading, decoding and caching skin pictures, and making cursors of them.
//
// https://learn.microsoft.com/windows/win32/api/winuser/nf-winuser-createiconindirect
#include "graphics/skin_archive.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "graphics/compositing.h"
#include "graphics/png_decoder.h"
#include "log/logger.h"
#include "text/case_fold.h"

SkinArchive::SkinArchive() { (void)fallback_.InitWhitePixel(); }

void SkinArchive::Open(const char* file_name, std::uint64_t archive_base, std::uint64_t archive_size) {
  Close();
  base_ = archive_base;
  file_.SetPath(file_name);
  file_.Open(FileStream::Mode::kRead);
  file_.Seek(archive_base);
  // One read for the whole directory.
  auto bytes = std::make_unique<unsigned char[]>(kSkinDirectorySize);
  file_.Read(bytes.get(), kSkinDirectorySize);
  if (!directory_.Parse(bytes.get(), kSkinDirectorySize, archive_size)) file_.Close();
  ++generation_;
}

void SkinArchive::Close() {
  ++generation_;
  cache_.clear();
  file_.Close();
  directory_.Parse(nullptr, 0, 0);  // too short: every slot unused
}

int SkinArchive::FindPicture(const char* name, bool report) {
  const int slot = IsOpen() ? directory_.Find(name) : 0;
  if (slot == 0 && report) LogLineWith("Picture %s not found", name);
  return slot;
}

const Image& SkinArchive::GetPicture(const char* name, Pixel bottom, Pixel top) {
  // The key is the picture, whatever case the name was asked in, so asking
  // again never decodes again.
  for (const CacheEntry& entry : cache_) {
    if (entry.bottom == bottom && entry.top == top &&
        EqualIgnoringCase(directory_.Slot(entry.slot).name.c_str(), name)) {
      return entry.image;
    }
  }
  const int slot = FindPicture(name, true);
  if (slot == 0) return fallback_;
  Image image = LoadSlot(slot);
  FlattenOnGradient(image, bottom, top);
  cache_.push_back(CacheEntry{std::move(image), bottom, top, slot});
  return cache_.back().image;
}

CursorHandle SkinArchive::MakeCursor(const char* name, int hot_spot_x, int hot_spot_y) {
  const int slot = FindPicture(name, true);
  if (slot == 0) return CursorHandle{};
  const Image image = LoadSlot(slot);
  const auto width = static_cast<int>(image.Width());
  const auto height = static_cast<int>(image.Height());

  // CreateBitmap takes rows from the top; the image stores them from the bottom.
  std::vector<std::uint8_t> colour_bits(std::size_t(width) * height * 4);
  for (int y = 0; y < height; ++y) {
    std::memcpy(colour_bits.data() + std::size_t(y) * width * 4, image.Row(static_cast<std::uint32_t>(y)),
                std::size_t(width) * 4);
  }
  // An all-clear mask: the colour bitmap's alpha says what shows. Mask rows
  // are padded to 16 bits.
  std::vector<std::uint8_t> mask_bits(std::size_t((width + 15) / 16 * 2) * height, 0);
  BitmapObject colour(CreateBitmap(width, height, 1, 32, colour_bits.data()));
  BitmapObject mask(CreateBitmap(width, height, 1, 1, mask_bits.data()));
  if (!colour || !mask) return CursorHandle{};

  ICONINFO info{};
  info.fIcon = FALSE;
  info.xHotspot = static_cast<DWORD>(hot_spot_x);
  info.yHotspot = static_cast<DWORD>(hot_spot_y);
  info.hbmMask = mask.Get();
  info.hbmColor = colour.Get();
  return CursorHandle(CreateIconIndirect(&info));
}

Image SkinArchive::LoadSlot(int slot) {
  const SkinSlot& entry = directory_.Slot(slot);
  if (!entry.IsReadable()) return FallbackCopy();
  std::unique_ptr<std::uint8_t[]> bytes(new (std::nothrow) std::uint8_t[entry.size]);
  if (!bytes) return FallbackCopy();
  Image image;
  try {
    file_.Seek(base_ + entry.offset);
    file_.Read(bytes.get(), entry.size);
    DecodePng(image, bytes.get(), entry.size);
  } catch (const AbortError&) {
    return FallbackCopy();
  } catch (const std::bad_alloc&) {
    return FallbackCopy();
  }
  // Flattening, blending and cursors all work on 32-bit pixels.
  if (!ConvertTo32Bits(image)) return FallbackCopy();
  return image;
}

Image SkinArchive::FallbackCopy() const {
  Image copy;
  (void)copy.InitWhitePixel();
  return copy;
}

SkinArchive& Skin() {
  static SkinArchive archive;
  return archive;
}
