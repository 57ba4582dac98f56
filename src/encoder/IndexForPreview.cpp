// Indexing of the title for a preview.
#include "encoder/StageMissing.h"
#include "encoder/encoder.h"

void TMXEncoder::IndexForPreview() {
    StageMissing("Indexing for preview");
}
