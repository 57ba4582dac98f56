// The second encoding pass.
#include "encoder/StageMissing.h"
#include "encoder/encoder.h"

void TMXEncoder::RunSecondPass() {
    StageMissing("Second pass");
}
