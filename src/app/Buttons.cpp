#include "app/Buttons.h"

#include "jobs/ProgramValues.h"

TButtonStates ButtonStatesFor(uint32_t flags, bool anyTicked) {
    const auto all = [flags](uint32_t bits) { return (flags & bits) == bits; };
    TButtonStates states;
    states.AddJob = all(InputReady | OutputReady | AudioUsable);
    states.Abort = !all(Idle);
    states.Preview = all(InputReady | OutputReady | Idle);
    states.Start = anyTicked && all(Idle);
    return states;
}
