// Audio encoding of the chosen tracks.
#include "encoder/StageMissing.h"
#include "encoder/encoder.h"

void TMXEncoder::EncodeAudio() {
    StageMissing("Audio encoding");
}
