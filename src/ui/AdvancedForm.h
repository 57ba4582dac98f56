#pragma once
// The advanced options dialog: created once at start, shown modally by the main window's
// "Advanced Settings" button and only hidden when closed, so its controls are the live state of
// the options. There is no cancel. The rules live in TAdvancedOptions; the dialog shows what it
// holds after every change and keeps the values in the INI file when it is closed and at the end.
#include <QButtonGroup>
#include <QCheckBox>
#include <QDialog>
#include <QPushButton>
#include <string>

#include "app/AdvancedOptions.h"
#include "ui/ArrowField.h"

class TformMain;

class TformAdvanced : public QDialog, public IAdvancedSettings {
  public:
    explicit TformAdvanced(IDialogs& dialogs, std::string iniPath = AdvancedIniPath(),
                           QWidget* parent = nullptr);
    ~TformAdvanced() override;

    // The main window whose second subtitle chooser follows "Use external subtitles".
    void AttachMainWindow(TformMain& form);
    // Creation: restores the stored options (with their corrections and messages).
    void Restore();
    // Shows the dialog modally until it is closed.
    void Execute();
    // Writes the eight values to the INI file; false (and a note on standard error) when the
    // file could not be written.
    bool Save();

    TAdvancedOptions& Options() { return options_; }
    bool ExternalSubsTicked() const override { return options_.ExternalSubsTicked(); }
    void StoreAdvancedSettings(TEncRecord& settings) override;

  protected:
    void done(int result) override;
    // Only a user's tick on screen is questioned, not a value restored at start.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QWidget* BuildResolution();
    QWidget* BuildCodec();
    QWidget* BuildAudio();
    QWidget* BuildSubtitles();
    void Connect();
    void ShowValues();
    void Changed();

    TAdvancedOptions options_;
    std::string iniPath_;
    bool saved_ = false;
    bool showing_ = false;  // the dialog is filling its controls; their signals are not the user's

    QButtonGroup* rgResolution_ = nullptr;
    TArrowField* edWidth_ = nullptr;
    QButtonGroup* rgCodec_ = nullptr;
    QButtonGroup* rgAudio_ = nullptr;
    TArrowField* spinBitrate_ = nullptr;
    QCheckBox* cbForcedSubs_ = nullptr;
    QCheckBox* cbExternalSubs_ = nullptr;
    QPushButton* btOK_ = nullptr;
};
