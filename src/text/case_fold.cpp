#include "text/case_fold.h"

bool EqualIgnoringCase(const char* a, const char* b) {
  for (;; ++a, ++b) {
    if (FoldCase(*a) != FoldCase(*b)) return false;
    if (*a == '\0') return true;
  }
}

bool StartsWithIgnoringCase(const char* text, const char* prefix) {
  for (; *prefix != '\0'; ++text, ++prefix) {
    if (FoldCase(*text) != FoldCase(*prefix)) return false;
  }
  return true;
}
