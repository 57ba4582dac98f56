#pragma once
// A stage whose work is not part of this build yet ends the job with a message that names it,
// rather than letting the run go on as if it had been done.
#include <stdexcept>
#include <string>

[[noreturn]] inline void StageMissing(const std::string& stage) {
    throw std::runtime_error(stage + " is not available in this build.");
}
