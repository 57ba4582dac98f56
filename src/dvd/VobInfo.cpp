#include "dvd/VobInfo.h"

bool TVobInfo::AddAudio(const TAudioinfo& track) {
    if (AudioCount < 0 || AudioCount >= kMaxAudioTracks) return false;
    Audio[AudioCount++] = track;
    return true;
}

bool TVobInfo::AddSubtitle(const TSubtitleInfo& track) {
    if (SubtitleCount < 0 || SubtitleCount >= kMaxSubtitleTracks) return false;
    Subtitles[SubtitleCount++] = track;
    return true;
}
