#pragma once
// The terminal in place of the window: messages on standard error, log lines on standard output,
// one whole line at a time from whichever thread writes.
#include <atomic>
#include <mutex>
#include <ostream>
#include <string>

#include "app/Dialogs.h"
#include "util/LineSink.h"

// Lines written whole and in order, from any thread.
class TStreamSink : public ILineSink {
  public:
    explicit TStreamSink(std::ostream& out) : out_(out) {}
    void AddLine(const std::string& line) override;

  private:
    std::ostream& out_;
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
