// movrex-cli: the planner without a window. See --help.
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "app/AdvancedStore.h"
#include "cli/CliOptions.h"
#include "cli/Headless.h"
#include "cli/Terminal.h"

int main(int argc, char** argv) {
    TProgressLine progress(
        std::cerr, [] { return TerminalColumns(STDERR_FILENO); }, platform::UserFormat());
    TStreamSink out(std::cout, &progress);
    TStreamSink err(std::cerr, &progress);
    const std::vector<std::string> args(argv + 1, argv + argc);
    TCliOptions options;
    try {
        options = ParseCliOptions(args, StoredAdvancedDefaults());
    } catch (const TCliError& e) {
        err.AddLine(std::string("movrex-cli: ") + e.what());
        err.AddLine("Try movrex-cli --help.");
        return kExitRefused;
    }
    if (options.Help) {
        std::cout << CliHelpText();
        return kExitOk;
    }
    THeadlessHooks hooks;
    hooks.Progress = &progress;
    return RunHeadless(options, out, err, hooks);
}
