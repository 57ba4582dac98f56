// The output height for a width, from the test output's aspect.
#include "encoder/StageMissing.h"
#include "encoder/encoder.h"

int32_t TMXEncoder::HeightForWidth(int32_t) {
    StageMissing("Output height");
}
