#pragma once
// The dialogs of the window program: message boxes and the two file choosers.
#include <QWidget>

#include "app/Dialogs.h"

class TQtDialogs : public IDialogs {
  public:
    // Dialogs are centred on `owner` once there is one.
    void SetOwner(QWidget* owner) { owner_ = owner; }

    void Message(MessageKind kind, const std::string& text) override;
    bool Confirm(const std::string& text) override;
    std::optional<std::string> ChooseFolder() override;
    std::optional<std::string> ChooseSaveFile(const std::string& startFolder) override;

  private:
    QWidget* owner_ = nullptr;
};
