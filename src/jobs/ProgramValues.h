#pragma once
// The program-wide values. The first group is fixed by the start-up sequence before any job
// thread exists and only read afterwards; the run state is shared between the window thread,
// the queue worker and the encoder thread, so its single values are atomics and its two texts
// sit behind a lock.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "platform/locale.h"
#include "platform/process.h"

struct TProgramValues {
    std::string ProgramDir;
    std::string DVD2AVIPath;
    std::string BeSweetPath;
    std::string VDubModPath;
    std::string VobSubPath;
    std::string AviSynthPath;
    std::string XviDCodecPath;
    std::string DivXCodecPath;
    std::string MediaPlayerPath;
    std::string RarPath;
    bool NewXviD = false;
    bool XviDInstalled = false;
    bool DivXInstalled = false;
    bool HasMMX = false;
    bool HasSSE = false;
    bool HasSSE2 = false;
    bool EssMarker = false;
    platform::FormatSettings FormatSettings = platform::ProgramFormat();
};

// Set by start-up; tests set what they need.
TProgramValues& Program();

// A text shared between threads.
class TSharedText {
  public:
    std::string Get() const {
        std::lock_guard<std::mutex> lock(mutex_);
        return text_;
    }
    void Set(const std::string& text) {
        std::lock_guard<std::mutex> lock(mutex_);
        text_ = text;
    }

  private:
    mutable std::mutex mutex_;
    std::string text_;
};

// StateFlags bits.
enum : uint32_t { InputReady = 1, OutputReady = 2, AudioUsable = 4, Idle = 8 };

struct TRunState {
    std::atomic<bool> AbortRequested{false};
    std::atomic<platform::ProcessId> ProcessHandle{0};  // the program started last
    std::atomic<int32_t> CurrentJob{-1};
    std::atomic<uint32_t> StateFlags{Idle};
    TSharedText PreviewIndexFile;
    TSharedText PreviewSubsFile;

    // Counts the presses of "Abort" (RequestAbort). A run or a queue run that notes the count
    // when it begins can tell an abort aimed at it from a stale flag that it has just cleared.
    std::atomic<uint32_t> AbortCount{0};
    // Held by an encoder run's thread for its whole life: runs share the flags above, the
    // preview caches and the log view, so a new run waits for an aborted one to wind down.
    std::mutex EncoderGate;
    // Held by a queue worker for its whole life, so that a "Start" after an "Abort" waits until
    // the aborted queue run has removed its entry and left its loop.
    std::mutex WorkerGate;
};

TRunState& RunState();
