#include "stub_check.h"

#include <algorithm>

#include "abort_reason.h"
#include "integrity_record.h"
#include "pack_error.h"
#include "package/package_loader.h"
#include "package/pe_image.h"

void CheckStub(const Bytes& stub, Architecture architecture) {
  PeImageInfo info = ReadPeImageInfo(stub.data(), std::min(stub.size(), kPeHeadSize));
  if (!info.is_pe) throw PackError("the stub is not a Windows program image");
  if (info.is_64_bit != (architecture == Architecture::kX64)) {
    throw PackError(
        std::string("the stub is a ") + (info.is_64_bit ? "64" : "32") +
        "-bit setup program, but product.architecture asks for " +
        (architecture == Architecture::kX64 ? "\"x64\" (tarnell-setup-x64.exe)" : "\"x86\" (tarnell-setup.exe)"));
  }
  if (info.certificate_offset != 0) {
    throw PackError("the stub is signed; build from the unsigned setup program and sign the finished setup");
  }
  if (!FindIntegrityRecord(stub)) {
    throw PackError("the stub is not a Tarnell setup program (it carries no integrity record, resource 1800)");
  }
  AbortReason reason;
  PackageDirectory package;
  MemoryPackageFile file(stub.data(), stub.size(), "stub");
  try {
    LoadPackageDirectory(file, "stub", package);
  } catch (const AbortError&) {
    return;  // no package: the bare setup program
  }
  throw PackError("the stub is a finished Tarnell setup (of \"" + std::string(package.product_name.c_str()) +
                  "\"); build from the setup program tarnell-setup.exe");
}
