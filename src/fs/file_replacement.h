// Writing a file that may be there already without ever losing it. The new
// contents go to a temporary name beside the file, which takes the file's
// place only once it is complete and flushed (MoveFileEx with
// MOVEFILE_REPLACE_EXISTING and MOVEFILE_WRITE_THROUGH): a full disk, a
// damaged stream or a power loss halfway leaves the old file whole, and at
// worst the temporary one, which the next write of the file removes. A file
// that is not there yet is written in place.
//
// The folder may be one other users can write to (a data folder), so every
// file is created new (CREATE_NEW), never opened where someone else put it:
// the temporary name is random, a leftover that cannot be removed stops the
// write, and the file moved into place must still be the one written.
//
// https://learn.microsoft.com/windows/win32/api/winbase/nf-winbase-movefileexa
#pragma once

#include "fs/file_stream.h"

// Opens `stream` for the new contents of `target`; failures as FileStream's.
void BeginReplacement(FileStream& stream, const char* target);
// Closes the stream and puts what it wrote in place, flushed first when it
// replaces a file (a new file written in place is not flushed). A target
// that cannot be replaced (in use) is reported as "Error opening file" with
// its path, and the temporary file goes.
void CommitReplacement(FileStream& stream, const char* target);
// After a failure: closes the stream and deletes what it wrote (the
// temporary file, or the new file that had no predecessor), never the
// file it was to replace.
void DiscardReplacement(FileStream& stream);
