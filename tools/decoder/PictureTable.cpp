#include "PictureTable.h"

#include <algorithm>

namespace decoder {

using media::IndexEntry;

PictureTable::PictureTable(const media::VideoIndex& index) {
    for (const IndexEntry& entry : index.entries) {
        const int first = static_cast<int>(coded_.size());
        entryFirst_.push_back(first);
        entryFlags_.push_back(entry.flags);
        coded_.insert(coded_.end(), entry.pictures.begin(), entry.pictures.end());
        const int end = static_cast<int>(coded_.size());
        int anchors = 0, firstAnchor = end, secondAnchor = end;
        for (int c = first; c < end && anchors < 2; ++c) {
            if (coded_[c].IsB()) continue;
            (anchors++ == 0 ? firstAnchor : secondAnchor) = c;
        }
        firstAnchor_.push_back(firstAnchor);
        secondAnchor_.push_back(secondAnchor);
    }
    for (int64_t coded : media::DisplayOrder(index))
        displayToCoded_.push_back(static_cast<int>(coded));
    codedToDisplay_.resize(displayToCoded_.size());
    for (int d = 0; d < Count(); ++d) codedToDisplay_[displayToCoded_[d]] = d;
}

int PictureTable::EntryOfCoded(int coded) const {
    return static_cast<int>(std::upper_bound(entryFirst_.begin(), entryFirst_.end(), coded) -
                            entryFirst_.begin()) -
           1;
}

bool PictureTable::IsLeadingB(int coded) const {
    const int e = EntryOfCoded(coded);
    return coded_[coded].IsB() && coded > firstAnchor_[e] && coded < secondAnchor_[e];
}

int PictureTable::StartEntryFor(int display) const {
    const int coded = CodedOf(display);
    const int e = EntryOfCoded(coded);
    const bool closed = entryFlags_[e] & IndexEntry::kClosedGop;
    return e > 0 && !closed && IsLeadingB(coded) ? e - 1 : e;
}

int PictureTable::FirstValid(int entry) const {
    const int anchor = firstAnchor_[entry];
    const int end =
        entry + 1 < EntryCount() ? entryFirst_[entry + 1] : static_cast<int>(coded_.size());
    if (anchor == end)  // no anchor (or no picture at all): nothing before the next is sure
        return end < static_cast<int>(coded_.size()) ? DisplayOf(end) : Count() - 1;
    int first = DisplayOf(anchor);
    if (entryFlags_[entry] & IndexEntry::kClosedGop)
        for (int c = anchor + 1; c < secondAnchor_[entry]; ++c)
            first = std::min(first, DisplayOf(c));
    return first;
}

int PictureTable::Served(int display) const {
    const int coded = CodedOf(display);
    const int e = EntryOfCoded(coded);
    const uint8_t flags = entryFlags_[e];
    const bool unreferenced =
        !(flags & IndexEntry::kClosedGop) && (e == 0 || (flags & IndexEntry::kBrokenLink));
    return unreferenced && IsLeadingB(coded) ? DisplayOf(firstAnchor_[e]) : display;
}

}  // namespace decoder
