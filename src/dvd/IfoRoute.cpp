#include "dvd/IfoRoute.h"

#include <algorithm>

#include "dvd/DvdError.h"
#include "dvd/TextFields.h"
#include "dvd/VideoStandard.h"

namespace {

void DescribeVideo(const std::string& path, const TVideoStream& attributes, TVideoInfo& video) {
    video.StreamId = 0;
    if (attributes.Standard == "NTSC") SetNtsc(video);
    if (attributes.Standard == "PAL") SetPal(video);
    const std::string size = TrimText(attributes.Resolution);
    const auto width = DecimalNumber(CopyText(size, 1, 3));
    const auto height = DecimalNumber(CopyText(size, 5, 3));
    if (!width || !height) {
        throw DvdParseError(path + ": the picture size \"" + attributes.Resolution +
                            "\" is not a number (the video standard is \"" + attributes.Standard +
                            "\")");
    }
    video.Width = *width;
    video.Height = *height;
    if (attributes.AspectRatio == "4:3") {
        video.Widescreen = false;
        video.AspectFactor = 1.0;
    }
    if (attributes.AspectRatio == "16:9") {
        video.Widescreen = true;
        video.AspectFactor = 1.333;
    }
}

// A file may declare more streams than the record's arrays hold (more than DVD-Video allows):
// only the first 16 audio and 32 subpicture streams are described, so that index i still stands
// for stream i, and the rest are dropped.
void DescribeAudio(const TVTS_VOBS& vobs, TVobInfo& info) {
    const size_t count = std::min<size_t>(vobs.AudioStreams.size(), kMaxAudioTracks);
    for (size_t i = 0; i < count; ++i) {
        const TAudioStream& stream = vobs.AudioStreams[i];
        TAudioinfo& audio = info.Audio[i];
        audio.StreamId = static_cast<int32_t>(i);
        audio.Language = stream.Language;
        if (stream.CodeExtension != "unspecified" && stream.CodeExtension != "normal") {
            audio.Language += " " + stream.CodeExtension;
        }
        audio.Channels = std::to_string(stream.Channels) + "ch";
        audio.Format = stream.Format;
        audio.TailValue = 0;
    }
    info.AudioCount = static_cast<int32_t>(count);
}

// Streams the chain does not mark as present keep an empty entry at their index.
void DescribeSubtitles(const TVTS_VOBS& vobs, const TProgramChain* chain, TVobInfo& info) {
    const size_t count = std::min<size_t>(vobs.SubpictureLanguages.size(), kMaxSubtitleTracks);
    for (size_t i = 0; chain && i < count; ++i) {
        if (i < chain->SubpictureEnabled.size() && chain->SubpictureEnabled[i] == '1') {
            info.Subtitles[i] = {static_cast<int32_t>(i), vobs.SubpictureLanguages[i]};
        }
    }
    info.SubtitleCount = static_cast<int32_t>(count);
}

}  // namespace

bool IsLongerDuration(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return a.size() > b.size();
    return a > b;
}

void TitleSetChoice::Offer(const std::string& name, const std::string& path, TIFO ifo) {
    std::optional<size_t> best;
    const auto& chains = ifo.ChainTable.ProgramChains;
    for (size_t k = 0; k < chains.size(); ++k) {
        if (!IsLongerDuration(chains[k].Duration, bestDuration_)) continue;
        best = k;
        bestDuration_ = chains[k].Duration;
    }
    if (best) {
        bestChain_ = best;
        // VTS_01_0.IFO gives VTS_01_1.vob.
        firstVob_ = name.substr(0, name.size() < 5 ? 0 : name.size() - 5) + "1.vob";
        chosen_ = Offered{path, std::move(ifo)};
    } else if (!chosen_) {
        chosen_ = Offered{path, std::move(ifo)};
    }
}

TVobInfo TitleSetChoice::Describe() const {
    TVobInfo info;
    if (!chosen_) return info;
    const TVTS_VOBS& vobs = chosen_->Ifo.Attributes;
    info.Duration = bestDuration_;
    info.FirstVob = firstVob_;
    DescribeVideo(chosen_->Path, vobs.VideoAttributes, info.Video);
    DescribeAudio(vobs, info);
    const TProgramChain* chain =
        bestChain_ ? &chosen_->Ifo.ChainTable.ProgramChains[*bestChain_] : nullptr;
    DescribeSubtitles(vobs, chain, info);
    info.Valid = true;
    return info;
}
