// The adjustment of width, resizer and codec settings after the test.
#include "encoder/StageMissing.h"
#include "encoder/encoder.h"

void TMXEncoder::AdjustAfterCompTest() {
    StageMissing("Adjustment after the compressibility test");
}
