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
// left there. A preview has a folder of its own: a job queued for the same output empties
// "mx_tmp" when it starts, while the player may still show the preview from its files. A folder
// that cannot be made or used is reported once the run has a log.
void TRun::PrepareTempFolder() {
    const std::string outputFolder = OutputFolderOf(Settings.OutputFile);
    tempFolder_ = outputFolder + (PreviewMode ? "mx_preview" : "mx_tmp") + platform::kPathDelimStr;
    const std::string folder = tempFolder_.substr(0, tempFolder_.size() - 1);
    if (!PreviewMode && !ClaimOutputFolder(outputFolder, folder)) return;
    if (!platform::ForceDirectories(folder))
        tempFolderError_ = "Cannot create the temporary folder " + folder + ".";
}

// Copies of the program running at once (a batch) may be given outputs in one folder; the job
// that holds the folder keeps its temporary folder until it ends, and another is refused before
// it deletes anything.
bool TRun::ClaimOutputFolder(const std::string& outputFolder, const std::string& tempFolder) {
    platform::ForceDirectories(outputFolder);
    outputFolderLock_ = std::make_unique<platform::FolderLock>(outputFolder);
    if (outputFolderLock_->Refused()) {
        tempFolderError_ = "The temporary folder " + tempFolder +
                           " is in use by another job; jobs that run at once need output "
                           "files in different folders.";
        return false;
    }
    platform::DeleteTree(tempFolder);
    return true;
}

std::function<void(int64_t, int64_t)> TRun::ToolProgress(bool frames) {
    IProgressSink* sink = Settings.Progress;
    if (!sink) return {};
    sink->ShowProgress(meter_.Begin(progressStage_, frames, TProgressMeter::Clock::now()));
    return [this, sink](int64_t done, int64_t total) {
        if (const auto shown = meter_.Update(done, total, TProgressMeter::Clock::now()))
            sink->ShowProgress(*shown);
    };
}

void TRun::EndProgress() {
    if (Settings.Progress) Settings.Progress->ShowProgress(TJobProgress{});
}

std::string TRun::TempFile(const std::string& extension) const {
    return ChangeFileExt(TempBase, extension);
}

std::string TRun::JobLogFile() const {
    return ChangeFileExt(Settings.OutputFile, "_mx.log");
}
