// The compressibility test run.
#include "encoder/StageMissing.h"
#include "encoder/encoder.h"

void TMXEncoder::RunCompTest() {
    StageMissing("Compressibility test");
}
