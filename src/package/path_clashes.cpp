#include "package/path_clashes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "package/file_name_rules.h"
#include "text/case_fold.h"

namespace {

using Fold = unsigned char (*)(char);

// Compares the first `a_length` characters of `a` with `b` under `fold`;
// a_length SIZE_MAX for all of `a`.
int Compare(const char* a, std::size_t a_length, const char* b, Fold fold) {
  for (std::size_t i = 0;; ++i) {
    unsigned char x = i == a_length ? 0 : fold(a[i]);
    unsigned char y = fold(b[i]);
    if (x != y) return x < y ? -1 : 1;
    if (x == 0) return 0;
  }
}

// Heap sort: n log n at worst in one small routine, where the setup carries
// every byte of its code (std::sort brings three).
template <typename Less>
void HeapSort(std::uint32_t* items, std::size_t count, Less less) {
  auto sift_down = [&](std::size_t root, std::size_t end) {
    for (std::size_t child; (child = 2 * root + 1) < end; root = child) {
      if (child + 1 < end && less(items[child], items[child + 1])) ++child;
      if (!less(items[root], items[child])) return;
      std::swap(items[root], items[child]);
    }
  };
  for (std::size_t i = count / 2; i-- > 0;) sift_down(i, count);
  for (std::size_t end = count; end-- > 1;) {
    std::swap(items[0], items[end]);
    sift_down(0, end);
  }
}

// Both of the setup's case rules make names equal; each alone is an
// equivalence, so under each the equal names of a sorted list are neighbours.
PathClash FindUnder(const FileList& files, Fold fold) {
  std::size_t count = files.Count() > 1 ? files.Count() - 1 : 0;
  std::vector<std::uint32_t> order(count);
  for (std::size_t i = 0; i < count; ++i) order[i] = static_cast<std::uint32_t>(i + 2);
  auto name = [&](std::uint32_t number) { return files.Record(number).name; };
  HeapSort(order.data(), count, [&](std::uint32_t a, std::uint32_t b) {
    int order_by_name = Compare(name(a), SIZE_MAX, name(b), fold);
    return order_by_name != 0 ? order_by_name < 0 : a < b;
  });
  const std::uint32_t* begin = order.data();
  const std::uint32_t* end = begin + count;
  for (std::size_t i = 1; i < count; ++i) {
    if (Compare(name(order[i - 1]), SIZE_MAX, name(order[i]), fold) == 0) return {order[i - 1], order[i], false};
  }
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t number = order[i];
    const char* path = name(number);
    for (const char* separator = path; (separator = std::strchr(separator, '\\')) != nullptr; ++separator) {
      std::size_t length = static_cast<std::size_t>(separator - path);
      const std::uint32_t* found = std::lower_bound(begin, end, path, [&](std::uint32_t other, const char* key) {
        return Compare(key, length, name(other), fold) > 0;
      });
      if (found != end && Compare(path, length, name(*found), fold) == 0) return {*found, number, true};
    }
  }
  return {};
}

}  // namespace

PathClash FindPathClash(const FileList& files) {
  PathClash clash = FindUnder(files, FoldCase);
  if (clash.first == 0) clash = FindUnder(files, WindowsUpperCase);
  return clash;
}
