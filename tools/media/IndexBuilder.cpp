#include "media/IndexBuilder.h"

#include <string>

namespace media {

IndexBuilder::IndexBuilder(const VobSequence& sequence, WarningSink warn, int streamId)
    : sequence_(sequence), warn_(std::move(warn)) {
    index_.format.streamId = streamId;
}

void IndexBuilder::Add(const VideoHeader& header) {
    using Kind = VideoHeader::Kind;
    switch (header.kind) {
        case Kind::Sequence:
            TakeSequence(header);
            Open(header, IndexEntry::kSequenceHeader);
            break;
        case Kind::SequenceExtension:
            if (haveSequence_ && !haveExtension_) {
                const SequenceExtension& e = header.sequenceExtension;
                VideoFormat& f = index_.format;
                f.mpeg2 = true;
                f.progressiveSequence = e.progressiveSequence;
                f.chromaFormat = e.chromaFormat;
                f.width |= e.widthExtension << 12;
                f.height |= e.heightExtension << 12;
                haveExtension_ = true;
            }
            break;
        case Kind::Gop:
            if (!haveSequence_) break;
            Open(header, 0);
            if (header.gop.closed) index_.entries.back().flags |= IndexEntry::kClosedGop;
            if (header.gop.brokenLink) index_.entries.back().flags |= IndexEntry::kBrokenLink;
            break;
        case Kind::Picture:
            AddPicture(header);
            break;
        case Kind::PictureCodingExtension:
            ApplyCoding(header.coding);
            break;
        case Kind::Damage:
            if (!index_.entries.empty()) index_.entries.back().flags |= IndexEntry::kAfterDamage;
            break;
        case Kind::End:
            break;
    }
}

VideoIndex IndexBuilder::Take() {
    while (!index_.entries.empty() && index_.entries.back().pictures.empty())
        index_.entries.pop_back();
    return std::move(index_);
}

void IndexBuilder::TakeSequence(const VideoHeader& header) {
    const SequenceHeader& s = header.sequence;
    VideoFormat& f = index_.format;
    if (!haveSequence_) {
        f.width = s.width;
        f.height = s.height;
        f.aspectCode = s.aspectCode;
        f.frameRateCode = s.frameRateCode;
        haveSequence_ = true;
        return;
    }
    if ((f.width & 0xFFF) == s.width && (f.height & 0xFFF) == s.height) return;
    if (sizeWarned_) return;
    sizeWarned_ = true;
    warn_("The picture size changes from " + std::to_string(f.width) + "x" +
          std::to_string(f.height) + " to " + std::to_string(s.width) + "x" +
          std::to_string(s.height) + " at " + sequence_.Describe(header.place.packetOffset) +
          "; the index keeps the first size.");
}

void IndexBuilder::Open(const VideoHeader& header, uint8_t flags) {
    if (entryOpen_) {  // a GOP header right after its sequence header
        index_.entries.back().flags |= flags;
        return;
    }
    IndexEntry entry;
    entry.flags = flags;
    const HeaderPlace& at = header.place;
    entry.position = sequence_.PositionOf(at.packOffset >= 0 ? at.packOffset : at.packetOffset);
    entry.skip = at.skip;
    index_.entries.push_back(std::move(entry));
    entryOpen_ = true;
}

void IndexBuilder::AddPicture(const VideoHeader& header) {
    if (!haveSequence_) {
        ++skipped_;
        return;
    }
    entryOpen_ = false;
    IndexEntry& entry = index_.entries.back();
    int type = header.picture.codingType;
    if (type == 4) type = 1;  // a D picture is decoded on its own, like an I picture
    if (type < 1 || type > 3) type = 2;
    IndexPicture picture;
    picture.flags = static_cast<uint8_t>(type);
    if (!index_.format.mpeg2) picture.flags |= IndexPicture::kProgressiveFrame;
    if (entry.pictures.empty()) entry.pts = header.pts;
    entry.pictures.push_back(picture);
}

void IndexBuilder::ApplyCoding(const PictureCodingExtension& coding) {
    if (index_.entries.empty() || index_.entries.back().pictures.empty()) return;
    std::vector<IndexPicture>& pictures = index_.entries.back().pictures;
    IndexPicture& last = pictures.back();
    if (coding.structure == PictureStructure::Frame) {
        if (coding.topFieldFirst) last.flags |= IndexPicture::kTopFieldFirst;
        if (coding.repeatFirstField) last.flags |= IndexPicture::kRepeatFirstField;
        if (coding.progressiveFrame) last.flags |= IndexPicture::kProgressiveFrame;
        return;
    }
    // The second field of a pair joins the first.
    if (pictures.size() >= 2) {
        IndexPicture& first = pictures[pictures.size() - 2];
        if ((first.flags & IndexPicture::kSingleField) && lastField_ != coding.structure) {
            first.flags = (first.flags & ~IndexPicture::kSingleField) | IndexPicture::kFieldPair;
            pictures.pop_back();
            lastField_ = PictureStructure::Frame;
            return;
        }
    }
    last.flags |= IndexPicture::kSingleField;
    if (coding.structure == PictureStructure::Top) last.flags |= IndexPicture::kTopFieldFirst;
    lastField_ = coding.structure;
}

}  // namespace media
