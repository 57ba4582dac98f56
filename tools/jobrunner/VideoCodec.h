#pragma once
// The codec module a job names, driven through the codec layer's messages: opened by the
// handler code of SetCompression (as the drivers table spells it, in capitals), given the state
// of SetCompData, then begun, fed frame by frame, flushed and ended.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "frameserver_host.h"
#include "platform/codec_driver.h"

namespace jobrunner {

class VideoCodec {
  public:
    // `where` names the job's statement in messages ("lastjob.vcf, line 6"). Throws
    // std::runtime_error when no codec is installed for the code or it refuses the state.
    VideoCodec(uint32_t handler, const std::optional<std::vector<uint8_t>>& state,
               const std::string& where);
    ~VideoCodec();
    VideoCodec(const VideoCodec&) = delete;
    VideoCodec& operator=(const VideoCodec&) = delete;

    // Starts the run for `frames` frames of this picture format; returns the stream's format.
    MxStreamFormat Begin(int width, int height, uint32_t rateNum, uint32_t rateDen, int frames);
    // Compresses one frame; Bytes() may be 0 while the codec holds frames back.
    void Compress(const FsFrame& frame);
    // Gives the next frame held back; false when none is left.
    bool Flush();
    // Ends the run (a first pass saves its statistics here).
    void End();

    const uint8_t* Data() const { return output_.data(); }
    uint32_t Bytes() const { return result_.outputBytes; }
    bool Key() const { return (result_.flags & MXFRAME_KEY) != 0; }
    char Type() const { return result_.frameType ? result_.frameType : '?'; }

  private:
    void Check(intptr_t result, const char* step) const;

    std::unique_ptr<platform::CodecDriver> driver_;
    std::string name_;  // "the codec XVID (lastjob.vcf, line 6)"
    std::vector<uint8_t> output_;
    MxCompressFrame result_{};
};

}  // namespace jobrunner
