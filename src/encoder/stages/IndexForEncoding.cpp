// Demultiplexing and indexing of the title for a normal run.
#include "encoder/StageFiles.h"
#include "encoder/StageTools.h"
#include "encoder/rules/IndexCommand.h"
#include "encoder/stages/Stages.h"
#include "util/PathText.h"

namespace {

void IndexForEncoding(TRun& run) {
    TEncRecord& s = run.Settings;
    const std::string vob =
        FirstVobPath(s.VobInfo, s.InputDir, "Input VOBs are not found. Encoding aborted.");
    run.Source.D2VFile = run.TempFile(".d2v");
    const std::string base = ChangeFileExt(run.Source.D2VFile, "");
    const std::string& indexer = run.Program.DVD2AVIPath;
    const TVobInfo& info = s.VobInfo;
    if (s.AudioTrack == -1) {
        RunStageTool(run, indexer + IndexOnlyArguments(vob, run.IdctChoice, base));
        return;
    }
    RunStageTool(run, indexer + IndexWithAudioArguments(
                                    vob, run.IdctChoice, run.Audio.AudioTrackNumber,
                                    IndexerOutputMethod(info.Audio[s.AudioTrack].Format), base));
    if (s.AudioTrack2 == -1) return;
    // The index is written again; the second track lands beside the first.
    RunStageTool(run, indexer + IndexWithAudioArguments(
                                    vob, run.IdctChoice, run.Audio.AudioTrackNumber2,
                                    IndexerOutputMethod(info.Audio[s.AudioTrack2].Format), base));
}

}  // namespace

const TStage kIndexForEncoding{"IndexForEncoding", IndexForEncoding, "Indexing"};
