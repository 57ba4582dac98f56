#pragma once
// The enabling rules of the main window's action buttons, from the state bits and the queue.
#include <cstdint>

struct TButtonStates {
    bool AddJob = false;
    bool Start = false;
    bool Abort = false;
    bool Preview = false;

    bool operator==(const TButtonStates&) const = default;
};

// Jobs can be added while the queue runs; a DTS audio choice blocks "Add Job" but not "Preview".
TButtonStates ButtonStatesFor(uint32_t stateFlags, bool anyTicked);
