#pragma once
// The log file of one run: what was read, what was done, what was written, and every warning or
// error (which also go to standard error). Lines may come from any thread.
#include <mutex>
#include <string>
#include <vector>

namespace audio {

class TranscodeLog {
  public:
    void Line(const std::string& text);
    void Warn(const std::string& text);
    void Error(const std::string& text);
    // Writes the log; a log that cannot be written is only reported on standard error, as the
    // MP3 is what the run is for.
    void Save(const std::string& path) const;

  private:
    mutable std::mutex mutex_;  // the decoding thread warns while the encoder runs
    std::vector<std::string> lines_;
};

}  // namespace audio
