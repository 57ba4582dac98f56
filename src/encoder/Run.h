#pragma once
// What one conversion works on: the job's settings as the run copied them, the program-wide
// values it was handed, the files of its temporary folder, what the stages found out and decided
// (one small record each, saying who writes it), and the job log. Every stage is a function of
// this and nothing else.
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "codec/reg.h"
#include "jobs/JobProgress.h"
#include "jobs/ProgramValues.h"
#include "jobs/globals.h"
#include "platform/locale.h"
#include "platform/system.h"
#include "scripts/SourceType.h"

// The source as indexed and analysed.
struct TSourceRecord {
    // The index file the scripts open: indexing, and the field-order check when it keeps the
    // copy with swapped fields. A preview starts from the last preview's.
    std::string D2VFile;
    // The subtitle index drawn into the picture, empty for none: subtitle extraction, which
    // empties it again when it delivers the subtitles beside the AVI. A preview starts from the
    // last preview's.
    std::string VobSubFile;
    // The frame structure: field order and FILM detection, the interlace analysis and the hybrid
    // threshold search. A preview takes the source as progressive.
    uint8_t SourceType = stProgressive;
    int64_t FrameCount = 0;      // output frames: field order and FILM detection
    double CombDelta = 0;        // the interlace analysis: the change of the combing ratio
    double HybridThreshold = 0;  // the hybrid threshold search
};

// The audio tracks as they go into the AVI.
struct TAudioRecord {
    // The indexer's numbers of the chosen tracks, 0 for none: construction.
    int32_t AudioTrackNumber = 0;
    int32_t AudioTrackNumber2 = 0;
    // The audio stage: whether the coding was chosen automatically, the second track's coding,
    // the files as demultiplexed and as they go into the AVI.
    bool AutoAudio = false;
    uint8_t Audio2Mode = 0;
    int32_t Audio2Bitrate = 0;
    std::string DemuxedAudioFile;
    std::string DemuxedAudioFile2;
    std::string EncodedAudioFile;
    std::string EncodedAudioFile2;  // the budget drops a second file it cannot find
    bool HasAudio2 = false;         // the budget: the AVI holds a second audio stream
};

// The budget stage's share of the target size.
struct TBudgetRecord {
    int64_t VideoSize = 0;     // bytes left for the video
    int64_t SubtitleSize = 0;  // bytes of the external subtitle files
};

// The compressibility test's result.
struct TCompTestRecord {
    int32_t CompCycle = 15;       // frames per sample: construction, by codec
    double CompAspect = 0;        // the measurement: the test output's aspect
    double CompBitsPerPixel = 0;  // the measurement
    double CompRatio = 0;         // the measurement; the adjustment predicts it anew
};

// The picture and the codec settings as planned.
struct TCodecPlan {
    double PixelAspect = 0;  // the initial settings
    int32_t OutWidth = 0;    // the initial settings; the adjustment after the test
    int32_t OutHeight = 0;   // the height for OutWidth once the adjustment has chosen it
    std::string ResizeTemplate;
    // The settings of the next codec run: the initial settings, the frame count's key-frame
    // interval, the budget, the adjustment and the quantizer limits; each codec run adds its
    // mode before it writes them.
    TXviDCodecParams XviDParams;
    TDivXCodecParams DivXParams;
};

class TRun {
  public:
    using TimePoint = std::chrono::system_clock::time_point;

    // Copies `settings` and `program`; a normal run empties its temporary folder beside the
    // output file first, a preview keeps what the last preview left there.
    TRun(const TEncRecord& settings, bool preview, const TProgramValues& program);
    virtual ~TRun() = default;

    TEncRecord Settings;     // stages change a few fields as the job's course settles them
    TProgramValues Program;  // the tool paths, codec and processor flags, number format
    const bool PreviewMode;
    std::string TempBase;       // the temporary folder and the output file's name
    std::string JobScriptFile;  // "lastjob.vcf" in the temporary folder
    int32_t IdctChoice = 1;     // the indexer's iDCT by the processor: 3 SSE2, 2 SSE, else 1

    TSourceRecord Source;
    TAudioRecord Audio;
    TBudgetRecord Budget;
    TCompTestRecord CompTest;
    TCodecPlan Plan;
    std::vector<std::string> PreviewScript;  // a preview's movie script: the preview stage

    // The temporary folder, ending in the path separator.
    const std::string& TempFolder() const { return tempFolder_; }
    // Why the temporary folder could not be made; empty when it was.
    const std::string& TempFolderError() const { return tempFolderError_; }
    // TempBase with its last extension replaced by `extension` (".d2v", "_movie.avs", ...).
    std::string TempFile(const std::string& extension) const;
    // The job log file: OutputFile with its extension replaced by "_mx.log".
    std::string JobLogFile() const;

    // ---- The job log

    // Log lines: "[" + local short date + " " + long time + "] " + text.
    void LogLine(const std::string& text, bool toWindow = true, bool toFile = true);
    void LogRaw(const std::string& text, bool toWindow = true, bool toFile = true);
    // Echoes a script into the job log only, framed by two lines of 59 "=", leaving out every
    // line that carries codec state ("SetCompData").
    void LogScript(const std::vector<std::string>& lines, const std::string& caption);
    // "Duration was: ..." and "Speed was: %f fps." for `percent` % of the frame count.
    void LogTiming(double percent, TimePoint start, TimePoint end);
    // Writes the job log beside the output file (when it has a line) and empties it.
    void SaveJobLog();
    // A normal run's hold on its output folder (and so on its temporary folder) ends: its work
    // is done. It ends with the run in any case.
    void ReleaseOutputFolder() { outputFolderLock_.reset(); }
    // "%f" of the log lines: two decimals, the user's decimal separator.
    std::string FormatLogFloat(double value) const;

    std::vector<std::string> JobLog;

    // ---- Progress, shown by Settings.Progress (when there is one) as the stage's

    // The stage whose tools run next; the driver names it before each stage.
    void SetProgressStage(const std::string& stage) { progressStage_ = stage; }
    // What a tool's progress lines go to (TProgramRun::OnProgress), counted in frames or in
    // another unit; shows the stage with its new tool at once. Empty when nothing shows progress.
    // The tool's lines arrive on one thread while it runs, one tool at a time.
    std::function<void(int64_t done, int64_t total)> ToolProgress(bool frames);
    // The run's tools are done: the progress goes away.
    void EndProgress();

  private:
    std::string Stamp() const;
    void PrepareTempFolder();
    bool ClaimOutputFolder(const std::string& outputFolder, const std::string& tempFolder);

    platform::FormatSettings userFormat_;
    std::string tempFolder_;
    std::string tempFolderError_;
    std::unique_ptr<platform::FolderLock> outputFolderLock_;  // a normal run's, for its life
    std::string progressStage_;
    TProgressMeter meter_;
};
