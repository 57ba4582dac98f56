// The indexer (DVD2AVI/DVD2AVIdg.exe): indexes a title's VOB files into "<base>.d2v" and
// demultiplexes one audio track beside it. Exit status: 0 done, 1 failed (nothing written under
// a final name), 2 the command line was refused, 3 the index is written but the chosen audio
// track is not in the title.
#include <iostream>

extern "C" {
#include <libavutil/log.h>
}

#include "Indexer.h"
#include "platform/process.h"

int main() {
    av_log_set_level(AV_LOG_QUIET);  // what goes wrong is told in our own messages
    const auto warn = [](const std::string& text) {
        std::cerr << "indexer: warning: " << text << std::endl;
    };
    std::vector<std::string> warnings;
    indexer::Options options;
    try {
        options = indexer::ParseOptions(platform::CommandLine(), warnings);
    } catch (const indexer::UsageError& e) {
        std::cerr << "indexer: " << e.what() << "\n" << indexer::UsageText();
        return 2;
    }
    for (const std::string& text : warnings) warn(text);
    try {
        return indexer::Run(options, std::cout, warn) == indexer::Outcome::Done ? 0 : 3;
    } catch (const std::exception& e) {  // MediaError, and std::bad_alloc on a broken title
        std::cerr << "indexer: error: " << e.what() << std::endl;
        return 1;
    }
}
