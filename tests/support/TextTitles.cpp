#include "support/TextTitles.h"

#include <cstdio>

namespace testing_support {

std::string AudioStream(int index, const std::string& format, const std::string& channels,
                        const std::string& language) {
    char id[8];
    std::snprintf(id, sizeof id, "0x%02X", 0x80 + index);
    return std::string(id) + " - Audio - " + format + " / " + channels + " / 48KHz / DRC / " +
           language + " / Delay: 0ms";
}

std::string SubtitleStream(int index, const std::string& name) {
    char id[8];
    std::snprintf(id, sizeof id, "0x%02X", 0x20 + index);
    // With a block address as its description, the track is named by its language alone.
    return std::string(id) + " - Subtitle - " + name + " / LBA: 2104";
}

std::string MakeTextTitle(const TempDir& dir, const std::string& name, const TextTitle& title) {
    std::string text = "Stream Information\r\n\r\n" + title.Video + "\r\n";
    for (const std::string& line : title.Audio) text += line + "\r\n";
    for (const std::string& line : title.Subtitles) text += line + "\r\n";
    dir.Write(name + "/VTS_01 - Stream Information.txt", text);
    return dir.File(name);
}

TextTitle TwoTrackTitle() {
    TextTitle title;
    title.Audio = {AudioStream(0, "AC3", "6ch", "English"),
                   AudioStream(1, "DTS", "6ch", "Deutsch")};
    title.Subtitles = {SubtitleStream(0, "English"), SubtitleStream(1, "Deutsch")};
    return title;
}

}  // namespace testing_support
