#include "AudioTrack.h"

#include <algorithm>
#include <cmath>

namespace jobrunner {

namespace {

// Chunks of a stream counted in bytes: long enough that their index entries cost less than the
// planner's budget sets aside for them, short enough for any player's buffer.
constexpr double kByteChunkSeconds = 0.5;

double FrameSeconds(const FrameHeader& h) {
    return double(h.samplesPerFrame) / h.sampleRate;
}

}  // namespace

AudioPlacement PlaceAudio(const FrameHeader& h, double offsetSeconds, double endSeconds) {
    AudioPlacement p;
    const auto shift = int64_t(std::nearbyint(offsetSeconds / FrameSeconds(h)));
    if (shift > 0)
        p.leadFrames = shift;
    else
        p.dropFrames = -shift;
    if (endSeconds >= 0) p.maxFrames = int64_t(std::nearbyint(endSeconds / FrameSeconds(h)));
    return p;
}

AudioTrack::AudioTrack(std::unique_ptr<FrameReader> reader, const FrameHeader& first,
                       AudioLayout layout, double offsetSeconds, double endSeconds)
    : reader_(std::move(reader)),
      first_(first),
      layout_(layout),
      offsetSeconds_(offsetSeconds),
      endSeconds_(endSeconds),
      silence_(first),
      frameSeconds_(FrameSeconds(first)) {}

void AudioTrack::Place(double lagSeconds) {
    if (placed_) return;
    placed_ = true;
    placement_ = PlaceAudio(first_, offsetSeconds_ + lagSeconds,
                            endSeconds_ < 0 ? -1 : endSeconds_ + lagSeconds);
}

// The source's frames, with silence where damage was stepped over.
bool AudioTrack::NextTimelineFrame(std::vector<uint8_t>& frame) {
    if (!pending_) {
        AudioFrame f;
        if (!reader_->Next(f)) return false;
        if (layout_ == AudioLayout::ByteCounted && f.header.bitRate != first_.bitRate)
            throw media::MediaError(
                reader_->Name() + " at offset " + std::to_string(f.offset) +
                ": the bit rate changes from " + std::to_string(first_.bitRate / 1000) + " to " +
                std::to_string(f.header.bitRate / 1000) + " kbit/s in a stream timed by its bytes");
        const uint32_t unit = lastSize_ ? lastSize_ : f.header.size;
        gapFrames_ = int64_t(std::nearbyint(double(f.skippedBefore) / unit));
        pendingFrame_.assign(f.data, f.data + f.header.size);
        lastSize_ = f.header.size;
        pending_ = true;
    }
    if (gapFrames_ > 0) {
        --gapFrames_;
        frame = silence_.Next();
        return true;
    }
    pending_ = false;
    frame.swap(pendingFrame_);
    return true;
}

bool AudioTrack::NextFrame(std::vector<uint8_t>& frame) {
    if (placement_.maxFrames >= 0 && written_ >= placement_.maxFrames) return false;
    if (placement_.leadFrames > 0) {
        --placement_.leadFrames;
        frame = silence_.Next();
        return true;
    }
    for (; placement_.dropFrames > 0; --placement_.dropFrames)
        if (!NextTimelineFrame(frame)) return false;
    return NextTimelineFrame(frame);
}

bool AudioTrack::NextChunk(AudioChunk& chunk) {
    Place(0);
    chunk.bytes.clear();
    const int64_t perChunk =
        layout_ == AudioLayout::FrameCounted
            ? 1
            : std::max<int64_t>(1, int64_t(std::ceil(kByteChunkSeconds / frameSeconds_)));
    int64_t frames = 0;
    std::vector<uint8_t> frame;
    for (; frames < perChunk && NextFrame(frame); ++frames) {
        chunk.bytes.insert(chunk.bytes.end(), frame.begin(), frame.end());
        ++written_;
        bytes_ += frame.size();
    }
    chunk.ticks = layout_ == AudioLayout::FrameCounted ? 1 : chunk.bytes.size();
    return frames > 0;
}

}  // namespace jobrunner
