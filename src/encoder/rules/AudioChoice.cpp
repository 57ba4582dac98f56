#include "encoder/rules/AudioChoice.h"

#include <cstdio>

#include "jobs/globals.h"
#include "util/PathText.h"

TAudioChoice ResolveAudioChoice(uint8_t audioMode, int32_t audioBitrate, bool qualityMode,
                                int32_t targetSize) {
    TAudioChoice c;
    if (audioMode == kAudioAuto) {
        c.AutoAudio = true;
        c.AudioBitrate = 128;
        c.AudioMode = (qualityMode || targetSize > 705) ? kAudioAC3 : kAudioVbrMp3;
        c.Audio2Mode = kAudioVbrMp3;
        c.Audio2Bitrate = 128;
        return c;
    }
    c.AudioMode = audioMode;
    c.AudioBitrate = audioBitrate;
    c.Audio2Mode = audioMode;
    c.Audio2Bitrate = audioBitrate;
    return c;
}

std::string DemuxedAudioPattern(const std::string& tempBaseName, int32_t trackNumber) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d", trackNumber);
    return ChangeFileExt(tempBaseName, "") + "* t" + number + " *";
}

std::string Mp3Arguments(bool cbr, bool mono, const std::string& input, const std::string& output,
                         const std::string& logFile, int32_t bitrate) {
    std::string lame = mono ? "-m m -h " : "-h ";
    lame += cbr ? "--cbr -b " : "-alt-preset ";
    return " -core( -input \"" + input + "\" -output \"" + output + "\" -logfile \"" + logFile +
           "\" ) -ota( -hybridgain ) -azid( -L -3db -c normal ) -lame( " + lame +
           std::to_string(bitrate) + " ) -profile( Movrex )";
}
