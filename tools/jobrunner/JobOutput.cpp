#include "JobOutput.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>

#include "AviFormats.h"

namespace jobrunner {

std::string TemporaryName(const std::string& path) {
    return path + ".jobrunner-" + std::to_string(::getpid()) + ".partial";
}

FramesLog::FramesLog(const std::string& path) : path_(path), file_(TemporaryName(path)) {}

void FramesLog::Add(char type, size_t bytes) {
    const std::string line = std::string(1, type) + std::to_string(bytes) + "\r\n";
    file_.Write(line.data(), line.size());
}

void FramesLog::Commit() {
    file_.Commit(path_);
}

void Progress::Done(int64_t done) {
    const int64_t step = total_ > 0 ? done * 100 / total_ : 100;
    if (step == shown_ && done != total_) return;
    shown_ = step;
    std::printf("progress %lld %lld\n", static_cast<long long>(done),
                static_cast<long long>(total_));
    std::fflush(stdout);
}

AviOutput::AviOutput(const std::string& path, const VideoSource& video,
                     std::vector<AudioOutput> audio, std::vector<Comment> comments,
                     uint32_t superIndexRoom)
    : video_(video), path_(path), file_(TemporaryName(path)), audio_(std::move(audio)) {
    const VideoDescription& d = video.Description();
    frameSeconds_ = double(d.rateDen) / d.rateNum;
    AviLayout layout;
    layout.streams.push_back(VideoStream(d, video.Compressed()));
    for (size_t a = 0; a < audio_.size(); ++a)
        layout.streams.push_back(
            AudioStream(audio_[a].track->First(), audio_[a].track->Layout(), int(a + 1)));
    layout.comments = std::move(comments);
    layout.superIndexRoom = superIndexRoom;
    writer_ = std::make_unique<AviWriter>(file_, std::move(layout));
}

void AviOutput::WriteAudioChunk(size_t a) {
    writer_->Write(a + 1, chunk_.bytes.data(), chunk_.bytes.size(), true, chunk_.ticks);
}

void AviOutput::AudioUntil(double seconds) {
    for (size_t a = 0; a < audio_.size(); ++a) {
        AudioOutput& out = audio_[a];
        if (!out.interleaved) continue;
        while (!out.finished && out.track->NextStart() < seconds + out.preloadMs / 1000.0) {
            out.finished = !out.track->NextChunk(chunk_);
            if (!out.finished) WriteAudioChunk(a);
        }
    }
}

void AviOutput::PlaceAudio() {
    placed_ = true;
    for (AudioOutput& out : audio_) out.track->Place(video_.Lag() * frameSeconds_);
}

void AviOutput::Video(const VideoChunk& chunk) {
    if (frames_ == 1) PlaceAudio();
    if (placed_) AudioUntil(double(frames_) * frameSeconds_);
    writer_->Write(0, chunk.data, chunk.size, chunk.key, 1);
    ++frames_;
}

void AviOutput::Commit() {
    if (!placed_) PlaceAudio();
    for (size_t a = 0; a < audio_.size(); ++a) {
        AudioOutput& out = audio_[a];
        while (!out.finished) {
            out.finished = !out.track->NextChunk(chunk_);
            if (!out.finished) WriteAudioChunk(a);
        }
        const AudioTrack& track = *out.track;
        const double seconds = double(track.FramesWritten()) * track.First().samplesPerFrame /
                               track.First().sampleRate;
        if (track.Layout() == AudioLayout::FrameCounted && seconds > 0)
            writer_->SetFormat(
                a + 1, AudioStream(track.First(), track.Layout(), int(a + 1),
                                   uint32_t(std::lround(double(track.BytesWritten()) / seconds)))
                           .format);
    }
    writer_->Finish();
    file_.Commit(path_);
}

}  // namespace jobrunner
