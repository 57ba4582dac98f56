#include "avi/AviSplit.h"

#include <algorithm>
#include <exception>
#include <limits>

#include "avi/AviFormat.h"
#include "avi/AviIndexRead.h"

namespace {

// What each chunk adds to a part beyond its data: its own header and its entry in the part's
// index.
constexpr int64_t kChunkOverhead = 24;
constexpr int64_t kMiB = 1048576;

int32_t ToFrame(int64_t frame) {
    return int32_t(std::clamp<int64_t>(frame, 0, std::numeric_limits<int32_t>::max()));
}

}  // namespace

bool TAVISplitSearch::Open(const std::string& path) {
    file_.Close();
    layout_ = avi::TAviStructure{};
    index_ = TMyIndex{};
    usedOpenDml_ = false;
    lastError_.clear();
    try {
        if (!file_.Open(path)) {
            lastError_ = path + ": " + file_.Problem();
            return false;
        }
        avi::ScanAviStructure(file_, layout_);
        ReadIndex();
        if (index_.empty()) throw avi::TAviFormatError("its index holds no entries");
        return true;
    } catch (const std::exception& e) {
        lastError_ = path + ": " + e.what();
    } catch (...) {
        lastError_ = path + ": the file could not be read";
    }
    index_ = TMyIndex{};
    file_.Close();
    return false;
}

void TAVISplitSearch::ReadIndex() {
    // A file of several RIFFs is only fully described by its standard indexes; its "idx1" covers
    // the first RIFF. A file that carries only standard indexes is read from them too.
    const bool hasSuper = !layout_.SuperIndex.empty();
    if (hasSuper && (layout_.IsOpenDml || layout_.Idx1Count == 0)) {
        avi::ReadOpenDmlIndex(file_, layout_, index_);
        usedOpenDml_ = true;
    } else if (layout_.Idx1Count > 0) {
        avi::ReadIdx1Index(file_, layout_, index_);
    } else if (!layout_.HasAviRiff) {
        throw avi::TAviFormatError("not an AVI file (no RIFF \"AVI \" structure at its start)");
    } else {
        throw avi::TAviFormatError("it has no index (neither \"idx1\" nor OpenDML indexes)");
    }
}

int32_t TAVISplitSearch::FindSplitFrame(int32_t startFrame, int32_t sizeMiB) const {
    const int64_t limit = int64_t(sizeMiB) * kMiB;
    const size_t count = index_.size();
    int64_t frame = -1;
    size_t i = 0;
    int64_t partSize = layout_.MoviStart;
    if (startFrame > 0) {
        while (i < count && frame < startFrame) {
            if (index_[i].IsVideo()) ++frame;
            ++i;
        }
        if (frame < startFrame) return ToFrame(frame + 1);
        partSize += int64_t(index_[i - 1].Size) + kChunkOverhead;
    }
    const int64_t first = std::max<int64_t>(startFrame, 0);
    int64_t key = -1;
    bool reached = false;
    for (; i < count; ++i) {
        const TMyIndexEntry& e = index_[i];
        if (e.IsVideo()) {
            ++frame;
            if (e.Kind == kChunkKeyFrame) key = frame;
        }
        partSize += int64_t(e.Size) + kChunkOverhead;
        if (partSize >= limit) {
            reached = true;
            break;
        }
    }
    if (!reached) return ToFrame(frame + 1);
    if (key > first) return ToFrame(key);
    return NextKeyFrameAfter(i + 1, frame);
}

int32_t TAVISplitSearch::NextKeyFrameAfter(size_t entry, int64_t frame) const {
    for (; entry < index_.size(); ++entry) {
        if (!index_[entry].IsVideo()) continue;
        ++frame;
        if (index_[entry].Kind == kChunkKeyFrame) return ToFrame(frame);
    }
    return ToFrame(frame + 1);
}
