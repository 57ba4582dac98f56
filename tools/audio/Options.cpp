#include "Options.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <set>
#include <vector>

#include "platform/process.h"

namespace audio {
namespace {

using Tokens = std::vector<std::string>;

// What the groups have said so far; the bitrate options are checked against each other at the end.
struct State {
    Options options;
    bool preset = false;
    bool cbr = false;
    bool bitrate = false;
};

int IntValue(const std::string& option, const std::string& text, int min, int max) {
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < min || value > max)
        throw OptionError(option + " takes a whole number from " + std::to_string(min) + " to " +
                          std::to_string(max) + ", not \"" + text + "\"");
    return int(value);
}

// A level in decibels, written "-3db" (the unit may be left out): -40 dB up to 0 dB.
double LevelValue(const std::string& option, const std::string& text) {
    std::string number = text;
    if (number.size() > 2 && (number.ends_with("db") || number.ends_with("dB") ||
                              number.ends_with("DB") || number.ends_with("Db")))
        number.resize(number.size() - 2);
    char* end = nullptr;
    const double value = std::strtod(number.c_str(), &end);
    if (number.empty() || *end != '\0' || !std::isfinite(value) || value < -40 || value > 0)
        throw OptionError(option + " takes a level from -40db to 0db, not \"" + text + "\"");
    return value;
}

struct OptionSpec {
    const char* name;
    bool takesValue;
    void (*apply)(State&, const std::string& value);
};

struct GroupSpec {
    const char* name;
    bool required;
    bool freeWords;  // takes any words (the profile's name) instead of options
    std::vector<OptionSpec> options;
};

const std::array<GroupSpec, 5>& Groups() {
    static const std::array<GroupSpec, 5> groups{{
        {"-core",
         true,
         false,
         {{"-input", true, [](State& s, const std::string& v) { s.options.input = v; }},
          {"-output", true, [](State& s, const std::string& v) { s.options.output = v; }},
          {"-logfile", true, [](State& s, const std::string& v) { s.options.logFile = v; }}}},
        {"-ota",
         false,
         false,
         {{"-hybridgain", false,
           [](State& s, const std::string&) { s.options.clipProofGain = true; }}}},
        {"-azid",
         false,
         false,
         {{"-L", true,
           [](State& s, const std::string& v) { s.options.surroundDb = LevelValue("-L", v); }},
          {"-c", true,
           [](State& s, const std::string& v) {
               s.options.centreDb = v == "normal" ? -3.0 : LevelValue("-c", v);
           }}}},
        {"-lame",
         true,
         false,
         {{"-m", true,
           [](State& s, const std::string& v) {
               if (v == "m")
                   s.options.stereo = StereoMode::Mono;
               else if (v == "s")
                   s.options.stereo = StereoMode::Stereo;
               else if (v == "j")
                   s.options.stereo = StereoMode::Joint;
               else
                   throw OptionError("-m takes m, s or j, not \"" + v + "\"");
           }},
          {"-h", false, [](State& s, const std::string&) { s.options.highQuality = true; }},
          {"-alt-preset", true,
           [](State& s, const std::string& v) {
               s.options.kbps = IntValue("-alt-preset", v, 8, 320);
               s.preset = true;
           }},
          {"--cbr", false, [](State& s, const std::string&) { s.cbr = true; }},
          {"-b", true,
           [](State& s, const std::string& v) {
               s.options.kbps = IntValue("-b", v, 32, 320);
               s.bitrate = true;
           }}}},
        {"-profile", false, true, {}},
    }};
    return groups;
}

const GroupSpec* FindGroup(const std::string& name) {
    for (const GroupSpec& g : Groups())
        if (name == g.name) return &g;
    return nullptr;
}

// Reads the options of `group` from `at` up to its ")"; returns the position after it.
size_t ParseGroup(const GroupSpec& group, const Tokens& t, size_t at, State& s) {
    const std::string where = std::string(group.name) + "( )";
    for (; at < t.size() && t[at] != ")"; ++at) {
        if (group.freeWords) {
            s.options.profile += (s.options.profile.empty() ? "" : " ") + t[at];
            continue;
        }
        const OptionSpec* spec = nullptr;
        for (const OptionSpec& o : group.options)
            if (t[at] == o.name) spec = &o;
        if (!spec) throw OptionError("unknown option \"" + t[at] + "\" in " + where);
        if (!spec->takesValue) {
            spec->apply(s, "");
            continue;
        }
        if (at + 1 >= t.size() || t[at + 1] == ")")
            throw OptionError(std::string(spec->name) + " in " + where + " needs a value");
        spec->apply(s, t[++at]);
    }
    if (at >= t.size()) throw OptionError(std::string(group.name) + "( is not closed with \")\"");
    return at + 1;
}

void CheckComplete(State& s) {
    Options& o = s.options;
    if (o.input.empty()) throw OptionError("-core( ) names no -input file");
    if (o.output.empty()) throw OptionError("-core( ) names no -output file");
    if (s.preset && (s.cbr || s.bitrate))
        throw OptionError("-lame( ) cannot take -alt-preset together with --cbr or -b");
    if (s.cbr && !s.bitrate) throw OptionError("--cbr in -lame( ) needs -b with the bitrate");
    if (!s.preset && !s.bitrate)
        throw OptionError("-lame( ) names no bitrate: give -alt-preset N or --cbr -b N");
    o.rate = s.preset ? RateMode::Abr : RateMode::Cbr;
}

}  // namespace

Options ParseOptions(const std::string& commandLine) {
    const Tokens t = platform::SplitCommandLine(commandLine);
    State s;
    std::set<std::string> seen;
    for (size_t at = 1; at < t.size();) {
        const std::string& word = t[at];
        const GroupSpec* group = word.size() > 1 && word.back() == '('
                                     ? FindGroup(word.substr(0, word.size() - 1))
                                     : nullptr;
        if (!group)
            throw OptionError("\"" + word + "\" is not one of the groups -core( -ota( -azid( " +
                              "-lame( -profile( (a group opens with its name and \"(\")");
        if (!seen.insert(group->name).second)
            throw OptionError(std::string(group->name) + "( is given twice");
        at = ParseGroup(*group, t, at + 1, s);
    }
    for (const GroupSpec& g : Groups())
        if (g.required && !seen.count(g.name))
            throw OptionError(std::string("the command line has no ") + g.name + "( ) group");
    CheckComplete(s);
    return s.options;
}

int NearestMp3Bitrate(int kbps) {
    static const int kRates[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
    int best = kRates[0];
    for (int r : kRates)
        if (std::abs(r - kbps) <= std::abs(best - kbps)) best = r;
    return best;
}

}  // namespace audio
