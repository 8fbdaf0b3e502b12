// The one exception kind of the program. A failing step writes its line
// through the current logger's LogError, which raises this; the install and
// uninstall sequences and the start-up and run guards catch it.
#pragma once

struct AbortError {};
