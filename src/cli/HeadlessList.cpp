#include <cstdlib>
#include <filesystem>

#include "app/TrackSelection.h"
#include "cli/Headless.h"
#include "cli/Terminal.h"
#include "platform/paths.h"

std::string CallerPath(const std::string& path) {
    if (path.empty() || path.front() == '/') return path;
    const char* caller = std::getenv("MOVREX_CALLER_DIR");
    const std::string base = caller && *caller ? caller : platform::CurrentDir();
    return (std::filesystem::path(base) / path).lexically_normal().string();
}

int ListTracks(const std::string& folder, ILineSink& out, ILineSink& err) {
    TTerminalDialogs dialogs(err);
    TAdvancedSettingsValues advanced;
    TEncRecord settings = InitialEncSettings();
    TRunState state;
    TTrackSelection tracks(
        dialogs, advanced, [] {}, settings, state);
    tracks.SetNotes(&err);
    tracks.InputChosen(CallerPath(folder));
    if (!(state.StateFlags.load() & InputReady)) return kExitRefused;
    out.AddLine(tracks.SourceInfo());
    const auto list = [&](const TChooser& chooser, const std::string& label) {
        for (size_t i = 0; i < chooser.Items.size(); ++i)
            out.AddLine(label + " " + std::to_string(i + 1) + ": " + chooser.Items[i]);
    };
    list(tracks.Audio(), "audio");
    list(tracks.Subtitles(), "subtitle");
    return kExitOk;
}
