// The movie script of a preview: the picture as the job would encode it, without sampling.
#include "encoder/StageTools.h"
#include "encoder/stages/Stages.h"

namespace {

void PreviewScript(TRun& run) {
    MakeMovieScript(run.PreviewScript, MovieScriptParams(run), TMovieScriptUse::Preview,
                    ScriptEnvironmentOf(run));
}

}  // namespace

const TStage kPreviewScript{"PreviewScript", PreviewScript};
