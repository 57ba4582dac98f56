#include "Transcode.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <stdexcept>

#include "AudioSource.h"
#include "DecodeThread.h"
#include "Mixer.h"
#include "Mp3Encoder.h"
#include "OutputFile.h"

namespace audio {
namespace {

std::string Format(const char* format, double a, double b = 0, double c = 0) {
    char text[128];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

void CheckNotSameFile(const std::string& input, const std::string& output) {
    struct stat in = {};
    struct stat out = {};
    if (stat(input.c_str(), &in) == 0 && stat(output.c_str(), &out) == 0 &&
        in.st_dev == out.st_dev && in.st_ino == out.st_ino)
        throw std::runtime_error(output + ": the output would overwrite the input");
}

void LogInput(const SourceInfo& i, TranscodeLog& log) {
    log.Line("Read: " + i.codec + " (" + i.format + "), " + std::to_string(i.channels) +
             " channel(s) (" + i.layout + "), " + std::to_string(i.sampleRate) + " Hz" +
             (i.bitRate > 0 ? Format(", %.0f kbit/s", double(i.bitRate) / 1000) : "") + ", " +
             std::to_string(i.fileSize) + " bytes");
}

// The encoder for the settings of the command line. When LAME wants another rate than the
// track's for that bitrate (or the track's rate is none that MP3 has), the encoder is made anew
// for that rate, and the mixer resamples to it.
std::unique_ptr<Mp3Encoder> MakeEncoder(const Options& o, const SourceInfo& in, TranscodeLog& log) {
    Mp3Settings s;
    s.channels = o.stereo == StereoMode::Mono ? 1 : 2;
    s.inRate = in.sampleRate;
    s.stereo = o.stereo;
    s.highQuality = o.highQuality;
    s.rate = o.rate;
    s.kbps = o.kbps;
    if (o.rate == RateMode::Cbr && NearestMp3Bitrate(o.kbps) != o.kbps) {
        s.kbps = NearestMp3Bitrate(o.kbps);
        log.Warn(std::to_string(o.kbps) + " kbit/s is no MP3 bitrate: " + std::to_string(s.kbps) +
                 " kbit/s used");
    }
    auto encoder = std::make_unique<Mp3Encoder>(s);
    if (encoder->OutRate() == in.sampleRate) return encoder;
    s.inRate = s.outRate = encoder->OutRate();
    encoder.reset();
    encoder = std::make_unique<Mp3Encoder>(s);
    log.Line("Resampled: " + std::to_string(in.sampleRate) + " Hz to " + std::to_string(s.outRate) +
             " Hz for the encoder");
    return encoder;
}

std::string EncodingText(const Options& o, const Mp3Encoder& e, int channels) {
    std::string text = o.rate == RateMode::Abr ? "average bitrate (preset) " : "constant bitrate ";
    text += std::to_string(e.Bitrate()) + " kbit/s, " +
            (channels == 1 ? std::string("mono") : std::string("stereo")) + ", " +
            std::to_string(e.OutRate()) + " Hz" + (o.highQuality ? ", high quality (-h)" : "");
    return text;
}

class Progress {
  public:
    explicit Progress(int64_t total) : total_(std::max<int64_t>(total, 1)) {}
    void Report(int64_t done) {
        const int64_t percent = std::min<int64_t>(done, total_) * 100 / total_;
        if (percent == last_) return;
        last_ = percent;
        std::cout << "progress " << std::min(done, total_) << " " << total_ << "\n" << std::flush;
    }

  private:
    int64_t total_;
    int64_t last_ = -1;
};

// Takes the samples that make up for the codec's delay off the front, then encodes the rest.
class Sink {
  public:
    Sink(Mp3Encoder& encoder, OutputFile& file, int channels)
        : encoder_(encoder), file_(file), channels_(channels), trim_(encoder.Delay()) {}
    void Take(const Pcm& pcm) {
        const size_t skip = std::min(size_t(trim_), pcm.Samples());
        trim_ -= int64_t(skip);
        const int n = int(pcm.Samples() - skip);
        if (n > 0) {
            const std::vector<uint8_t>& bytes =
                encoder_.Encode(pcm.channel[0].data() + skip,
                                channels_ == 2 ? pcm.channel[1].data() + skip : nullptr, n);
            file_.Write(bytes.data(), bytes.size());
        }
    }
    void Finish() {
        const std::vector<uint8_t>& last = encoder_.Finish();
        file_.Write(last.data(), last.size());
        const std::vector<uint8_t> info = encoder_.InfoFrame();
        file_.WriteAtStart(info.data(), info.size());
        infoBytes_ = int64_t(info.size());
    }
    int64_t InfoBytes() const { return infoBytes_; }

  private:
    Mp3Encoder& encoder_;
    OutputFile& file_;
    int channels_;
    int64_t trim_;
    int64_t infoBytes_ = 0;
};

void LogOutput(const Mp3Encoder& e, const Sink& sink, const OutputFile& file, TranscodeLog& log) {
    const double seconds = double(e.Frames()) * e.FrameSamples() / e.OutRate();
    const double kbps =
        seconds > 0 ? double(file.Size() - sink.InfoBytes()) * 8 / seconds / 1000 : 0;
    log.Line("Written: " + std::to_string(file.Size()) + " bytes, " + std::to_string(e.Frames()) +
             " audio frames after the info frame, " +
             Format("%.3f s, %.1f kbit/s on average", seconds, kbps));
}

}  // namespace

void Transcode(const Options& o, TranscodeLog& log) {
    log.Line("Input: " + o.input);
    log.Line("Output: " + o.output);
    if (!o.profile.empty()) log.Line("Profile: " + o.profile);
    AudioSource source(o.input, [&log](const std::string& text) { log.Warn(text); });
    const SourceInfo& in = source.Info();
    LogInput(in, log);
    CheckNotSameFile(o.input, o.output);

    const int channels = o.stereo == StereoMode::Mono ? 1 : 2;
    std::unique_ptr<Mp3Encoder> encoder = MakeEncoder(o, in, log);
    log.Line("Encoding: MP3 " + EncodingText(o, *encoder, channels));
    log.Line("Timing: the first " + std::to_string(encoder->Delay()) +
             " samples (the encoder's and decoder's delay) are taken off the start");
    const DownmixLevels levels{o.centreDb, o.surroundDb, o.clipProofGain};
    log.Line(Format("Downmix levels: centre %.1f dB, surround %.1f dB, LFE left out", o.centreDb,
                    o.surroundDb) +
             (o.clipProofGain ? ", scaled so that full scale cannot clip" : ""));
    Mixer mixer(channels, encoder->OutRate(), levels,
                [&log](const std::string& matrix) { log.Line("Downmix: " + matrix); });

    OutputFile file(o.output);
    Sink sink(*encoder, file, channels);
    Progress progress(in.fileSize);
    {
        DecodeThread decoded(source, mixer);
        while (std::optional<Pcm> block = decoded.Next()) {
            sink.Take(*block);
            progress.Report(decoded.BytesRead());
        }
    }
    if (source.DecodedSamples() == 0)
        throw std::runtime_error(o.input + ": no audio could be decoded from it");
    sink.Finish();
    file.Commit();
    progress.Report(in.fileSize);

    log.Line(Format("Decoded: %.3f s", double(source.DecodedSamples()) / in.sampleRate) +
             (source.SilentSamples() > 0 ? Format(", and %.3f s of silence in place of damage",
                                                  double(source.SilentSamples()) / in.sampleRate)
                                         : ""));
    LogOutput(*encoder, sink, file, log);
}

}  // namespace audio
