#include "Indexer.h"

#include <memory>
#include <optional>
#include <vector>

#include "AudioDemux.h"
#include "VideoTiming.h"
#include "media/IndexBuilder.h"
#include "media/IndexFile.h"
#include "media/OutputFile.h"
#include "media/PackReader.h"
#include "media/StreamKind.h"
#include "media/VideoScanner.h"

namespace indexer {
namespace {

// Progress in bytes read, about every hundredth of the title.
class Progress {
  public:
    Progress(std::ostream& out, int64_t total) : out_(out), total_(total) {}
    void At(int64_t done) {
        if (done < next_) return;
        out_ << "progress " << done << ' ' << total_ << std::endl;
        next_ = done + total_ / 100 + 1;
    }

  private:
    std::ostream& out_;
    int64_t total_;
    int64_t next_ = 0;
};

// The video of the first video stream found: its packets go through the header scanner into the
// index. Damage anywhere in the stream is handed on with the next video packet.
class VideoIndexer {
  public:
    VideoIndexer(const media::VobSequence& sequence, const media::WarningSink& warn)
        : builder_(sequence, warn, 0xE0) {}
    void Add(media::PesPacket& packet) {
        damage_ = damage_ || packet.afterDamage;
        if (media::KindOf(packet) != media::StreamKind::Video) return;
        if (streamId_ < 0) streamId_ = packet.streamId;
        if (packet.streamId != streamId_) return;
        packet.afterDamage = damage_;
        damage_ = false;
        scanner_.Feed(packet, headers_);
        for (const media::VideoHeader& header : headers_) builder_.Add(header);
        headers_.clear();
    }
    bool SawVideo() const { return streamId_ >= 0; }
    media::IndexBuilder& Builder() { return builder_; }
    int StreamId() const { return streamId_; }

  private:
    media::VideoScanner scanner_;
    media::IndexBuilder builder_;
    std::vector<media::VideoHeader> headers_;
    int streamId_ = -1;
    bool damage_ = false;
};

void CheckRecordable(const std::string& path) {
    if (path.find_first_of("\r\n") != std::string::npos)
        throw media::MediaError("The path \"" + path +
                                "\" has a line break, which an index cannot record.");
}

media::IndexFile MakeIndexFile(const Options& options, const media::VobSequence& sequence,
                               media::VideoIndex video) {
    media::IndexFile file;
    file.fieldOperation = options.Value("FO");
    file.frameRate = media::FrameRateTimes1000(video.format.frameRateCode);
    file.options = options.Recorded();
    for (const media::VobFile& vob : sequence.Files()) file.files.push_back(vob.path);
    file.filmPercent = FilmPercent(video);
    file.video = std::move(video);
    return file;
}

// Writes the audio track, if one was asked for, under its final name.
Outcome FinishAudio(AudioDemux* audio, std::optional<int64_t> videoStart, const Options& options,
                    const media::WarningSink& warn) {
    if (!audio) return Outcome::Done;
    if (audio->Found())
        return audio->Finish(videoStart).empty() ? Outcome::AudioMissing : Outcome::Done;
    warn("Audio track " + std::to_string(options.Value("TN")) + " (audio stream " +
         std::to_string(options.Value("TN") - 1) + ") is not in " + options.firstVob +
         "; no audio file is written.");
    return Outcome::AudioMissing;
}

}  // namespace

Outcome Run(const Options& options, std::ostream& progressOut, const media::WarningSink& warn) {
    const media::VobSequence sequence = media::FindVobSequence(options.firstVob, warn);
    for (const media::VobFile& vob : sequence.Files()) CheckRecordable(vob.path);
    // The output folder is tried before the title is read, not after.
    const std::string indexPath = options.outputBase + ".d2v";
    media::OutputFile indexOut(indexPath + ".partial");

    std::unique_ptr<AudioDemux> audio;
    if (options.Value("TN") > 0 && options.Value("OM") > 0)
        audio = std::make_unique<AudioDemux>(options.Value("TN"), options.outputBase, warn);
    media::VobStream stream(sequence);
    media::PackReader reader(stream, warn);
    VideoIndexer video(sequence, warn);
    Progress progress(progressOut, sequence.TotalSize());
    for (media::PesPacket packet; reader.Next(packet);) {
        video.Add(packet);
        if (audio) audio->Add(packet);
        progress.At(reader.Offset());
    }
    progress.At(sequence.TotalSize());

    media::IndexBuilder& builder = video.Builder();
    if (builder.Index().PictureCount() == 0)
        throw media::MediaError(
            options.firstVob + (video.SawVideo() ? " has no MPEG video picture that can be decoded."
                                                 : " has no video stream."));
    if (builder.SkippedPictures() > 0)
        warn(std::to_string(builder.SkippedPictures()) +
             " pictures before the first sequence header cannot be decoded and are not indexed.");
    media::VideoIndex index = builder.Take();
    index.format.streamId = video.StreamId();
    const std::optional<int64_t> start = FirstShownTime(index);

    const Outcome outcome = FinishAudio(audio.get(), start, options, warn);
    const std::string text = media::IndexText(MakeIndexFile(options, sequence, std::move(index)));
    indexOut.Write(text.data(), text.size());
    indexOut.Commit(indexPath);
    return outcome;
}

}  // namespace indexer
