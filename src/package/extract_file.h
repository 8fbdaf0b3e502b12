// Unpacks one product file from the package stream into its folder, with
// the file time the package records for it.
#pragma once

#include <cstdint>

#include "fs/file_stream.h"
#include "fs/source_stream.h"
#include "inflate/inflate_state.h"
#include "package/package_directory.h"

// What the install pass hands to every file.
struct ExtractionContext {
  SourceStream& package;  // the running setup, open for reading
  InflateState& decoder;  // created on `package`
  const char* program_folder;
  const char* data_folder;
  bool keep_data;  // "Do not remove/overwrite data": existing data files stay
};

// Writes the file of `record` unless it is never written (destination 2) or
// is an existing data file that the user keeps; a file that is there is
// replaced only by a complete one (fs/file_replacement.h). True when it was
// written. Any failure ends in AbortError after its line.
bool ExtractFile(ExtractionContext& context, const FileRecord& record);

// Decodes `size` bytes from the package stream's position into `target`.
// A stream that ends early is a read error of the package.
void UnpackStream(ExtractionContext& context, FileStream& target, std::uint32_t size);
