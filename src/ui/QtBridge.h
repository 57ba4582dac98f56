#pragma once
// What the worker and the runs send to the window from their threads, carried to the window
// thread as queued calls in the order they were made.
#include <QTextEdit>
#include <atomic>
#include <functional>

#include "jobs/UiBridge.h"
#include "util/LineSink.h"

class TQtUiBridge : public IUiBridge {
  public:
    // `context` is the window: calls that arrive after it is gone are dropped.
    TQtUiBridge(QObject* context, std::function<void()> updateButtons,
                std::function<void()> queueChanged, std::function<bool()> shutdownWhenDone,
                std::function<void(const TJobProgress&)> showProgress);
    void UpdateButtons() override;
    void QueueChanged() override;
    bool ShutdownWhenDone() const override { return shutdownWhenDone_(); }
    void ShowProgress(const TJobProgress& progress) override;

  private:
    QObject* context_;
    std::function<void()> updateButtons_;
    std::function<void()> queueChanged_;
    std::function<bool()> shutdownWhenDone_;
    std::function<void(const TJobProgress&)> showProgress_;
};

// The log view's line list: each line becomes one paragraph at the end of the view, as plain
// text, so that the scripts echoed into the log keep their blanks. The view must outlive every
// run that writes to it (the window lets its runs end before its controls go).
class TQtLogSink : public ILineSink {
  public:
    explicit TQtLogSink(QTextEdit* view) : view_(view) {}
    void AddLine(const std::string& line) override;

  private:
    QTextEdit* view_;
};

// Appends one line to a log view; window thread only.
void AppendLogLine(QTextEdit* view, const QString& line);
