#pragma once
// One run of the indexer: reads the title's VOB sequence once, builds the index of its video and
// demultiplexes the chosen audio track on the way, then writes both under their final names.
#include <ostream>

#include "Options.h"
#include "media/MediaError.h"

namespace indexer {

enum class Outcome {
    Done,
    AudioMissing,  // the index is written; the chosen audio track is not in the title, or
                   // nothing of it could be decoded
};

// MediaError, naming the file, when the title cannot be indexed or a file cannot be written;
// nothing is left under a final name then. Progress lines go to `progress`.
Outcome Run(const Options& options, std::ostream& progress, const media::WarningSink& warn);

}  // namespace indexer
