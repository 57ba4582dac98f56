#include "encoder/encoder.h"

#include <mutex>

#include "util/PathText.h"
#include "jobs/ProgramValues.h"
#include "platform/files.h"
#include "platform/paths.h"

namespace {

// The DVD2AVIdg track number of an audio choice: its stream id plus one; 0 for no track.
int32_t TrackNumberOf(const TVobInfo& info, int32_t track) {
    if (track < 0 || track >= kMaxAudioTracks) return 0;
    return info.Audio[track].StreamId + 1;
}

}  // namespace

TMXEncoder::TMXEncoder(const TEncRecord& settings, bool preview, IUiBridge* ui)
    : Settings(settings), ui_(ui), stages_(DefaultStages()), userFormat_(platform::UserFormat()) {
    abortBaseline_ = RunState().AbortCount.load();
    const TProgramValues& program = Program();
    if (program.NewXviD) {
        XviDBFramesFactor = 0.74, XviDMatrixFactor = 0.862, XviDResizerFactor = 0.953;
        XviDEssBFramesFactor = 0.746, XviDEssMatrixFactor = 0.906, XviDEssResizerFactor = 0.94;
    } else {
        XviDBFramesFactor = 0.745, XviDMatrixFactor = 0.855, XviDResizerFactor = 0.952;
        XviDEssBFramesFactor = 0.768, XviDEssMatrixFactor = 0.904, XviDEssResizerFactor = 0.939;
    }
    PreviewMode = preview;
    PrepareTempFolder();
    TempBase = tempFolder_ + ExtractFileName(Settings.OutputFile);
    JobScriptFile = tempFolder_ + "lastjob.vcf";
    TakePreviewFiles();
    AudioTrackNumber = TrackNumberOf(Settings.VobInfo, Settings.AudioTrack);
    AudioTrackNumber2 = TrackNumberOf(Settings.VobInfo, Settings.AudioTrack2);
    CompCycle = Settings.Codec == kCodecXviD ? 15 : 14;
    if (Settings.TargetSize == 0) {
        Settings.QualityMode = true;
        Settings.Quality = 100;
    }
    IdctChoice = program.HasSSE2 ? 3 : program.HasSSE ? 2 : 1;
}

// A normal run starts from an empty temporary folder; a preview keeps what the last preview
// left there. A folder that cannot be made is reported once the run has a log.
void TMXEncoder::PrepareTempFolder() {
    tempFolder_ = OutputFolderOf(Settings.OutputFile) + "mx_tmp" + platform::kPathDelimStr;
    const std::string folder = tempFolder_.substr(0, tempFolder_.size() - 1);
    if (!PreviewMode) platform::DeleteTree(folder);
    if (!platform::ForceDirectories(folder))
        tempFolderError_ = "Cannot create the temporary folder " + folder + ".";
}

// Only a preview starts from what the last preview left, and only from files that are still
// there. A normal run makes its own index and subtitles, and the preview's subtitles must never
// be drawn into a job that has none.
// A cache whose file is gone (a normal run emptied that folder) is forgotten, so that the next
// preview makes it again.
void TMXEncoder::TakePreviewFiles() {
    TRunState& state = RunState();
    const auto take = [this](TSharedText& cache, std::string& file) {
        file = cache.Get();
        if (!file.empty() && !platform::FileExists(file)) cache.Set("");
        if (!PreviewMode || !platform::FileExists(file)) file.clear();
    };
    take(state.PreviewIndexFile, D2VFile);
    take(state.PreviewSubsFile, VobSubFile);
    if (Settings.SubTrack == -1) VobSubFile.clear();  // kept for when the subtitles come back
}

TMXEncoder::~TMXEncoder() {
    WaitFor();
}

void TMXEncoder::Start() {
    if (thread_.joinable()) return;
    finished_ = false;
    thread_ = std::thread([this] {
        // Execute() handles the errors of the job; what could still escape (no memory left for
        // the last log line) must not take the whole program down with it.
        try {
            Execute();
        } catch (...) {
        }
        finished_ = true;
    });
}

void TMXEncoder::WaitFor() {
    if (thread_.joinable()) thread_.join();
}

std::string TMXEncoder::TempFile(const std::string& extension) const {
    return ChangeFileExt(TempBase, extension);
}

std::string TMXEncoder::JobLogFile() const {
    return ChangeFileExt(Settings.OutputFile, "_mx.log");
}

std::unique_ptr<IJobRun> CreateQueueRun(const TEncRecord& settings, uint32_t abortBaseline) {
    auto run = std::make_unique<TMXEncoder>(settings, false);
    run->SetAbortBaseline(abortBaseline);
    return run;
}
