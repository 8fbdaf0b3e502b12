// The three window classes of the toolkit and the window procedure they
// share. Registered at module start-up, unregistered at its end.
#pragma once

#include <windows.h>

inline constexpr const char* kApplicationClassName = "MyApp";
inline constexpr const char* kDialogClassName = "MyDialog";
inline constexpr const char* kToolClassName = "MyTool";

// False when the system refuses a class.
bool RegisterWindowClasses();
void UnregisterWindowClasses();

// Brings the application window titled `title` (another run's, perhaps) to
// the front, restored when it was minimised; nothing when there is none.
void BringApplicationWindowToFront(const char* title);
