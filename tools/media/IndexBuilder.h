#pragma once
// Builds a VideoIndex from the headers of one video stream, in stream order. An entry begins at
// a sequence header or a GOP header (one entry when both come in a row); pictures before the
// first sequence header cannot be decoded and are left out (counted in SkippedPictures()).
// The two field pictures of a frame become one picture.
#include "media/MediaError.h"
#include "media/VideoIndex.h"
#include "media/VideoScanner.h"

namespace media {

class IndexBuilder {
  public:
    IndexBuilder(const VobSequence& sequence, WarningSink warn, int streamId);
    void Add(const VideoHeader& header);
    const VideoIndex& Index() const { return index_; }
    // The index, without a last entry that no picture followed (a sequence header before the end).
    VideoIndex Take();
    int64_t SkippedPictures() const { return skipped_; }

  private:
    void Open(const VideoHeader& header, uint8_t flags);
    void AddPicture(const VideoHeader& header);
    void ApplyCoding(const PictureCodingExtension& coding);
    void TakeSequence(const VideoHeader& header);

    const VobSequence& sequence_;
    WarningSink warn_;
    VideoIndex index_;
    bool haveSequence_ = false, haveExtension_ = false, sizeWarned_ = false;
    bool entryOpen_ = false;  // an entry was begun and has no picture yet
    PictureStructure lastField_ = PictureStructure::Frame;
    int64_t skipped_ = 0;
};

}  // namespace media
