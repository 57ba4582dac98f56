// Settles how each audio track goes into the AVI and encodes the MP3 tracks.
#include <algorithm>
#include <cctype>

#include "encoder/AudioChoice.h"
#include "util/PathText.h"
#include "encoder/StageFiles.h"
#include "encoder/encoder.h"
#include "jobs/ProgramValues.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace {

std::string LowerExtension(const std::string& path) {
    const std::string name = ExtractFileName(path);
    const size_t dot = name.rfind('.');
    std::string ext = dot == std::string::npos ? std::string() : name.substr(dot);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return ext;
}

// The demultiplexed file of `trackNumber` in the temporary folder, empty when there is none.
std::string FindDemuxedAudio(const std::string& tempBase, int32_t trackNumber) {
    const std::string folder = ExtractFileDir(tempBase);
    const std::string name = platform::FindFirstMatch(
        folder, DemuxedAudioPattern(ExtractFileName(tempBase), trackNumber), true);
    return name.empty() ? name : folder + platform::kPathDelim + name;
}

// The file that goes into the AVI for one track: an MP3 encoded beside `demuxed` for the MP3
// modes, else the demultiplexed file itself.
std::string EncodeTrack(TMXEncoder& run, const std::string& demuxed, uint8_t mode, bool mono,
                        int32_t bitrate, const std::string& logText) {
    if (mode != kAudioVbrMp3 && mode != kAudioCbrMp3) return demuxed;
    run.LogLine(logText);
    const std::string mp3 = ChangeFileExt(demuxed, ".mp3");
    RunStageTool(Program().BeSweetPath + Mp3Arguments(mode == kAudioCbrMp3, mono, demuxed, mp3,
                                                      ChangeFileExt(mp3, ".log"), bitrate));
    return mp3;
}

}  // namespace

void TMXEncoder::EncodeAudio() {
    if (Settings.AudioTrack == -1) return;
    const TAudioChoice choice = ResolveAudioChoice(Settings.AudioMode, Settings.AudioBitrate,
                                                   Settings.QualityMode, Settings.TargetSize);
    if (choice.AutoAudio) AutoAudio = true;
    Settings.AudioMode = choice.AudioMode;
    Settings.AudioBitrate = choice.AudioBitrate;
    Audio2Mode = choice.Audio2Mode;
    Audio2Bitrate = choice.Audio2Bitrate;

    const std::string marker = Settings.InputDir + platform::kPathDelim + ".mono";
    const bool monoMarker = platform::FileExists(marker) || platform::DirectoryExists(marker);
    if (monoMarker) LogLine("Enforcing mono audio encoding.");
    const TVobInfo& info = Settings.VobInfo;

    DemuxedAudioFile = FindDemuxedAudio(TempBase, AudioTrackNumber);
    if (DemuxedAudioFile.empty()) {
        LogLine("Audio is not found.");
    } else {
        // Only an AC3 track can be passed through unchanged.
        if (LowerExtension(DemuxedAudioFile) != ".ac3" && Settings.AudioMode == kAudioAC3)
            Settings.AudioMode = kAudioVbrMp3;
        const bool mono = monoMarker || info.Audio[Settings.AudioTrack].Channels == "1ch";
        EncodedAudioFile = EncodeTrack(*this, DemuxedAudioFile, Settings.AudioMode, mono,
                                       Settings.AudioBitrate, "Encoding audio.");
    }
    if (Settings.AudioTrack2 == -1) return;

    DemuxedAudioFile2 = FindDemuxedAudio(TempBase, AudioTrackNumber2);
    if (DemuxedAudioFile2.empty()) {
        LogLine("Audio 2 is not found.");
        return;
    }
    // The second track goes in as demultiplexed in the AC3 mode, whatever its format.
    const bool mono2 = monoMarker || info.Audio[Settings.AudioTrack2].Channels == "1ch";
    EncodedAudioFile2 = EncodeTrack(*this, DemuxedAudioFile2, Audio2Mode, mono2, Audio2Bitrate,
                                    "Encoding audio 2.");
}
