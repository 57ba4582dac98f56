// Demultiplexing and indexing of the title for a normal run.
#include "encoder/StageMissing.h"
#include "encoder/encoder.h"

void TMXEncoder::IndexForEncoding() {
    StageMissing("Indexing");
}
