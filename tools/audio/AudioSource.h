#pragma once
// The demultiplexed track as decoded audio: AC3, DTS, MPEG audio (layers I to III) or WAV, read
// with libavformat and decoded with libavcodec. A damaged frame, or bytes the frame reader had
// to skip, come out as silence of the length they stood for, so that the timeline after the
// damage stays where it was; each such place is reported through the warning callback.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

extern "C" {
#include <libavutil/frame.h>
}

struct AVFormatContext;
struct AVCodecContext;
struct AVPacket;

namespace audio {

struct SourceInfo {
    std::string format;  // the reader's name: ac3, dts, mp3 (all MPEG audio) or wav
    std::string codec;   // the decoder's long name
    std::string layout;  // "5.1(side)", "stereo", ...
    int channels = 0;
    int sampleRate = 0;
    int64_t bitRate = 0;  // bit/s, 0 when unknown
    int64_t fileSize = 0;
};

class AudioSource {
  public:
    using Warn = std::function<void(const std::string&)>;

    // Opens and checks the file; throws std::runtime_error naming it and what is wrong.
    AudioSource(const std::string& path, Warn warn);
    ~AudioSource();
    AudioSource(const AudioSource&) = delete;
    AudioSource& operator=(const AudioSource&) = delete;

    // The next block of audio, valid until the next call; nullptr after the last. The channel
    // layout is always a known order. Throws when the file cannot be read on.
    const AVFrame* Next();

    const SourceInfo& Info() const { return info_; }
    int64_t BytesRead() const { return expectedPos_ < 0 ? 0 : expectedPos_; }
    int64_t DecodedSamples() const { return decodedSamples_; }  // good audio, silence not counted
    int64_t SilentSamples() const { return silentSamples_; }    // put in for damage

  private:
    struct Deleters {
        void operator()(AVFormatContext* p) const;
        void operator()(AVCodecContext* p) const;
        void operator()(AVPacket* p) const;
        void operator()(AVFrame* p) const;
    };

    void Open();
    void OpenDecoder();
    // Feeds the decoder one packet of our stream (or the end); false once there is none left.
    bool Feed();
    // Damage of `bytes` at `pos`: silence for as many frames as those bytes held.
    void Damaged(int64_t pos, int64_t bytes, const char* what);
    const AVFrame* Silence();
    const AVFrame* Deliver();

    std::string path_;
    Warn warn_;
    SourceInfo info_;
    std::unique_ptr<AVFormatContext, Deleters> format_;
    std::unique_ptr<AVCodecContext, Deleters> decoder_;
    std::unique_ptr<AVPacket, Deleters> packet_;
    std::unique_ptr<AVFrame, Deleters> frame_;
    std::unique_ptr<AVFrame, Deleters> silence_;
    std::unique_ptr<AVFrame, Deleters> shape_;  // format, layout and rate of the last good frame
    int stream_ = -1;
    bool ended_ = false;
    int64_t expectedPos_ = -1;  // where the next packet should start
    int64_t sentPos_ = 0;       // the last packet given to the decoder
    int64_t sentBytes_ = 0;
    int64_t frameBytes_ = 0;    // bytes and samples of the last good frame: the measure of
    int64_t frameSamples_ = 0;  // how much silence a damaged stretch stands for
    int64_t pendingSilence_ = 0;
    int64_t decodedSamples_ = 0;
    int64_t silentSamples_ = 0;
};

// The libraries' text for an error code.
std::string AvErrorText(int code);

}  // namespace audio
