#pragma once
// Adding files to an archive: a new archive is written beside the old one with the old entries
// and the new files, then renamed over it.
#include <string>
#include <vector>

#include "ArchiveWriter.h"

namespace archiver {

struct NewFile {
    std::string path;  // the file on disk
    std::string name;  // its name inside the archive
};

// Creates the archive, or keeps every entry of the existing one except those named like a new
// file, which the new file replaces. Raises an error naming the file concerned when the existing
// archive cannot be read (not a RAR archive, damaged, an entry that is neither file nor folder),
// a new file cannot be read, or the archive cannot be written; the old archive is then left as
// it was and no temporary file stays behind.
void UpdateArchive(const std::string& archive, const std::vector<NewFile>& files,
                   const ProgressSink& progress = {});

}  // namespace archiver
