#include "ui/QtBridge.h"

#include <QScrollBar>
#include <QTextCursor>

TQtUiBridge::TQtUiBridge(QObject* context, std::function<void()> updateButtons,
                         std::function<void()> queueChanged, std::function<bool()> shutdownWhenDone,
                         std::function<void(const TJobProgress&)> showProgress)
    : context_(context),
      updateButtons_(std::move(updateButtons)),
      queueChanged_(std::move(queueChanged)),
      shutdownWhenDone_(std::move(shutdownWhenDone)),
      showProgress_(std::move(showProgress)) {}

void TQtUiBridge::UpdateButtons() {
    QMetaObject::invokeMethod(context_, updateButtons_, Qt::QueuedConnection);
}

void TQtUiBridge::QueueChanged() {
    QMetaObject::invokeMethod(context_, queueChanged_, Qt::QueuedConnection);
}

void TQtUiBridge::ShowProgress(const TJobProgress& progress) {
    QMetaObject::invokeMethod(
        context_, [show = showProgress_, progress] { show(progress); }, Qt::QueuedConnection);
}

void TQtLogSink::AddLine(const std::string& line) {
    QTextEdit* view = view_;
    const QString text = QString::fromStdString(line);
    QMetaObject::invokeMethod(
        view, [view, text] { AppendLogLine(view, text); }, Qt::QueuedConnection);
}

void AppendLogLine(QTextEdit* view, const QString& line) {
    QTextCursor cursor(view->document());
    cursor.movePosition(QTextCursor::End);
    if (!view->document()->isEmpty()) cursor.insertBlock();
    cursor.insertText(line);
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum());
}
