#pragma once
// The window's "Abort" after the user said Yes: the flag first, then the running program is ended,
// so that the runner, which reads the flag as soon as its program is gone, never misses it. Sets
// Idle at once; the caller refreshes its buttons.
void RequestAbort();
