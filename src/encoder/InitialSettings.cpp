// The first decisions: pixel aspect, width, resizer, codec settings.
#include "encoder/StageMissing.h"
#include "encoder/encoder.h"

void TMXEncoder::ChooseInitialSettings() {
    StageMissing("Initial settings");
}
