#include "AudioSources.h"

#include "AviInput.h"
#include "platform/files.h"

namespace jobrunner {

namespace {

struct Summary {
    FrameHeader first;
    bool constantRate = true;
};

Summary Scan(AudioCoding coding, const std::string& path, const media::WarningSink& warn) {
    FrameReader reader(coding, path, FileFeed(path), warn);
    Summary summary;
    AudioFrame frame;
    if (!reader.Next(frame)) throw media::MediaError(path + " holds no audio frame");
    summary.first = frame.header;
    while (reader.Next(frame))
        if (frame.header.bitRate != summary.first.bitRate) summary.constantRate = false;
    return summary;
}

AudioOutput Output(std::unique_ptr<AudioTrack> track, const AudioStreamJob& stream) {
    AudioOutput out;
    out.track = std::move(track);
    out.preloadMs = stream.preloadMs;
    out.interleaved = stream.interleaved;
    return out;
}

}  // namespace

AudioOutput FileAudio(const AudioStreamJob& stream, double videoSeconds, const std::string& where,
                      const media::WarningSink& warn) {
    if (!platform::FileExists(stream.file))
        throw media::MediaError(where + ": the audio file " + stream.file + " does not exist");
    const AudioCoding coding = stream.format == kFormatAc3 ? AudioCoding::Ac3 : AudioCoding::Mpeg;
    const Summary summary = Scan(coding, stream.file, warn);
    // Players time a stream counted in bytes by its byte rate, which is exact for MPEG audio of
    // one bit rate throughout, whatever the job announced; its chunks then cost what those of
    // any constant-rate stream do. Only a rate that changes needs one frame a chunk.
    AudioLayout layout = AudioLayout::ByteCounted;
    if (coding == AudioCoding::Mpeg && !summary.constantRate) {
        if (!stream.variableRate && warn)
            warn(where + ": " + stream.file +
                 " changes its bit rate; it goes in as variable-rate audio, one frame a chunk");
        layout = AudioLayout::FrameCounted;
    }
    // Its warnings were given by the scan.
    auto reader =
        std::make_unique<FrameReader>(coding, stream.file, FileFeed(stream.file), nullptr);
    return Output(std::make_unique<AudioTrack>(std::move(reader), summary.first, layout,
                                               stream.delayMs / 1000.0,
                                               stream.clipToVideoEnd ? videoSeconds : -1),
                  stream);
}

AudioOutput AviAudio(const AudioStreamJob& stream, const std::string& path,
                     double rangeStartSeconds, double rangeSeconds,
                     const media::WarningSink& warn) {
    const std::string name = "audio stream " + std::to_string(stream.aviStream) + " of " + path;
    AviAudioInfo info;
    // The first frame says what the stream is; a reader of its own finds it.
    std::unique_ptr<ByteFeed> feed = AviAudioFeed(path, stream.aviStream, info);
    FrameReader first(info.coding, name, std::move(feed), nullptr);
    AudioFrame frame;
    if (!first.Next(frame)) throw media::MediaError(name + " holds no audio frame");
    const AudioLayout layout = info.coding == AudioCoding::Mpeg && stream.variableRate
                                   ? AudioLayout::FrameCounted
                                   : AudioLayout::ByteCounted;
    const double offset = info.startSeconds - rangeStartSeconds + stream.delayMs / 1000.0;
    feed = AviAudioFeed(path, stream.aviStream, info);
    auto reader = std::make_unique<FrameReader>(info.coding, name, std::move(feed), warn);
    return Output(
        std::make_unique<AudioTrack>(std::move(reader), frame.header, layout, offset, rangeSeconds),
        stream);
}

}  // namespace jobrunner
