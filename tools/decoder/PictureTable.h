#pragma once
// The pictures of an index in display order, and where decoding has to begin for each: the
// entry (GOP) that holds it, or the one before for a leading B picture of an open GOP, which
// refers to the previous GOP's last anchor. Pictures are numbered in display order from 0.
#include <cstdint>
#include <vector>

#include "media/VideoIndex.h"

namespace decoder {

class PictureTable {
  public:
    // The index must list at least one picture (the caller checks).
    explicit PictureTable(const media::VideoIndex& index);

    int Count() const { return static_cast<int>(displayToCoded_.size()); }
    int EntryCount() const { return static_cast<int>(entryFirst_.size()); }
    media::IndexPicture Flags(int display) const { return coded_[displayToCoded_[display]]; }
    // The coded number (position in coded order over the whole index) of a picture, and back.
    int CodedOf(int display) const { return displayToCoded_[display]; }
    int DisplayOf(int coded) const { return codedToDisplay_[coded]; }
    int FirstCoded(int entry) const { return entryFirst_[entry]; }
    int EntryOfCoded(int coded) const;

    // The entry decoding has to start at to reach picture `display`.
    int StartEntryFor(int display) const;
    // The first picture, in display order, that comes out right when decoding starts at `entry`.
    int FirstValid(int entry) const;
    // The picture served in place of `display`: itself, or for a leading B picture that has no
    // reference (an open first GOP, or an open GOP after a broken link) the GOP's first anchor,
    // the first picture that decodes there.
    int Served(int display) const;

  private:
    // A B picture coded after its entry's first anchor and before its second: shown before the
    // first anchor, predicted from the previous entry's last one.
    bool IsLeadingB(int coded) const;

    std::vector<int> displayToCoded_;
    std::vector<int> codedToDisplay_;
    std::vector<media::IndexPicture> coded_;  // in coded order
    std::vector<uint8_t> entryFlags_;
    std::vector<int> entryFirst_;                  // coded number of each entry's first picture
    std::vector<int> firstAnchor_, secondAnchor_;  // coded numbers; the entry's end when none
};

}  // namespace decoder
