#pragma once
// Cuts the video elementary stream into one piece per coded picture, each tagged with its coded
// number from the index, so that a decoded picture can be told by its tag whatever the decoder
// held back or dropped. A piece runs from the headers before a picture (sequence, GOP) to the
// last slice of the picture; a picture coded as two fields is one piece with both.
//
// The numbering follows the index: at each entry's first start code the caller says which entry
// begins, and the pictures found after it take that entry's numbers in turn. After bytes the
// caller could not place (an entry passed over, damage) pictures are tagged kUnknown until the
// next entry begins.
#include <cstdint>
#include <vector>

#include "media/VideoIndex.h"

namespace decoder {

struct PicturePiece {
    std::vector<uint8_t> bytes;
    int tag = -1;  // coded number, or kUnknown
};

class PictureSplitter {
  public:
    static constexpr int kUnknown = -1;

    // The pictures that follow are those of `entry`, whose first coded number is `firstCoded`.
    // What was pending is finished first. `prefix` (a sequence header for an entry without one)
    // goes in front of the entry's first picture. `entry` must outlive the splitter's use of it.
    void BeginEntry(const media::IndexEntry& entry, int firstCoded,
                    const std::vector<uint8_t>& prefix = {});
    // The numbering is lost until the next BeginEntry.
    void LoseCount() { entry_ = nullptr; }
    void Feed(const uint8_t* data, size_t size);
    // The end of the stream: the pending picture is finished.
    void Finish();
    // Drops everything pending and forgets the numbering (before a seek).
    void Reset();

    // The pieces finished so far; the caller takes them.
    std::vector<PicturePiece>& Ready() { return ready_; }

  private:
    void StartCode(size_t at, uint8_t code);
    void Emit(size_t end);

    std::vector<uint8_t> pending_;
    size_t scanned_ = 0;  // start codes before this offset of pending_ were handled
    int headers_ = 0;     // picture headers in pending_
    bool inSlices_ = false;
    int tag_ = kUnknown;  // of the picture in pending_
    int neededHeaders_ = 1;
    const media::IndexEntry* entry_ = nullptr;
    int firstCoded_ = 0;
    size_t nextInEntry_ = 0;
    std::vector<PicturePiece> ready_;
};

}  // namespace decoder
