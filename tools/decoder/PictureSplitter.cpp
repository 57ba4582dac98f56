#include "PictureSplitter.h"

#include <cstring>

#include "media/VideoHeaders.h"

namespace decoder {

namespace code = media::start_code;

void PictureSplitter::BeginEntry(const media::IndexEntry& entry, int firstCoded,
                                 const std::vector<uint8_t>& prefix) {
    Emit(pending_.size());
    pending_.clear();
    scanned_ = 0;
    entry_ = &entry;
    firstCoded_ = firstCoded;
    nextInEntry_ = 0;
    Feed(prefix.data(), prefix.size());
}

void PictureSplitter::Feed(const uint8_t* data, size_t size) {
    pending_.insert(pending_.end(), data, data + size);
    size_t i = scanned_;
    while (i + 4 <= pending_.size()) {
        const uint8_t* base = pending_.data();
        const size_t n = pending_.size();
        // A 01 byte with two zeros before it; the code byte after it must be there too.
        const void* one = std::memchr(base + i + 2, 1, n - i - 3);
        if (!one) {
            i = n - 3;  // a start code may still be cut at the end
            break;
        }
        const size_t j = static_cast<size_t>(static_cast<const uint8_t*>(one) - base);
        if (base[j - 1] == 0 && base[j - 2] == 0) {
            const size_t before = pending_.size();
            StartCode(j - 2, base[j + 1]);
            i = j - 2 - (before - pending_.size()) + 4;  // Emit may have taken bytes off the front
        } else {
            i = j - 1;
        }
    }
    scanned_ = i;
}

void PictureSplitter::StartCode(size_t at, uint8_t startCode) {
    if (startCode == code::kPicture) {
        if (inSlices_ && headers_ >= neededHeaders_) Emit(at);
        if (headers_ == 0) {
            const size_t count = entry_ ? entry_->pictures.size() : 0;
            neededHeaders_ = 1;
            tag_ = kUnknown;
            if (nextInEntry_ < count) {
                const auto& picture = entry_->pictures[nextInEntry_];
                if (picture.flags & media::IndexPicture::kFieldPair) neededHeaders_ = 2;
                tag_ = firstCoded_ + static_cast<int>(nextInEntry_);
            }
            ++nextInEntry_;
        }
        ++headers_;
        inSlices_ = false;
    } else if (startCode <= code::kLastSlice) {
        inSlices_ = headers_ > 0;
    } else if (startCode == code::kSequence || startCode == code::kGop) {
        if (inSlices_) Emit(at);
    }
}

// Hands on pending_[0, end) as one picture when it holds one; the bytes after stay pending.
void PictureSplitter::Emit(size_t end) {
    if (headers_ > 0)
        ready_.push_back({std::vector<uint8_t>(pending_.begin(), pending_.begin() + end), tag_});
    pending_.erase(pending_.begin(), pending_.begin() + end);
    headers_ = 0;
    inSlices_ = false;
    tag_ = kUnknown;
}

void PictureSplitter::Finish() {
    Emit(pending_.size());
    scanned_ = 0;
}

void PictureSplitter::Reset() {
    pending_.clear();
    scanned_ = 0;
    headers_ = 0;
    inSlices_ = false;
    tag_ = kUnknown;
    entry_ = nullptr;
    ready_.clear();
}

}  // namespace decoder
