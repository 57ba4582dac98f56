#pragma once
// The terminal in place of the window: messages on standard error, log lines on standard output,
// one whole line at a time from whichever thread writes.
#include <atomic>
#include <functional>
#include <mutex>
#include <ostream>
#include <string>

#include "app/Dialogs.h"
#include "jobs/JobProgress.h"
#include "platform/locale.h"
#include "util/LineSink.h"

// The running job's progress on one line of standard error, written over in place, while that is
// a terminal; nothing at all otherwise. Lines written through it take the progress line away
// first and put it back after, so that the two never mix.
class TProgressLine : public IProgressSink {
  public:
    // `columns` gives the terminal's width, 0 when standard error is not a terminal.
    TProgressLine(std::ostream& err, std::function<int()> columns, platform::FormatSettings fs);
    // Takes the line away, should the program end while it shows.
    ~TProgressLine() override;
    void ShowProgress(const TJobProgress& progress) override;
    // Writes `line` and a line end to `out`.
    void Write(std::ostream& out, const std::string& line);

  private:
    void Erase();
    void Draw();

    std::ostream& err_;
    std::function<int()> columns_;
    platform::FormatSettings fs_;
    std::mutex mutex_;
    std::string text_;  // what the line shows while a job runs
    size_t drawn_ = 0;  // characters of it on the terminal now
};

// The width of the terminal on `fd`; 0 when it is not one.
int TerminalColumns(int fd);

// Lines written whole and in order, from any thread, out of the progress line's way when given.
class TStreamSink : public ILineSink {
  public:
    explicit TStreamSink(std::ostream& out, TProgressLine* progress = nullptr)
        : out_(out), progress_(progress) {}
    void AddLine(const std::string& line) override;

  private:
    std::ostream& out_;
    TProgressLine* progress_;
    std::mutex mutex_;
};

// Messages are printed; a question gets the safe answer, No; there is no chooser to show, so
// the program hands its paths to the rules directly.
class TTerminalDialogs : public IDialogs {
  public:
    explicit TTerminalDialogs(ILineSink& err) : err_(err) {}
    void Message(MessageKind kind, const std::string& text) override;
    bool Confirm(const std::string& text) override;
    std::optional<std::string> ChooseFolder() override { return std::nullopt; }
    std::optional<std::string> ChooseSaveFile(const std::string&) override { return std::nullopt; }
    int Count() const { return count_; }

  private:
    ILineSink& err_;
    int count_ = 0;
};

// One job's log lines on their way to the terminal, noting whether the job ended in an error.
class TJobLogSink : public ILineSink {
  public:
    explicit TJobLogSink(ILineSink& out) : out_(out) {}
    void AddLine(const std::string& line) override;
    bool Failed() const { return failed_.load(); }
    void MarkFailed() { failed_ = true; }

  private:
    ILineSink& out_;
    std::atomic<bool> failed_{false};
};
