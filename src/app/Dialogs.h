#pragma once
// The questions the program puts to the user: message boxes and the two file choosers. The window
// answers them with its own dialogs, the headless program on the terminal, the tests from a
// script, so that the same rules run behind all three.
#include <optional>
#include <string>

enum class MessageKind { Warning, Error };

class IDialogs {
  public:
    virtual ~IDialogs() = default;
    // A modal message with one OK button.
    virtual void Message(MessageKind kind, const std::string& text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool Confirm(const std::string& text) = 0;
    // A folder chooser (folders only, starting at the computer's root); nullopt when cancelled.
    virtual std::optional<std::string> ChooseFolder() = 0;
    // A save-file chooser for "Video files (*.avi)|*.avi" starting in `startFolder` with an empty
    // name; it asks before overwriting and requires an existing folder. nullopt when cancelled.
    virtual std::optional<std::string> ChooseSaveFile(const std::string& startFolder) = 0;
};
