#pragma once
// One conversion of one DVD title: the run copies its job's settings, prepares the temporary
// folder beside the output file, then calls the stages in a fixed order on a thread of its own,
// each stage reading what the earlier ones left in the fields below. Everything that happens is
// logged line by line to the window and, at the end, to "<output>_mx.log".
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "codec/reg.h"
#include "encoder/Stages.h"
#include "jobs/JobRun.h"
#include "jobs/UiBridge.h"
#include "jobs/globals.h"
#include "platform/locale.h"
#include "scripts/SourceType.h"

class TMXEncoder : public IJobRun {
  public:
    using TimePoint = std::chrono::system_clock::time_point;

    // Copies `settings`, empties the temporary folder (normal runs only) and prepares the fields.
    // The run does not start until Start(). `ui` receives the preview's final button refresh.
    TMXEncoder(const TEncRecord& settings, bool preview, IUiBridge* ui = nullptr);
    // Waits for the thread when it was started.
    ~TMXEncoder() override;
    TMXEncoder(const TMXEncoder&) = delete;
    TMXEncoder& operator=(const TMXEncoder&) = delete;

    void Start() override;
    void WaitFor() override;
    // True once the thread body has returned (or when it was never started).
    bool Finished() const { return finished_.load(); }

    // "Abort" presses counted after `count` abort this run (the queue worker passes the count of
    // the moment its queue run began).
    void SetAbortBaseline(uint32_t count) { abortBaseline_ = count; }
    // The stages the body calls; tests put stand-ins here before Start().
    void SetStages(const TEncoderStages& stages) { stages_ = stages; }

    // Log lines: "[" + local short date + " " + long time + "] " + text.
    void LogLine(const std::string& text, bool toWindow = true, bool toFile = true);
    void LogRaw(const std::string& text, bool toWindow = true, bool toFile = true);
    // Echoes a script into the job log only, framed by two lines of 59 "=", leaving out every
    // line that carries codec state ("SetCompData").
    void LogScript(const std::vector<std::string>& lines, const std::string& caption);
    // "Duration was: ..." and "Speed was: %f fps." for `percent` % of FrameCount.
    void LogTiming(double percent, TimePoint start, TimePoint end);
    // Writes the job log beside the output file (when it has a line) and empties it.
    void SaveJobLog();
    // "%f" of the log lines: two decimals, the user's decimal separator.
    std::string FormatLogFloat(double value) const;

    // The job log file: OutputFile with its extension replaced by "_mx.log".
    std::string JobLogFile() const;
    // The temporary folder, ending in the path separator.
    const std::string& TempFolder() const { return tempFolder_; }
    // TempBase with its last extension replaced by `extension` (".d2v", "_movie.avs", ...).
    std::string TempFile(const std::string& extension) const;

    // Runs a program under debug capture; every "Decimate:" string may raise HybridThreshold.
    bool RunCapturingDebugOutput(const std::string& commandLine);

    // The thread body; a test may also run it on the calling thread.
    void Execute();

    // Stage operations, one file each.
    void IndexForEncoding();
    void IndexForPreview();
    void DetectFieldOrder();
    void EncodeAudio();
    void ExtractSubtitles();
    void ChooseInitialSettings();
    void ComputeBudget();
    void RunSinglePass();
    void RunCompTest();
    void MeasureCompTest();
    void AdjustAfterCompTest();
    int32_t HeightForWidth(int32_t width);
    std::vector<std::string> PreviewScript();
    void RunFirstPass();
    void RunSecondPass();
    void SplitOutput();

    // Helpers of the analysis and decision stages.
    // The compressibility predicted for an output width from the budget and the test's result.
    double PredictedRatio(int32_t width);
    // One interlace analysis of `d2vPath`: sets SourceType, CombDelta and, for hybrids,
    // HybridThreshold.
    void AnalyzeInterlace(const std::string& d2vPath);
    void RunAnalysisJob(const std::string& script, const std::string& outputAvi, bool captureDebug);
    void FindHybridThreshold(const std::string& d2vPath, std::string trimList);
    // Starts the job runner minimised and waits for it; an error when it cannot be started.
    void RunJobRunner(const std::string& commandLine);
    // Interlaced PAL: analyses the index with swapped fields and keeps the better order.
    void TrySwappedFieldOrder(std::vector<std::string>& indexLines);
    // Reads frames.log of the first pass and lowers the XviD quantizer limits to fit.
    void EvaluateFirstPass();

    // Fields in the order the stages know them.
    double XviDBFramesFactor = 0;  // B-frames factor, matrix factor and resizer factor,
    double XviDMatrixFactor = 0;   // without and with the ".ess" marker
    double XviDResizerFactor = 0;
    double XviDEssBFramesFactor = 0;
    double XviDEssMatrixFactor = 0;
    double XviDEssResizerFactor = 0;
    bool AutoAudio = false;
    int32_t IdctChoice = 1;
    int32_t Audio2Bitrate = 0;
    uint8_t Audio2Mode = 0;
    bool HasAudio2 = false;
    double HybridThreshold = 0;
    TEncRecord Settings;
    std::string D2VFile;
    std::string DemuxedAudioFile;
    std::string DemuxedAudioFile2;
    std::string EncodedAudioFile;
    std::string EncodedAudioFile2;
    std::string VobSubFile;
    uint8_t SourceType = stProgressive;
    double PixelAspect = 0;
    double PixelAspect2 = 0;  // the second aspect value of the movie script
    int32_t OutWidth = 0;
    int32_t AudioTrackNumber = 0;
    int32_t AudioTrackNumber2 = 0;
    std::string ResizeTemplate;
    std::string JobScriptFile;
    std::string TempBase;
    int64_t VideoSize = 0;
    int64_t SubtitleSize = 0;
    int64_t FrameCount = 0;
    double CompAspect = 0;
    TXviDCodecParams XviDParams;
    TDivXCodecParams DivXParams;
    double CompBitsPerPixel = 0;
    double CompRatio = 0;
    std::vector<std::string> JobLog;
    bool PreviewMode = false;
    double CombDelta = 0;
    int32_t CompCycle = 15;

  private:
    std::string Stamp() const;
    void PrepareTempFolder();
    void TakePreviewFiles();
    void RunGuarded();
    void CheckTrackIndexes() const;
    void RunPreview();
    void RunNormal();
    void LogSettings();
    void RunSizeMode();
    void SetMaxQuantizers();
    void LogChosenResolution();
    void ShowPreview(const std::vector<std::string>& script);

    IUiBridge* ui_ = nullptr;
    TEncoderStages stages_;
    platform::FormatSettings userFormat_;
    std::string tempFolder_;
    std::string tempFolderError_;
    uint32_t abortBaseline_ = 0;
    std::atomic<bool> finished_{true};
    std::thread thread_;
};

// The factory the queue worker uses: a run in normal mode.
std::unique_ptr<IJobRun> CreateQueueRun(const TEncRecord& settings, uint32_t abortBaseline);
