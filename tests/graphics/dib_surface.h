// Test surfaces and a counting GDI table for the Win32 graphics tests.
//
// DibSurface: a memory context drawing into a 32-bit top-down DIB section,
// so a test reads back exactly the pixels GDI wrote.
// CountingGdi: while it lives, every call through the GDI call table is
// counted (and the position of the last text output kept) before it goes on
// to the system.
#pragma once

#include <windows.h>

#include <cstdint>

#include "graphics/colours.h"
#include "graphics/gdi_calls.h"
#include "handles/gdi_handles.h"

class DibSurface {
 public:
  DibSurface(int width, int height, GdiColour fill) : width_(width), height_(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    dc_.Reset(CreateCompatibleDC(nullptr));
    bitmap_.Reset(CreateDIBSection(dc_.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    bits_ = static_cast<std::uint32_t*>(bits);
    previous_ = SelectObject(dc_.Get(), bitmap_.Get());
    for (int i = 0; i < width * height; ++i) bits_[i] = ToDib(fill);
  }
  ~DibSurface() { SelectObject(dc_.Get(), previous_); }
  DibSurface(const DibSurface&) = delete;
  DibSurface& operator=(const DibSurface&) = delete;

  HDC Dc() const { return dc_.Get(); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  GdiColour At(int x, int y) const {
    GdiFlush();
    const std::uint32_t pixel = bits_[y * width_ + x];
    return Rgb(static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
               static_cast<std::uint8_t>(pixel));
  }

 private:
  static std::uint32_t ToDib(GdiColour colour) {
    return std::uint32_t{RedOf(colour)} << 16 | std::uint32_t{GreenOf(colour)} << 8 | BlueOf(colour);
  }

  int width_;
  int height_;
  OwnedDc dc_;
  BitmapObject bitmap_;
  HGDIOBJ previous_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

class CountingGdi {
 public:
  CountingGdi() : saved_(Gdi()) {
    Gdi() = GdiCalls{&SelectObjectCounted, &SetTextColorCounted,    &SetBkColorCounted,
                     &ExtTextOutCounted,   &ExcludeClipRectCounted, &MoveToCounted,
                     &LineToCounted,       &SetDIBitsCounted,       &DrawFocusRectCounted};
    select_object = set_text_color = set_bk_color = ext_text_out = exclude_clip_rect = move_to = line_to = setDIBits =
        0;
    draw_focus_rect = 0;
  }
  ~CountingGdi() { Gdi() = saved_; }
  CountingGdi(const CountingGdi&) = delete;
  CountingGdi& operator=(const CountingGdi&) = delete;

  static inline int select_object, set_text_color, set_bk_color, ext_text_out, exclude_clip_rect, move_to, line_to,
      setDIBits;
  static inline int draw_focus_rect;
  static inline int last_text_x, last_text_y;

 private:
  static HGDIOBJ WINAPI SelectObjectCounted(HDC dc, HGDIOBJ object) {
    ++select_object;
    return ::SelectObject(dc, object);
  }
  static COLORREF WINAPI SetTextColorCounted(HDC dc, COLORREF colour) {
    ++set_text_color;
    return ::SetTextColor(dc, colour);
  }
  static COLORREF WINAPI SetBkColorCounted(HDC dc, COLORREF colour) {
    ++set_bk_color;
    return ::SetBkColor(dc, colour);
  }
  static BOOL WINAPI ExtTextOutCounted(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT length,
                                       const INT* dx) {
    ++ext_text_out;
    last_text_x = x;
    last_text_y = y;
    return ::ExtTextOutA(dc, x, y, options, rect, text, length, dx);
  }
  static int WINAPI ExcludeClipRectCounted(HDC dc, int left, int top, int right, int bottom) {
    ++exclude_clip_rect;
    return ::ExcludeClipRect(dc, left, top, right, bottom);
  }
  static BOOL WINAPI MoveToCounted(HDC dc, int x, int y, LPPOINT previous) {
    ++move_to;
    return ::MoveToEx(dc, x, y, previous);
  }
  static BOOL WINAPI LineToCounted(HDC dc, int x, int y) {
    ++line_to;
    return ::LineTo(dc, x, y);
  }
  static int WINAPI SetDIBitsCounted(HDC dc, int x, int y, DWORD width, DWORD height, int source_x, int source_y,
                                     UINT start_scan, UINT lines, const VOID* bits, const BITMAPINFO* info,
                                     UINT usage) {
    ++setDIBits;
    return ::SetDIBitsToDevice(dc, x, y, width, height, source_x, source_y, start_scan, lines, bits, info, usage);
  }
  static BOOL WINAPI DrawFocusRectCounted(HDC dc, const RECT* rect) {
    ++draw_focus_rect;
    return ::DrawFocusRect(dc, rect);
  }

  GdiCalls saved_;
};
