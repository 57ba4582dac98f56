// The advanced options dialog's controls.
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/AdvancedForm.h"

namespace {

// A group box of radio buttons in `columns` columns; the buttons' ids are their positions.
QGroupBox* RadioGroup(const char* name, const char* caption, const QStringList& items, int columns,
                      QButtonGroup*& group, QWidget* parent) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(name);
    group = new QButtonGroup(box);
    group->setObjectName(name);
    auto* grid = new QGridLayout(box);
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
    auto* left = new QVBoxLayout;
    left->addWidget(BuildResolution());
    left->addWidget(BuildCodec());
    auto* right = new QVBoxLayout;
    right->addWidget(BuildAudio());
    right->addWidget(BuildSubtitles());
    auto* columns = new QHBoxLayout;
    columns->addLayout(left);
    columns->addLayout(right);
    btOK_ = new QPushButton("OK", this);
    btOK_->setObjectName("btOK");
    btOK_->setDefault(true);
    auto* all = new QVBoxLayout(this);
    all->addLayout(columns);
    all->addWidget(btOK_, 0, Qt::AlignRight);
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
    static_cast<QGridLayout*>(box->layout())->addWidget(edWidth_, 1, 1);
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
    static_cast<QGridLayout*>(box->layout())->addWidget(spinBitrate_, 2, 1, 2, 1);
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
    layout->addWidget(cbForcedSubs_);
    layout->addWidget(cbExternalSubs_);
    return box;
}
