// The size budget: audio, overhead and subtitles taken from the target.
#include "encoder/StageMissing.h"
#include "encoder/encoder.h"

void TMXEncoder::ComputeBudget() {
    StageMissing("Size budget");
}
