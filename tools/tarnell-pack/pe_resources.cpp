#include "pe_resources.h"

#include <algorithm>
#include <map>

#include "pack_error.h"

namespace {

constexpr std::size_t kSectionHeaderSize = 40;
constexpr std::size_t kDirectoryHeaderSize = 16;
constexpr std::size_t kDirectoryEntrySize = 8;
constexpr std::size_t kDataEntrySize = 16;
constexpr std::uint32_t kHighBit = 0x80000000;
constexpr std::uint32_t kResourceDirectoryEntry = 2;
constexpr std::uint32_t kInitializedData = 0x00000040;
constexpr std::uint32_t kMemoryRead = 0x40000000;
constexpr int kMaxDepth = 3;

std::uint32_t Get(const Bytes& bytes, std::size_t at, int width) { return LittleEndianAt(bytes, at, width); }

void Put(Bytes& bytes, std::size_t at, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t Align(std::uint32_t value, std::uint32_t alignment) {
  return (value + alignment - 1) / alignment * alignment;
}

// Where the parts of the PE headers lie.
struct Layout {
  std::size_t optional = 0;
  std::size_t sections = 0;
  std::size_t section_count = 0;
  std::size_t resource_entry = 0;  // the data directory's resource entry

  explicit Layout(const Bytes& image) {
    if (image.size() < 0x40 || image[0] != 'M' || image[1] != 'Z')
      throw PackError("the stub is not a Windows program image");
    std::size_t pe = Get(image, 0x3C, 4);
    if (Get(image, pe, 4) != 0x4550) throw PackError("the stub is not a Windows program image");
    section_count = Get(image, pe + 6, 2);
    optional = pe + 24;
    sections = optional + Get(image, pe + 20, 2);
    std::uint32_t magic = Get(image, optional, 2);
    std::size_t directories = magic == 0x20B ? 112 : 96;
    if (Get(image, optional + directories - 4, 4) <= kResourceDirectoryEntry) {
      throw PackError("the stub's data directory has no resource entry");
    }
    resource_entry = optional + directories + kResourceDirectoryEntry * 8;
  }
};

struct Reader {
  const Bytes& image;
  std::size_t base;   // file offset of the resource section's start
  std::uint32_t rva;  // its address
  std::size_t end;    // file offset of its end
  std::vector<Resource> found;

  std::size_t Offset(std::uint32_t relative, std::size_t width) const {
    if (relative > end - base || end - base - relative < width) throw PackError("the stub's resource tree is damaged");
    return base + relative;
  }

  ResourceName Name(std::uint32_t field) const {
    ResourceName name;
    if (!(field & kHighBit)) {
      name.id = static_cast<std::uint16_t>(field);
      return name;
    }
    std::size_t at = Offset(field & ~kHighBit, 2);
    std::size_t length = Get(image, at, 2);
    Offset((field & ~kHighBit) + 2, length * 2);
    for (std::size_t i = 0; i < length; ++i) name.text += static_cast<char16_t>(Get(image, at + 2 + 2 * i, 2));
    return name;
  }

  void Directory(std::uint32_t relative, int depth, Resource path) {
    std::size_t at = Offset(relative, kDirectoryHeaderSize);
    std::size_t count = Get(image, at + 12, 2) + Get(image, at + 14, 2);
    Offset(relative, kDirectoryHeaderSize + count * kDirectoryEntrySize);
    for (std::size_t i = 0; i < count; ++i) {
      std::size_t entry = at + kDirectoryHeaderSize + i * kDirectoryEntrySize;
      std::uint32_t name = Get(image, entry, 4), target = Get(image, entry + 4, 4);
      Resource next = path;
      if (depth == 0) next.type = Name(name);
      if (depth == 1) next.name = Name(name);
      if (depth == 2) next.language = static_cast<std::uint16_t>(name);
      bool is_directory = (target & kHighBit) != 0;
      if (is_directory != (depth < kMaxDepth - 1)) throw PackError("the stub's resource tree is damaged");
      if (is_directory) {
        Directory(target & ~kHighBit, depth + 1, next);
        continue;
      }
      std::size_t data = Offset(target, kDataEntrySize);
      std::uint32_t data_rva = Get(image, data, 4), size = Get(image, data + 4, 4);
      next.codepage = Get(image, data + 8, 4);
      if (data_rva < rva) throw PackError("the stub's resource tree is damaged");
      std::size_t bytes = Offset(data_rva - rva, size);
      next.file_offset = bytes;
      next.data.assign(image.begin() + static_cast<std::ptrdiff_t>(bytes),
                       image.begin() + static_cast<std::ptrdiff_t>(bytes + size));
      found.push_back(std::move(next));
    }
  }
};

// Sorted as the loader searches: names (by text) before numbers.
bool Before(const ResourceName& a, const ResourceName& b) {
  if (a.text.empty() != b.text.empty()) return !a.text.empty();
  return a.text.empty() ? a.id < b.id : a.text < b.text;
}

// Builds the section: directories, data entries, name texts, then the data.
class Writer {
 public:
  Writer(const std::vector<Resource>& resources, std::uint32_t rva) : resources_(resources), rva_(rva) {}

  Bytes Section() {
    std::vector<std::size_t> order(resources_.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
      const Resource &x = resources_[a], &y = resources_[b];
      if (!(x.type == y.type)) return Before(x.type, y.type);
      if (!(x.name == y.name)) return Before(x.name, y.name);
      return x.language < y.language;
    });
    // Pass 1 sizes the directories; pass 2 writes them.
    std::size_t directories = DirectoriesSize(order);
    std::size_t entries = directories;
    std::size_t texts = entries + order.size() * kDataEntrySize;
    std::size_t text_size = 0;
    for (const Resource& r : resources_) text_size += TextSize(r.type) + TextSize(r.name);
    std::size_t data = Align(static_cast<std::uint32_t>(texts + text_size), 8);
    std::size_t total = data;
    for (const Resource& r : resources_) total = Align(static_cast<std::uint32_t>(total + r.data.size()), 8);
    out_.assign(total, 0);
    next_directory_ = 0;
    next_entry_ = entries;
    next_text_ = texts;
    next_data_ = data;
    WriteLevel(order, 0);
    return out_;
  }

 private:
  static std::size_t TextSize(const ResourceName& name) { return name.text.empty() ? 0 : 2 + 2 * name.text.size(); }

  const ResourceName& Key(std::size_t index, int depth) const {
    return depth == 0 ? resources_[index].type : resources_[index].name;
  }
  bool Same(std::size_t a, std::size_t b, int depth) const {
    if (depth == 2) return resources_[a].language == resources_[b].language;
    return Key(a, depth) == Key(b, depth);
  }

  // The groups of `items` that share the key of `depth`.
  std::vector<std::vector<std::size_t>> Groups(const std::vector<std::size_t>& items, int depth) const {
    std::vector<std::vector<std::size_t>> groups;
    for (std::size_t item : items) {
      if (groups.empty() || !Same(groups.back().front(), item, depth)) groups.emplace_back();
      groups.back().push_back(item);
    }
    return groups;
  }

  std::size_t DirectoriesSize(const std::vector<std::size_t>& items, int depth = 0) const {
    std::vector<std::vector<std::size_t>> groups = Groups(items, depth);
    std::size_t size = kDirectoryHeaderSize + groups.size() * kDirectoryEntrySize;
    if (depth < kMaxDepth - 1) {
      for (const auto& group : groups) size += DirectoriesSize(group, depth + 1);
    }
    return size;
  }

  // Writes one directory at the next free place; returns its offset.
  std::uint32_t WriteLevel(const std::vector<std::size_t>& items, int depth) {
    std::vector<std::vector<std::size_t>> groups = Groups(items, depth);
    std::size_t at = next_directory_;
    next_directory_ += kDirectoryHeaderSize + groups.size() * kDirectoryEntrySize;
    std::size_t named = 0;
    for (const auto& group : groups) named += depth < 2 && !Key(group.front(), depth).text.empty();
    Put(out_, at + 12, static_cast<std::uint32_t>(named), 2);
    Put(out_, at + 14, static_cast<std::uint32_t>(groups.size() - named), 2);
    for (std::size_t i = 0; i < groups.size(); ++i) {
      std::size_t entry = at + kDirectoryHeaderSize + i * kDirectoryEntrySize;
      std::size_t first = groups[i].front();
      std::uint32_t name_field;
      if (depth == 2) {
        name_field = resources_[first].language;
      } else if (Key(first, depth).text.empty()) {
        name_field = Key(first, depth).id;
      } else {
        name_field = static_cast<std::uint32_t>(WriteText(Key(first, depth).text)) | kHighBit;
      }
      Put(out_, entry, name_field, 4);
      if (depth < kMaxDepth - 1) {
        Put(out_, entry + 4, WriteLevel(groups[i], depth + 1) | kHighBit, 4);
      } else {
        Put(out_, entry + 4, static_cast<std::uint32_t>(WriteData(resources_[first])), 4);
      }
    }
    return static_cast<std::uint32_t>(at);
  }

  std::size_t WriteText(const std::u16string& text) {
    std::size_t at = next_text_;
    Put(out_, at, static_cast<std::uint32_t>(text.size()), 2);
    for (std::size_t i = 0; i < text.size(); ++i) Put(out_, at + 2 + 2 * i, text[i], 2);
    next_text_ += 2 + 2 * text.size();
    return at;
  }

  std::size_t WriteData(const Resource& resource) {
    std::size_t entry = next_entry_;
    next_entry_ += kDataEntrySize;
    Put(out_, entry, static_cast<std::uint32_t>(rva_ + next_data_), 4);
    Put(out_, entry + 4, static_cast<std::uint32_t>(resource.data.size()), 4);
    Put(out_, entry + 8, resource.codepage, 4);
    std::copy(resource.data.begin(), resource.data.end(), out_.begin() + static_cast<std::ptrdiff_t>(next_data_));
    next_data_ = Align(static_cast<std::uint32_t>(next_data_ + resource.data.size()), 8);
    return entry;
  }

  const std::vector<Resource>& resources_;
  std::uint32_t rva_;
  Bytes out_;
  std::size_t next_directory_ = 0, next_entry_ = 0, next_text_ = 0, next_data_ = 0;
};

}  // namespace

std::uint32_t LittleEndianAt(const Bytes& bytes, std::size_t at, int width) {
  if (at > bytes.size() || bytes.size() - at < static_cast<std::size_t>(width)) {
    throw PackError("the stub's headers or resources run past their end");
  }
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | bytes[at + i];
  return value;
}

void AppendLittleEndian(Bytes& out, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

std::vector<Resource> ReadResources(const Bytes& image) {
  Layout layout(image);
  std::uint32_t rva = Get(image, layout.resource_entry, 4);
  std::uint32_t size = Get(image, layout.resource_entry + 4, 4);
  if (rva == 0 || size == 0) return {};
  for (std::size_t i = 0; i < layout.section_count; ++i) {
    std::size_t header = layout.sections + i * kSectionHeaderSize;
    std::uint32_t address = Get(image, header + 12, 4), raw_size = Get(image, header + 16, 4);
    std::uint32_t raw = Get(image, header + 20, 4);
    if (rva < address || rva - address >= raw_size) continue;
    std::size_t end = std::min<std::size_t>(image.size(), std::size_t{raw} + raw_size);
    Reader reader{image, raw + (rva - address), rva, end, {}};
    if (reader.base > end) break;
    reader.Directory(0, 0, Resource{});
    return reader.found;
  }
  throw PackError("the stub's resources lie in none of its sections");
}

Bytes WithResources(const Bytes& image, const std::vector<Resource>& resources) {
  Layout layout(image);
  std::uint32_t section_alignment = Get(image, layout.optional + 32, 4);
  std::uint32_t file_alignment = Get(image, layout.optional + 36, 4);
  std::uint32_t headers_size = Get(image, layout.optional + 60, 4);
  std::uint32_t image_end = 0, raw_end = headers_size, first_raw = UINT32_MAX;
  for (std::size_t i = 0; i < layout.section_count; ++i) {
    std::size_t header = layout.sections + i * kSectionHeaderSize;
    std::uint32_t virtual_size = Get(image, header + 8, 4), address = Get(image, header + 12, 4);
    std::uint32_t raw_size = Get(image, header + 16, 4), raw = Get(image, header + 20, 4);
    image_end = std::max(image_end, address + std::max(virtual_size, raw_size));
    if (raw_size != 0) {
      raw_end = std::max(raw_end, raw + raw_size);
      first_raw = std::min(first_raw, raw);
    }
  }
  std::size_t new_header = layout.sections + layout.section_count * kSectionHeaderSize;
  if (new_header + kSectionHeaderSize > std::min(headers_size, first_raw)) {
    throw PackError("the stub's headers have no room for the section of the product's icon and version");
  }
  if (Align(static_cast<std::uint32_t>(image.size()), file_alignment) != Align(raw_end, file_alignment)) {
    throw PackError("the stub carries data behind its program image");
  }
  std::uint32_t rva = Align(image_end, section_alignment);
  Bytes section = Writer(resources, rva).Section();
  std::uint32_t raw = Align(raw_end, file_alignment);
  std::uint32_t raw_size = Align(static_cast<std::uint32_t>(section.size()), file_alignment);

  Bytes out = image;
  out.resize(raw, 0);
  out.insert(out.end(), section.begin(), section.end());
  out.resize(std::size_t{raw} + raw_size, 0);
  const char name[8] = {'.', 'r', 's', 'r', 'c', 0, 0, 0};
  std::copy(name, name + 8, out.begin() + static_cast<std::ptrdiff_t>(new_header));
  Put(out, new_header + 8, static_cast<std::uint32_t>(section.size()), 4);
  Put(out, new_header + 12, rva, 4);
  Put(out, new_header + 16, raw_size, 4);
  Put(out, new_header + 20, raw, 4);
  Put(out, new_header + 36, kInitializedData | kMemoryRead, 4);
  std::size_t pe = Get(image, 0x3C, 4);
  Put(out, pe + 6, static_cast<std::uint32_t>(layout.section_count + 1), 2);
  Put(out, layout.optional + 56, Align(rva + static_cast<std::uint32_t>(section.size()), section_alignment), 4);
  Put(out, layout.optional + 8, Get(out, layout.optional + 8, 4) + raw_size, 4);  // initialised data
  Put(out, layout.resource_entry, rva, 4);
  Put(out, layout.resource_entry + 4, static_cast<std::uint32_t>(section.size()), 4);
  return out;
}
