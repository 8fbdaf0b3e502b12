// Manifests that are valid but likely wrong: the build is still made, and
// each of these goes to standard error as a warning.
#pragma once

#include <string>
#include <vector>

#include "manifest.h"

// One line per finding, naming the field: "file[1]: ...".
std::vector<std::string> ManifestWarnings(const Manifest& manifest);

// One warning for each file source outside the folder of the manifest at
// `manifest_path` (through "..", an absolute path or a link): a checkout
// elsewhere builds something else, or nothing.
std::vector<std::string> OutsideSourceWarnings(const Manifest& manifest, const std::string& manifest_path);
