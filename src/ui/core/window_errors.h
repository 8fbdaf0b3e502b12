// Exceptions must not unwind through a Win32 callback frame: on i686 that
// ends the process. So every window procedure and wait callback catches
// everything it raises and parks it here, and the code that called into
// Win32 (the message loop, or any call that sends messages synchronously)
// raises it again once the call has returned.
#pragma once

#include <exception>

// Keeps `error` unless an earlier one is still waiting.
void ParkWindowError(std::exception_ptr error);
// Raises the parked error, if any, and forgets it.
void RaiseParkedWindowError();
