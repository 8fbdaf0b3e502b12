// Where a word ends for Ctrl+arrow steps and double clicks in text fields and
// views: at a blank, at the punctuation of paths and lists, and at a line
// break. Bytes from 0x80 on are letters of the ANSI code page and belong to
// words.
#pragma once

inline bool IsWordSeparator(unsigned char byte) {
  switch (byte) {
    case '\0':
    case ' ':
    case '(':
    case ')':
    case ',':
    case '.':
    case '/':
    case ';':
    case '[':
    case '\\':
    case ']':
    case '{':
    case '}':
    // A line break ends a word too, so that a word step stops at the start
    // of the next line's first word instead of passing over it.
    case '\r':
    case '\n': return true;
    default: return false;
  }
}
