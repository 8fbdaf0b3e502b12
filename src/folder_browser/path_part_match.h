// Which node of the folder browser's tree a part of a typed path names. A
// file system may list "Program Files (x86)" before "Program Files", so a
// folder of the part's very name wins over one that merely begins with it.
#pragma once

#include "ui/widgets/behaviour/tree_model.h"

// The child of `parent` (0: the drives) whose text is `part`, ignoring
// case; for the path's `last` part, failing that, the first child whose
// text begins with it. 0 when none does.
int FindPathPart(const TreeModel& tree, int parent, const char* part, bool last);
