// The controls of the main window and their places.
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyle>
#include <QToolTip>
#include <QVBoxLayout>

#include "app/Messages.h"
#include "app/SizeOptions.h"
#include "ui/MainForm.h"
#include "ui/NumberField.h"

namespace {

template <class T>
T* Named(T* widget, const char* name, const char* hint = nullptr) {
    widget->setObjectName(name);
    if (hint) widget->setToolTip(hint);
    return widget;
}

QLabel* BoldLabel(const char* text) {
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

QLineEdit* ReadOnlyField(const char* name, const char* hint = nullptr) {
    auto* field = Named(new QLineEdit, name, hint);
    field->setReadOnly(true);
    return field;
}

QToolButton* BrowseButton(const char* name, const char* hint) {
    auto* button = Named(new QToolButton, name, hint);
    button->setIcon(QApplication::style()->standardIcon(QStyle::SP_DirOpenIcon));
    button->setAutoRaise(true);
    return button;
}

// A large flat button with a picture above its caption.
QToolButton* ActionButton(const char* caption, const char* name, const char* hint,
                          QStyle::StandardPixmap picture) {
    auto* button = Named(new QToolButton, name, hint);
    button->setText(caption);
    button->setIcon(QApplication::style()->standardIcon(picture));
    button->setIconSize(QSize(24, 24));
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setAutoRaise(true);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    return button;
}

QToolButton* SmallButton(const char* name, const char* hint, QStyle::StandardPixmap picture) {
    auto* button = Named(new QToolButton, name, hint);
    button->setIcon(QApplication::style()->standardIcon(picture));
    button->setAutoRaise(true);
    return button;
}

QSpinBox* NumberField(const char* name, int min, int max, int value) {
    return Named(new TNumberField(min, max, value), name);
}

// Disabled size controls take the button colour, enabled ones the window colour.
void UseButtonColourWhenDisabled(QWidget* widget) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Disabled, QPalette::Base, palette.color(QPalette::Button));
    widget->setPalette(palette);
}

}  // namespace

QString MainCaption() {
    return QString("Movrex for Linux presents: ") + kProgramBanner;
}

void TformMain::BuildControls() {
    setWindowTitle(MainCaption());
    setWindowIcon(ApplicationIcon());
    setFixedSize(696, 436);
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    // Hints in light blue.
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, QColor(166, 202, 240));
    QToolTip::setPalette(tips);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setSpacing(4);
    grid->addWidget(BuildStep1(), 0, 0);
    grid->addWidget(BuildStep3(), 0, 1);
    grid->addWidget(BuildStep2(), 1, 0);
    grid->addWidget(BuildStep4(), 1, 1);
    grid->addWidget(BuildActionRow(), 2, 0, 1, 2);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(BuildLog(), 3);
    bottom->addWidget(BuildQueue(), 2);
    grid->addLayout(bottom, 3, 0, 1, 2);
    grid->setRowStretch(3, 1);
    // Step 3 needs the room for its longest option beside its list.
    grid->setColumnMinimumWidth(1, 385);
    BuildTray();
}

QWidget* TformMain::BuildStep1() {
    auto* group =
        Named(new QGroupBox(" Step 1: Select input directory and output file: "), "gbStep1");
    auto* grid = new QGridLayout(group);
    grid->setSpacing(3);
    edInputDir_ = ReadOnlyField("edInputDir");
    edOutputFile_ = ReadOnlyField("edOutputFile");
    sbInputDir_ = BrowseButton("sbInputDir", "Browse for input folder");
    sbOutputFile_ = BrowseButton("sbOutputFile", "Browse for output file");
    edSourceInfo_ = ReadOnlyField("edSourceInfo", "Source Information");
    grid->addWidget(BoldLabel("Input directory:"), 0, 0);
    grid->addWidget(edInputDir_, 0, 1);
    grid->addWidget(sbInputDir_, 0, 2);
    grid->addWidget(BoldLabel("Output File:"), 1, 0);
    grid->addWidget(edOutputFile_, 1, 1);
    grid->addWidget(sbOutputFile_, 1, 2);
    grid->addWidget(edSourceInfo_, 2, 0, 1, 3);
    return group;
}

QWidget* TformMain::BuildStep2() {
    auto* group =
        Named(new QGroupBox(" Step 2: Select audio track and subtitle track: "), "gbStep2");
    auto* grid = new QGridLayout(group);
    grid->setSpacing(3);
    const char* audioHint = "Available audio tracks";
    const char* subsHint = "Available subtitle tracks";
    cbAudio_ = Named(new QComboBox, "cbAudio", audioHint);
    cbAudio2_ = Named(new QComboBox, "cbAudio2", audioHint);
    cbSubtitle_ = Named(new QComboBox, "cbSubtitle", subsHint);
    cbSubtitle2_ = Named(new QComboBox, "cbSubtitle2", subsHint);
    grid->addWidget(BoldLabel("Audio track:"), 0, 0);
    grid->addWidget(cbAudio_, 0, 1);
    grid->addWidget(cbAudio2_, 1, 1);
    grid->addWidget(BoldLabel("Subtitle track:"), 2, 0);
    grid->addWidget(cbSubtitle_, 2, 1);
    grid->addWidget(cbSubtitle2_, 3, 1);
    grid->setColumnStretch(1, 1);
    cbAudio2_->hide();
    cbSubtitle2_->hide();
    return group;
}

QWidget* TformMain::BuildStep3() {
    auto* group = Named(new QGroupBox(" Step 3: Select output size: "), "gbStep3");
    auto* outer = new QVBoxLayout(group);
    outer->setContentsMargins(4, 4, 4, 4);
    rgSize_ = Named(new QGroupBox(" Select an option: "), "rgSize",
                    "Several options for selecting output size/quality");
    outer->addWidget(rgSize_);
    auto* grid = new QGridLayout(rgSize_);
    grid->setSpacing(3);
    grid->setContentsMargins(6, 4, 6, 4);
    rbPredefined_ = Named(new QRadioButton("Predefined size:"), "rbPredefined");
    rbCustom_ = Named(new QRadioButton("Custom size (MB):"), "rbCustom");
    rbQuality_ = Named(new QRadioButton("Target quality (in percentage):"), "rbQuality");
    cbSize_ = Named(new QComboBox, "cbSize");
    for (const TPredefinedSize& size : kPredefinedSizes) cbSize_->addItem(size.Text);
    cbSize_->setCurrentIndex(kDefaultPredefinedSize);
    spinSize_ = NumberField("spinSize", kCustomSizeMin, kCustomSizeMax, kCustomSizeDefault);
    spinQuality_ = NumberField("spinQuality", kQualityMin, kQualityMax, kQualityDefault);
    for (QWidget* w : {static_cast<QWidget*>(cbSize_), static_cast<QWidget*>(spinSize_),
                       static_cast<QWidget*>(spinQuality_)})
        UseButtonColourWhenDisabled(w);
    cbSize_->setMaximumWidth(132);
    spinSize_->setMaximumWidth(64);
    spinQuality_->setMaximumWidth(64);
    grid->addWidget(rbPredefined_, 0, 0);
    grid->addWidget(cbSize_, 0, 1);
    grid->addWidget(rbCustom_, 1, 0);
    grid->addWidget(spinSize_, 1, 1, Qt::AlignRight);
    grid->addWidget(rbQuality_, 2, 0);
    grid->addWidget(spinQuality_, 2, 1, Qt::AlignRight);
    grid->setColumnStretch(0, 1);
    rbPredefined_->setChecked(true);
    spinSize_->setEnabled(false);
    spinQuality_->setEnabled(false);
    return group;
}

QWidget* TformMain::BuildStep4() {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* group = Named(new QGroupBox(" Step 4 (optional): set advanced parameters: "), "gbStep4");
    auto* row = new QHBoxLayout(group);
    btAdvanced_ = Named(new QPushButton("Advanced Settings"), "btAdvanced",
                        "Advanced video, audio and subtitle settings");
    btPreview_ = Named(new QPushButton("Preview"), "btPreview", "Preview of output video");
    btPreview_->setEnabled(false);
    row->addWidget(btAdvanced_);
    row->addWidget(btPreview_);
    cbShutdown_ = Named(new QCheckBox("Shutdown when done"), "cbShutdown",
                        "If ticked shuts down computer when encoding is finished");
    layout->addWidget(group);
    layout->addWidget(cbShutdown_);
    layout->addStretch();
    return column;
}

QWidget* TformMain::BuildActionRow() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    btAddJob_ = ActionButton("Add Job", "btAddJob", "Add job to the job queue",
                             QStyle::SP_FileDialogNewFolder);
    btStart_ =
        ActionButton("Start", "btStart", "Start encoding in the queue", QStyle::SP_MediaPlay);
    btAbort_ = ActionButton("Abort", "btAbort", "Abort encoding", QStyle::SP_BrowserStop);
    btInfo_ = ActionButton("Info", "btInfo", "Information about Movrex and Help",
                           QStyle::SP_MessageBoxInformation);
    for (QToolButton* b : {btAddJob_, btStart_, btAbort_, btInfo_}) layout->addWidget(b);
    btAddJob_->setEnabled(false);
    btStart_->setEnabled(false);
    btAbort_->setEnabled(false);
    return row;
}

QWidget* TformMain::BuildLog() {
    auto* column = new QWidget;
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    meLog_ = Named(new QTextEdit, "meLog");
    meLog_->setReadOnly(true);
    meLog_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    meLog_->setLineWrapMode(QTextEdit::NoWrap);
    QPalette palette = meLog_->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    meLog_->setPalette(palette);
    pbProgress_ = Named(new QProgressBar, "pbProgress");
    pbProgress_->setRange(0, 100);
    pbProgress_->setValue(0);
    pbProgress_->setFormat("");
    pbProgress_->setAlignment(Qt::AlignCenter);
    layout->addWidget(new QLabel("Log window: "));
    layout->addWidget(meLog_);
    layout->addWidget(pbProgress_);
    return column;
}

QWidget* TformMain::BuildQueue() {
    auto* column = new QWidget;
    auto* layout = new QGridLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    ckJobs_ = Named(new QListWidget, "ckJobs");
    sbJobUp_ = SmallButton("sbJobUp", "Move job up", QStyle::SP_ArrowUp);
    sbJobDelete_ = SmallButton("sbJobDelete", "Delete job", QStyle::SP_DialogDiscardButton);
    sbJobDown_ = SmallButton("sbJobDown", "Move job down", QStyle::SP_ArrowDown);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(sbJobUp_);
    buttons->addWidget(sbJobDelete_);
    buttons->addWidget(sbJobDown_);
    buttons->addStretch();
    layout->addWidget(new QLabel("Job queue:"), 0, 0);
    layout->addWidget(ckJobs_, 1, 0);
    layout->addLayout(buttons, 1, 1);
    return column;
}
