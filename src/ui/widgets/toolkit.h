// Start-up and closing of the window toolkit. At start-up: the keyboard
// state, the mouse tracker's hover timer, the press-and-hold repeat timer,
// the three window classes and the widget classes of the layout kinds.
// Once the skin archive is open: the cursors.
#pragma once

// False when the window classes or the timers cannot be made.
bool StartToolkit();
// Makes the cursors from the open skin archive.
void LoadToolkitSkin();
void CloseToolkit();
