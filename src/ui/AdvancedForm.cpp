// The advanced options dialog's wiring, its showing and its stored values.
#include "ui/AdvancedForm.h"

#include <QAbstractButton>
#include <iostream>

#include "ui/MainForm.h"

TformAdvanced::~TformAdvanced() {
    if (!saved_) Save();
}

void TformAdvanced::Connect() {
    const auto user = [this](auto action) {
        return [this, action](auto... args) {
            if (showing_) return;
            action(args...);
            Changed();
        };
    };
    connect(rgResolution_, &QButtonGroup::idClicked, this,
            user([this](int id) { options_.ResolutionChosen(id); }));
    connect(rgCodec_, &QButtonGroup::idClicked, this,
            user([this](int id) { options_.CodecChosen(id); }));
    connect(rgAudio_, &QButtonGroup::idClicked, this,
            user([this](int id) { options_.AudioChosen(id); }));
    connect(edWidth_, &QSpinBox::valueChanged, this, user([this](int value) {
                options_.WidthStepped((value - options_.Values().Width) / kWidthStep);
            }));
    connect(spinBitrate_, &QSpinBox::valueChanged, this,
            user([this](int value) { options_.BitrateChanged(value); }));
    connect(cbForcedSubs_, &QCheckBox::clicked, this,
            user([this](bool ticked) { options_.ForcedSubsChanged(ticked); }));
    connect(cbExternalSubs_, &QCheckBox::clicked, this,
            user([this](bool ticked) { options_.ExternalSubsChanged(ticked); }));
    connect(btOK_, &QPushButton::clicked, this, &QDialog::accept);
}

void TformAdvanced::AttachMainWindow(TformMain& form) {
    options_.SetExternalSubsListener([&form](bool ticked) {
        form.Model().Tracks().ExternalSubsChanged(ticked);
        form.ShowTracks();
    });
}

void TformAdvanced::Restore() {
    options_.Restore(ReadStoredAdvanced(platform::IniFile(iniPath_)));
    ShowValues();
}

void TformAdvanced::Execute() {
    exec();
}

void TformAdvanced::showEvent(QShowEvent* event) {
    options_.SetOnScreen(true);
    QDialog::showEvent(event);
}

void TformAdvanced::hideEvent(QHideEvent* event) {
    options_.SetOnScreen(false);
    QDialog::hideEvent(event);
}

// Closing by "OK", by the close box or by Escape only hides the dialog and keeps the values.
void TformAdvanced::done(int result) {
    QDialog::done(result);
    Save();
}

bool TformAdvanced::Save() {
    platform::IniFile ini(iniPath_);
    saved_ = WriteStoredAdvanced(ini, options_.Values());
    if (!saved_) std::cerr << "The advanced options could not be saved to " << iniPath_ << ".\n";
    return saved_;
}

void TformAdvanced::StoreAdvancedSettings(TEncRecord& settings) {
    edWidth_->setEnabled(options_.WidthEnabled());
    options_.StoreAdvancedSettings(settings);
}

void TformAdvanced::Changed() {
    saved_ = false;
    ShowValues();
}

namespace {

void Select(QButtonGroup* group, int id) {
    QAbstractButton* button = group->button(id);
    if (button) {
        button->setChecked(true);
        return;
    }
    // No item selected: an exclusive group cannot uncheck its last button by itself.
    group->setExclusive(false);
    for (QAbstractButton* each : group->buttons()) each->setChecked(false);
    group->setExclusive(true);
}

}  // namespace

void TformAdvanced::ShowValues() {
    showing_ = true;
    const TAdvancedValues& values = options_.Values();
    Select(rgResolution_, values.ResolutionIndex);
    Select(rgCodec_, values.CodecIndex);
    Select(rgAudio_, values.AudioIndex);
    edWidth_->setMaximum(options_.WidthMax());
    edWidth_->setValue(values.Width);
    edWidth_->setEnabled(options_.WidthEnabled());
    spinBitrate_->setMinimum(options_.BitrateMin());
    spinBitrate_->setValue(values.Bitrate);
    spinBitrate_->setEnabled(options_.BitrateEnabled());
    cbForcedSubs_->setChecked(values.ForcedSubs);
    cbExternalSubs_->setChecked(values.ExternalSubs);
    showing_ = false;
}
