// The index a preview decodes through; no audio is needed.
#include "encoder/IndexCommand.h"
#include "util/PathText.h"
#include "encoder/StageFiles.h"
#include "encoder/encoder.h"
#include "jobs/ProgramValues.h"

void TMXEncoder::IndexForPreview() {
    const std::string vob =
        FirstVobPath(Settings.VobInfo, Settings.InputDir, "Input VOBs are not found.");
    D2VFile = TempFile("_preview.d2v");
    const std::string base = ChangeFileExt(D2VFile, "");
    RunStageTool(Program().DVD2AVIPath + IndexOnlyArguments(vob, IdctChoice, base));
}
