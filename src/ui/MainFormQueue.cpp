// The action buttons and the job queue of the main window.
#include "ui/MainForm.h"

void TformMain::UpdateButtons() {
    const TButtonStates states = model_->Buttons();
    btAddJob_->setEnabled(states.AddJob);
    btStart_->setEnabled(states.Start);
    btAbort_->setEnabled(states.Abort);
    btPreview_->setEnabled(states.Preview);
}

void TformMain::ConnectQueue() {
    connect(btAddJob_, &QToolButton::clicked, this, [this] {
        StoreSizeControls();
        if (model_->AddJob()) ShowQueue();
    });
    connect(btStart_, &QToolButton::clicked, this, [this] { model_->Start(); });
    connect(btAbort_, &QToolButton::clicked, this, [this] { model_->Abort(); });
    connect(btPreview_, &QPushButton::clicked, this, [this] { model_->Preview(); });
    connect(cbShutdown_, &QCheckBox::toggled, this,
            [this](bool on) { model_->SetShutdownWhenDone(on); });
    const auto queueOp = [this](bool (TMainModel::*op)()) {
        return [this, op] {
            (model_.get()->*op)();
            ShowQueue();
        };
    };
    connect(sbJobUp_, &QToolButton::clicked, this, queueOp(&TMainModel::MoveJobUp));
    connect(sbJobDelete_, &QToolButton::clicked, this, queueOp(&TMainModel::DeleteJob));
    connect(sbJobDown_, &QToolButton::clicked, this, queueOp(&TMainModel::MoveJobDown));
    connect(ckJobs_, &QListWidget::itemChanged, this,
            [this](QListWidgetItem* item) { QueueItemChanged(item); });
    connect(ckJobs_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (showing_) return;
        model_->Queue().Select(row);
        UpdateButtons();
    });
}

void TformMain::QueueItemChanged(QListWidgetItem* item) {
    if (showing_) return;
    model_->Queue().SetChecked(ckJobs_->row(item), item->checkState() == Qt::Checked);
    UpdateButtons();
}

void TformMain::ShowQueue() {
    showing_ = true;
    const std::vector<TQueueRow> rows = model_->Queue().Rows();
    while (ckJobs_->count() > static_cast<int>(rows.size())) delete ckJobs_->takeItem(0);
    while (ckJobs_->count() < static_cast<int>(rows.size())) ckJobs_->addItem(QString());
    for (size_t i = 0; i < rows.size(); ++i) {
        QListWidgetItem* item = ckJobs_->item(static_cast<int>(i));
        item->setText(QString::fromStdString(rows[i].Caption));
        Qt::ItemFlags flags = Qt::ItemIsUserCheckable | Qt::ItemIsSelectable;
        if (rows[i].Enabled) flags |= Qt::ItemIsEnabled;
        item->setFlags(flags);
        item->setCheckState(rows[i].Checked ? Qt::Checked : Qt::Unchecked);
    }
    ckJobs_->setCurrentRow(model_->Queue().Selected());
    showing_ = false;
    UpdateButtons();
}
