#include "SaveFrame.h"

#include <QFileInfo>
#include <QImageWriter>
#include <QSaveFile>
#include <cstdio>

#include "FramePicture.h"
#include "FrameServer.h"

namespace player {

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "mplayer2.exe: %s\n", message.c_str());
    return 1;
}

// The format for a file name's extension, PNG when it has none; empty when none fits.
QByteArray FormatFor(const QString& path) {
    const QByteArray suffix = QFileInfo(path).suffix().toLower().toUtf8();
    if (suffix.isEmpty()) return "png";
    return QImageWriter::supportedImageFormats().contains(suffix) ? suffix : QByteArray();
}

}  // namespace

int SaveFrame(const PlayerArgs& args) {
    const QString path = QString::fromStdString(args.savePath);
    const QByteArray format = FormatFor(path);
    if (format.isEmpty())
        return Fail(args.savePath + ": no picture format is known for this extension");
    std::string error;
    const auto script = OpenInstalledScript(args.script, error);
    if (!script) return Fail(error);
    const FramePtr frame = script->Frame(args.frame < 0 ? 0 : args.frame, error);
    if (!frame) return Fail(error);
    const QImage picture = FramePicture().Convert(*frame);
    if (picture.isNull()) return Fail(args.script + ": out of memory converting the frame");
    QSaveFile file(path);
    QImageWriter writer(&file, format);
    if (!file.open(QIODevice::WriteOnly))
        return Fail(args.savePath + ": cannot be written: " + file.errorString().toStdString());
    if (!writer.write(picture)) {
        file.cancelWriting();
        return Fail(args.savePath + ": cannot be written: " + writer.errorString().toStdString());
    }
    if (!file.commit())
        return Fail(args.savePath + ": cannot be written: " + file.errorString().toStdString());
    return 0;
}

}  // namespace player
