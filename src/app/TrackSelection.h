#pragma once
// Steps 1 and 2 of the main window without the toolkit: the input folder and the output file with
// their refusals, the video summary, and the four track choosers, kept in step with the job
// settings under edit and the state bits that enable the buttons. The window shows what this
// holds after every call; the headless program makes the same calls from its options.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/AdvancedSettings.h"
#include "app/Dialogs.h"
#include "jobs/ProgramValues.h"
#include "jobs/globals.h"
#include "util/LineSink.h"

// One drop-down list: its items and the selected position. The last item means "none".
struct TChooser {
    std::vector<std::string> Items;
    int32_t Selected = -1;
    bool Visible = true;

    int32_t Last() const { return static_cast<int32_t>(Items.size()) - 1; }
    bool NoneSelected() const { return Selected < 0 || Selected == Last(); }
    bool Holds(int32_t position) const { return position >= 0 && position <= Last(); }
    std::string SelectedText() const { return Holds(Selected) ? Items[Selected] : ""; }
};

inline constexpr const char* kNoAudioTrack = "No Audio Track";
inline constexpr const char* kNoSecondAudioTrack = "No Second Audio Track";
inline constexpr const char* kNoSubtitles = "No Subtitles";

class TTrackSelection {
  public:
    // `updateButtons` applies the enabling rules (on the caller's thread); `advanced` is read
    // for the "Use external subtitles" box.
    TTrackSelection(IDialogs& dialogs, const IAdvancedSettings& advanced,
                    std::function<void()> updateButtons, TEncRecord& settings = EncSettings(),
                    TRunState& state = RunState(), const TProgramValues& program = Program());

    // Where the detail of an unreadable folder goes (the window's log); none by default.
    void SetNotes(ILineSink* notes) { notes_ = notes; }

    // The browse buttons: ask the dialogs, then apply the answer.
    void BrowseInput();
    void BrowseOutput();
    // A folder or file as the chooser answered; nullopt for a cancelled chooser.
    void InputChosen(const std::optional<std::string>& folder);
    void OutputChosen(const std::optional<std::string>& file);

    // A chooser changed to `position` (by the user or by the window's own filling).
    void AudioChosen(int32_t position);
    void Audio2Chosen(int32_t position);
    void SubtitleChosen(int32_t position);
    void Subtitle2Chosen(int32_t position);

    // Ctrl+F10: shows or hides the second choosers.
    void ToggleSecondChoosers();
    // "Use external subtitles" was ticked or unticked (and stayed so after its own checks): the
    // second subtitle chooser follows it.
    void ExternalSubsChanged(bool ticked);

    const std::string& InputField() const { return inputField_; }
    const std::string& OutputField() const { return outputField_; }
    const std::string& SourceInfo() const { return sourceInfo_; }
    const TChooser& Audio() const { return audio_; }
    const TChooser& Audio2() const { return audio2_; }
    const TChooser& Subtitles() const { return subs_; }
    const TChooser& Subtitles2() const { return subs2_; }

  private:
    void InputRefused(const std::string& message, const std::string& detail);
    void LoadTitle(const std::string& folder, const TVobInfo& info);
    void FillChoosers(const TVobInfo& info);
    // The three subtitle tests; false (with every failing test's message shown) when the chooser
    // had to fall back to "No Subtitles".
    bool SubtitleUsable();
    bool ExternalSubsWithSpace() const;
    void SetFlag(uint32_t bit, bool on);

    IDialogs& dialogs_;
    const IAdvancedSettings& advanced_;
    std::function<void()> updateButtons_;
    TEncRecord& settings_;
    TRunState& state_;
    const TProgramValues& program_;
    ILineSink* notes_ = nullptr;

    std::string inputField_;
    std::string outputField_;
    std::string sourceInfo_;
    TChooser audio_;
    TChooser audio2_;
    TChooser subs_;
    TChooser subs2_;
};
