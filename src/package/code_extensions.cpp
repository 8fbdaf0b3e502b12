#include "package/code_extensions.h"

#include <cstring>

#include "text/case_fold.h"

bool RunsCodeWhenOpened(const char* extension) {
  // One block of terminated names keeps the list small in the setup.
  static const char kExtensions[] = "exe\0com\0bat\0cmd\0lnk\0msi\0scr\0dll\0pif\0ps1\0vbs\0js\0wsf\0hta\0cpl\0";
  for (const char* name = kExtensions; *name != '\0'; name += std::strlen(name) + 1) {
    if (EqualIgnoringCase(name, extension)) return true;
  }
  return false;
}
