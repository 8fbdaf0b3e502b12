// What the builder asks of the setup program it appends a package to.
#pragma once

#include "manifest.h"
#include "stream_encoder.h"

// PackError unless `stub` is an unsigned Tarnell setup program of the
// manifest's architecture without a package: any other program would run in
// the setup's place, and a finished setup would carry two packages.
void CheckStub(const Bytes& stub, Architecture architecture);
