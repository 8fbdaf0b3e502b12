// The setup's own file, held open for the whole run.
//
// The package directory, the skin, the payload and the setup copy all lie in
// the running executable. Opening it again by its path for each would read
// whatever file bears that name by then: a running program can be renamed,
// and another file of the same layout with another payload put in its place
// after the user approved the elevation. So the file is opened once at start
// with a sharing mode that refuses delete and rename, checked to be the
// image that runs, and every read of the module path goes through a new
// handle on that very file (ReOpenFile), never through the name again.
//
// https://learn.microsoft.com/windows/win32/api/winbase/nf-winbase-reopenfile
#pragma once

#include <windows.h>

// Opens `module_path` and checks that it maps the same file as the running
// image. False when it cannot be opened or is another file; every read of
// the path then fails, so a setup whose file was swapped refuses to run.
bool HoldOwnImage(const char* module_path);
// tarnell-deploy plays a setup that is not its own image: the same hold on
// `path`, without the image check. False when it cannot be opened.
bool HoldSetupFile(const char* path);
// Closes the held file and forgets its path.
void ReleaseHeldFile();
// Whether `path` is the path given to HoldOwnImage or HoldSetupFile.
bool IsOwnImage(const char* path);
// A new read handle on the held file, with its own position; the caller
// closes it. INVALID_HANDLE_VALUE when no file is held.
HANDLE ReopenOwnImage();
