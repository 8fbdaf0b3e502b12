#include "package/path_clashes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
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

// Both of the setup's case rules make names equal; each alone is an
// equivalence, so under each the equal names of a sorted list are neighbours.
PathClash FindUnder(const FileList& files, Fold fold) {
  std::vector<std::uint32_t> order;
  order.reserve(files.Count());
  for (std::size_t number = 2; number <= files.Count(); ++number) order.push_back(static_cast<std::uint32_t>(number));
  auto name = [&](std::uint32_t number) { return files.Record(number).name; };
  std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    int order_by_name = Compare(name(a), SIZE_MAX, name(b), fold);
    return order_by_name != 0 ? order_by_name < 0 : a < b;
  });
  for (std::size_t i = 1; i < order.size(); ++i) {
    if (Compare(name(order[i - 1]), SIZE_MAX, name(order[i]), fold) == 0) return {order[i - 1], order[i], false};
  }
  for (std::uint32_t number : order) {
    const char* path = name(number);
    for (const char* separator = path; (separator = std::strchr(separator, '\\')) != nullptr; ++separator) {
      std::size_t length = static_cast<std::size_t>(separator - path);
      auto found = std::lower_bound(order.begin(), order.end(), path, [&](std::uint32_t other, const char* key) {
        return Compare(key, length, name(other), fold) > 0;
      });
      if (found != order.end() && Compare(path, length, name(*found), fold) == 0) return {*found, number, true};
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
