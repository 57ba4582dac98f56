// Choosing the input folder and the output file.
#include "app/Messages.h"
#include "app/TrackSelection.h"
#include "app/VideoSummary.h"
#include "dvd/SourceFolder.h"
#include "platform/locale.h"
#include "util/PathText.h"

TTrackSelection::TTrackSelection(IDialogs& dialogs, const IAdvancedSettings& advanced,
                                 std::function<void()> updateButtons, TEncRecord& settings,
                                 TRunState& state, const TProgramValues& program)
    : dialogs_(dialogs),
      advanced_(advanced),
      updateButtons_(std::move(updateButtons)),
      settings_(settings),
      state_(state),
      program_(program) {
    audio2_.Visible = false;
    subs2_.Visible = false;
}

void TTrackSelection::SetFlag(uint32_t bit, bool on) {
    if (on)
        state_.StateFlags.fetch_or(bit);
    else
        state_.StateFlags.fetch_and(~bit);
}

void TTrackSelection::BrowseInput() {
    InputChosen(dialogs_.ChooseFolder());
}

void TTrackSelection::InputChosen(const std::optional<std::string>& folder) {
    if (!folder) {
        state_.PreviewIndexFile.Set("");
        return;
    }
    const SourceFolderResult result = ReadSourceFolder(*folder);
    switch (result.Outcome) {
        case SourceFolderOutcome::InvalidPath:
            // Refused before anything was read: the loaded title stays.
            dialogs_.Message(MessageKind::Warning, result.Message);
            return;
        case SourceFolderOutcome::ParseError:
            InputRefused(result.Message, result.Detail);
            return;
        case SourceFolderOutcome::NotDvd:
            settings_.VobInfo = result.VobInfo;
            InputRefused(result.Message, "");
            return;
        case SourceFolderOutcome::Ok:
            LoadTitle(*folder, result.VobInfo);
            return;
    }
}

void TTrackSelection::InputRefused(const std::string& message, const std::string& detail) {
    SetFlag(InputReady, false);
    dialogs_.Message(MessageKind::Warning, message);
    // The message box has one fixed text; what exactly could not be read goes to the log.
    if (notes_ && !detail.empty()) notes_->AddLine(detail);
    inputField_.clear();
    updateButtons_();
}

void TTrackSelection::LoadTitle(const std::string& folder, const TVobInfo& info) {
    settings_.VobInfo = info;
    SetFlag(InputReady, true);
    inputField_ = folder;
    settings_.InputDir = folder;
    sourceInfo_ = VideoSummaryLine(info, platform::UserFormat().decimalSeparator);
    FillChoosers(info);
    // The output must be chosen again for each new input.
    outputField_.clear();
    SetFlag(OutputReady, false);
    updateButtons_();
    state_.PreviewIndexFile.Set("");
}

void TTrackSelection::BrowseOutput() {
    OutputChosen(dialogs_.ChooseSaveFile(inputField_));
}

void TTrackSelection::OutputChosen(const std::optional<std::string>& file) {
    if (!file) {
        // OutputFile keeps its old text; without OutputReady no job can take it.
        outputField_.clear();
        SetFlag(OutputReady, false);
        updateButtons_();
        return;
    }
    if (file->find_first_of("[]") != std::string::npos) {
        dialogs_.Message(MessageKind::Warning, kInvalidOutputPathMessage);
        return;
    }
    if (file->find('"') != std::string::npos) {
        dialogs_.Message(MessageKind::Warning, kOutputPathQuoteMessage);
        return;
    }
    settings_.OutputFile = ChangeFileExt(*file, ".avi");
    outputField_ = settings_.OutputFile;
    SetFlag(OutputReady, true);
    // Both subtitle tracks go out as files that the later tools cannot take from such a path.
    const bool anySubtitles = !subs_.NoneSelected() || (subs2_.Visible && !subs2_.NoneSelected());
    if (anySubtitles && ExternalSubsWithSpace()) {
        dialogs_.Message(MessageKind::Error, kExternalSubsSpaceMessage);
        subs_.Selected = subs_.Last();
        settings_.SubTrack = -1;
        subs2_.Selected = subs2_.Last();
        settings_.SubTrack2 = -1;
    }
    updateButtons_();
}
