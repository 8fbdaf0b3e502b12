// Manifests that are valid but likely wrong: the build is still made, and
// each of these goes to standard error as a warning.
#pragma once

#include <string>
#include <vector>

#include "manifest.h"

// One line per finding, naming the field: "file[1]: ...".
std::vector<std::string> ManifestWarnings(const Manifest& manifest);
