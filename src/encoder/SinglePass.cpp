// The single pass of target-quality mode.
#include "encoder/StageMissing.h"
#include "encoder/encoder.h"

void TMXEncoder::RunSinglePass() {
    StageMissing("Single pass encoding");
}
