#include "TranscodeLog.h"

#include <iostream>

#include "platform/files.h"

namespace audio {

void TranscodeLog::Line(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    lines_.push_back(text);
}

void TranscodeLog::Warn(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::cerr << "warning: " << text << "\n";
    lines_.push_back("warning: " + text);
}

void TranscodeLog::Error(const std::string& text) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::cerr << "error: " << text << "\n";
    lines_.push_back("error: " + text);
}

void TranscodeLog::Save(const std::string& path) const {
    if (path.empty()) return;
    std::string text;
    std::lock_guard<std::mutex> lock(mutex_);
    for (const std::string& line : lines_) text += line + "\n";
    if (!platform::WriteFileText(path, text))
        std::cerr << "warning: " << path << ": the log file cannot be written\n";
}

}  // namespace audio
