#pragma once
// One audio track of the title demultiplexed into a file of its own: AC3, DTS and MPEG audio
// copied as coded, LPCM decoded to WAV. The file begins with the first whole audio frame that
// has a time stamp, so that its delay against the video is exact, and gets its final name,
// "<base> T0n <what it is> DELAY <d>ms.<ext>", only when it is complete.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "media/AudioCodec.h"
#include "media/OutputFile.h"
#include "media/PackReader.h"
#include "media/StreamKind.h"
#include "media/WavWriter.h"

namespace indexer {

class AudioDemux {
  public:
    // track: the DVD audio stream number + 1 (1-8).
    AudioDemux(int track, std::string outputBase, media::WarningSink warn);
    ~AudioDemux();

    // Takes the packets of the track; call it with every packet.
    void Add(const media::PesPacket& packet);
    bool Found() const { return file_ != nullptr; }
    // Writes the track under its final name, its delay measured against the video's first
    // shown picture (0 without one); returns the path, empty when the track was not found or
    // could not be decoded.
    std::string Finish(std::optional<int64_t> videoStart);

  private:
    struct Body {
        const uint8_t* data = nullptr;
        size_t size = 0;
        size_t firstUnit = 0;  // where the first whole frame begins; size when none does
        const uint8_t* lpcmHeader = nullptr;
    };
    Body BodyOf(const media::PesPacket& packet) const;
    void Start(const media::PesPacket& packet);
    void WriteLpcm(const Body& body, size_t from);
    std::string FinalName(const std::string& description, int32_t delay) const;
    void RemoveEarlierOutput() const;

    int track_;
    std::string base_;
    media::WarningSink warn_;
    std::optional<media::StreamKind> kind_;
    bool otherKindWarned_ = false;
    int64_t firstPts_ = media::kNoTimestamp;
    std::unique_ptr<media::OutputFile> file_;
    std::vector<uint8_t> head_;  // the first bytes, to tell what the track is
    std::unique_ptr<media::LpcmDecoder> lpcm_;
    std::unique_ptr<media::WavWriter> wav_;
    std::vector<uint8_t> pcm_;
    bool lpcmWarned_ = false;
};

}  // namespace indexer
