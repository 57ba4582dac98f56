#pragma once
// The headless program: the start-up sequence, the jobs of the command line added as "Add Job"
// adds them, and the queue run, with the window's rules and messages throughout.
#include <string>

#include "app/MainModel.h"
#include "app/Startup.h"
#include "cli/CliOptions.h"
#include "jobs/JobManager.h"
#include "util/LineSink.h"

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed =
    1;  // a job failed or was aborted, or the program could not start
inline constexpr int kExitRefused = 2;  // the command line or a choice was refused; nothing ran

// What the headless program works with; tests replace the machine, the runs and the power-off.
struct THeadlessHooks {
    TMachine Machine = ThisMachine();
    TRunFactory MakeRun;                // the encoder's queue run when empty
    TPreviewFactory MakePreview;        // the encoder's preview run when empty
    TJobManager::TPowerOff PowerOff;    // ShutdownWindows when empty
    IProgressSink* Progress = nullptr;  // the terminal's progress line; none when null
};

// `out` takes the source listing and the log lines, `err` the messages.
int RunHeadless(const TCliOptions& options, ILineSink& out, ILineSink& err,
                const THeadlessHooks& hooks = THeadlessHooks());

// The listing of --list-tracks.
int ListTracks(const std::string& folder, ILineSink& out, ILineSink& err);

// A path from the command line, relative to the folder the user started from
// (MOVREX_CALLER_DIR, which the launcher sets before it changes to the installation folder),
// else to the working directory.
std::string CallerPath(const std::string& path);

// A choice of the command line that the window's rules refused; the window's own message has been
// printed already, the text says what the command line asked for.
class TRefusal : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};
