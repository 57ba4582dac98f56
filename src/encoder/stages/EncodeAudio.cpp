// Settles how each audio track goes into the AVI and encodes the MP3 tracks.
#include <algorithm>
#include <cctype>

#include "encoder/StageTools.h"
#include "encoder/rules/AudioChoice.h"
#include "encoder/stages/Stages.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "util/PathText.h"

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
std::string EncodeTrack(TRun& run, const std::string& demuxed, uint8_t mode, bool mono,
                        int32_t bitrate, const std::string& logText) {
    if (mode != kAudioVbrMp3 && mode != kAudioCbrMp3) return demuxed;
    run.LogLine(logText);
    const std::string mp3 = ChangeFileExt(demuxed, ".mp3");
    RunStageTool(run,
                 run.Program.BeSweetPath + Mp3Arguments(mode == kAudioCbrMp3, mono, demuxed, mp3,
                                                        ChangeFileExt(mp3, ".log"), bitrate));
    return mp3;
}

void EncodeAudio(TRun& run) {
    TEncRecord& s = run.Settings;
    TAudioRecord& audio = run.Audio;
    if (s.AudioTrack == -1) return;
    const TAudioChoice choice =
        ResolveAudioChoice(s.AudioMode, s.AudioBitrate, s.QualityMode, s.TargetSize);
    if (choice.AutoAudio) audio.AutoAudio = true;
    s.AudioMode = choice.AudioMode;
    s.AudioBitrate = choice.AudioBitrate;
    audio.Audio2Mode = choice.Audio2Mode;
    audio.Audio2Bitrate = choice.Audio2Bitrate;

    const std::string marker = s.InputDir + platform::kPathDelim + ".mono";
    const bool monoMarker = platform::FileExists(marker) || platform::DirectoryExists(marker);
    if (monoMarker) run.LogLine("Enforcing mono audio encoding.");
    const TVobInfo& info = s.VobInfo;

    audio.DemuxedAudioFile = FindDemuxedAudio(run.TempBase, audio.AudioTrackNumber);
    if (audio.DemuxedAudioFile.empty()) {
        run.LogLine("Audio is not found.");
    } else {
        // Only an AC3 track can be passed through unchanged.
        if (LowerExtension(audio.DemuxedAudioFile) != ".ac3" && s.AudioMode == kAudioAC3)
            s.AudioMode = kAudioVbrMp3;
        const bool mono = monoMarker || info.Audio[s.AudioTrack].Channels == "1ch";
        audio.EncodedAudioFile = EncodeTrack(run, audio.DemuxedAudioFile, s.AudioMode, mono,
                                             s.AudioBitrate, "Encoding audio.");
    }
    if (s.AudioTrack2 == -1) return;

    audio.DemuxedAudioFile2 = FindDemuxedAudio(run.TempBase, audio.AudioTrackNumber2);
    if (audio.DemuxedAudioFile2.empty()) {
        run.LogLine("Audio 2 is not found.");
        return;
    }
    // In the AC3 mode the second track goes in as demultiplexed, which an AVI can carry for AC3
    // and MPEG audio; decoded LPCM (a WAV) cannot go in as it is, so it is encoded like a first
    // track would be.
    if (audio.Audio2Mode == kAudioAC3 && LowerExtension(audio.DemuxedAudioFile2) == ".wav")
        audio.Audio2Mode = kAudioVbrMp3;
    const bool mono2 = monoMarker || info.Audio[s.AudioTrack2].Channels == "1ch";
    audio.EncodedAudioFile2 = EncodeTrack(run, audio.DemuxedAudioFile2, audio.Audio2Mode, mono2,
                                          audio.Audio2Bitrate, "Encoding audio 2.");
}

}  // namespace

const TStage kEncodeAudio{"EncodeAudio", EncodeAudio, "Encoding audio"};
