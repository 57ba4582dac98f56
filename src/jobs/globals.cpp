#include "jobs/globals.h"

TEncRecord InitialEncSettings() {
    TEncRecord r;
    r.SubTrack = -1;
    r.TargetSize = 1400;
    return r;
}

TEncRecord& EncSettings() {
    static TEncRecord settings = InitialEncSettings();
    return settings;
}
