// The main window's construction and steps 1 to 3.
#include "ui/MainForm.h"

#include <QApplication>

TformMain::TformMain(IDialogs& dialogs, IAdvancedSettings& advanced, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs) {
    BuildControls();
    logSink_ = std::make_unique<TQtLogSink>(meLog_);
    bridge_ = std::make_unique<TQtUiBridge>(
        this, [this] { UpdateButtons(); }, [this] { ShowQueue(); },
        [this] { return model_->ShutdownWhenDone(); },
        [this](const TJobProgress& progress) { ShowProgress(progress); });
    model_ = std::make_unique<TMainModel>(
        TMainModelLinks{dialogs, advanced, *bridge_, *logSink_, [this] { UpdateButtons(); }});
    Connect();
    qApp->installEventFilter(this);
    UpdateButtons();
}

// The runs write to the log view and call back through the bridge until they end, so they end
// before the controls go.
TformMain::~TformMain() {
    qApp->removeEventFilter(this);
    model_.reset();
}

void TformMain::Connect() {
    ConnectSteps();
    ConnectQueue();
}

void TformMain::ConnectSteps() {
    TTrackSelection& tracks = model_->Tracks();
    const auto after = [this](auto action) {
        return [this, action](auto&&...) {
            if (showing_) return;
            action();
            ShowTracks();
        };
    };
    connect(sbInputDir_, &QToolButton::clicked, this, after([&tracks] { tracks.BrowseInput(); }));
    connect(sbOutputFile_, &QToolButton::clicked, this,
            after([&tracks] { tracks.BrowseOutput(); }));
    connect(cbAudio_, &QComboBox::activated, this,
            after([this, &tracks] { tracks.AudioChosen(cbAudio_->currentIndex()); }));
    connect(cbAudio2_, &QComboBox::activated, this,
            after([this, &tracks] { tracks.Audio2Chosen(cbAudio2_->currentIndex()); }));
    connect(cbSubtitle_, &QComboBox::activated, this,
            after([this, &tracks] { tracks.SubtitleChosen(cbSubtitle_->currentIndex()); }));
    connect(cbSubtitle2_, &QComboBox::activated, this,
            after([this, &tracks] { tracks.Subtitle2Chosen(cbSubtitle2_->currentIndex()); }));
    for (QRadioButton* option : {rbPredefined_, rbCustom_, rbQuality_})
        connect(option, &QRadioButton::toggled, this, [this] { SizeOptionChanged(); });
    connect(btAdvanced_, &QPushButton::clicked, this, [this] {
        if (showAdvanced_) showAdvanced_();
        ShowTracks();
    });
    connect(btInfo_, &QToolButton::clicked, this, [this] {
        if (showAbout_) showAbout_();
    });
}

void TformMain::ShowChooser(QComboBox* box, const TChooser& chooser) {
    QStringList items;
    for (const std::string& item : chooser.Items) items << QString::fromStdString(item);
    QStringList shown;
    for (int i = 0; i < box->count(); ++i) shown << box->itemText(i);
    if (shown != items) {
        box->clear();
        box->addItems(items);
    }
    box->setCurrentIndex(chooser.Selected);
    box->setVisible(chooser.Visible);
}

void TformMain::ShowTracks() {
    showing_ = true;
    const TTrackSelection& tracks = model_->Tracks();
    edInputDir_->setText(QString::fromStdString(tracks.InputField()));
    edOutputFile_->setText(QString::fromStdString(tracks.OutputField()));
    edSourceInfo_->setText(QString::fromStdString(tracks.SourceInfo()));
    ShowChooser(cbAudio_, tracks.Audio());
    ShowChooser(cbAudio2_, tracks.Audio2());
    ShowChooser(cbSubtitle_, tracks.Subtitles());
    ShowChooser(cbSubtitle2_, tracks.Subtitles2());
    showing_ = false;
}

void TformMain::ToggleSecondChoosers() {
    model_->Tracks().ToggleSecondChoosers();
    ShowTracks();
}

void TformMain::SizeOptionChanged() {
    const TSizeControls controls =
        SizeControlsFor(rbCustom_->isChecked()    ? TSizeOption::Custom
                        : rbQuality_->isChecked() ? TSizeOption::Quality
                                                  : TSizeOption::Predefined);
    cbSize_->setEnabled(controls.Predefined);
    spinSize_->setEnabled(controls.CustomSize);
    spinQuality_->setEnabled(controls.Quality);
}

// The size controls as they stand, with a number still being typed brought into its range.
void TformMain::StoreSizeControls() {
    TSizeChoice& size = model_->Size;
    size.Option = rbCustom_->isChecked()    ? TSizeOption::Custom
                  : rbQuality_->isChecked() ? TSizeOption::Quality
                                            : TSizeOption::Predefined;
    size.Predefined = cbSize_->currentIndex();
    for (QSpinBox* spin : {spinSize_, spinQuality_}) spin->interpretText();
    size.CustomSize = spinSize_->value();
    size.Quality = spinQuality_->value();
}
