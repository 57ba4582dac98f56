#pragma once
// Finding where an AVI file must be cut so that each part fits on a CD and begins with a key
// frame. The search reads the file's chunk index in either form AVI files carry: the "idx1" index
// of a plain file, or the OpenDML super index with its standard indexes in a file of several
// RIFFs.
#include <array>
#include <cstdint>
#include <string>

#include "avi/AviFileReader.h"
#include "avi/AviIndex.h"
#include "avi/AviStructure.h"

class TAVISplitSearch {
  public:
    TAVISplitSearch() = default;
    ~TAVISplitSearch() = default;
    TAVISplitSearch(const TAVISplitSearch&) = delete;
    TAVISplitSearch& operator=(const TAVISplitSearch&) = delete;

    // Scans the file and reads its index; true when the index holds at least one entry. Never
    // throws: every failure (file missing or unreadable, not a RIFF file, no index, damaged
    // sizes) gives false, and LastError() names the file and what was wrong. The file stays open
    // for reading until the object ends.
    bool Open(const std::string& path);

    // The frame at which the next part must begin when the current part starts at `startFrame`
    // and may take `sizeMiB` mebibytes. Frames count video chunks from 0. The size of a part is
    // estimated as the file's start of chunks plus, for every chunk of the part, its size and 24
    // bytes of overhead. The result is the last key frame at or before the frame whose chunk
    // makes the part reach the limit. When the rest of the file fits, or `startFrame` is at or
    // past the last frame, the result is the number of video frames, so that a part ending there
    // keeps the last frame. When no key frame after `startFrame` comes before the limit, the part
    // runs on to the next key frame (or to the end): the cut must land on a key frame, and a
    // result at or before the start would make the parts overlap.
    int32_t FindSplitFrame(int32_t startFrame, int32_t sizeMiB) const;

    const std::string& LastError() const { return lastError_; }

    const TMyIndex& Index() const { return index_; }
    const TAviSuperIndexEntryArray& SuperIndex() const { return layout_.SuperIndex; }
    int64_t FileSize() const { return layout_.FileSize; }
    int64_t MoviStart() const { return layout_.MoviStart; }
    int64_t Idx1Start() const { return layout_.Idx1Start; }
    uint32_t Idx1Count() const { return layout_.Idx1Count; }
    const std::array<uint8_t, avi::kMainHeaderSize>& MainHeader() const {
        return layout_.MainHeader;
    }
    uint32_t OdmlTotalFrames() const { return layout_.OdmlTotalFrames; }
    bool IsOpenDml() const { return layout_.IsOpenDml; }
    // True when Index() was read from the standard indexes rather than "idx1".
    bool UsedOpenDmlIndex() const { return usedOpenDml_; }

  private:
    void ReadIndex();
    int32_t NextKeyFrameAfter(size_t entry, int64_t frame) const;

    avi::TAviFileReader file_;
    avi::TAviStructure layout_;
    TMyIndex index_;
    bool usedOpenDml_ = false;
    std::string lastError_;
};
