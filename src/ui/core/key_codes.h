// The key codes and system commands that widgets see. They are the Win32
// virtual-key codes and SC_ values, spelled out here so that the widgets and
// their tests need no windows.h.
#pragma once

namespace key {
inline constexpr unsigned kBackspace = 0x08;
inline constexpr unsigned kTab = 0x09;
inline constexpr unsigned kEnter = 0x0D;
inline constexpr unsigned kShift = 0x10;
inline constexpr unsigned kControl = 0x11;
inline constexpr unsigned kAlt = 0x12;
inline constexpr unsigned kEscape = 0x1B;
inline constexpr unsigned kSpace = 0x20;
inline constexpr unsigned kPageUp = 0x21;
inline constexpr unsigned kPageDown = 0x22;
inline constexpr unsigned kEnd = 0x23;
inline constexpr unsigned kHome = 0x24;
inline constexpr unsigned kLeft = 0x25;
inline constexpr unsigned kUp = 0x26;
inline constexpr unsigned kRight = 0x27;
inline constexpr unsigned kDown = 0x28;
inline constexpr unsigned kInsert = 0x2D;
inline constexpr unsigned kDelete = 0x2E;
inline constexpr unsigned kApplications = 0x5D;  // the context-menu key
inline constexpr unsigned kF1 = 0x70;
inline constexpr unsigned kF10 = 0x79;
inline constexpr unsigned kF12 = 0x7B;
inline constexpr unsigned kRightAlt = 0xA5;
}  // namespace key

// System commands; the close command also travels as a key (Alt+F4).
namespace command {
inline constexpr unsigned kMinimise = 0xF020;
inline constexpr unsigned kMaximise = 0xF030;
inline constexpr unsigned kClose = 0xF060;
inline constexpr unsigned kRestore = 0xF120;
}  // namespace command
