#include "VideoSources.h"

#include <cstring>

#include "media/MediaError.h"

namespace jobrunner {

namespace {

class ScriptFrames final : public VideoSource {
  public:
    ScriptFrames(fsclient::ClipScript& script, int first, int count, ServeMode mode,
                 VideoCodec* codec)
        : mode_(mode), codec_(codec), count_(count) {
        const FsVideoInfo& info = script.Info();
        description_.width = info.width;
        description_.height = info.height;
        description_.rateNum = info.fps_numerator;
        description_.rateDen = info.fps_denominator;
        description_.bitCount = 12;
        description_.fourcc = MxFourCC('I', '4', '2', '0');
        description_.imageSize = uint32_t(info.width) * uint32_t(info.height) * 3 / 2;
        if (mode_ == ServeMode::Compress) {
            const MxStreamFormat format = codec_->Begin(info.width, info.height, info.fps_numerator,
                                                        info.fps_denominator, count);
            description_.fourcc = format.fourcc;
            description_.bitCount = 24;
            description_.imageSize = uint32_t(info.width) * uint32_t(info.height) * 3;
        }
        // Served last, so a codec that refuses the format leaves no thread behind.
        served_ = std::make_unique<ServedFrames>(script, first, count);
    }
    const VideoDescription& Description() const override { return description_; }
    bool Compressed() const override { return mode_ == ServeMode::Compress; }
    int64_t Frames() const override { return count_; }
    int Lag() const override { return held_ ? 1 : 0; }

    bool Next(VideoChunk& chunk) override {
        if (mode_ == ServeMode::Compress) return NextCompressed(chunk);
        const fsclient::FramePtr frame = served_->Next();
        if (!frame) return false;
        chunk = VideoChunk{};
        if (mode_ == ServeMode::Uncompressed) {
            Pack(*frame);
            chunk.data = picture_.data();
            chunk.size = picture_.size();
        }
        return true;
    }

  private:
    bool NextCompressed(VideoChunk& chunk) {
        while (!done_) {
            if (!flushing_) {
                const fsclient::FramePtr frame = served_->Next();
                if (frame) {
                    codec_->Compress(*frame);
                    if (codec_->Bytes() == 0) held_ = true;
                } else {
                    flushing_ = true;
                }
            }
            if (flushing_ && !codec_->Flush()) {
                done_ = true;
                codec_->End();
                break;
            }
            if (codec_->Bytes() > 0) {
                chunk = VideoChunk{codec_->Data(), codec_->Bytes(), codec_->Key(), codec_->Type()};
                return true;
            }
        }
        return false;
    }
    // The planes one after another without their padding: the I420 picture.
    void Pack(const FsFrame& frame) {
        picture_.resize(description_.imageSize);
        uint8_t* to = picture_.data();
        for (int p = 0; p < 3; ++p)
            for (int y = 0; y < frame.height[p]; ++y, to += frame.width[p])
                std::memcpy(to, frame.data[p] + size_t(y) * size_t(frame.pitch[p]),
                            size_t(frame.width[p]));
    }

    ServeMode mode_;
    VideoCodec* codec_;
    int64_t count_;
    VideoDescription description_;
    std::unique_ptr<ServedFrames> served_;
    std::vector<uint8_t> picture_;
    bool flushing_ = false, done_ = false, held_ = false;
};

class AviFrames final : public VideoSource {
  public:
    AviFrames(std::unique_ptr<AviVideoReader> reader, int64_t first, int64_t count)
        : reader_(std::move(reader)), first_(first), count_(count) {
        reader_->Seek(first);
    }
    const VideoDescription& Description() const override { return reader_->Description(); }
    bool Compressed() const override { return true; }
    int64_t Frames() const override { return count_; }

    bool Next(VideoChunk& chunk) override {
        if (written_ == count_) return false;
        const int64_t want = first_ + written_;
        // A chunk numbered before the one wanted (a number given twice) is dropped.
        while (!ended_ && (!held_ || frame_ < want)) {
            held_ = reader_->Next(frame_, data_, size_, key_);
            ended_ = !held_;
        }
        if (ended_)
            throw media::MediaError("The AVI " + reader_->Path() + " ends at frame " +
                                    std::to_string(want) + ", within the range of " +
                                    std::to_string(count_) + " frames from frame " +
                                    std::to_string(first_));
        chunk = VideoChunk{nullptr, 0, false, 'N'};
        if (held_ && frame_ == want) {
            chunk = VideoChunk{data_, size_, key_, key_ ? 'I' : 'P'};
            held_ = false;
        }
        ++written_;
        return true;
    }

  private:
    std::unique_ptr<AviVideoReader> reader_;
    int64_t first_, count_;
    int64_t written_ = 0;
    bool held_ = false;  // a chunk read but not yet given out
    bool ended_ = false;
    int64_t frame_ = 0;
    const uint8_t* data_ = nullptr;
    size_t size_ = 0;
    bool key_ = false;
};

}  // namespace

std::unique_ptr<VideoSource> ScriptVideo(fsclient::ClipScript& script, int first, int count,
                                         ServeMode mode, VideoCodec* codec) {
    return std::make_unique<ScriptFrames>(script, first, count, mode, codec);
}

std::unique_ptr<VideoSource> AviVideo(std::unique_ptr<AviVideoReader> reader, int64_t first,
                                      int64_t count) {
    return std::make_unique<AviFrames>(std::move(reader), first, count);
}

}  // namespace jobrunner
