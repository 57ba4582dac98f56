#pragma once
// The transcoder's command line: bracketed groups of options, each group a table of the options
// it knows, checked as they are read.
//   -core( -input "in.ac3" -output "out.mp3" -logfile "out.log" )
//   -ota( -hybridgain )
//   -azid( -L -3db -c normal )
//   -lame( [-m m] -h -alt-preset 128 | [-m m] -h --cbr -b 128 )
//   -profile( name )
#include <stdexcept>
#include <string>

namespace audio {

// A command line that cannot be carried out; the text says what is wrong.
struct OptionError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

enum class StereoMode { Auto, Mono, Stereo, Joint };
enum class RateMode { Abr, Cbr };

struct Options {
    std::string input;
    std::string output;
    std::string logFile;  // empty: no log
    std::string profile;
    bool clipProofGain = false;  // -hybridgain
    double surroundDb = -3.0;    // -L
    double centreDb = -3.0;      // -c
    StereoMode stereo = StereoMode::Auto;
    bool highQuality = false;  // -h
    RateMode rate = RateMode::Abr;
    int kbps = 0;
};

// Parses a whole command line, program name first. Throws OptionError.
Options ParseOptions(const std::string& commandLine);

// The MPEG-1 layer III bitrate nearest to `kbps` (the higher one of two equally near): a
// constant bitrate must be one the format has.
int NearestMp3Bitrate(int kbps);

}  // namespace audio
