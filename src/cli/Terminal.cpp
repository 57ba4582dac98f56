#include "cli/Terminal.h"

void TStreamSink::AddLine(const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    out_ << line << '\n';
    out_.flush();
}

void TTerminalDialogs::Message(MessageKind, const std::string& text) {
    ++count_;
    err_.AddLine(text);
}

bool TTerminalDialogs::Confirm(const std::string& text) {
    err_.AddLine(text + " No.");
    return false;
}

void TJobLogSink::AddLine(const std::string& line) {
    // The run frames every error of a job, its abort included, as such a line.
    if (line.rfind("EXCEPTION: ", 0) == 0) failed_ = true;
    out_.AddLine(line);
}
