// The skin archive that a setup carries as record 1: the default skin built
// into the builder, or the manifest's skin folder laid over it, with the
// manifest's header picture in place of "insthead" when it names one.
#pragma once

#include "manifest.h"
#include "stream_encoder.h"

Bytes BuildSkinArchive(const Manifest& manifest);
