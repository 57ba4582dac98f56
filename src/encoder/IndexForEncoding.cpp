// Demultiplexing and indexing of the title for a normal run.
#include "encoder/IndexCommand.h"
#include "util/PathText.h"
#include "encoder/StageFiles.h"
#include "encoder/encoder.h"
#include "jobs/ProgramValues.h"

void TMXEncoder::IndexForEncoding() {
    const std::string vob = FirstVobPath(Settings.VobInfo, Settings.InputDir,
                                         "Input VOBs are not found. Encoding aborted.");
    D2VFile = TempFile(".d2v");
    const std::string base = ChangeFileExt(D2VFile, "");
    const std::string& indexer = Program().DVD2AVIPath;
    const TVobInfo& info = Settings.VobInfo;
    if (Settings.AudioTrack == -1) {
        RunStageTool(indexer + IndexOnlyArguments(vob, IdctChoice, base));
        return;
    }
    RunStageTool(indexer + IndexWithAudioArguments(
                               vob, IdctChoice, AudioTrackNumber,
                               IndexerOutputMethod(info.Audio[Settings.AudioTrack].Format), base));
    if (Settings.AudioTrack2 == -1) return;
    // The index is written again; the second track lands beside the first.
    RunStageTool(indexer + IndexWithAudioArguments(
                               vob, IdctChoice, AudioTrackNumber2,
                               IndexerOutputMethod(info.Audio[Settings.AudioTrack2].Format), base));
}
