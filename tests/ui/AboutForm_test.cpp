#include "ui/AboutForm.h"

#include <gtest/gtest.h>

#include <QTabBar>
#include <QTest>
#include <filesystem>

#include "support/TestEnv.h"

using namespace testing_support;

namespace {

class AboutFormTest : public testing::Test {
  protected:
    std::unique_ptr<TformAbout> Create() {
        return std::make_unique<TformAbout>(dir_.Path(), [this](const std::string& target) {
            opened_.push_back(target);
            return true;
        });
    }
    static QString Shown(TformAbout& about, const char* view) {
        return about.findChild<QTextBrowser*>(view)->toPlainText();
    }

    TempDir dir_;
    std::vector<std::string> opened_;
};

TEST_F(AboutFormTest, ThePagesShowTheFilesOfTheProgramFolder) {
    dir_.Write("history.txt", "1.25  first release\n");
    dir_.Write("license.txt", "Licence <terms> & conditions\n");
    dir_.Write("3rdparty.txt", "Tools: see https://example.org/tools.html, or www.example.net.\n");
    auto about = Create();
    EXPECT_EQ(about->windowTitle(), "About Movrex");
    EXPECT_EQ(Shown(*about, "meHistory").trimmed(), "1.25  first release");
    EXPECT_EQ(Shown(*about, "meLicense").trimmed(), "Licence <terms> & conditions");
    auto* tabs = about->findChild<QTabWidget*>("pcAbout");
    EXPECT_EQ(tabs->tabText(tabs->currentIndex()), "About");

    const QString html = about->findChild<QTextBrowser*>("meThirdParty")->toHtml();
    EXPECT_TRUE(html.contains("href=\"https://example.org/tools.html\"")) << html.toStdString();
    EXPECT_TRUE(html.contains("href=\"http://www.example.net\""));
    emit about->findChild<QTextBrowser*>("meThirdParty")
        ->anchorClicked(QUrl("https://example.org/tools.html"));
    EXPECT_EQ(opened_, std::vector<std::string>{"https://example.org/tools.html"});

    // A replaced file shows at the next start.
    dir_.Write("history.txt", "1.26  second release\n");
    EXPECT_EQ(Shown(*Create(), "meHistory").trimmed(), "1.26  second release");
}

TEST_F(AboutFormTest, AMissingFileIsNamedInItsView) {
    dir_.Write("history.txt", "");
    auto about = Create();
    EXPECT_TRUE(
        Shown(*about, "meLicense").contains(QString::fromStdString(dir_.File("license.txt"))));
    EXPECT_TRUE(Shown(*about, "meThirdParty").contains("could not be read"));
    EXPECT_TRUE(opened_.empty());
}

TEST_F(AboutFormTest, HelpOpensTheHelpPageAndReturnsToAboutEveryTime) {
    auto about = Create();
    about->show();
    auto* tabs = about->findChild<QTabWidget*>("pcAbout");
    const int help = tabs->count() - 1;
    ASSERT_EQ(tabs->tabText(help), "Help");
    for (int i = 0; i < 2; ++i) {
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                          tabs->tabBar()->tabRect(help).center());
        EXPECT_EQ(tabs->tabText(tabs->currentIndex()), "About");
    }
    EXPECT_EQ(opened_, std::vector<std::string>(2, dir_.File("help/Movrex.html")));
    tabs->setCurrentIndex(1);
    EXPECT_EQ(opened_.size(), 2u);
}

TEST_F(AboutFormTest, TheShippedTextsAndHelpPageAreAllThere) {
    TformAbout about(MOVREX_DATA_DIR, [](const std::string&) { return true; });
    for (const char* view : {"meHistory", "meLicense", "meThirdParty"})
        EXPECT_FALSE(Shown(about, view).contains("could not be read")) << view;
    EXPECT_TRUE(std::filesystem::is_regular_file(about.HelpPage()));
}

}  // namespace
