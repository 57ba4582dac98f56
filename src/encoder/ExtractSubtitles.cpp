// Has the subtitle extractor write the chosen subtitle streams as an index and bitmap pair, and
// delivers them beside the AVI when the user asked for external subtitles.
#include "util/PathText.h"
#include "encoder/StageFiles.h"
#include "encoder/TextFiles.h"
#include "encoder/VobSubParams.h"
#include "encoder/encoder.h"
#include "jobs/ProgramValues.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "scripts/avs.h"

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

std::string ArchiveCommand(const std::string& archive, const std::string& file) {
    return platform::ShortPathName(Program().RarPath) + " a -m5 -ep \"" + archive + "\" \"" + file +
           "\"";
}

// The index and an archive of the bitmaps beside the AVI, when the archiver is there; otherwise
// the subtitles are rendered into the picture after all.
void DeliverExternalSubtitles(TMXEncoder& run) {
    if (!platform::FileExists(Program().RarPath)) {
        run.LogLine("WinRAR is not found. Switching to internal subtitles.");
        run.Settings.ExternalSubs = false;
        return;
    }
    run.LogLine("Compressing subtitles.");
    const std::string archive = ChangeFileExt(run.VobSubFile, ".rar");
    RunStageTool(ArchiveCommand(archive, ChangeFileExt(run.VobSubFile, ".sub")));
    const std::string& output = run.Settings.OutputFile;
    platform::CopyFileTo(run.VobSubFile, ChangeFileExt(output, ".idx"), false);
    platform::CopyFileTo(archive, ChangeFileExt(output, ".rar"), false);
    run.VobSubFile.clear();  // not rendered into the picture
}

}  // namespace

void TMXEncoder::ExtractSubtitles() {
    TVobInfo& info = Settings.VobInfo;
    if (info.FirstVob.empty()) info.FirstVob = FindFirstVobName(Settings.InputDir);
    const std::string ifo = FindIfo(Settings.InputDir, info.FirstVob);
    if (ifo.empty()) {
        LogLine("IFO file is not found. Subtitle processing is disabled.");
        return;
    }
    const int32_t stream = info.Subtitles[Settings.SubTrack].StreamId;
    const int32_t stream2 =
        Settings.SubTrack2 == -1 ? -1 : info.Subtitles[Settings.SubTrack2].StreamId;
    const TScriptLines params =
        VobSubParamLines(ifo, ChangeFileExt(TempBase, ""), ProgramChainOf(info.FirstVob),
                         AngleOf(info.FirstVob), stream, stream2);
    const std::string paramFile = TempFolder() + "vobsub.params";
    LogScript(params, "Writing the following script to " + paramFile);
    SaveScript(params, paramFile);
    RunStageTool("rundll32 " + Program().VobSubPath + ",Configure " + paramFile);

    VobSubFile = TempFile(".idx");
    TTextLines index = LoadLinesKeepingEnds(VobSubFile);
    EditSubtitleIndex(index.Lines, stream, Settings.ForcedSubsOnly);
    SaveLinesKeepingEnds(index, VobSubFile);
    if (PreviewMode || !Settings.ExternalSubs) return;
    DeliverExternalSubtitles(*this);
}
