#pragma once
// The main window: four numbered steps, the action buttons, the log view and the job queue. The
// form holds the layout and the wiring; the rules live in TMainModel, which it shows after every
// change. Controls are found by their object names (edInputDir, cbAudio, btStart, ...).
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QSystemTrayIcon>
#include <QTextEdit>
#include <QToolButton>
#include <QWidget>
#include <functional>
#include <memory>

#include "app/AdvancedSettings.h"
#include "app/Dialogs.h"
#include "app/MainModel.h"
#include "platform/locale.h"
#include "ui/QtBridge.h"

class TformMain : public QWidget {
  public:
    TformMain(IDialogs& dialogs, IAdvancedSettings& advanced, QWidget* parent = nullptr);
    ~TformMain() override;

    TMainModel& Model() { return *model_; }
    ILineSink& LogLines() { return *logSink_; }

    // The advanced options dialog and the about box, shown modally by their buttons.
    void SetAdvancedDialog(std::function<void()> show) { showAdvanced_ = std::move(show); }
    void SetAboutBox(std::function<void()> show) { showAbout_ = std::move(show); }

    // The enabling rules applied to the action buttons.
    void UpdateButtons();
    // Shows the model's steps 1 and 2 and the queue again.
    void ShowTracks();
    void ShowQueue();
    // The running job's stage, speed and time left on the progress bar (and in the tray icon's
    // hint); an empty stage clears them.
    void ShowProgress(const TJobProgress& progress);
    // The second choosers, shown or hidden (Ctrl+F10).
    void ToggleSecondChoosers();
    // Hidden in the notification area.
    bool InTray() const { return inTray_; }
    void HideFormToTray();
    void RestoreFromTray();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void BuildControls();
    QWidget* BuildStep1();
    QWidget* BuildStep2();
    QWidget* BuildStep3();
    QWidget* BuildStep4();
    QWidget* BuildActionRow();
    QWidget* BuildLog();
    QWidget* BuildQueue();
    void BuildTray();
    void Connect();
    void ConnectSteps();
    void ConnectQueue();
    void SizeOptionChanged();
    void StoreSizeControls();
    void ShowChooser(QComboBox* box, const TChooser& chooser);
    void QueueItemChanged(QListWidgetItem* item);
    bool HandleShortcut(int key, Qt::KeyboardModifiers modifiers);

    IDialogs& dialogs_;
    std::unique_ptr<TQtLogSink> logSink_;
    std::unique_ptr<TQtUiBridge> bridge_;
    std::unique_ptr<TMainModel> model_;
    std::function<void()> showAdvanced_;
    std::function<void()> showAbout_;
    bool inTray_ = false;
    bool showing_ = false;  // the form is filling its controls; their signals are not the user's

    QLineEdit* edInputDir_ = nullptr;
    QLineEdit* edOutputFile_ = nullptr;
    QLineEdit* edSourceInfo_ = nullptr;
    QToolButton* sbInputDir_ = nullptr;
    QToolButton* sbOutputFile_ = nullptr;
    QComboBox* cbAudio_ = nullptr;
    QComboBox* cbAudio2_ = nullptr;
    QComboBox* cbSubtitle_ = nullptr;
    QComboBox* cbSubtitle2_ = nullptr;
    QGroupBox* rgSize_ = nullptr;
    QRadioButton* rbPredefined_ = nullptr;
    QRadioButton* rbCustom_ = nullptr;
    QRadioButton* rbQuality_ = nullptr;
    QComboBox* cbSize_ = nullptr;
    QSpinBox* spinSize_ = nullptr;
    QSpinBox* spinQuality_ = nullptr;
    QPushButton* btAdvanced_ = nullptr;
    QPushButton* btPreview_ = nullptr;
    QCheckBox* cbShutdown_ = nullptr;
    QToolButton* btAddJob_ = nullptr;
    QToolButton* btStart_ = nullptr;
    QToolButton* btAbort_ = nullptr;
    QToolButton* btInfo_ = nullptr;
    QTextEdit* meLog_ = nullptr;
    QProgressBar* pbProgress_ = nullptr;
    platform::FormatSettings userFormat_ = platform::UserFormat();
    QListWidget* ckJobs_ = nullptr;
    QToolButton* sbJobUp_ = nullptr;
    QToolButton* sbJobDelete_ = nullptr;
    QToolButton* sbJobDown_ = nullptr;
    QSystemTrayIcon* tray_ = nullptr;
};

// The window caption: the author credit and the program banner.
QString MainCaption();
// The program's icon, drawn here so that the installation needs no picture files.
QIcon ApplicationIcon();
