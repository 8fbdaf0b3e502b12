// Gives the setup program the product's identity, as Explorer shows it: the
// manifest's icon in place of icon group 1, and a VERSIONINFO with the
// product's name and version, "<product> Setup" as its description and
// "Tarnell AG" as its company.
#pragma once

#include "manifest.h"
#include "stream_encoder.h"

inline constexpr char kCompanyName[] = "Tarnell AG";

// The stub with its resources rewritten (see pe_resources.h); PackError
// when the icon file or the stub's resources cannot be used.
Bytes BrandSetupProgram(const Bytes& stub, const Manifest& manifest);
