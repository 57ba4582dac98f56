#pragma once
// The indexer's command line: "-AIF=[first VOB] -IA=3 -FO=0 -YR=1 -TN=1 -OM=1 -DRC=0 -DSD=0
// -DSA=0 -OF=[output base] -Exit". Bracketed values are taken as they are, blanks included; a
// whole argument in double quotes (as an argv joined back into one line quotes it) is unquoted
// first. Numeric options come from one table of name, default and range, used both to parse
// and to check them.
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace indexer {

struct NumericOption {
    const char* name;
    int defaultValue;
    int minimum;
    int maximum;
    const char* meaning;
};

inline constexpr NumericOption kNumericOptions[] = {
    {"IA", 3, 1, 7, "iDCT choice, recorded for the decoder"},
    {"FO", 0, 0, 3, "field operation written to the index: 0 none, 1 forced FILM, 2 swapped"},
    {"YR", 1, 0, 1, "YUV to RGB range, recorded"},
    {"TN", 0, 0, 8, "audio track to demultiplex: DVD audio stream number + 1; 0 none"},
    {"OM", 0, 0, 3, "audio output: 0 none, 1-3 the track (LPCM decoded to WAV)"},
    {"DRC", 0, 0, 3, "dynamic range compression, recorded"},
    {"DSD", 0, 0, 3, "downsampling, recorded"},
    {"DSA", 0, 0, 3, "sample-rate conversion, recorded"},
};

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

struct Options {
    std::string firstVob;    // -AIF
    std::string outputBase;  // -OF: the index is <base>.d2v, audio files begin with <base>
    std::map<std::string, int> values;  // every numeric option, defaults filled in
    bool exitWhenDone = false;          // -Exit: accepted; the program always ends by itself

    int Value(const std::string& name) const { return values.at(name); }
    // The numeric options as the index header records them: "-IA=3 -FO=0 ...".
    std::string Recorded() const;
};

// Parses a whole command line, program first. UsageError for a missing input or output, a value
// that is not a number or out of range; unknown options are reported in `warnings` and ignored.
Options ParseOptions(const std::string& commandLine, std::vector<std::string>& warnings);

// The usage text: the command line and the table.
std::string UsageText();

}  // namespace indexer
