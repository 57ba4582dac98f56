// mplayer2.exe [--frame N] [--save FILE.png] SCRIPT: plays a frame-server script in a window (the
// preview of a job), or writes one of its frames to a picture file.
#include <QApplication>
#include <csignal>
#include <cstdio>
#include <cstdlib>

#include "PlayerArgs.h"
#include "PlayerWindow.h"
#include "SaveFrame.h"
#include "platform/process.h"

namespace {

// The show state the starter asked for. Hidden would leave a player nobody can reach or close,
// so it is shown minimised like the other non-normal states.
void ShowAsAsked(QWidget& window) {
    const char* state = std::getenv("MOVREX_SHOW_STATE");
    const int asked = state ? std::atoi(state) : int(platform::ShowState::Normal);
    if (asked == int(platform::ShowState::Normal)) return window.show();
    window.setAttribute(Qt::WA_ShowWithoutActivating);
    window.showMinimized();
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> words = platform::SplitCommandLine(platform::CommandLine());
    if (!words.empty()) words.erase(words.begin());
    std::string error;
    const auto args = player::ParsePlayerArgs(words, error);
    if (!args) {
        std::fprintf(stderr, "mplayer2.exe: %s\n%s", error.c_str(), player::kUsage);
        return 2;
    }
    if (args->help) {
        std::fputs(player::kUsage, stdout);
        return 0;
    }
    if (!args->savePath.empty()) return player::SaveFrame(*args);

    // The starter's standard output may be a pipe nobody reads any more; the one line written
    // there must not end the player.
    std::signal(SIGPIPE, SIG_IGN);
    QApplication app(argc, argv);
    player::PlayerWindow window(args->script);
    if (const FsVideoInfo* info = window.Info()) {
        std::printf("%s: %dx%d, %d frames, %u/%u frames per second\n", args->script.c_str(),
                    info->width, info->height, info->frame_count, info->fps_numerator,
                    info->fps_denominator);
        std::fflush(stdout);
    } else {
        std::fprintf(stderr, "mplayer2.exe: %s\n", window.ErrorText().c_str());
    }
    if (args->frame >= 0)
        window.Seek(args->frame);
    else
        window.Play();
    ShowAsAsked(window);
    const int status = app.exec();
    return window.Info() ? status : 1;
}
