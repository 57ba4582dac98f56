// movrex: the window program.
#include <QApplication>

#include "app/AdvancedSettings.h"
#include "app/Messages.h"
#include "app/Startup.h"
#include "platform/system.h"
#include "ui/MainForm.h"
#include "ui/QtDialogs.h"

int main(int argc, char** argv) {
    // A second copy ends at once, without a message.
    platform::SingleInstance instance(kApplicationTitle);
    if (!instance.Acquired()) return 1;
    QApplication app(argc, argv);
    QApplication::setApplicationName(kApplicationTitle);
    QApplication::setWindowIcon(ApplicationIcon());
    TQtDialogs dialogs;
    if (RunStartup(dialogs) != TStartupResult::Ready) return 1;
    // The advanced options dialog and the about box attach themselves here once they exist.
    TAdvancedSettingsValues advanced;
    ApplyCodecRule(advanced.Values, Program(), dialogs);
    TformMain form(dialogs, advanced);
    dialogs.SetOwner(&form);
    form.show();
    return app.exec();
}
