#include "cli/HeadlessJob.h"

#include <filesystem>

#include "platform/files.h"
#include "util/PathText.h"

namespace {

void SetAdvanced(const TJobOptions& job, TMainModel& model, TAdvancedSettingsValues& advanced,
                 IDialogs& dialogs) {
    advanced.Values = job.Advanced;
    ApplyCodecRule(advanced.Values, Program(), dialogs);
    ApplyResolutionRule(advanced.Values);
    ApplyAudioRule(advanced.Values);
    // A tick that came only from the stored options gives way, with its message, as it does
    // when the window restores it.
    if (!ApplyExternalSubsRule(advanced.Values, Program(), dialogs) && job.ExternalSubsGiven)
        throw TRefusal("--external-subs cannot be used");
    model.Tracks().ExternalSubsChanged(advanced.Values.ExternalSubs);
}

// The save-file chooser's own checks: the folder must exist, and an existing file is replaced
// only when the command line says so.
std::string OutputTarget(const TJobOptions& job) {
    const std::string path = CallerPath(job.Output);
    const std::string folder = ExtractFileDir(path);
    if (!platform::DirectoryExists(folder))
        throw TRefusal("--output " + job.Output + ": the folder " + folder + " does not exist");
    const std::string avi = ChangeFileExt(path, ".avi");
    if (platform::FileExists(avi) && !job.Overwrite)
        throw TRefusal("--output " + job.Output + ": " + avi +
                       " exists already; give --overwrite to replace it");
    return path;
}

// The chooser position a command-line track stands for: -1 is the last item ("none").
int32_t Position(const TChooser& chooser, int32_t track, const std::string& option) {
    const int32_t position = track < 0 ? chooser.Last() : track;
    if (!chooser.Holds(position))
        throw TRefusal(option + " " + std::to_string(track + 1) + ": the title has only " +
                       std::to_string(chooser.Items.size() - 1) + " such tracks");
    return position;
}

void ChooseAudio(const TJobOptions& job, TTrackSelection& tracks) {
    const int32_t audio = Position(tracks.Audio(), job.Audio, "--audio");
    tracks.AudioChosen(audio);
    if (!(RunState().StateFlags.load() & AudioUsable))
        throw TRefusal("--audio " + std::to_string(audio + 1) + ": " +
                       tracks.Audio().SelectedText() +
                       " is a DTS track, which cannot be encoded; choose another track or none");
    if (!job.Audio2) return;
    const int32_t audio2 = Position(tracks.Audio2(), *job.Audio2, "--audio2");
    tracks.Audio2Chosen(audio2);
    if (audio2 != tracks.Audio2().Last() && EncSettings().AudioTrack2 != audio2)
        throw TRefusal("--audio2 " + std::to_string(audio2 + 1) + ": " +
                       tracks.Audio2().SelectedText() +
                       " is a DTS track, which cannot be the second audio track");
}

void ChooseSubtitles(const TJobOptions& job, TTrackSelection& tracks) {
    const int32_t subs = Position(tracks.Subtitles(), job.Subs, "--subs");
    tracks.SubtitleChosen(subs);
    if (subs != tracks.Subtitles().Last() && EncSettings().SubTrack != subs)
        throw TRefusal("--subs " + std::to_string(subs + 1) + ": the subtitles cannot be used");
    if (!job.Subs2) return;
    if (!tracks.Subtitles2().Visible) throw TRefusal("--subs2 needs --external-subs");
    const int32_t subs2 = Position(tracks.Subtitles2(), *job.Subs2, "--subs2");
    tracks.Subtitle2Chosen(subs2);
    if (subs2 != tracks.Subtitles2().Last() && EncSettings().SubTrack2 != subs2)
        throw TRefusal("--subs2 " + std::to_string(subs2 + 1) + ": the subtitles cannot be used");
}

}  // namespace

void PrepareJob(const TJobOptions& job, TMainModel& model, TAdvancedSettingsValues& advanced,
                IDialogs& dialogs) {
    TTrackSelection& tracks = model.Tracks();
    SetAdvanced(job, model, advanced, dialogs);
    // A refused folder or file leaves the former job's in place, so the fields tell.
    const std::string folder = CallerPath(job.Input);
    tracks.InputChosen(folder);
    if (!(RunState().StateFlags.load() & InputReady) || tracks.InputField() != folder)
        throw TRefusal("--input " + job.Input + ": the folder cannot be used");
    const std::string output = OutputTarget(job);
    tracks.OutputChosen(output);
    if (!(RunState().StateFlags.load() & OutputReady) ||
        tracks.OutputField() != ChangeFileExt(output, ".avi"))
        throw TRefusal("--output " + job.Output + ": the file cannot be used");
    // The second choosers are shown as Ctrl+F10 shows them in the window.
    if ((job.Audio2 || job.Subs2) && !tracks.Audio2().Visible) tracks.ToggleSecondChoosers();
    ChooseAudio(job, tracks);
    ChooseSubtitles(job, tracks);
    model.Size = job.Size;
}
