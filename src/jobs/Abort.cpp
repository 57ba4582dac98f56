#include "jobs/Abort.h"

#include "jobs/ProgramValues.h"

void RequestAbort() {
    TRunState& state = RunState();
    state.AbortCount.fetch_add(1);
    state.AbortRequested = true;
    const platform::ProcessId running = state.ProcessHandle.load();
    if (running != 0) platform::TerminateProcessTree(running);
    state.StateFlags.fetch_or(Idle);
}
