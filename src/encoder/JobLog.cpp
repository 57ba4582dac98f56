// The run's log: lines for the window and lines for the job log file.
#include <chrono>
#include <cmath>
#include <string>

#include "encoder/Run.h"
#include "platform/files.h"
#include "util/utils.h"

namespace {

const std::string kScriptFrame(59, '=');

}  // namespace

std::string TRun::Stamp() const {
    const auto now = platform::Clock::now();
    return "[" + platform::FormatShortDate(now, userFormat_) + " " +
           platform::FormatLongTime(now, userFormat_) + "] ";
}

std::string TRun::FormatLogFloat(double value) const {
    return platform::FormatFixed(value, 2, userFormat_);
}

void TRun::LogRaw(const std::string& text, bool toWindow, bool toFile) {
    if (toWindow && Settings.Log) Settings.Log->AddLine(text);
    if (toFile) JobLog.push_back(text);
}

void TRun::LogLine(const std::string& text, bool toWindow, bool toFile) {
    LogRaw(Stamp() + text, toWindow, toFile);
}

void TRun::LogScript(const std::vector<std::string>& lines, const std::string& caption) {
    JobLog.push_back(Stamp() + caption);
    JobLog.push_back(kScriptFrame);
    // The codec state is a long opaque blob that says nothing to a reader of the log.
    for (const std::string& line : lines)
        if (line.find("SetCompData") == std::string::npos) JobLog.push_back(line);
    JobLog.push_back(kScriptFrame);
}

void TRun::LogTiming(double percent, TimePoint start, TimePoint end) {
    LogLine("Duration was: " + DurationText(start, end));
    const double seconds = std::abs(std::chrono::duration<double>(end - start).count());
    const double frames = static_cast<double>(Source.FrameCount) * (percent / 100.0);
    // A run too short to measure has no speed to speak of.
    const double speed = seconds > 0 ? frames / seconds : 0.0;
    LogLine("Speed was: " + FormatLogFloat(speed) + " fps.");
}

void TRun::SaveJobLog() {
    if (!JobLog.empty()) {
        std::string text;
        for (const std::string& line : JobLog) text += line + "\n";
        const std::string path = JobLogFile();
        if (!platform::WriteFileText(path, text))
            LogLine("Cannot write the job log " + path + ".", true, false);
    }
    JobLog.clear();
    JobLog.shrink_to_fit();
}
