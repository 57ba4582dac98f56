// The advanced options dialog's controls.
#include <QGridLayout>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/AdvancedForm.h"

namespace {

// The dialog is small: its groups keep their rows close together.
void Compact(QLayout* layout) {
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(0);
}

// A group box of radio buttons in `columns` columns; the buttons' ids are their positions.
QGroupBox* RadioGroup(const char* name, const char* caption, const QStringList& items, int columns,
                      QButtonGroup*& group, QWidget* parent) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    group = new QButtonGroup(box);
    group->setObjectName(name);
    auto* grid = new QGridLayout(box);
    Compact(grid);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], box);
        button->setObjectName(QString(name) + QString::number(i));
        group->addButton(button, i);
        grid->addWidget(button, i / columns, i % columns);
    }
    return box;
}

}  // namespace

TformAdvanced::TformAdvanced(IDialogs& dialogs, std::string iniPath, QWidget* parent)
    : QDialog(parent), options_(dialogs), iniPath_(std::move(iniPath)) {
    setObjectName("formAdvanced");
    setWindowTitle("Advanced Options");
    setModal(true);
    btOK_ = new QPushButton("OK", this);
    btOK_->setObjectName("btOK");
    btOK_->setDefault(true);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setSpacing(4);
    // The left column is as narrow as its captions allow; the long captions are on the right.
    QWidget* resolution = BuildResolution();
    QWidget* codec = BuildCodec();
    for (QWidget* box : {resolution, codec}) box->setMaximumWidth(146);
    grid->addWidget(resolution, 0, 0);
    grid->addWidget(codec, 1, 0);
    grid->addWidget(btOK_, 2, 0, Qt::AlignRight | Qt::AlignBottom);
    grid->addWidget(BuildAudio(), 0, 1);
    grid->addWidget(BuildSubtitles(), 1, 1, 2, 1);
    grid->setColumnStretch(1, 1);
    setFixedSize(367, 217);
    Connect();
    ShowValues();
}

QWidget* TformAdvanced::BuildResolution() {
    QGroupBox* box = RadioGroup(
        "rgResolution", " Resolution settings: ", {"Auto width", "Minimum width", "Fixed width"}, 1,
        rgResolution_, this);
    edWidth_ = new TArrowField(kWidthMin, kWidthMax, kWidthStep, 640, box);
    edWidth_->setObjectName("edWidth");
    edWidth_->setMaximumWidth(64);
    static_cast<QGridLayout*>(box->layout())->addWidget(edWidth_, 3, 0, Qt::AlignRight);
    return box;
}

QWidget* TformAdvanced::BuildCodec() {
    return RadioGroup("rgCodec", " Codec: ", {"XviD", "DivX 5"}, 2, rgCodec_, this);
}

QWidget* TformAdvanced::BuildAudio() {
    QGroupBox* box = RadioGroup(
        "rgAudio", " Audio: ", {"Auto (AC3/VBR MP3)", "AC3", "VBR MP3, kbps:", "CBR MP3, kbps:"}, 1,
        rgAudio_, this);
    spinBitrate_ = new TArrowField(kBitrateMin, kBitrateMax, kBitrateStep, 128, box);
    spinBitrate_->setObjectName("spinBitrate");
    spinBitrate_->setMaximumWidth(64);
    auto* grid = static_cast<QGridLayout*>(box->layout());
    grid->addWidget(spinBitrate_, 2, 1, 2, 1);
    // The first two captions have the whole width: the bitrate sits beside the MP3 items only.
    for (int id : {0, 1}) {
        grid->removeWidget(rgAudio_->button(id));
        grid->addWidget(rgAudio_->button(id), id, 0, 1, 2);
    }
    return box;
}

QWidget* TformAdvanced::BuildSubtitles() {
    auto* box = new QGroupBox(" Subtitle options: ", this);
    box->setObjectName("gbSubtitles");
    cbForcedSubs_ = new QCheckBox("Display only forced subtitles", box);
    cbForcedSubs_->setObjectName("cbForcedSubs");
    cbExternalSubs_ = new QCheckBox("Use external subtitles", box);
    cbExternalSubs_->setObjectName("cbExternalSubs");
    auto* layout = new QVBoxLayout(box);
    Compact(layout);
    layout->addWidget(cbForcedSubs_);
    layout->addWidget(cbExternalSubs_);
    return box;
}
