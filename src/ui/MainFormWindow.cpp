// The main window's notification-area icon, hidden shortcuts and closing rule.
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>

#include "app/Messages.h"
#include "app/ProgressText.h"
#include "jobs/ProgramValues.h"
#include "platform/process.h"
#include "ui/MainForm.h"

void TformMain::BuildTray() {
    // Without a notification area, minimising just minimises.
    if (!QSystemTrayIcon::isSystemTrayAvailable()) return;
    tray_ = new QSystemTrayIcon(ApplicationIcon(), this);
    tray_->setToolTip(QApplication::applicationName());
    auto* menu = new QMenu(this);
    QAction* restore = menu->addAction("&Restore", this, [this] { RestoreFromTray(); });
    menu->setDefaultAction(restore);
    menu->addAction("E&xit", this, [this] { close(); });
    tray_->setContextMenu(menu);
    connect(tray_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::DoubleClick) RestoreFromTray();
    });
}

void TformMain::ShowProgress(const TJobProgress& progress) {
    const QString text = QString::fromStdString(ProgressText(progress, userFormat_));
    pbProgress_->setValue(ProgressPercent(progress));
    pbProgress_->setFormat(text);
    if (tray_)
        tray_->setToolTip(text.isEmpty() ? QApplication::applicationName()
                                         : QApplication::applicationName() + "\n" + text);
}

void TformMain::HideFormToTray() {
    if (!tray_) return;
    hide();
    tray_->show();
    inTray_ = true;
}

void TformMain::RestoreFromTray() {
    if (tray_) tray_->hide();
    inTray_ = false;
    showNormal();
    raise();
    activateWindow();
}

void TformMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && tray_)
        // Hidden once the minimising has finished, as the window system expects.
        QMetaObject::invokeMethod(
            this, [this] { HideFormToTray(); }, Qt::QueuedConnection);
}

void TformMain::closeEvent(QCloseEvent* event) {
    if (!model_->CanClose()) {
        event->ignore();
        return;
    }
    if (tray_) tray_->hide();
    inTray_ = false;
    event->accept();
}

bool TformMain::HandleShortcut(int key, Qt::KeyboardModifiers modifiers) {
    if ((modifiers & ~Qt::KeypadModifier) != Qt::ControlModifier) return false;
    if (key == Qt::Key_F10) {
        ToggleSecondChoosers();
        return true;
    }
    if (key != Qt::Key_F9) return false;
    const auto line = HiddenOptionsCommandLine(Program().ProgramDir, EncSettings().InputDir);
    if (!line) return false;
    platform::StartOptions options;
    options.show = platform::ShowState::Hidden;
    platform::Process().Start(*line, options);
    return true;
}

// Every key the window's controls see passes here first, so that the shortcuts work whichever
// control has the focus.
bool TformMain::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (!widget || widget->window() != this) return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->isAutoRepeat()) return QWidget::eventFilter(watched, event);
    // A key that is not consumed goes on to the control, and from there perhaps to its parents,
    // passing here again; only a consumed one stops.
    return HandleShortcut(key->key(), key->modifiers()) || QWidget::eventFilter(watched, event);
}
