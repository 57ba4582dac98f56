#include "media/IndexFile.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <type_traits>

#include "media/MediaError.h"
#include "platform/files.h"

namespace media {
namespace {

constexpr const char* kEnd = "\r\n";

std::string Hex(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%x", value);
    return text;
}

std::string PictureItem(const IndexPicture& picture) {
    char text[4];
    std::snprintf(text, sizeof text, "%02x", picture.flags);
    return text;
}

std::string EntryLine(const IndexEntry& entry) {
    std::string line = Hex(entry.flags) + " " + std::to_string(entry.position.file) + " " +
                       std::to_string(entry.position.offset) + " " + std::to_string(entry.skip) +
                       " " + std::to_string(entry.pts);
    for (const IndexPicture& picture : entry.pictures) line += " " + PictureItem(picture);
    return line;
}

const char* ChromaText(int format) {
    return format == 2 ? "4:2:2" : format == 3 ? "4:4:4" : "4:2:0";
}

// Reads the lines of an index one by one, naming the file and line in its errors.
class Lines {
  public:
    Lines(const std::string& text, const std::string& path) : text_(text), path_(path) {}
    bool AtEnd() const { return pos_ >= text_.size(); }
    std::string Next() {
        if (AtEnd()) Fail("the file ends early");
        size_t end = text_.find('\n', pos_);
        if (end == std::string::npos) end = text_.size();
        std::string line = text_.substr(pos_, end - pos_);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        pos_ = end + 1;
        ++number_;
        return line;
    }
    [[noreturn]] void Fail(const std::string& what) const {
        throw MediaError("The index " + path_ + " is damaged at line " + std::to_string(number_) +
                         ": " + what + ".");
    }

  private:
    const std::string& text_;
    const std::string& path_;
    size_t pos_ = 0;
    int number_ = 0;
};

template <typename T>
T Number(const std::string& text, const Lines& lines, int base = 10) {
    T value{};
    const char* end = text.data() + text.size();
    std::from_chars_result result;
    if constexpr (std::is_floating_point_v<T>)
        result = std::from_chars(text.data(), end, value);
    else
        result = std::from_chars(text.data(), end, value, base);
    const auto [ptr, ec] = result;
    if (ec != std::errc() || ptr != end) lines.Fail("\"" + text + "\" is not a number");
    return value;
}

// The leading whole number of a value such as "1 (0:None ...)".
int LeadingNumber(const std::string& value, const Lines& lines) {
    size_t end = 0;
    while (end < value.size() && value[end] >= '0' && value[end] <= '9') ++end;
    return Number<int>(value.substr(0, end), lines);
}

std::vector<std::string> Items(const std::string& line) {
    std::vector<std::string> items;
    size_t start = 0;
    while (start <= line.size()) {
        size_t end = line.find(' ', start);
        if (end == std::string::npos) end = line.size();
        items.push_back(line.substr(start, end - start));
        start = end + 1;
    }
    return items;
}

void ReadHeaderLine(const std::string& line, IndexFile& index, Lines& lines) {
    const size_t eq = line.find('=');
    if (eq == std::string::npos) lines.Fail("\"" + line + "\" is not a setting");
    const std::string key = line.substr(0, eq), value = line.substr(eq + 1);
    VideoFormat& f = index.video.format;
    if (key == "Field_Operation") {
        index.fieldOperation = LeadingNumber(value, lines);
    } else if (key == "Frame_Rate") {
        index.frameRate = LeadingNumber(value, lines);
    } else if (key == "Picture_Size") {
        const size_t x = value.find('x');
        if (x == std::string::npos) lines.Fail("the picture size has no \"x\"");
        f.width = Number<int>(value.substr(0, x), lines);
        f.height = Number<int>(value.substr(x + 1), lines);
    } else if (key == "Aspect_Code") {
        f.aspectCode = LeadingNumber(value, lines);
    } else if (key == "Frame_Rate_Code") {
        f.frameRateCode = LeadingNumber(value, lines);
    } else if (key == "MPEG") {
        f.mpeg2 = LeadingNumber(value, lines) == 2;
    } else if (key == "Progressive_Sequence") {
        f.progressiveSequence = LeadingNumber(value, lines) != 0;
    } else if (key == "Chroma_Format") {
        f.chromaFormat = value == "4:2:2" ? 2 : value == "4:4:4" ? 3 : 1;
    } else if (key == "Video_Stream") {
        f.streamId = Number<int>(value.substr(value.rfind('x') + 1), lines, 16);
    } else if (key == "Options") {
        index.options = value;
    }
}

// One entry line; true when it ends with the end-of-stream item.
bool ReadEntry(const std::string& line, IndexFile& index, Lines& lines) {
    const std::vector<std::string> items = Items(line);
    if (items.size() < 5) lines.Fail("an entry has fewer than five items");
    IndexEntry entry;
    entry.flags = Number<uint8_t>(items[0], lines, 16);
    entry.position.file = Number<int>(items[1], lines);
    entry.position.offset = Number<int64_t>(items[2], lines);
    entry.skip = Number<uint32_t>(items[3], lines);
    entry.pts = Number<int64_t>(items[4], lines);
    if (entry.position.file < 0 || entry.position.file >= static_cast<int>(index.files.size()) ||
        entry.position.offset < 0)
        lines.Fail("an entry names no place in the files listed");
    bool end = false;
    for (size_t i = 5; i < items.size(); ++i) {
        if (items[i] == kEndOfStreamItem && i + 1 == items.size()) {
            end = true;
            break;
        }
        IndexPicture picture;
        picture.flags = Number<uint8_t>(items[i], lines, 16);
        if (picture.Type() == 0) lines.Fail("a picture has no type");
        entry.pictures.push_back(picture);
    }
    index.video.entries.push_back(std::move(entry));
    return end;
}

}  // namespace

int FrameRateTimes1000(int frameRateCode) {
    const Rational rate = FrameRateOf(frameRateCode);
    if (rate.den == 0) return 0;
    return static_cast<int>(std::lround(1000.0 * rate.num / rate.den));
}

std::string IndexText(const IndexFile& index) {
    const VideoFormat& f = index.video.format;
    std::string text = std::string(kIndexMagic) + kEnd;
    text += "Field_Operation=" + std::to_string(index.fieldOperation) + " " + kFieldOperationNames +
            kEnd;
    text += "Frame_Rate=" + std::to_string(index.frameRate) + kEnd;
    text += "Picture_Size=" + std::to_string(f.width) + "x" + std::to_string(f.height) + kEnd;
    text += "Aspect_Code=" + std::to_string(f.aspectCode) + " (" + AspectText(f.aspectCode) + ")" +
            kEnd;
    const Rational rate = FrameRateOf(f.frameRateCode);
    text += "Frame_Rate_Code=" + std::to_string(f.frameRateCode) + " (" + std::to_string(rate.num) +
            "/" + std::to_string(rate.den) + ")" + kEnd;
    text += std::string("MPEG=") + (f.mpeg2 ? "2" : "1") + kEnd;
    text += "Progressive_Sequence=" + std::to_string(f.progressiveSequence ? 1 : 0) + kEnd;
    text += std::string("Chroma_Format=") + ChromaText(f.chromaFormat) + kEnd;
    text += "Video_Stream=0x" + Hex(static_cast<unsigned>(f.streamId)) + kEnd;
    text += "Options=" + index.options + kEnd;
    text += "Pictures=" + std::to_string(index.video.PictureCount()) + kEnd;
    text += "Files=" + std::to_string(index.files.size()) + kEnd;
    text += kEnd;
    for (const std::string& file : index.files) text += file + kEnd;
    text += kEnd;
    for (size_t i = 0; i < index.video.entries.size(); ++i) {
        text += EntryLine(index.video.entries[i]);
        if (i + 1 == index.video.entries.size()) text += std::string(" ") + kEndOfStreamItem;
        text += kEnd;
    }
    char finished[48];
    std::snprintf(finished, sizeof finished, "FINISHED  %.2f%% FILM", index.filmPercent);
    return text + kEnd + finished + kEnd;
}

IndexFile ParseIndexText(const std::string& text, const std::string& path) {
    Lines lines(text, path);
    IndexFile index;
    if (lines.Next() != kIndexMagic) lines.Fail("it is not an index of this program");
    for (std::string line = lines.Next(); !line.empty(); line = lines.Next())
        ReadHeaderLine(line, index, lines);
    for (std::string line = lines.Next(); !line.empty(); line = lines.Next())
        index.files.push_back(line);
    if (index.files.empty()) lines.Fail("it lists no VOB file");
    bool ended = false;
    for (std::string line = lines.Next(); !line.empty(); line = lines.Next()) {
        if (ended) lines.Fail("an entry follows the end of the stream");
        ended = ReadEntry(line, index, lines);
    }
    if (!ended) lines.Fail("the entries do not end with the end-of-stream item");
    const std::string finished = lines.Next();
    const std::vector<std::string> items = Items(finished);
    if (items.size() < 3 || items[0] != "FINISHED" || items[2].size() < 2)
        lines.Fail("the last line holds no FILM share");
    index.filmPercent = Number<double>(items[2].substr(0, items[2].size() - 1), lines);
    return index;
}

IndexFile ReadIndexFile(const std::string& path) {
    std::string text;
    if (!platform::ReadFileText(path, text)) throw MediaError("Cannot read the index " + path);
    return ParseIndexText(text, path);
}

}  // namespace media
