// A preview run: index the title and the subtitles once (later previews reuse them), make the
// first decisions, write the movie script and open it in the media player without waiting.
#include <string>
#include <vector>

#include "encoder/Runner.h"
#include "encoder/encoder.h"
#include "jobs/ProgramValues.h"
#include "platform/files.h"
#include "platform/process.h"
#include "scripts/avs.h"

void TMXEncoder::RunPreview() {
    TRunState& state = RunState();
    if (D2VFile.empty()) {
        LogLine("Indexing input for preview.", true, false);
        stages_.IndexForPreview(*this);
        state.PreviewIndexFile.Set(D2VFile);
    }
    if (Settings.SubTrack != -1 && VobSubFile.empty()) {
        LogLine("Indexing subtitles for preview.", true, false);
        stages_.ExtractSubtitles(*this);
        state.PreviewSubsFile.Set(VobSubFile);
    }
    SourceType = stProgressive;
    stages_.DetectFieldOrder(*this);
    stages_.ChooseInitialSettings(*this);
    ShowPreview(stages_.PreviewScript(*this));
}

void TMXEncoder::ShowPreview(const std::vector<std::string>& script) {
    const std::string path = TempFile("_preview.avs");
    SaveScript(script, path);
    // Short names never hold a blank; here the names are the long ones, so they are quoted.
    const std::string player = Program().MediaPlayerPath;
    const std::string commandLine = platform::QuoteArgument(platform::ShortPathName(player)) + " " +
                                    platform::QuoteArgument(platform::ShortPathName(path));
    if (!RunProgram(commandLine, false, false))
        LogLine("Cannot start the media player " + player + ".");
}
