#pragma once
// Errors and warnings of the media readers. An error ends the reading and names the file and
// what is wrong with it; a warning says what was skipped and where, and the reading goes on.
#include <functional>
#include <stdexcept>
#include <string>

namespace media {

class MediaError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Receives each warning as one line of text; the caller decides where it goes.
using WarningSink = std::function<void(const std::string&)>;

}  // namespace media
