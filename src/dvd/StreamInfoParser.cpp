#include "dvd/StreamInfoParser.h"

#include "dvd/FileBytes.h"
#include "dvd/FolderSearch.h"
#include "dvd/IFOParser.h"
#include "dvd/IfoRoute.h"
#include "dvd/StreamInfoText.h"
#include "platform/paths.h"

namespace {

// The texts are cut from the file by byte positions first and converted afterwards, so the
// positions are those of the file as the ripper wrote it.
void ConvertTexts(TVobInfo& info, CodePage codePage) {
    for (int i = 0; i < info.AudioCount; ++i) {
        TAudioinfo& audio = info.Audio[i];
        audio.Language = ToUtf8(audio.Language, codePage);
        audio.Channels = ToUtf8(audio.Channels, codePage);
        audio.Format = ToUtf8(audio.Format, codePage);
    }
    for (int i = 0; i < info.SubtitleCount; ++i) {
        info.Subtitles[i].Name = ToUtf8(info.Subtitles[i].Name, codePage);
    }
}

}  // namespace

void ParseStreamInfo::ParseTextFile(const std::string& path, CodePage codePage) {
    fileName_ = path;
    const std::string text = ReadFileBytes(path, kMaxStreamInfoFileSize, "stream information file");
    TVobInfo info = vobInfo_;
    ReadStreamInfoText(text, path, info);
    ConvertTexts(info, codePage);
    vobInfo_ = std::move(info);
}

void ParseStreamInfo::ParseIfoFiles(const std::string& directory) {
    vobInfo_.AudioCount = 0;
    vobInfo_.SubtitleCount = 0;
    const auto names = MatchingFileNames(directory, "VTS_*_0.IFO");
    if (names.empty()) {
        vobInfo_.Valid = false;
        return;
    }
    // Title sets are decoded one at a time and only the chosen one is kept.
    TitleSetChoice choice;
    for (const std::string& name : names) {
        const std::string path = directory + platform::kPathDelimStr + name;
        choice.Offer(name, path, ReadIfo(path));
    }
    vobInfo_ = choice.Describe();
}
