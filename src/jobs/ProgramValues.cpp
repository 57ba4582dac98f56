#include "jobs/ProgramValues.h"

TProgramValues& Program() {
    static TProgramValues values;
    return values;
}

TRunState& RunState() {
    static TRunState state;
    return state;
}
