// The first encoding pass.
#include "encoder/StageMissing.h"
#include "encoder/encoder.h"

void TMXEncoder::RunFirstPass() {
    StageMissing("First pass");
}
