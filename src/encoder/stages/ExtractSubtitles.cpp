// Has the subtitle extractor write the chosen subtitle streams as an index and bitmap pair, and
// delivers them beside the AVI when the user asked for external subtitles.
#include "encoder/StageFiles.h"
#include "encoder/StageTools.h"
#include "encoder/TextFiles.h"
#include "encoder/rules/VobSubParams.h"
#include "encoder/stages/Stages.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "util/PathText.h"

namespace {

// The title set's IFO file, copied from the plain name when the ripper marked the VOB names;
// empty when neither exists.
std::string FindIfo(const std::string& inputDir, const std::string& firstVob) {
    const std::string name = IfoNameOf(firstVob);
    if (name.empty()) return {};
    std::string ifo = PathInFolder(inputDir, name);
    if (platform::FileExists(ifo)) return ifo;
    const std::string plain = PlainIfoNameOf(firstVob);
    const std::string alternative = PathInFolder(inputDir, plain);
    if (!plain.empty() && platform::FileExists(alternative))
        platform::CopyFileTo(alternative, ifo, false);
    return platform::FileExists(ifo) ? ifo : std::string();
}

// The index and an archive of the bitmaps beside the AVI, when the archiver is there; otherwise
// the subtitles are rendered into the picture after all.
void DeliverExternalSubtitles(TRun& run) {
    std::string& vobSub = run.Source.VobSubFile;
    if (!platform::FileExists(run.Program.RarPath)) {
        run.LogLine("WinRAR is not found. Switching to internal subtitles.");
        run.Settings.ExternalSubs = false;
        return;
    }
    run.LogLine("Compressing subtitles.");
    const std::string archive = ChangeFileExt(vobSub, ".rar");
    RunStageTool(run, ArchiveCommand(run, archive, ChangeFileExt(vobSub, ".sub")));
    const std::string& output = run.Settings.OutputFile;
    platform::CopyFileTo(vobSub, ChangeFileExt(output, ".idx"), false);
    platform::CopyFileTo(archive, ChangeFileExt(output, ".rar"), false);
    vobSub.clear();  // not rendered into the picture
}

void ExtractSubtitles(TRun& run) {
    const TEncRecord& s = run.Settings;
    TVobInfo& info = run.Settings.VobInfo;
    if (info.FirstVob.empty()) info.FirstVob = FindFirstVobName(s.InputDir);
    const std::string ifo = FindIfo(s.InputDir, info.FirstVob);
    if (ifo.empty()) {
        run.LogLine("IFO file is not found. Subtitle processing is disabled.");
        return;
    }
    const int32_t stream = info.Subtitles[s.SubTrack].StreamId;
    const int32_t stream2 = s.SubTrack2 == -1 ? -1 : info.Subtitles[s.SubTrack2].StreamId;
    const TScriptLines params =
        VobSubParamLines(ifo, ChangeFileExt(run.TempBase, ""), ProgramChainOf(info.FirstVob),
                         AngleOf(info.FirstVob), stream, stream2);
    const std::string paramFile = run.TempFolder() + "vobsub.params";
    run.LogScript(params, "Writing the following script to " + paramFile);
    SaveScript(params, paramFile);
    RunStageTool(run, "rundll32 " + run.Program.VobSubPath + ",Configure " + paramFile);

    std::string& vobSub = run.Source.VobSubFile;
    vobSub = run.TempFile(".idx");
    TTextLines index = LoadLinesKeepingEnds(vobSub);
    EditSubtitleIndex(index.Lines, stream, s.ForcedSubsOnly);
    SaveLinesKeepingEnds(index, vobSub);
    if (run.PreviewMode || !s.ExternalSubs) return;
    DeliverExternalSubtitles(run);
}

}  // namespace

const TStage kExtractSubtitles{"ExtractSubtitles", ExtractSubtitles, "Extracting subtitles"};
