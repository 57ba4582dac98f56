#include "cli/Terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include "app/ProgressText.h"

TProgressLine::TProgressLine(std::ostream& err, std::function<int()> columns,
                             platform::FormatSettings fs)
    : err_(err), columns_(std::move(columns)), fs_(std::move(fs)) {}

TProgressLine::~TProgressLine() {
    std::lock_guard<std::mutex> lock(mutex_);
    Erase();
}

void TProgressLine::ShowProgress(const TJobProgress& progress) {
    std::lock_guard<std::mutex> lock(mutex_);
    Erase();
    text_ = ProgressText(progress, fs_);
    Draw();
}

void TProgressLine::Write(std::ostream& out, const std::string& line) {
    std::lock_guard<std::mutex> lock(mutex_);
    Erase();
    out << line << '\n';
    out.flush();
    Draw();
}

// Blanks over what is shown, the cursor back at the start of the line.
void TProgressLine::Erase() {
    if (drawn_ == 0) return;
    err_ << '\r' << std::string(drawn_, ' ') << '\r';
    err_.flush();
    drawn_ = 0;
}

// The text, cut to the terminal's width so that it never wraps onto a second line.
void TProgressLine::Draw() {
    const int columns = columns_();
    if (text_.empty() || columns <= 1) return;
    const std::string shown = text_.substr(0, static_cast<size_t>(columns - 1));
    err_ << '\r' << shown;
    err_.flush();
    drawn_ = shown.size();
}

int TerminalColumns(int fd) {
    if (!isatty(fd)) return 0;
    winsize size{};
    if (ioctl(fd, TIOCGWINSZ, &size) != 0 || size.ws_col == 0) return 80;
    return size.ws_col;
}

void TStreamSink::AddLine(const std::string& line) {
    if (progress_) return progress_->Write(out_, line);
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
