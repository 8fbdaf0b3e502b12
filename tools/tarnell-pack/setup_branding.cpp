#include "setup_branding.h"

#include <algorithm>
#include <set>

#include "ansi_text.h"
#include "pack_error.h"
#include "pe_resources.h"
#include "setup_builder.h"

namespace {

constexpr std::uint16_t kEnglishUs = 0x0409;
constexpr std::uint16_t kUnicodeCodepage = 1200;
constexpr std::size_t kIconDirectorySize = 6;
constexpr std::size_t kIconEntrySize = 16;   // in an .ico file
constexpr std::size_t kGroupEntrySize = 14;  // in a group icon resource
constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;
constexpr std::uint32_t kFixedStructVersion = 0x00010000;
constexpr std::uint32_t kFlagsMask = 0x3F;
constexpr std::uint32_t kOsNtWindows32 = 0x00040004;
constexpr std::uint32_t kTypeApplication = 1;

std::uint32_t Get(const Bytes& bytes, std::size_t at, int width) { return LittleEndianAt(bytes, at, width); }
void Add(Bytes& out, std::uint32_t value, int width) { AppendLittleEndian(out, value, width); }

void Pad(Bytes& out) {
  while (out.size() % 4 != 0) out.push_back(0);
}

std::u16string Utf16(const std::string& utf8) {
  std::u16string text;
  for (std::size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    int more = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    std::uint32_t code = more == 0 ? c : c & (0x3F >> more);
    for (int k = 1; k <= more && i + k < utf8.size(); ++k) code = code << 6 | (utf8[i + k] & 0x3F);
    i += 1 + more;
    if (code >= 0x10000) {
      code -= 0x10000;
      text += static_cast<char16_t>(0xD800 + (code >> 10));
      text += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
    } else {
      text += static_cast<char16_t>(code);
    }
  }
  return text;
}

// One node of a version resource: length, value length, type, key, value
// and children, each aligned to 4 bytes.
Bytes VersionNode(const std::string& key, const Bytes& value, bool text_value, std::size_t value_length,
                  const std::vector<Bytes>& children) {
  Bytes out(6, 0);
  for (char16_t c : Utf16(key)) Add(out, c, 2);
  Add(out, 0, 2);
  Pad(out);
  out.insert(out.end(), value.begin(), value.end());
  for (const Bytes& child : children) {
    Pad(out);
    out.insert(out.end(), child.begin(), child.end());
  }
  out[0] = static_cast<std::uint8_t>(out.size());
  out[1] = static_cast<std::uint8_t>(out.size() >> 8);
  out[2] = static_cast<std::uint8_t>(value_length);
  out[3] = static_cast<std::uint8_t>(value_length >> 8);
  out[4] = text_value ? 1 : 0;
  return out;
}

Bytes StringNode(const std::string& key, const std::string& utf8) {
  Bytes value;
  std::u16string text = Utf16(utf8);
  for (char16_t c : text) Add(value, c, 2);
  Add(value, 0, 2);
  return VersionNode(key, value, true, text.size() + 1, {});
}

Bytes VersionInfo(const Manifest& manifest) {
  std::string product = AnsiToUtf8(manifest.product_name);
  std::string version = std::to_string(manifest.major) + "." + std::to_string(manifest.minor);
  std::uint32_t version_ms = std::uint32_t{manifest.major} << 16 | manifest.minor;
  Bytes fixed;
  for (std::uint32_t field : {kFixedSignature, kFixedStructVersion, version_ms, 0u, version_ms, 0u, kFlagsMask, 0u,
                              kOsNtWindows32, kTypeApplication, 0u, 0u, 0u}) {
    Add(fixed, field, 4);
  }
  std::vector<Bytes> strings = {StringNode("CompanyName", kCompanyName),
                                StringNode("FileDescription", product + " Setup"), StringNode("FileVersion", version),
                                StringNode("ProductName", product), StringNode("ProductVersion", version)};
  if (!manifest.copyright.empty()) strings.push_back(StringNode("LegalCopyright", manifest.copyright));
  Bytes table = VersionNode("040904B0", {}, true, 0, strings);
  Bytes string_info = VersionNode("StringFileInfo", {}, true, 0, {table});
  Bytes translation;
  Add(translation, kEnglishUs, 2);
  Add(translation, kUnicodeCodepage, 2);
  Bytes var = VersionNode("Translation", translation, false, translation.size(), {});
  Bytes var_info = VersionNode("VarFileInfo", {}, true, 0, {var});
  return VersionNode("VS_VERSION_INFO", fixed, false, fixed.size(), {string_info, var_info});
}

// Replaces icon group 1 with the pictures of the .ico file; `field` names
// the manifest's line in errors.
void ReplaceIcon(std::vector<Resource>& resources, const std::string& path, const std::string& field) {
  Bytes ico = ReadWholeFile(path, "icon file");
  auto fail = [&](const std::string& reason) -> PackError { return PackError(field + " " + reason); };
  if (ico.size() < kIconDirectorySize || Get(ico, 0, 2) != 0 || Get(ico, 2, 2) != 1 || Get(ico, 4, 2) == 0) {
    throw fail("is not an icon file (.ico)");
  }
  std::size_t count = Get(ico, 4, 2);
  if (ico.size() < kIconDirectorySize + count * kIconEntrySize) throw fail("is cut short");

  std::uint16_t language = kEnglishUs;
  std::set<std::uint16_t> old_icons, kept_icons;
  std::uint16_t highest = 0;
  for (const Resource& r : resources) {
    if (r.type.text.empty() && r.type.id == kResourceIcon && r.name.text.empty())
      highest = std::max(highest, r.name.id);
    if (!(r.type.text.empty() && r.type.id == kResourceGroupIcon) || r.data.size() < kIconDirectorySize) continue;
    bool replaced = r.name.text.empty() && r.name.id == 1;
    if (replaced) language = r.language;
    std::size_t entries =
        std::min<std::size_t>(Get(r.data, 4, 2), (r.data.size() - kIconDirectorySize) / kGroupEntrySize);
    for (std::size_t i = 0; i < entries; ++i) {
      std::uint16_t id = static_cast<std::uint16_t>(Get(r.data, kIconDirectorySize + i * kGroupEntrySize + 12, 2));
      (replaced ? old_icons : kept_icons).insert(id);
    }
  }
  // The pictures only the old group showed go with it.
  resources.erase(std::remove_if(resources.begin(), resources.end(),
                                 [&](const Resource& r) {
                                   if (!r.type.text.empty() || !r.name.text.empty()) return false;
                                   if (r.type.id == kResourceGroupIcon) return r.name.id == 1;
                                   return r.type.id == kResourceIcon && old_icons.count(r.name.id) &&
                                          !kept_icons.count(r.name.id);
                                 }),
                  resources.end());

  Resource group{{kResourceGroupIcon, {}}, {1, {}}, language, 0, {}};
  Add(group.data, 0, 2);
  Add(group.data, 1, 2);
  Add(group.data, static_cast<std::uint32_t>(count), 2);
  for (std::size_t i = 0; i < count; ++i) {
    std::size_t entry = kIconDirectorySize + i * kIconEntrySize;
    std::uint32_t size = Get(ico, entry + 8, 4), offset = Get(ico, entry + 12, 4);
    if (offset > ico.size() || ico.size() - offset < size || size == 0) throw fail("holds a picture outside the file");
    if (highest == 0xFFFF) throw fail("does not fit: the stub has no free icon number");
    std::uint16_t id = ++highest;
    Resource icon{{kResourceIcon, {}}, {id, {}}, language, 0, Bytes(ico.begin() + offset, ico.begin() + offset + size)};
    resources.push_back(std::move(icon));
    group.data.insert(group.data.end(), ico.begin() + static_cast<std::ptrdiff_t>(entry),
                      ico.begin() + static_cast<std::ptrdiff_t>(entry + 12));
    Add(group.data, id, 2);
  }
  resources.push_back(std::move(group));
}

}  // namespace

Bytes BrandSetupProgram(const Bytes& stub, const Manifest& manifest) {
  std::vector<Resource> resources = ReadResources(stub);
  if (manifest.setup_icon) ReplaceIcon(resources, *manifest.setup_icon, manifest.setup_icon_field);
  resources.erase(
      std::remove_if(resources.begin(), resources.end(),
                     [](const Resource& r) { return r.type.text.empty() && r.type.id == kResourceVersion; }),
      resources.end());
  resources.push_back(Resource{{kResourceVersion, {}}, {1, {}}, kEnglishUs, 0, VersionInfo(manifest)});
  return WithResources(stub, resources);
}
