// Extraction of the chosen subtitle track.
#include "encoder/StageMissing.h"
#include "encoder/encoder.h"

void TMXEncoder::ExtractSubtitles() {
    StageMissing("Subtitle extraction");
}
