// The GDI calls that painting makes, reached through one table so that tests
// can count them (or make them fail) without a fake device. The program never
// changes the table: it holds the system's own functions.
#pragma once

#include <windows.h>

struct GdiCalls {
  decltype(&::SelectObject) select_object;
  decltype(&::SetTextColor) set_text_color;
  decltype(&::SetBkColor) set_bk_color;
  decltype(&::ExtTextOutA) ext_text_out;
  decltype(&::ExcludeClipRect) exclude_clip_rect;
  decltype(&::MoveToEx) move_to;
  decltype(&::LineTo) line_to;
  decltype(&::SetDIBitsToDevice) set_di_bits_to_device;
  decltype(&::DrawFocusRect) draw_focus_rect;
};

GdiCalls& Gdi();
