#include "dvd/StreamInfoText.h"

#include <vector>

#include "dvd/DvdError.h"
#include "dvd/TextFields.h"
#include "dvd/VideoStandard.h"
#include "platform/text_lines.h"
#include "util/utils.h"

namespace {

// One line cut into "/"-separated fields, and its first field into "-"-separated parts.
class StreamLine {
  public:
    StreamLine(const std::string& text, const std::string& fileName, size_t number)
        : text_(text), fileName_(fileName), number_(number) {
        fields_ = Pieces(text, "/");
        parts_ = Pieces(fields_[0], "-");
    }

    bool Has(const char* keyword) const { return text_.find(keyword) != std::string::npos; }
    size_t PartCount() const { return parts_.size(); }
    const std::vector<std::string>& Fields() const { return fields_; }

    const std::string& Field(size_t i, const char* kind, const char* role) const {
        if (i >= fields_.size()) Fail(Missing(kind, "field", i, fields_.size(), "/", role));
        return fields_[i];
    }
    const std::string& Part(size_t i, const char* kind, const char* role) const {
        if (i >= parts_.size()) Fail(Missing(kind, "part", i, parts_.size(), "-", role));
        return parts_[i];
    }

    [[noreturn]] void Fail(const std::string& problem) const {
        throw DvdParseError(fileName_ + ", line " + std::to_string(number_) + ": " + problem);
    }

  private:
    // A text without separators is one piece, also when it is empty.
    static std::vector<std::string> Pieces(const std::string& text, const char* separator) {
        std::vector<std::string> pieces;
        SplitText(text, separator, &pieces);
        if (pieces.empty()) pieces.emplace_back();
        return pieces;
    }

    static std::string Missing(const char* kind, const char* piece, size_t i, size_t count,
                               const char* separator, const char* role) {
        return std::string("the ") + kind + " line has no " + piece + " " + std::to_string(i + 1) +
               " (" + role + "): it has " + std::to_string(count) + " " + piece +
               "s separated by \"" + separator + "\"";
    }

    const std::string& text_;
    const std::string& fileName_;
    size_t number_;
    std::vector<std::string> fields_;
    std::vector<std::string> parts_;
};

int32_t HexOf(const StreamLine& line, const std::string& digits, const char* kind) {
    const auto value = HexNumber(digits);
    if (!value) {
        line.Fail(std::string("the stream id \"") + digits + "\" of the " + kind +
                  " line is not a hexadecimal number");
    }
    return *value;
}

int32_t DecimalOf(const StreamLine& line, const std::string& digits, const char* role) {
    const auto value = DecimalNumber(digits);
    if (!value) line.Fail(std::string("the ") + role + " \"" + digits + "\" is not a number");
    return *value;
}

// Characters 3 and 4 of the first part are the stream's id byte: 0x20 is stream 0.
int32_t SubtitleStreamId(const StreamLine& line) {
    const std::string p0 = TrimText(line.Part(0, "subtitle", "stream id"));
    return HexOf(line, CopyText(p0, 3, 2), "subtitle") - 32;
}

std::string ThreePartName(const StreamLine& line) {
    const std::string language = TrimText(line.Part(2, "subtitle", "language"));
    const std::string& f1 = line.Field(1, "subtitle", "description");
    if (f1.find("LBA") != std::string::npos) return language;
    const int64_t keyword = PositionOf("SubPicture", f1);
    if (keyword == 0) return language + " " + TrimText(f1);
    const auto length = static_cast<int64_t>(f1.size());
    const std::string before = CopyText(f1, 1, PositionOf("-", f1) - 1);
    const std::string after = CopyText(f1, keyword + 14, length - PositionOf(":", f1) - 2);
    return language + " " + TrimText(before) + " : " + TrimText(after);
}

std::string FourPartName(const StreamLine& line) {
    const std::string& p3 = line.Part(3, "subtitle", "description");
    const auto length = static_cast<int64_t>(p3.size());
    return TrimText(line.Part(2, "subtitle", "language")) + " " +
           TrimText(CopyText(p3, 16, length - 17));
}

// Step 1; false when the line is dropped for the later steps.
bool TakeSubtitle(const StreamLine& line, TVobInfo& info) {
    if (!line.Has("Subtitle")) return true;
    if (info.SubtitleCount >= kMaxSubtitleTracks) return false;
    if (line.PartCount() == 3) {
        info.AddSubtitle({SubtitleStreamId(line), ThreePartName(line)});
    } else if (line.PartCount() == 4) {
        info.AddSubtitle({SubtitleStreamId(line), FourPartName(line)});
    }
    return true;
}

// Step 2; false when the line is dropped for step 3. Both standards are tested: NTSC wins.
bool TakeVideo(const StreamLine& line, TVobInfo& info, bool& videoTaken) {
    if (!line.Has("Video")) return true;
    if (videoTaken) return false;
    TVideoInfo& video = info.Video;
    const std::string p0 = TrimText(line.Part(0, "video", "stream id"));
    video.StreamId = HexOf(line, CopyText(p0, 4, 1), "video");
    const std::string& format = line.Field(1, "video", "standard and picture size");
    const std::string& aspect = line.Field(2, "video", "aspect ratio");
    if (format.find("PAL") != std::string::npos) SetPal(video);
    if (format.find("NTSC") != std::string::npos) SetNtsc(video);
    const std::string size = TrimText(format);
    video.Width = DecimalOf(line, CopyText(size, 1, 3), "picture width");
    video.Height = DecimalOf(line, CopyText(size, 5, 3), "picture height");
    if (aspect.find("4:3") != std::string::npos) {
        video.Widescreen = false;
        video.AspectFactor = 1.0;
    }
    if (aspect.find("16:9") != std::string::npos) {
        video.Widescreen = true;
        video.AspectFactor = 1.33333;
    }
    videoTaken = true;
    return true;
}

// The last field reads like "Delay: -40ms": the number before the two-letter unit.
int32_t TailValueOf(const StreamLine& line) {
    std::vector<std::string> pieces;
    SplitText(line.Fields().back(), ":", &pieces);
    if (pieces.size() < 2) line.Fail("the last field of the audio line has no \":\"");
    const std::string value = TrimText(pieces[1]);
    return DecimalOf(line, CopyText(value, 1, static_cast<int64_t>(value.size()) - 2),
                     "value of the last field");
}

// Step 3.
void TakeAudio(const StreamLine& line, TVobInfo& info) {
    if (!line.Has("Audio") || info.AudioCount >= kMaxAudioTracks) return;
    TAudioinfo audio;
    audio.StreamId =
        HexOf(line, CopyText(TrimText(line.Part(0, "audio", "stream id")), 4, 1), "audio");
    audio.Format = TrimText(line.Part(2, "audio", "format"));
    audio.Channels = TrimText(line.Field(1, "audio", "channels"));
    const std::string& language = line.Field(4, "audio", "language");
    audio.Language =
        language.find("LBA") != std::string::npos ? "Unknown language" : TrimText(language);
    audio.TailValue = TailValueOf(line);
    info.AddAudio(audio);
}

}  // namespace

void ReadStreamInfoText(const std::string& text, const std::string& fileName, TVobInfo& info) {
    info.AudioCount = 0;
    info.SubtitleCount = 0;
    info.FirstVob.clear();
    info.Duration.clear();
    // The file may have been saved on any system, and by an editor that adds a byte-order mark.
    const std::vector<std::string> lines =
        platform::SplitLines(text, {platform::LineBreaks::CrOrLf, true});
    bool videoTaken = false;
    for (size_t i = 0; i < lines.size(); ++i) {
        const StreamLine line(lines[i], fileName, i + 1);
        if (!TakeSubtitle(line, info)) continue;
        if (!TakeVideo(line, info, videoTaken)) continue;
        TakeAudio(line, info);
    }
    info.Valid = true;
}
