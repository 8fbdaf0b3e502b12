// The press-and-hold repeat of the toolkit: one waitable timer that ticks
// first after 500 ms and then every 50 ms, for whichever widget holds it
// (a scroll-bar arrow held down).
#pragma once

#include "ui/core/widget_host.h"

// Creates the timer in the wait table (module start-up).
void StartRepeatTimer();
// `target` gets the ticks from now on; a previous target loses them.
void StartToolkitRepeat(RepeatTarget& target);
// Stops the ticks if `target` holds them.
void StopToolkitRepeat(RepeatTarget& target);
