// The statements a job script may hold, as a table: the name, the kinds of its arguments (one
// letter each, "i" integer, "s" string; alternatives after "|") and what it sets in the job.
// Statements that have no meaning for this program (the colour depth, the filter list, the audio
// conversion and volume of a stream that is copied anyway) are accepted and change nothing.
#include "JobStatements.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace jobrunner {

namespace {

constexpr int64_t kMaxDelayMs = 24 * 3600 * 1000;
constexpr int64_t kMaxPreloadMs = 60 * 1000;
constexpr int64_t kMaxStreamIndex = 15;
constexpr int64_t kMaxInt32 = 0x7FFFFFFF;

[[noreturn]] void Bad(const Job& job, const Statement& s, const std::string& what) {
    throw JobError(Where(job.scriptName, s.line) + ": " + s.name + ": " + what);
}

int64_t Int(const Statement& s, size_t k) {
    return std::get<int64_t>(s.arguments[k]);
}
const std::string& Text(const Statement& s, size_t k) {
    return std::get<std::string>(s.arguments[k]);
}
// Argument k, checked against [low, high].
int64_t IntIn(const Job& job, const Statement& s, size_t k, int64_t low, int64_t high,
              const char* what) {
    const int64_t v = Int(s, k);
    if (v < low || v > high)
        Bad(job, s,
            std::string(what) + " " + std::to_string(v) + " is outside " + std::to_string(low) +
                ".." + std::to_string(high));
    return v;
}
bool Flag(const Job& job, const Statement& s, size_t k, const char* what) {
    return IntIn(job, s, k, 0, 1, what) == 1;
}

// The audio stream a stream[n] statement names; SetSource must have made it.
AudioStreamJob& Stream(Job& job, const Statement& s) {
    const auto it = job.audio.find(s.indexes[0]);
    if (it == job.audio.end())
        Bad(job, s, "stream " + std::to_string(s.indexes[0]) + " has no SetSource before it");
    return it->second;
}

void Open(Job& job, const Statement& s) {
    if (!job.input.empty())
        Bad(job, s, "the job opened an input already, on line " + std::to_string(job.openLine));
    if (Text(s, 0).empty()) Bad(job, s, "the input path is empty");
    job.input = Text(s, 0);
    job.openLine = s.line;
}

void SaveAvi(Job& job, const Statement& s) {
    if (job.input.empty()) Bad(job, s, "nothing is open yet (Open comes first)");
    if (Text(s, 0).empty()) Bad(job, s, "the output path is empty");
    job.output = Text(s, 0);
    job.saveLine = s.line;
}

void VideoMode(Job& job, const Statement& s) {
    // 0 copies the input's frames; 1 to 3 process them, which is the same here.
    job.copyVideo = IntIn(job, s, 0, 0, 3, "the mode") == 0;
}

void FrameRate(Job& job, const Statement& s) {
    if (Int(s, 0) != 0 || Int(s, 1) != 1)
        Bad(job, s, "the frame rate is the input's: only (0,1) is accepted");
}

void Ivtc(Job& job, const Statement& s) {
    if (Int(s, 0) != 0)
        Bad(job, s, "inverse telecine is the frame server's work: only 0 is accepted");
}

void Range(Job& job, const Statement& s) {
    if (Int(s, 0) != 0 || Int(s, 1) != 0) Bad(job, s, "only the whole clip, (0,0), is accepted");
}

void Compression(Job& job, const Statement& s) {
    job.codecLine = s.line;
    if (s.arguments.empty()) {
        job.codec.reset();
        return;
    }
    job.codec = static_cast<uint32_t>(IntIn(job, s, 0, 1, 0xFFFFFFFF, "the handler code"));
}

void CompData(Job& job, const Statement& s) {
    const int64_t size = IntIn(job, s, 0, 0, kMaxInt32, "the size");
    std::vector<uint8_t> state;
    if (!DecodeBase64(Text(s, 1), state)) Bad(job, s, "the state is no Base64 text");
    if (static_cast<int64_t>(state.size()) != size)
        Bad(job, s,
            "the state holds " + std::to_string(state.size()) + " bytes, its size says " +
                std::to_string(size));
    job.codecStateLine = s.line;
    if (size == 0)
        job.codecState.reset();  // the codec keeps the settings it reads itself
    else
        job.codecState = std::move(state);
}

void AddComment(Job& job, const Statement& s) {
    const std::string& tag = Text(s, 1);
    const bool code = tag.size() == 4 && std::all_of(tag.begin(), tag.end(), [](char c) {
                          return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
                      });
    if (!code) Bad(job, s, "\"" + tag + "\" is no four-character tag such as IAS1");
    auto same = [&](const Comment& c) { return c.tag == tag; };
    job.comments.erase(std::remove_if(job.comments.begin(), job.comments.end(), same),
                       job.comments.end());
    job.comments.push_back({tag, Text(s, 2)});
}

void ClearRange(Job& job, const Statement&) {
    job.range.reset();
}

void AddRange(Job& job, const Statement& s) {
    if (job.range)
        Bad(job, s, "the job has a range already, from line " + std::to_string(job.range->line));
    const int64_t first = IntIn(job, s, 0, 0, kMaxInt32, "the first frame");
    const int64_t count = IntIn(job, s, 1, 1, kMaxInt32, "the frame count");
    job.range = FrameRange{first, count, s.line};
}

void RemoveInputStreams(Job& job, const Statement&) {
    job.audio.clear();
}

void SetSource(Job& job, const Statement& s) {
    const int64_t index = s.indexes[0];
    if (index > kMaxStreamIndex)
        Bad(job, s,
            "stream " + std::to_string(index) + " is beyond the " +
                std::to_string(kMaxStreamIndex + 1) + " audio streams an AVI gets here");
    AudioStreamJob a;
    a.line = s.line;
    a.variableRate = Flag(job, s, 2, "the variable-rate flag");
    if (std::holds_alternative<std::string>(s.arguments[0])) {
        a.file = Text(s, 0);
        if (a.file.empty()) Bad(job, s, "the audio file path is empty");
        a.format = static_cast<uint32_t>(Int(s, 1));
        if (a.format != kFormatMpegAudio && a.format != kFormatAc3)
            Bad(job, s,
                "the format code " + std::to_string(a.format) +
                    " is neither 0x202 (MPEG audio) nor 0x203 (AC3)");
    } else {
        if (Int(s, 0) != kSourceAviStream)
            Bad(job, s, "a source number other than 0x73647561 (the opened AVI's audio)");
        a.aviStream = static_cast<int>(IntIn(job, s, 1, 0, kMaxStreamIndex, "the AVI stream"));
    }
    job.audio[index] = a;
}

void StreamMode(Job& job, const Statement& s) {
    Stream(job, s);
    if (Int(s, 0) != 0) Bad(job, s, "audio is copied as it is: only mode 0 is accepted");
}

void Interleave(Job& job, const Statement& s) {
    AudioStreamJob& a = Stream(job, s);
    a.interleaved = Flag(job, s, 0, "the interleave switch");
    a.preloadMs = static_cast<int>(IntIn(job, s, 1, 0, kMaxPreloadMs, "the preload"));
    IntIn(job, s, 2, 1, kMaxInt32, "the interval");
    Flag(job, s, 3, "the interval's unit");
    a.delayMs = static_cast<int>(IntIn(job, s, 4, -kMaxDelayMs, kMaxDelayMs, "the delay"));
}

void ClipMode(Job& job, const Statement& s) {
    AudioStreamJob& a = Stream(job, s);
    Flag(job, s, 0, "the start clipping");  // audio before the video's start is always dropped
    a.clipToVideoEnd = Flag(job, s, 1, "the end clipping");
}

void StreamAccepted(Job& job, const Statement& s) {
    Stream(job, s);
}

void Accepted(Job&, const Statement&) {}

struct Rule {
    const char* name;
    const char* signatures;  // "sii|iii"
    void (*apply)(Job&, const Statement&);
};

const Rule kRules[] = {
    {"VirtualDub.Open", "sii", Open},
    {"VirtualDub.SaveAVI", "s", SaveAvi},
    {"VirtualDub.RemoveInputStreams", "", RemoveInputStreams},
    {"VirtualDub.video.SetDepth", "ii", Accepted},
    {"VirtualDub.video.SetMode", "i", VideoMode},
    {"VirtualDub.video.SetFrameRate", "ii", FrameRate},
    {"VirtualDub.video.SetIVTC", "iiii", Ivtc},
    {"VirtualDub.video.SetRange", "ii", Range},
    {"VirtualDub.video.SetCompression", "|iiii", Compression},
    {"VirtualDub.video.SetCompData", "is", CompData},
    {"VirtualDub.video.filters.Clear", "", Accepted},
    {"VirtualDub.video.AddComment", "iss", AddComment},
    {"VirtualDub.subset.Delete", "", ClearRange},
    {"VirtualDub.subset.Clear", "", ClearRange},
    {"VirtualDub.subset.AddRange", "ii", AddRange},
    {"VirtualDub.stream[].SetSource", "sii|iii", SetSource},
    {"VirtualDub.stream[].SetMode", "i", StreamMode},
    {"VirtualDub.stream[].SetInterleave", "iiiii", Interleave},
    {"VirtualDub.stream[].SetClipMode", "ii", ClipMode},
    {"VirtualDub.stream[].SetConversion", "iiiii", StreamAccepted},
    {"VirtualDub.stream[].SetVolume", "|i", StreamAccepted},
    {"VirtualDub.stream[].SetCompression", "", StreamAccepted},
};

std::string KindsOf(const Statement& s) {
    std::string kinds;
    for (const Argument& a : s.arguments) kinds += std::holds_alternative<int64_t>(a) ? 'i' : 's';
    return kinds;
}

bool Matches(const std::string& signatures, const std::string& kinds) {
    std::istringstream alternatives(signatures + "|");
    for (std::string one; std::getline(alternatives, one, '|');)
        if (one == kinds) return true;
    return signatures.empty() && kinds.empty();
}

// "(string, integer, integer) or (integer, integer, integer)"
std::string Describe(const std::string& signatures) {
    std::string text;
    std::istringstream alternatives(signatures + "|");
    for (std::string one; std::getline(alternatives, one, '|');) {
        if (!text.empty()) text += " or ";
        text += "(";
        for (size_t k = 0; k < one.size(); ++k)
            text += std::string(k ? ", " : "") + (one[k] == 'i' ? "integer" : "string");
        text += ")";
    }
    return text.empty() ? "()" : text;
}

const Rule& RuleOf(const Job& job, const Statement& s) {
    for (const Rule& rule : kRules) {
        if (s.name != rule.name) continue;
        if (!Matches(rule.signatures, KindsOf(s)))
            Bad(job, s, "takes " + Describe(rule.signatures) + ", not " + Describe(KindsOf(s)));
        return rule;
    }
    throw JobError(Where(job.scriptName, s.line) + ": unknown statement " + s.name);
}

}  // namespace

Job MakeJob(const std::vector<Statement>& statements, const std::string& scriptName) {
    Job job;
    job.scriptName = scriptName;
    for (const Statement& s : statements) {
        if (!job.output.empty())
            throw JobError(Where(scriptName, s.line) + ": " + s.name +
                           " comes after SaveAVI, which ends the job (line " +
                           std::to_string(job.saveLine) + ")");
        RuleOf(job, s).apply(job, s);
    }
    if (job.output.empty()) throw JobError(scriptName + ": the job saves nothing (no SaveAVI)");
    return job;
}

namespace {

std::string ScriptText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw JobError("The job script " + path + " cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    if (in.bad()) throw JobError("The job script " + path + " cannot be read");
    return text.str();
}

}  // namespace

Job ReadJob(const std::string& path) {
    return MakeJob(ReadJobScript(ScriptText(path), path), path);
}

std::string OutputNamedBy(const std::string& path) {
    std::string output;
    try {
        std::istringstream lines(ScriptText(path));
        for (std::string line; std::getline(lines, line);) {
            try {
                for (const Statement& s : ReadJobScript(line, path))
                    if (s.name == "VirtualDub.SaveAVI" && KindsOf(s) == "s") output = Text(s, 0);
            } catch (const JobError&) {
            }
        }
    } catch (const JobError&) {
    }
    return output;
}

bool DecodeBase64(const std::string& text, std::vector<uint8_t>& bytes) {
    bytes.clear();
    if (text.size() % 4 != 0) return false;
    uint32_t bits = 0;
    int held = 0;
    size_t padding = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        int v = -1;
        if (c >= 'A' && c <= 'Z') v = c - 'A';
        if (c >= 'a' && c <= 'z') v = c - 'a' + 26;
        if (c >= '0' && c <= '9') v = c - '0' + 52;
        if (c == '+') v = 62;
        if (c == '/') v = 63;
        if (c == '=' && i + 2 >= text.size()) {
            ++padding;
            continue;
        }
        if (v < 0 || padding > 0) return false;
        bits = bits << 6 | uint32_t(v);
        held += 6;
        if (held >= 8) {
            held -= 8;
            bytes.push_back(uint8_t(bits >> held));
        }
    }
    return padding <= 2;
}

}  // namespace jobrunner
