#pragma once
// The entries of an archive that already exists, read with libarchive and written again.
#include <string>
#include <vector>

#include "ArchiveWriter.h"

namespace archiver {

// Copies every file and folder of the RAR archive at `path` to `writer`, in order, except those
// named in `replaced`. Raises an error naming the archive when it is not a RAR archive, is
// damaged, or holds an entry that is neither a file nor a folder.
void CopyEntries(const std::string& path, const std::vector<std::string>& replaced,
                 ArchiveWriter& writer);

}  // namespace archiver
