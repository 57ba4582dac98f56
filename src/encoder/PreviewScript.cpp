// The movie script of a preview.
#include "encoder/StageMissing.h"
#include "encoder/encoder.h"

std::vector<std::string> TMXEncoder::PreviewScript() {
    StageMissing("Preview script");
}
