// The measurement of the compressibility test.
#include "encoder/StageMissing.h"
#include "encoder/encoder.h"

void TMXEncoder::MeasureCompTest() {
    StageMissing("Compressibility measurement");
}
