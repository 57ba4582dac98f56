// The packet source on the title's VOB files. Reading the VOB sequence itself belongs to the
// shared program-stream reader of the tools, which this library does not have yet.
#include <stdexcept>

#include "SubpictureSource.h"

namespace subtitles {

std::unique_ptr<SubpictureSource> OpenTitleVobs(const std::string& ifoPath) {
    throw std::runtime_error("the subpicture streams of the VOBs beside " + ifoPath +
                             " cannot be read yet: this build has no VOB reader");
}

}  // namespace subtitles
