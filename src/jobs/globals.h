#pragma once
// The job settings record: everything one conversion needs, as a flat value. The windows edit the
// program-wide EncSettings; "Add Job" copies it into a TEncObject for the queue, and every run
// copies what it is given, so editing the windows never changes a queued or running job.
#include <cstdint>
#include <string>

#include "dvd/VobInfo.h"
#include "jobs/JobProgress.h"
#include "util/LineSink.h"

struct TEncRecord {
    std::string InputDir;
    std::string OutputFile;  // always ends in ".avi"; also the job's caption in the queue
    int32_t AudioTrack = 0;  // index into VobInfo.Audio, -1 = none
    int32_t AudioTrack2 = 0;
    int32_t SubTrack = 0;  // index into VobInfo.Subtitles, -1 = none
    int32_t SubTrack2 = 0;
    int32_t TargetSize = 0;             // MB; 0 = no limit; 1 in quality mode
    uint8_t AudioMode = 0;              // 0 automatic, 1 AC3, 2 VBR MP3, 3 CBR MP3
    ILineSink* Log = nullptr;           // the window's log lines; not owned
    IProgressSink* Progress = nullptr;  // the window's progress bar; not owned, may be none
    TVobInfo VobInfo;
    uint8_t ResizeMode = 0;  // 0 auto width, 1 minimum width, 2 fixed width
    int32_t TargetWidth = 0;
    int32_t AudioBitrate = 0;  // kbit/s
    uint8_t Codec = 0;         // 0 XviD, 1 DivX 5
    bool QualityMode = false;
    int32_t Quality = 0;  // percent, 10..100
    bool ForcedSubsOnly = false;
    bool ExternalSubs = false;

    bool operator==(const TEncRecord&) const = default;
};

enum : uint8_t { kAudioAuto = 0, kAudioAC3 = 1, kAudioVbrMp3 = 2, kAudioCbrMp3 = 3 };
enum : uint8_t { kResizeAuto = 0, kResizeMinimum = 1, kResizeFixed = 2 };
enum : uint8_t { kCodecXviD = 0, kCodecDivX = 1 };

// The record as it stands at program start: SubTrack -1 and TargetSize 1400, all else empty.
TEncRecord InitialEncSettings();

// The record under edit by the windows; only the window thread touches it.
TEncRecord& EncSettings();

// A queued job: a copy of the settings taken at "Add Job".
class TEncObject {
  public:
    explicit TEncObject(const TEncRecord& settings) : Settings(settings) {}
    TEncRecord Settings;
};
