// The kinds of window the window core makes. Widgets see them through their
// host: a title bar offers minimise and maximise only on an application
// window.
#pragma once

#include <cstdint>

enum class WindowKind : std::uint8_t {
  kPopup = 0,         // a tool window such as a menu; one open at a time
  kPassivePopup = 1,  // shown without activation, such as the hint
  kDialog = 2,        // modal over its owner
  kApplication = 3,
};
