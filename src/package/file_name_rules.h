// The rules a name in a package must keep before the setup joins it to a
// folder, a service or a registry key. The setup's reader and the package
// builder both apply them, so a package the builder makes is one the setup
// takes, and a hand-made package gets no further than the builder's would.
//
// A name Windows treats specially (NUL, a trailing dot, a '?') can make an
// uninstall fail for good or two records meet in one file, so each is refused.
//
// https://learn.microsoft.com/windows/win32/fileio/naming-a-file
#pragma once

#include <cstddef>

// Windows keeps names of at most this many characters in a folder.
inline constexpr std::size_t kMaxWindowsNameLength = 255;

// Why Windows would not take `name` (ANSI) as the name of a file in a folder,
// or nullptr when it would.
const char* FileNameFault(const char* name);

// Whether two ANSI names may name one file on Windows: equal without regard
// to case, through the setup's own table or through Windows-1252 letter case,
// or one the short (8.3) name Windows may give the other.
bool SameWindowsName(const char* a, const char* b);

// Whether the services of two files have one name on Windows; a file's
// service is named after the file up to its first dot.
bool SameServiceName(const char* file_a, const char* file_b);

// Windows-1252 upper case of one character, as the file system compares names.
unsigned char WindowsUpperCase(char c);

// What a short (8.3) name and the long name it stands for share ("Long
// Name.txt" may be "LONGNA~1.TXT"), in Windows' upper case: the start of the
// stem and the extension. A short name may stand for a long name when their
// extensions are equal and the long name's stem starts with the short one's.
struct ShortNameKey {
  char stem[7];
  char extension[4];
};
// Of a long name: its stem without blanks and dots, cut to six characters,
// and the first three characters of its extension. False for a name that
// fits 8.3 itself, which gets no short name. `name` ends at `length` with a
// NUL or a path separator.
bool KeyOfLongName(const char* name, std::size_t length, ShortNameKey& out);
// Of a short name of the numbered kind ("LONGNA~1.TXT"; the hashed kind,
// made from the fifth clash on, is not foreseen): the characters before its
// '~' and its extension. False for any other name.
bool KeyOfShortName(const char* name, std::size_t length, ShortNameKey& out);
// Whether a short name of the one key may stand for a long name of the other.
bool MayStandFor(const ShortNameKey& short_name, const ShortNameKey& long_name);

// Why `path` (ANSI, relative, parts joined by '\\') would not name a file
// below a folder, or nullptr when every part is a name FileNameFault takes.
const char* RelativePathFault(const char* path);
