#include "skin_examine.h"

#include <string>

#include "default_skin.h"
#include "graphics/image.h"
#include "graphics/png_decoder.h"
#include "graphics/skin_directory.h"
#include "log/abort_error.h"
#include "png_codec.h"
#include "skin_table.h"
#include "text/case_fold.h"

namespace {

using Kind = SkinFinding::Kind;

std::string SizeText(std::uint32_t width, std::uint32_t height) {
  return std::to_string(width) + "x" + std::to_string(height);
}

bool InDefaultSkin(const char* name) {
  for (std::size_t i = 0; i < kDefaultSkinPictureCount; ++i) {
    if (EqualIgnoringCase(kDefaultSkinPictures[i].name, name)) return true;
  }
  return false;
}

// Empty when the name can stand in a directory slot.
std::string NameFault(const std::string& name) {
  if (name.empty()) return "a picture needs a name before \".png\"";
  if (name.size() > kSkinNameMaxLength) {
    return "the name has " + std::to_string(name.size()) + " characters; a picture name has at most " +
           std::to_string(kSkinNameMaxLength);
  }
  for (char c : name) {
    if (c < 0x20 || c > 0x7E) return "a picture name is printable ASCII only";
  }
  return {};
}

const SkinFile* EarlierAlike(const std::vector<SkinFile>& files, std::size_t index) {
  for (std::size_t i = 0; i < index; ++i) {
    if (EqualIgnoringCase(files[i].name.c_str(), files[index].name.c_str())) return &files[i];
  }
  return nullptr;
}

// Empty when the setup's decoder reads `png` to exactly `picture`.
std::string SetupDecoderFault(const std::vector<std::uint8_t>& png, const RgbaPicture& picture) {
  Image image;
  PngDecoder decoder(png.data(), png.size());
  try {
    decoder.Decode(image, nullptr);
  } catch (const AbortError&) {
    const char* reason = decoder.Failure();
    return std::string("the setup's decoder refuses it (") + (reason ? reason : "bad data") + ")";
  }
  if (image.Width() != picture.width || image.Height() != picture.height) {
    return "the setup's decoder reads it as " + SizeText(image.Width(), image.Height());
  }
  for (std::uint32_t y = 0; y < picture.height; ++y) {
    for (std::uint32_t x = 0; x < picture.width; ++x) {
      const std::uint8_t* bgra = image.Bgra(x, y);
      const std::uint8_t* rgba = &picture.pixels[(std::size_t{y} * picture.width + x) * 4];
      if (bgra == nullptr || bgra[0] != rgba[2] || bgra[1] != rgba[1] || bgra[2] != rgba[0] || bgra[3] != rgba[3]) {
        return "the setup's decoder reads other pixels than libpng at (" + std::to_string(x) + ", " +
               std::to_string(y) + ")";
      }
    }
  }
  return {};
}

SkinFinding Examine(const std::vector<SkinFile>& files, std::size_t index, std::vector<std::uint8_t>& stored) {
  const SkinFile& file = files[index];
  SkinFinding finding{Kind::kPicture, file.name, 0, 0, file.origin + ": "};
  auto fail = [&](Kind kind, const std::string& why) {
    finding.kind = kind;
    finding.text += why;
    return finding;
  };
  if (std::string fault = NameFault(file.name); !fault.empty()) return fail(Kind::kBadName, fault);
  if (const SkinFile* other = EarlierAlike(files, index)) {
    return fail(Kind::kDuplicateName, "the same name as " + other->origin + " apart from case");
  }

  RgbaPicture picture;
  std::string error;
  if (!ReadPngAsRgba(file.bytes, PngDecoder::kMaxSide, picture, error)) {
    return fail(Kind::kUndecodable, "not a readable PNG (" + error + ")");
  }
  finding.width = picture.width;
  finding.height = picture.height;
  std::string size = SizeText(picture.width, picture.height);

  const SkinTableEntry* entry = FindSkinTableEntry(file.name.c_str());
  if (entry != nullptr && (picture.width != entry->width || picture.height != entry->height)) {
    return fail(Kind::kWrongSize,
                size + ", but the setup draws \"" + entry->name + "\" at " + SizeText(entry->width, entry->height));
  }
  stored = WriteRgbaPng(picture);
  if (std::string fault = SetupDecoderFault(stored, picture); !fault.empty()) {
    return fail(Kind::kUndecodable, fault);
  }
  if (entry == nullptr) return fail(Kind::kNotInTable, size + ", not a picture the setup asks for");
  finding.text += size;
  return finding;
}

}  // namespace

std::vector<SkinFinding> ExaminePictures(const std::vector<SkinFile>& files, std::vector<AcceptedPicture>* accepted) {
  std::vector<SkinFinding> findings;
  for (std::size_t i = 0; i < files.size(); ++i) {
    std::vector<std::uint8_t> stored;
    findings.push_back(Examine(files, i, stored));
    if (accepted != nullptr && !findings.back().IsProblem()) accepted->push_back({&files[i], std::move(stored)});
  }
  return findings;
}

std::vector<SkinFinding> MissingPictures(const std::vector<SkinFile>& files) {
  std::vector<SkinFinding> findings;
  for (std::size_t i = 0; i < kSkinTableSize; ++i) {
    const SkinTableEntry& entry = kSkinTable[i];
    if (!InDefaultSkin(entry.name)) continue;
    bool present = false;
    for (const SkinFile& file : files) present = present || EqualIgnoringCase(file.name.c_str(), entry.name);
    if (!present) {
      findings.push_back({SkinFinding::Kind::kMissing, entry.name, 0, 0,
                          std::string("\"") + entry.name + "\" (" + SizeText(entry.width, entry.height) +
                              ") is missing: the default skin's picture is used"});
    }
  }
  return findings;
}
