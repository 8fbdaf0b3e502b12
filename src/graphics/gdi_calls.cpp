// The table of GDI calls, filled with the system's functions.
#include "graphics/gdi_calls.h"

GdiCalls& Gdi() {
  static GdiCalls calls{&::SelectObject, &::SetTextColor, &::SetBkColor,        &::ExtTextOutA,  &::ExcludeClipRect,
                        &::MoveToEx,     &::LineTo,       &::SetDIBitsToDevice, &::DrawFocusRect};
  return calls;
}
