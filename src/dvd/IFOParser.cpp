#include "dvd/IFOParser.h"

#include "dvd/FileBytes.h"
#include "dvd/IfoBytes.h"
#include "dvd/IfoChains.h"
#include "dvd/IfoTables.h"

namespace {

constexpr uint64_t kChainTableSector = 0x00CC;
constexpr uint64_t kVideoAttributes = 0x0200;
constexpr uint64_t kAudioCount = 0x0202;
constexpr uint64_t kAudioAttributes = 0x0204;
constexpr uint64_t kAudioEntrySize = 8;
constexpr uint64_t kSubpictureCount = 0x0254;
constexpr uint64_t kSubpictureAttributes = 0x0256;
constexpr uint64_t kSubpictureEntrySize = 6;
constexpr uint64_t kSectorSize = 2048;

TVideoStream ReadVideo(const IfoBytes& bytes) {
    const uint16_t word = bytes.U16(kVideoAttributes, "the video attributes");
    TVideoStream video;
    video.Coding = VideoCodingText(word >> 14 & 3);
    video.Standard = StandardText(word >> 12 & 3);
    video.AspectRatio = AspectRatioText(word >> 10 & 3);
    video.Resolution = ResolutionText(video.Standard, word >> 2 & 3);
    return video;
}

TAudioStream ReadAudio(const IfoBytes& bytes, uint64_t entry) {
    const uint16_t word = bytes.U16(entry, "the attributes of an audio stream");
    TAudioStream audio;
    audio.LanguageType = word >> 10 & 3;
    audio.Format = AudioCodingText(word >> 13 & 7);
    audio.Channels = static_cast<uint8_t>((word & 7) + 1);
    audio.LanguageCode = bytes.Bytes(entry + 2, 2, "the language code of an audio stream");
    audio.Language = LanguageName(audio.LanguageCode);
    audio.CodeExtension =
        CodeExtensionText(bytes.U8(entry + 5, "the code extension of an audio stream"));
    return audio;
}

void ReadStreams(const IfoBytes& bytes, TVTS_VOBS& vobs) {
    vobs.AudioStreamCount = bytes.U16(kAudioCount, "the number of audio streams");
    // A count above what the file can hold fails at the first missing entry, before the array
    // grows: nothing is reserved from the count alone.
    for (uint64_t i = 0; i < vobs.AudioStreamCount; ++i) {
        vobs.AudioStreams.push_back(ReadAudio(bytes, kAudioAttributes + kAudioEntrySize * i));
    }
    vobs.SubpictureCount = bytes.U16(kSubpictureCount, "the number of subpicture streams") & 0xFF;
    for (uint64_t j = 0; j < vobs.SubpictureCount; ++j) {
        const uint64_t entry = kSubpictureAttributes + kSubpictureEntrySize * j;
        vobs.SubpictureLanguages.push_back(
            LanguageName(bytes.Bytes(entry + 2, 2, "the language code of a subpicture stream")));
    }
}

}  // namespace

TIFO DecodeIfo(const std::string& data, const std::string& fileName) {
    IfoBytes bytes(data, fileName);
    TIFO ifo;
    ifo.Attributes.VideoAttributes = ReadVideo(bytes);
    ReadStreams(bytes, ifo.Attributes);
    const uint64_t table =
        bytes.U32(kChainTableSector, "the sector of the program chain table") * kSectorSize;
    ifo.ChainTable = ReadChainTable(bytes, table, ifo.Attributes.AudioStreamCount,
                                    ifo.Attributes.SubpictureCount);
    return ifo;
}

TIFO ReadIfo(const std::string& path) {
    // The bytes are read whole and the file closed at once, also when decoding fails later.
    const std::string data = ReadFileBytes(path, kMaxIfoFileSize, "IFO file");
    return DecodeIfo(data, path);
}
