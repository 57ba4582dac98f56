// The split of the output into CD-sized parts.
#include "encoder/StageMissing.h"
#include "encoder/encoder.h"

void TMXEncoder::SplitOutput() {
    StageMissing("Output splitting");
}
