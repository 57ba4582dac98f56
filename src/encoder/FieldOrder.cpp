// Field order and FILM detection, and the frame count.
#include "encoder/StageMissing.h"
#include "encoder/encoder.h"

void TMXEncoder::DetectFieldOrder() {
    StageMissing("Field order detection");
}
