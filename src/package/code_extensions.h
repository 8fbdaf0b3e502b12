// File types that Windows runs as code when they are opened. A product that
// associated one of them with itself would take over, say, every .exe on the
// machine, so neither the builder nor the setup's reader accepts such an
// association.
#pragma once

// Whether `extension` (without the dot, any letter case) is one of them.
bool RunsCodeWhenOpened(const char* extension);
