#include "encoder/Run.h"

#include "platform/files.h"
#include "platform/paths.h"
#include "util/PathText.h"

namespace {

// The indexer's track number of an audio choice: its stream id plus one; 0 for no track.
int32_t TrackNumberOf(const TVobInfo& info, int32_t track) {
    if (track < 0 || track >= kMaxAudioTracks) return 0;
    return info.Audio[track].StreamId + 1;
}

}  // namespace

TRun::TRun(const TEncRecord& settings, bool preview, const TProgramValues& program)
    : Settings(settings),
      Program(program),
      PreviewMode(preview),
      userFormat_(platform::UserFormat()) {
    PrepareTempFolder();
    TempBase = tempFolder_ + ExtractFileName(Settings.OutputFile);
    JobScriptFile = tempFolder_ + "lastjob.vcf";
    Audio.AudioTrackNumber = TrackNumberOf(Settings.VobInfo, Settings.AudioTrack);
    Audio.AudioTrackNumber2 = TrackNumberOf(Settings.VobInfo, Settings.AudioTrack2);
    CompTest.CompCycle = Settings.Codec == kCodecXviD ? 15 : 14;
    if (Settings.TargetSize == 0) {
        Settings.QualityMode = true;
        Settings.Quality = 100;
    }
    IdctChoice = Program.HasSSE2 ? 3 : Program.HasSSE ? 2 : 1;
}

// A normal run starts from an empty temporary folder; a preview keeps what the last preview
// left there. A folder that cannot be made is reported once the run has a log.
void TRun::PrepareTempFolder() {
    tempFolder_ = OutputFolderOf(Settings.OutputFile) + "mx_tmp" + platform::kPathDelimStr;
    const std::string folder = tempFolder_.substr(0, tempFolder_.size() - 1);
    if (!PreviewMode) platform::DeleteTree(folder);
    if (!platform::ForceDirectories(folder))
        tempFolderError_ = "Cannot create the temporary folder " + folder + ".";
}

std::string TRun::TempFile(const std::string& extension) const {
    return ChangeFileExt(TempBase, extension);
}

std::string TRun::JobLogFile() const {
    return ChangeFileExt(Settings.OutputFile, "_mx.log");
}
