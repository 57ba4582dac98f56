// The index a preview decodes through; no audio is needed.
#include "encoder/StageFiles.h"
#include "encoder/StageTools.h"
#include "encoder/rules/IndexCommand.h"
#include "encoder/stages/Stages.h"
#include "util/PathText.h"

namespace {

void IndexForPreview(TRun& run) {
    const std::string vob =
        FirstVobPath(run.Settings.VobInfo, run.Settings.InputDir, "Input VOBs are not found.");
    run.Source.D2VFile = run.TempFile("_preview.d2v");
    const std::string base = ChangeFileExt(run.Source.D2VFile, "");
    RunStageTool(run, run.Program.DVD2AVIPath + IndexOnlyArguments(vob, run.IdctChoice, base));
}

}  // namespace

const TStage kIndexForPreview{"IndexForPreview", IndexForPreview, "Indexing"};
