// The about box's pages, the files behind them and its links.
#include "ui/AboutForm.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QUrl>
#include <QVBoxLayout>

#include "app/Messages.h"
#include "platform/files.h"
#include "platform/system.h"

TformAbout::TformAbout(std::string programDir, TOpener opener, QWidget* parent)
    : QDialog(parent), programDir_(std::move(programDir)), opener_(std::move(opener)) {
    setObjectName("formAbout");
    setModal(true);
    pcAbout_ = new QTabWidget(this);
    pcAbout_->setObjectName("pcAbout");
    pcAbout_->setDocumentMode(true);  // flat tabs
    tsAbout_ = BuildAboutPage();
    pcAbout_->addTab(tsAbout_, "About");
    meLicense_ = NewView("meLicense", pcAbout_);
    pcAbout_->addTab(meLicense_, "License");
    meThirdParty_ = NewView("meThirdParty", pcAbout_);
    pcAbout_->addTab(meThirdParty_, "Third-Party Tools");
    tsHelp_ = new QWidget(pcAbout_);
    pcAbout_->addTab(tsHelp_, "Help");
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("btOK");
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pcAbout_);
    layout->addWidget(ok, 0, Qt::AlignRight);
    setFixedSize(464, 362);
    LoadTexts();
    setWindowTitle("About Movrex");
    pcAbout_->setCurrentWidget(tsAbout_);
    connect(pcAbout_, &QTabWidget::currentChanged, this, [this](int index) { PageChanged(index); });
}

TformAbout::TOpener TformAbout::DefaultOpener() {
    return [](const std::string& target) { return platform::ShellOpen(target); };
}

QWidget* TformAbout::BuildAboutPage() {
    auto* page = new QWidget(pcAbout_);
    auto* title = new QLabel(QString("<b>%1</b>").arg(kProgramBanner), page);
    auto* notice = new QLabel(
        "Turns a ripped DVD title into one AVI file of the size or quality you ask for, "
        "unattended.",
        page);
    notice->setWordWrap(true);
    auto* links = new QLabel(page);
    links->setObjectName("lbLinks");
    links->setText(QString("<a href=\"%1\">Help page</a> &nbsp; <a href=\"%2\">License</a>")
                       .arg(QString::fromStdString(HelpPage()),
                            QString::fromStdString(programDir_ + "/license.txt")));
    connect(links, &QLabel::linkActivated, this, [this](const QString& link) { Open(link); });
    meHistory_ = NewView("meHistory", page);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(title);
    layout->addWidget(notice);
    layout->addWidget(links);
    layout->addWidget(meHistory_, 1);
    return page;
}

QTextBrowser* TformAbout::NewView(const char* name, QWidget* parent) {
    auto* view = new QTextBrowser(parent);
    view->setObjectName(name);
    view->setReadOnly(true);
    view->setOpenLinks(false);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(view, &QTextBrowser::anchorClicked, this,
            [this](const QUrl& url) { Open(url.toString()); });
    return view;
}

// A file that cannot be read shows why in its view instead of its text; the box has no message
// of its own.
void TformAbout::LoadTexts() {
    const struct {
        QTextBrowser* View;
        const char* File;
    } texts[] = {
        {meHistory_, "history.txt"}, {meLicense_, "license.txt"}, {meThirdParty_, "3rdparty.txt"}};
    for (const auto& [view, file] : texts) {
        view->clear();
        const std::string path = programDir_ + "/" + file;
        std::string text;
        if (platform::ReadFileText(path, text))
            view->setHtml(LinkedText(QString::fromUtf8(text.data(), qsizetype(text.size()))));
        else
            view->setPlainText(QString("%1 could not be read.").arg(QString::fromStdString(path)));
    }
}

// "Help" has no page of its own: it opens the help page and hands the tabs back to "About", so
// that choosing it again opens the page again.
void TformAbout::PageChanged(int index) {
    if (pcAbout_->widget(index) != tsHelp_) return;
    opener_(HelpPage());
    pcAbout_->setCurrentWidget(tsAbout_);
}

void TformAbout::Open(const QString& target) {
    opener_(target.toStdString());
}

QString LinkedText(const QString& text) {
    static const QRegularExpression address(
        R"((?:https?://|ftp://|www\.)[^\s<>"]+[^\s<>".,;:!?)])");
    QString html;
    qsizetype from = 0;
    for (const QRegularExpressionMatch& m : address.globalMatch(text)) {
        html += text.mid(from, m.capturedStart() - from).toHtmlEscaped();
        const QString shown = m.captured();
        const QString href = shown.startsWith("www.") ? "http://" + shown : shown;
        html += QString("<a href=\"%1\">%2</a>").arg(href.toHtmlEscaped(), shown.toHtmlEscaped());
        from = m.capturedEnd();
    }
    html += text.mid(from).toHtmlEscaped();
    return "<div style=\"white-space: pre-wrap\">" + html + "</div>";
}
