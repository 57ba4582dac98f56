#pragma once
// The about box: the program's links, its history, its licence and the external tools it relies
// on, each text read from a file in the program folder when the box is created, so the texts can
// change without a rebuild. Its "Help" tab opens the help page and goes straight back to "About".
#include <QDialog>
#include <QTabWidget>
#include <QTextBrowser>
#include <functional>
#include <string>

class TformAbout : public QDialog {
  public:
    // Opens a file or address with the desktop's default handler; tests replace it.
    using TOpener = std::function<bool(const std::string&)>;

    explicit TformAbout(std::string programDir, TOpener opener = DefaultOpener(),
                        QWidget* parent = nullptr);

    static TOpener DefaultOpener();
    // The help page the "Help" tab opens.
    std::string HelpPage() const { return programDir_ + "/help/Movrex.html"; }

  private:
    QWidget* BuildAboutPage();
    QTextBrowser* NewView(const char* name, QWidget* parent);
    void LoadTexts();
    void PageChanged(int index);
    void Open(const QString& target);

    std::string programDir_;
    TOpener opener_;
    QTabWidget* pcAbout_ = nullptr;
    QWidget* tsAbout_ = nullptr;
    QWidget* tsHelp_ = nullptr;
    QTextBrowser* meHistory_ = nullptr;
    QTextBrowser* meLicense_ = nullptr;
    QTextBrowser* meThirdParty_ = nullptr;
};

// `text` as rich text with its web addresses made into links.
QString LinkedText(const QString& text);
