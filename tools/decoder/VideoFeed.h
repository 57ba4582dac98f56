#pragma once
// The title's video read from its VOB files from any entry on: seeks to the pack where the entry
// begins, takes the packets of the index's video stream, drops the payload bytes before the
// entry's first start code, and cuts what follows into numbered pictures (PictureSplitter).
// An entry without a sequence header of its own gets the last one before it in front.
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "PictureSplitter.h"
#include "PictureTable.h"
#include "media/ByteSource.h"
#include "media/IndexFile.h"
#include "media/PackReader.h"

namespace decoder {

class VideoFeed {
  public:
    // `index` and `table` must outlive the feed. MediaError when a VOB file cannot be opened or
    // the entries are out of order.
    VideoFeed(const std::string& indexPath, const media::IndexFile& index,
              const PictureTable& table, media::WarningSink warn);

    // Goes to `entry`, or to the nearest entry before it whose bytes are there when a VOB file
    // is shorter than the index says (reading then runs on into the next file). Returns the
    // entry started at.
    int StartAt(int entry);
    // The next pictures, at least one; false when the data has ended and nothing is left.
    // MediaError when a file cannot be read.
    bool Next(std::vector<PicturePiece>& out);

  private:
    bool Pump(PictureSplitter& splitter);
    const std::vector<uint8_t>& SequenceHeaderBefore(int entry);

    const media::IndexFile& index_;
    const PictureTable& table_;
    media::VobStream stream_;
    media::PackReader reader_;
    std::vector<int64_t> offsets_;  // stream offset of each entry's pack
    std::vector<bool> present_;     // whether the entry's file is long enough to hold it
    size_t next_ = 0;               // the entry whose start comes next
    std::vector<uint8_t> prefix_;   // for the entry started at
    std::map<int, std::vector<uint8_t>> sequenceHeaders_;
    PictureSplitter splitter_;
    bool ended_ = false;
};

}  // namespace decoder
