#pragma once
// A main window over a complete fake installation, its dialogs answered from a script and its
// runs replaced by gated ones, with helpers that act as the user would.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QTest>
#include <memory>

#include "app/Startup.h"
#include "support/FakeInstallation.h"
#include "support/FakeRuns.h"
#include "support/ScriptedDialogs.h"
#include "support/TextTitles.h"
#include "ui/MainForm.h"

class WindowTest : public testing::Test {
  protected:
    WindowTest() {
        testing_support::ResetProgramState();
        Program() = TProgramValues();
        TMachine machine{install_.ProgramDir(), install_.SystemDir(), {true, true, true}};
        EXPECT_EQ(RunStartup(dialogs_, machine), TStartupResult::Ready);
        form_ = std::make_unique<TformMain>(dialogs_, advanced_);
        testing_support::UseGatedRuns(form_->Model(), gate_, 3);
        form_->show();
        // Focus moves only within the active window.
        form_->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(form_.get()));
    }
    ~WindowTest() override {
        gate_.Open();
        form_->Model().WaitForAll();
        form_.reset();
        testing_support::ResetProgramState();
    }

    template <class T>
    T* Find(const char* name) {
        T* widget = form_->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    bool Enabled(const char* name) { return Find<QWidget>(name)->isEnabled(); }
    void Click(const char* name) { QTest::mouseClick(Find<QAbstractButton>(name), Qt::LeftButton); }
    // The browse buttons with the chooser's answer.
    void ChooseInput(const std::optional<std::string>& folder) {
        dialogs_.Folders.push_back(folder);
        Click("sbInputDir");
    }
    void ChooseOutput(const std::optional<std::string>& file) {
        dialogs_.Files.push_back(file);
        Click("sbOutputFile");
    }
    // Picks an item of a drop-down list as the user does.
    void Pick(const char* name, int index) {
        auto* box = Find<QComboBox>(name);
        box->setCurrentIndex(index);
        emit box->activated(index);
    }
    std::string Title(const std::string& name = "dvd",
                      const testing_support::TextTitle& title = testing_support::TwoTrackTitle()) {
        return testing_support::MakeTextTitle(media_, name, title);
    }
    // Lets queued calls from other threads arrive, until `done` or ten seconds.
    template <class F>
    bool ProcessUntil(F done) {
        for (int i = 0; i < 2000 && !done(); ++i) {
            QApplication::processEvents();
            QTest::qWait(5);
        }
        return done();
    }

    testing_support::FakeInstallation install_;
    testing_support::TempDir media_;
    testing_support::ScriptedDialogs dialogs_;
    TAdvancedSettingsValues advanced_;
    testing_support::RunGate gate_;
    std::unique_ptr<TformMain> form_;
};
