// Exceptions must not unwind through a Win32 callback frame: on i686 that
// ends the process. So every window procedure and wait callback catches
// everything it raises and parks it here, and the code that called into
// Win32 (the message loop, or any call that sends messages synchronously)
// raises it again once the call has returned.
//
// Every failure of this program is an AbortError (the logger raises it, and
// the C++ library's own errors are turned into it), so what is parked is
// only the fact: the same error is raised again.
#pragma once

// Notes that a callback was left by an exception.
void ParkWindowError();
// Raises AbortError if an error is parked, and forgets it.
void RaiseParkedWindowError();
