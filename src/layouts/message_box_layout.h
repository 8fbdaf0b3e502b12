// The message box's layout table before it is fitted to its message. The box
// fits it with FitLayoutToText; setup-layout grows it to a shown box's size
// to tell scripts where "OK" lies.
#pragma once

#include <array>
#include <cstdint>

#include "ui/widgets/layout_entry.h"

namespace message_box_id {
inline constexpr std::uint16_t kWindow = 905;
inline constexpr std::uint16_t kText = 1205;
inline constexpr std::uint16_t kOk = 1720;
}  // namespace message_box_id

// The entry of the message's label.
inline constexpr int kMessageTextEntry = 2;

std::array<LayoutEntry, 5> MessageBoxLayout(const char* text);
