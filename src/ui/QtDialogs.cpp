#include "ui/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

}  // namespace

void TQtDialogs::Message(MessageKind kind, const std::string& text) {
    const QString title = QApplication::applicationName();
    if (kind == MessageKind::Warning)
        QMessageBox::warning(owner_, title, Text(text), QMessageBox::Ok);
    else
        QMessageBox::critical(owner_, title, Text(text), QMessageBox::Ok);
}

bool TQtDialogs::Confirm(const std::string& text) {
    return QMessageBox::question(owner_, QApplication::applicationName(), Text(text),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

std::optional<std::string> TQtDialogs::ChooseFolder() {
    const QString folder =
        QFileDialog::getExistingDirectory(owner_, QString(), "/", QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) return std::nullopt;
    return folder.toStdString();
}

std::optional<std::string> TQtDialogs::ChooseSaveFile(const std::string& startFolder) {
    // The chooser asks before overwriting and offers existing folders only.
    const QString file =
        QFileDialog::getSaveFileName(owner_, QString(), Text(startFolder), "Video files (*.avi)");
    if (file.isEmpty()) return std::nullopt;
    return file.toStdString();
}
