// The skin archive that a setup carries as record 1.
#pragma once

#include "manifest.h"
#include "stream_encoder.h"

// The archive for the manifest's skin.
Bytes BuildSkinArchive(const Manifest& manifest);
