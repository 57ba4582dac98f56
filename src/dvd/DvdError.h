#pragma once
// The error every reader of a source folder raises: a stream information file, an IFO file or the
// folder itself that cannot be read as a DVD title. The message names the file and what was wrong;
// the window shows its own fixed text and logs this one.
#include <stdexcept>

class DvdParseError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};
