#include "CodecTestEnv.h"

#include <sys/wait.h>

#include <cstdio>
#include <regex>
#include <sstream>

#include "support/GeneratedMedia.h"
#include "support/Shell.h"

namespace codec_testing {

using testing_support::Quoted;

CodecTest::CodecTest()
    : config_("MOVREX_CONFIG_DIR", work_.File("config")),
      system_("MOVREX_SYSTEM_DIR", testing_support::DistDir() + "/system"),
      machine_("MOVREX_MACHINE_HIVE", testing_support::DistDir() + "/system/machine.reg") {}

// The clips are made by tests/media/make_codec_clips.sh into the build folder, once. Its path
// comes from the build: a compiler cache that shortens source paths leaves __FILE__ relative.
void CodecTest::SetUp() {
    clips_ = std::string(MOVREX_BUILD_DIR) + "/media/codecs";
    int status = 0;
    const std::string out =
        Shell("bash " + Quoted(MOVREX_CODEC_CLIPS_SCRIPT) + " " + Quoted(clips_), &status);
    if (status == 77) GTEST_SKIP() << out;
    ASSERT_EQ(status, 0) << out;
}

CodecResult CodecTest::Short(const std::string& handler, const std::string& out, int frames,
                             const std::vector<uint8_t>* state) {
    Codec codec(handler);
    if (!codec) return CodecResult{-1000, codec.WhyNot(), {}, 0, 0};
    if (state && codec.SetState(*state) != intptr_t(state->size())) {
        return CodecResult{-1000, "state refused: " + codec.ErrorText(), {}, 0, 0};
    }
    ClipFormat clip{320, 176, 25, 1, frames, true};
    return Compress(codec, Clip("short.yuv"), clip, out.empty() ? "" : File(out));
}

TXviDCodecParams XvidParams(int32_t mode, const std::string& stats) {
    TXviDCodecParams p;
    p.BFrames = 1;
    p.MinIQuant = p.MinPQuant = 2;
    p.MaxIQuant = p.MaxPQuant = 31;
    p.DesiredSize = 1000;
    p.Mode = mode;
    p.StatsFile = stats;
    p.MatrixType = 1;
    p.MaxKeyInterval = 250;
    p.QualityLevel = 400;
    return p;
}

TDivXCodecParams DivxParams(int32_t vbrMode, const std::string& log) {
    TDivXCodecParams p;
    p.Bidirectional = 1;
    p.TargetBitrate = 1000000;
    p.VbrMode = vbrMode;
    p.LogFile = log;
    p.MvFile = log + ".mv";
    p.MaxKeyInterval = 250;
    p.VbrQuality = 40;
    return p;
}

void WriteXvid(const TXviDCodecParams& params) {
    WriteCodecSettings(0, true, params, TDivXCodecParams{}, false);
}

void WriteDivx(const TDivXCodecParams& params) {
    WriteCodecSettings(1, true, TXviDCodecParams{}, params, false);
}

std::string Shell(const std::string& command, int* status) {
    testing_support::ProgramRun run = testing_support::Shell(command);
    if (status) *status = run.status;
    return run.output;
}

std::string FrameTypes(const std::string& stream) {
    const std::string out = Shell(
        "ffprobe -v error -show_frames -show_entries frame=pict_type "
        "-of csv=p=0 " +
        Quoted(stream));
    std::string types;
    for (char c : out) {
        if (c == 'I' || c == 'P' || c == 'B' || c == 'S') types += c;
    }
    return types;
}

std::map<char, std::multiset<int>> Quantizers(const std::string& stream) {
    // One decoding thread: with several, the debug rows of frames decoded at once interleave and
    // land under the wrong picture type.
    std::istringstream lines(
        Shell("ffmpeg -hide_banner -threads 1 -debug qp -i " + Quoted(stream) + " -f null -"));
    static const std::regex kFrame(R"(New frame, type: ([IPBS]))");
    static const std::regex kRow(R"(^\[mpeg4 @ 0x[0-9a-f]+\]( +[0-9]+)+\s*$)");
    std::map<char, std::multiset<int>> quantizers;
    char type = 0;
    std::smatch match;
    for (std::string line; std::getline(lines, line);) {
        if (std::regex_search(line, match, kFrame)) {
            type = match[1].str()[0];
        } else if (type && std::regex_match(line, kRow)) {
            std::istringstream values(line.substr(line.find(']') + 1));
            for (int q; values >> q;) quantizers[type].insert(q);
        }
    }
    return quantizers;
}

std::string DecodeProblems(const std::string& stream) {
    int status = 0;
    std::string out = Shell("ffmpeg -v error -i " + Quoted(stream) + " -f null -", &status);
    if (status != 0) out += "(ffmpeg exit status " + std::to_string(status) + ")";
    return out;
}

std::vector<std::vector<int>> ChromaRanges(const std::string& stream) {
    std::istringstream lines(Shell("ffmpeg -v error -i " + Quoted(stream) +
                                   " -vf signalstats,metadata=print:file=- -f null -"));
    static const std::regex kValue(R"(lavfi\.signalstats\.(UMIN|UMAX|VMIN|VMAX)=([0-9]+))");
    std::vector<std::vector<int>> frames;
    std::smatch match;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("frame:", 0) == 0) frames.emplace_back();
        if (!frames.empty() && std::regex_search(line, match, kValue)) {
            frames.back().push_back(std::stoi(match[2].str()));
        }
    }
    return frames;
}

}  // namespace codec_testing
