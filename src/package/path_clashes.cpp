#include "package/path_clashes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <utility>
#include <vector>

#include "package/file_name_rules.h"
#include "text/case_fold.h"

namespace {

using Fold = unsigned char (*)(char);

// Compares the first `a_length` characters of `a` with the first `b_length`
// of `b` under `fold`; SIZE_MAX for all of a text.
int Compare(const char* a, std::size_t a_length, const char* b, std::size_t b_length, Fold fold) {
  for (std::size_t i = 0;; ++i) {
    unsigned char x = i == a_length ? 0 : fold(a[i]);
    unsigned char y = i == b_length ? 0 : fold(b[i]);
    if (x != y) return x < y ? -1 : 1;
    if (x == 0) return 0;
  }
}

// The paths of one list under one case rule. Each search runs under both
// rules, from one copy of its code.
class ClashFinder {
 public:
  ClashFinder(const FileList& files, Fold fold) : files_(files), fold_(fold) {}

  // Both of the setup's case rules make names equal; each alone is an
  // equivalence, so under each the equal names of a sorted list are
  // neighbours.
  [[gnu::noinline]] PathClash FindOneName();
  // A short name sorts apart from the long name it may stand for, so the
  // short names are sorted by their key and folder, and each long name looks
  // for those of its key's stem cut to each length. Of all the pairs, the one
  // whose later record comes first, then its earlier one, is named, as a
  // check of record after record against the ones before would name it.
  [[gnu::noinline]] PathClash FindShortNames();

 private:
  const char* Name(std::size_t number) const { return files_.Record(number).name; }
  // The path of short name `i`, where its part starts and its key.
  const char* ShortAt(std::size_t i, std::size_t& start, ShortNameKey& key) const;
  // Short name `i` against the part at `start` of `path` whose key is `key`.
  int CompareShort(std::size_t i, const char* path, std::size_t start, const ShortNameKey& key) const;
  // Whether `a` sorts before `b`: record numbers by their names, or while
  // there are short names, their numbers in `shorts_` by key and folder.
  bool Less(std::uint32_t a, std::uint32_t b) const;
  // Heap sort: n log n at worst in one small routine, where the setup
  // carries every byte of its code (std::sort brings three).
  void HeapSort(std::uint32_t* items, std::size_t count) const;

  const FileList& files_;
  Fold fold_;
  // Each short name as its record's number and where its part starts.
  std::vector<std::uint32_t> shorts_;
};

const char* ClashFinder::ShortAt(std::size_t i, std::size_t& start, ShortNameKey& key) const {
  const char* path = Name(shorts_[2 * i]);
  start = shorts_[2 * i + 1];
  KeyOfShortName(path + start, std::strcspn(path + start, "\\"), key);
  return path;
}

int ClashFinder::CompareShort(std::size_t i, const char* path, std::size_t start, const ShortNameKey& key) const {
  std::size_t own_start;
  ShortNameKey own;
  const char* own_path = ShortAt(i, own_start, own);
  int order = std::strcmp(own.extension, key.extension);
  if (order == 0) order = std::strcmp(own.stem, key.stem);
  if (order == 0) order = Compare(own_path, own_start, path, start, fold_);
  return order;
}

bool ClashFinder::Less(std::uint32_t a, std::uint32_t b) const {
  int order;
  if (shorts_.empty()) {
    order = Compare(Name(a), SIZE_MAX, Name(b), SIZE_MAX, fold_);
  } else {
    std::size_t start;
    ShortNameKey key;
    const char* path = ShortAt(b, start, key);
    order = CompareShort(a, path, start, key);
  }
  return order != 0 ? order < 0 : a < b;
}

void ClashFinder::HeapSort(std::uint32_t* items, std::size_t count) const {
  auto sift_down = [&](std::size_t root, std::size_t end) {
    for (std::size_t child; (child = 2 * root + 1) < end; root = child) {
      if (child + 1 < end && Less(items[child], items[child + 1])) ++child;
      if (!Less(items[root], items[child])) return;
      std::swap(items[root], items[child]);
    }
  };
  for (std::size_t i = count / 2; i-- > 0;) sift_down(i, count);
  for (std::size_t end = count; end-- > 1;) {
    std::swap(items[0], items[end]);
    sift_down(0, end);
  }
}

PathClash ClashFinder::FindOneName() {
  std::size_t count = files_.Count() > 1 ? files_.Count() - 1 : 0;
  std::vector<std::uint32_t> order(count);
  for (std::size_t i = 0; i < count; ++i) order[i] = static_cast<std::uint32_t>(i + 2);
  HeapSort(order.data(), count);
  const std::uint32_t* begin = order.data();
  const std::uint32_t* end = begin + count;
  for (std::size_t i = 1; i < count; ++i) {
    if (Compare(Name(order[i - 1]), SIZE_MAX, Name(order[i]), SIZE_MAX, fold_) == 0) return {order[i - 1], order[i]};
  }
  for (std::size_t i = 0; i < count; ++i) {
    std::uint32_t number = order[i];
    const char* path = Name(number);
    for (const char* separator = path; (separator = std::strchr(separator, '\\')) != nullptr; ++separator) {
      std::size_t length = static_cast<std::size_t>(separator - path);
      const std::uint32_t* found = std::lower_bound(begin, end, path, [&](std::uint32_t other, const char* key) {
        return Compare(key, length, Name(other), SIZE_MAX, fold_) > 0;
      });
      if (found != end && Compare(path, length, Name(*found), SIZE_MAX, fold_) == 0) {
        return {*found, number, ClashKind::kFileAndFolder};
      }
    }
  }
  return {};
}

PathClash ClashFinder::FindShortNames() {
  ShortNameKey key;
  for (std::uint32_t number = 2; number <= files_.Count(); ++number) {
    const char* path = Name(number);
    for (std::uint32_t start = 0, end;; start = end + 1) {
      end = start + static_cast<std::uint32_t>(std::strcspn(path + start, "\\"));
      if (KeyOfShortName(path + start, end - start, key)) {
        shorts_.push_back(number);
        shorts_.push_back(start);
      }
      if (path[end] == '\0') break;
    }
  }
  std::size_t count = shorts_.size() / 2;
  std::vector<std::uint32_t> order(count);
  for (std::size_t i = 0; i < count; ++i) order[i] = static_cast<std::uint32_t>(i);
  HeapSort(order.data(), count);

  std::size_t best_later = SIZE_MAX;
  std::size_t best_earlier = SIZE_MAX;
  PathClash clash;
  for (std::size_t number = 2; count > 0 && number <= files_.Count(); ++number) {
    const char* path = Name(number);
    for (std::size_t start = 0, end;; start = end + 1) {
      end = start + std::strcspn(path + start, "\\");
      key.stem[0] = '\0';
      KeyOfLongName(path + start, end - start, key);
      for (std::size_t length = std::strlen(key.stem); length > 0; key.stem[--length] = '\0') {
        const std::uint32_t* found = std::lower_bound(order.data(), order.data() + count, 0, [&](std::uint32_t i, int) {
          return CompareShort(i, path, start, key) < 0;
        });
        if (found == order.data() + count || CompareShort(*found, path, start, key) != 0) continue;
        std::size_t other = shorts_[2 * *found];
        std::size_t later = std::max(other, number);
        std::size_t earlier = other + number - later;
        if (later > best_later || (later == best_later && earlier >= best_earlier)) continue;
        best_later = later;
        best_earlier = earlier;
        std::size_t other_end = shorts_[2 * *found + 1] + std::strcspn(Name(other) + shorts_[2 * *found + 1], "\\");
        bool other_first = other < number;
        clash.first = earlier;
        clash.second = later;
        clash.first_length = other_first ? other_end : end;
        clash.second_length = other_first ? end : other_end;
        clash.kind = path[end] == '\0' && Name(other)[other_end] == '\0' ? ClashKind::kOneFile : ClashKind::kOneFolder;
        clash.short_name = true;
      }
      if (path[end] == '\0') break;
    }
  }
  return clash;
}

}  // namespace

PathClash FindPathClash(const FileList& files) {
  PathClash clash;
  for (Fold fold : {FoldCase, WindowsUpperCase}) {
    if (clash.first == 0) clash = ClashFinder(files, fold).FindOneName();
  }
  for (Fold fold : {FoldCase, WindowsUpperCase}) {
    if (clash.first == 0) clash = ClashFinder(files, fold).FindShortNames();
  }
  return clash;
}
