// The audio transcoder: decodes a demultiplexed DVD audio track, mixes it down and encodes it
// to MP3, as its command line asks (see README.md).
#include <exception>
#include <iostream>

#include "Options.h"
#include "Transcode.h"
#include "TranscodeLog.h"
#include "platform/process.h"

extern "C" {
#include <libavutil/log.h>
}

int main() {
    av_log_set_level(AV_LOG_QUIET);  // damage is reported by the transcoder itself, with its place
    audio::Options options;
    try {
        options = audio::ParseOptions(platform::CommandLine());
    } catch (const std::exception& e) {
        std::cerr << "error: the command line: " << e.what() << "\n";
        return 2;
    }
    audio::TranscodeLog log;
    int status = 0;
    try {
        audio::Transcode(options, log);
    } catch (const std::exception& e) {
        log.Error(e.what());
        status = 1;
    }
    log.Save(options.logFile);
    return status;
}
