// The four track choosers and the second choosers' visibility.
#include "app/Messages.h"
#include "app/TrackSelection.h"
#include "platform/files.h"

namespace {

void Fill(TChooser& chooser, std::vector<std::string> items, const char* none) {
    items.push_back(none);
    chooser.Items = std::move(items);
    chooser.Selected = chooser.Last();
}

// A DTS track cannot be encoded; the text of the item tells.
bool IsDts(const TChooser& chooser) {
    return chooser.SelectedText().find("DTS") != std::string::npos;
}

}  // namespace

void TTrackSelection::FillChoosers(const TVobInfo& info) {
    std::vector<std::string> audio;
    for (int32_t i = 0; i < info.AudioCount && i < kMaxAudioTracks; ++i) {
        const TAudioinfo& track = info.Audio[i];
        audio.push_back(track.Language + " " + track.Format + " " + track.Channels);
    }
    std::vector<std::string> subtitles;
    for (int32_t i = 0; i < info.SubtitleCount && i < kMaxSubtitleTracks; ++i)
        subtitles.push_back(info.Subtitles[i].Name);
    Fill(audio_, audio, kNoAudioTrack);
    AudioChosen(0);
    Fill(audio2_, audio, kNoSecondAudioTrack);
    Audio2Chosen(audio2_.Last());
    Fill(subs_, subtitles, kNoSubtitles);
    settings_.SubTrack = -1;
    Fill(subs2_, subtitles, kNoSubtitles);
    settings_.SubTrack2 = -1;
}

void TTrackSelection::AudioChosen(int32_t position) {
    if (!audio_.Holds(position)) return;
    audio_.Selected = position;
    settings_.AudioTrack = audio_.NoneSelected() ? -1 : position;
    SetFlag(AudioUsable, !IsDts(audio_));
    updateButtons_();
}

void TTrackSelection::Audio2Chosen(int32_t position) {
    if (!audio2_.Holds(position)) return;
    audio2_.Selected = position;
    settings_.AudioTrack2 = audio2_.NoneSelected() || IsDts(audio2_) ? -1 : position;
}

bool TTrackSelection::ExternalSubsWithSpace() const {
    return advanced_.ExternalSubsTicked() && outputField_.find(' ') != std::string::npos;
}

bool TTrackSelection::SubtitleUsable() {
    bool usable = true;
    const auto fail = [&](const std::string& text) {
        dialogs_.Message(MessageKind::Error, text);
        usable = false;
    };
    const std::string vsfilter = program_.ProgramDir + "/filters/vsfilter.dll";
    if (!platform::FileExists(vsfilter)) fail(vsfilter + kSubtitlesDisabledSuffix);
    if (!platform::FileExists(program_.VobSubPath))
        fail(program_.VobSubPath + kSubtitlesDisabledSuffix);
    if (ExternalSubsWithSpace()) fail(kExternalSubsSpaceMessage);
    return usable;
}

void TTrackSelection::SubtitleChosen(int32_t position) {
    if (!subs_.Holds(position)) return;
    subs_.Selected = position;
    settings_.SubTrack = -1;
    if (!subs_.NoneSelected()) {
        settings_.SubTrack = position;
        if (!SubtitleUsable()) {
            subs_.Selected = subs_.Last();
            settings_.SubTrack = -1;
        }
    }
    // The preview's subtitle index belongs to the former choice.
    state_.PreviewSubsFile.Set("");
}

void TTrackSelection::Subtitle2Chosen(int32_t position) {
    if (!subs2_.Holds(position)) return;
    subs2_.Selected = position;
    settings_.SubTrack2 = -1;
    if (subs2_.NoneSelected()) return;
    settings_.SubTrack2 = position;
    if (!SubtitleUsable()) {
        subs2_.Selected = subs2_.Last();
        settings_.SubTrack2 = -1;
    }
}

void TTrackSelection::ToggleSecondChoosers() {
    audio2_.Visible = !audio2_.Visible;
    subs2_.Visible = advanced_.ExternalSubsTicked() && audio2_.Visible;
    // A hidden chooser always means no track.
    if (!audio2_.Visible) audio2_.Selected = audio2_.Last();
    if (!subs2_.Visible) subs2_.Selected = subs2_.Last();
    Audio2Chosen(audio2_.Selected);
    Subtitle2Chosen(subs2_.Selected);
}

void TTrackSelection::ExternalSubsChanged(bool ticked) {
    subs2_.Visible = ticked && audio2_.Visible;
    if (subs2_.Visible) return;
    subs2_.Selected = subs2_.Last();
    Subtitle2Chosen(subs2_.Selected);
}
