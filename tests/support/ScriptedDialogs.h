#pragma once
// Dialogs answered from a script, for the rules behind the window and the window itself: every
// message and question is recorded; answers are taken in order, and a chooser or question with no
// answer left is cancelled (and reported, so a test never waits for a dialog).
#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/Dialogs.h"

namespace testing_support {

struct ShownMessage {
    MessageKind Kind;
    std::string Text;
    bool operator==(const ShownMessage&) const = default;
};

class ScriptedDialogs : public IDialogs {
  public:
    void Message(MessageKind kind, const std::string& text) override {
        Messages.push_back({kind, text});
    }
    bool Confirm(const std::string& text) override {
        Questions.push_back(text);
        return Take(Answers, false, "question");
    }
    std::optional<std::string> ChooseFolder() override {
        return Take(Folders, std::optional<std::string>(), "folder chooser");
    }
    std::optional<std::string> ChooseSaveFile(const std::string& startFolder) override {
        SaveStartFolders.push_back(startFolder);
        return Take(Files, std::optional<std::string>(), "save-file chooser");
    }

    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const ShownMessage& m : Messages) texts.push_back(m.Text);
        return texts;
    }

    std::vector<ShownMessage> Messages;
    std::vector<std::string> Questions;
    std::vector<std::string> SaveStartFolders;
    std::deque<bool> Answers;
    std::deque<std::optional<std::string>> Folders;
    std::deque<std::optional<std::string>> Files;

  private:
    template <class T>
    T Take(std::deque<T>& answers, T cancel, const char* what) {
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected " << what;
            return cancel;
        }
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

}  // namespace testing_support
