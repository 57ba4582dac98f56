// The output height for a width, from the test output's aspect.
#include "encoder/Decisions.h"
#include "encoder/encoder.h"

int32_t TMXEncoder::HeightForWidth(int32_t width) {
    return HeightFor(width, CompAspect);
}
