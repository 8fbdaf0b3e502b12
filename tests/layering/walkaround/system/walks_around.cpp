// Includes the compiler would find beside this file, past the layers' header
// views: the include check names both.
#include "../app/setup_state.h"
#include "beside.h"
