#include "text/path.h"

#include <cstring>

#include "text/text.h"

namespace {

// Copies `length` bytes of `source` (which may overlap `out`), cut to the buffer.
bool CopyRange(TextBuffer out, const char* source, std::size_t length) {
  bool fits = length <= out.MaxLength();
  if (!fits) length = out.MaxLength();
  std::memmove(out.chars, source, length);
  out.chars[length] = '\0';
  return fits;
}

}  // namespace

bool PathJoin(TextBuffer out, const char* folder, const char* name) {
  std::size_t folder_length = std::strlen(folder);
  std::size_t name_length = std::strlen(name);
  if (folder_length == 0) return CopyRange(out, name, name_length);

  bool separator = folder[folder_length - 1] != '\\' && name[0] != '\\';
  std::size_t head = folder_length + (separator ? 1 : 0);
  std::size_t capacity = out.MaxLength();
  bool fits = head + name_length <= capacity;

  // The name moves first, to the right, so that joining into the name's own
  // buffer works; the folder then goes in front of it.
  std::size_t name_kept = head >= capacity ? 0 : (fits ? name_length : capacity - head);
  if (name_kept > 0) std::memmove(out.chars + head, name, name_kept);
  std::size_t folder_kept = folder_length < capacity ? folder_length : capacity;
  std::memmove(out.chars, folder, folder_kept);
  if (separator && folder_length < capacity) out.chars[folder_length] = '\\';
  std::size_t total = head + name_kept;
  out.chars[total < capacity ? total : capacity] = '\0';
  return fits;
}

bool FolderPart(TextBuffer out, const char* path) {
  const char* last = std::strrchr(path, '\\');
  return CopyRange(out, path, last ? static_cast<std::size_t>(last - path) : 0);
}

bool LastComponent(TextBuffer out, const char* path) {
  std::size_t length = std::strlen(path);
  if (length > 0 && path[length - 1] == '\\') --length;
  std::size_t start = length;
  while (start > 0 && path[start - 1] != '\\') --start;
  if (start == 0 && length == std::strlen(path)) return CopyText(out, path);
  return CopyRange(out, path + start, length - start);
}

std::size_t NameWithoutExtension(TextBuffer out, const char* path) {
  std::size_t length = std::strlen(path);
  if (length > 0 && (path[length - 1] == '\\' || path[length - 1] == ':')) --length;
  std::size_t start = length;
  while (start > 0 && path[start - 1] != '\\') --start;
  std::size_t end = start;
  while (end < length && path[end] != '.') ++end;
  CopyRange(out, path + start, end - start);
  return std::strlen(out.chars);
}
