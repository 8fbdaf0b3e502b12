// The GDI calls that painting makes, reached through one table so that tests
// can count them (or make them fail) without a fake device. The program never
// changes the table: it holds the system's own functions.
#pragma once

#include <windows.h>

struct GdiCalls {
  decltype(&::SelectObject) selectObject;
  decltype(&::SetTextColor) setTextColor;
  decltype(&::SetBkColor) setBkColor;
  decltype(&::ExtTextOutA) extTextOut;
  decltype(&::ExcludeClipRect) excludeClipRect;
  decltype(&::MoveToEx) moveTo;
  decltype(&::LineTo) lineTo;
  decltype(&::SetDIBitsToDevice) setDIBitsToDevice;
  decltype(&::DrawFocusRect) drawFocusRect;
};

GdiCalls& Gdi();
