// The movie script of a preview: the picture as the job would encode it, without sampling.
#include "encoder/encoder.h"
#include "scripts/avs.h"

std::vector<std::string> TMXEncoder::PreviewScript() {
    TMovieScriptParams run;
    run.D2VFile = D2VFile;
    run.OutWidth = OutWidth;
    run.HybridThreshold = HybridThreshold;
    run.ResizeTemplate = ResizeTemplate;
    run.VobSubFile = VobSubFile;
    run.SourceType = SourceType;
    run.PixelAspect = PixelAspect;
    run.CompCycle = CompCycle;
    TScriptLines lines;
    MakeMovieScript(lines, run, TMovieScriptUse::Preview);
    return lines;
}
