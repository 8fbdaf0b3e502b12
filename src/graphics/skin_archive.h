// SkinArchive: the named PNG pictures that the whole user interface is drawn
// from. They travel in the program's own executable, in the archive at the
// head of the appended data; the archive is opened once, each picture is
// decoded on first use, flattened onto the background it will be shown on,
// and kept for the rest of the run.
//
// A picture that is missing, or that cannot be read or decoded, is never an
// error for the caller: it gets a one-pixel white picture and painting goes
// on. Only a missing name is logged ("Picture %s not found").
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

#include "fs/file_stream.h"
#include "graphics/colours.h"
#include "graphics/image.h"
#include "graphics/skin_directory.h"
#include "handles/gdi_handles.h"

class SkinArchive {
 public:
  SkinArchive();

  // Reads the directory of the archive of `archive_size` bytes at
  // `archive_base` in `file_name`. A file that cannot be opened or read is
  // reported through LogError (raising AbortError) and leaves the archive
  // closed; so does an archive too small to hold its directory, silently.
  void Open(const char* file_name, std::uint64_t archive_base, std::uint64_t archive_size);
  void Close();
  bool IsOpen() const { return file_.IsOpen(); }
  // Changes with every Open and Close, which free the pictures handed out
  // before: a holder of pictures fetches them again when it changed.
  std::uint32_t Generation() const { return generation_; }

  // The slot number (1 to 500) of the picture, the highest slot of that name
  // ignoring case; 0 when there is none, reported with `report` set.
  int FindPicture(const char* name, bool report);

  // The picture flattened onto a vertical gradient from `bottom` to `top`
  // when both are opaque, or with its alpha kept otherwise. The archive owns
  // the image for the rest of the run: callers keep the reference.
  const Image& GetPicture(const char* name, Pixel bottom, Pixel top);
  // On the face grey of windows and controls.
  const Image& GetFacePicture(const char* name) { return GetPicture(name, FacePixel, FacePixel); }
  // On white, as the tree view shows its symbols.
  const Image& GetWhitePicture(const char* name) { return GetPicture(name, WhitePixel, WhitePixel); }
  // With its alpha channel, to be blended at paint time.
  const Image& GetAlphaPicture(const char* name) { return GetPicture(name, Transparent, Transparent); }

  // A cursor from the picture with the given hot spot; empty when the
  // picture is missing or the system refuses the cursor.
  CursorHandle MakeCursor(const char* name, int hot_spot_x, int hot_spot_y);

  // Decoded pictures held, one per name (any case) and background.
  std::size_t CacheCount() const { return cache_.size(); }

 private:
  struct CacheEntry {
    Image image;
    Pixel bottom;
    Pixel top;
    int slot;
  };

  // The picture of the slot as a 32-bit image; the fallback picture when it
  // cannot be read or decoded.
  Image LoadSlot(int slot);
  Image FallbackCopy() const;

  FileStream file_;
  SkinDirectory directory_;
  std::uint64_t base_ = 0;
  std::uint32_t generation_ = 1;
  // A deque keeps every handed-out image where it is while the cache grows.
  std::deque<CacheEntry> cache_;
  Image fallback_;
};

// The program's one archive.
SkinArchive& Skin();
