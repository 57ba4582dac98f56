// movrex: the window program.
#include <QApplication>

#include "app/Messages.h"
#include "app/Startup.h"
#include "platform/system.h"
#include "ui/AboutForm.h"
#include "ui/AdvancedForm.h"
#include "ui/MainForm.h"
#include "ui/QtDialogs.h"

int main(int argc, char** argv) {
    // A second copy on the same configuration folder ends at once, without a message.
    const auto instance = ConfigFolderLock();
    if (!instance->Acquired()) return 1;
    QApplication app(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    QApplication::setWindowIcon(ApplicationIcon());
    TQtDialogs dialogs;
    if (RunStartup(dialogs) != TStartupResult::Ready) return 1;
    TformAdvanced advanced(dialogs);
    TformMain form(dialogs, advanced);
    dialogs.SetOwner(&form);
    // The stored options are restored once the main window exists: restoring "Use external
    // subtitles" sets its second subtitle chooser.
    advanced.AttachMainWindow(form);
    advanced.Restore();
    form.SetAdvancedDialog([&advanced] { advanced.Execute(); });
    TformAbout about(Program().ProgramDir);
    form.SetAboutBox([&about] { about.exec(); });
    form.show();
    return app.exec();
}
