#pragma once
// The subpictures of one stream of a subtitle pair (the text index and the bitmap file beside
// it, "<name>.sub"), with the times they show. The stream is the one "langidx:" names; with
// "forced subs: ON" only forced subpictures are kept. A subpicture shows from its time stamp
// (plus the index's time offset and its own start delay) until its stop time or, without one or
// past it, until the next subpicture of the stream replaces it.
//
// Damage costs only what it touches: an index line that cannot be read, a subpicture that the
// bitmap file does not hold whole (a file shorter than the index says), one that does not decode
// (run-length data overrunning its unit) are each skipped with one warning.
#include <optional>
#include <string>
#include <vector>

#include "Subpicture.h"
#include "VobSubSettings.h"

namespace subrender {

class SubtitleTrack {
  public:
    // Throws std::runtime_error naming the file when the index or the bitmap file cannot be read
    // or the index is none.
    SubtitleTrack(const std::string& idxPath, std::vector<std::string>& warnings);

    const VobSubSettings& Settings() const { return settings_; }
    size_t Count() const { return shown_.size(); }
    // The subpicture showing at `ms` on the pair's timeline, or nullptr.
    const Subpicture* At(int64_t ms);

  private:
    struct Shown {
        int64_t startMs = 0, endMs = 0;
        std::vector<uint8_t> unit;
    };
    void Load(const std::string& idxPath, std::vector<std::string>& warnings);

    VobSubSettings settings_;
    std::optional<SubpictureDecoder> decoder_;
    std::vector<Shown> shown_;  // in time order
    size_t cachedAt_ = size_t(-1);
    std::optional<Subpicture> cached_;
};

// "<idx without its extension>.sub".
std::string BitmapFileOf(const std::string& idxPath);

}  // namespace subrender
