// codec_run: writes the planner's codec settings for one run, then compresses a raw I420 file
// through the installed codec, as a job's run would. The benchmark times it against ffmpeg.
//
//   codec_run --codec xvid|divx --mode test|single|pass1|pass2 --yuv FILE --size WxH
//             --frames N [--rate N/D] [--quality Q] [--kib K] [--bitrate B] [--stats FILE]
//             [--bframes 0|1] [--matrix 0|1] [--max-quant Q] [--out FILE.m4v]
//             [--credits FRAME --credits-weight W --greyscale 0|1]
//
// --quality is the planner's value (XviD: quantizer x 100; DivX: quantizer x 10), --kib the XviD
// second pass's target in KiB, --bitrate the DivX target in bit/s. The installation and the
// hives are the ones MOVREX_SYSTEM_DIR, MOVREX_MACHINE_HIVE and MOVREX_CONFIG_DIR name.
// Prints "frames N bytes B seconds S" on success (S: from opening the codec to the end of the
// run, the settings' writing left out); on failure the codec's error on standard error.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include "CodecRun.h"
#include "codec/reg.h"

namespace {

std::map<std::string, std::string> ParseOptions(int argc, char** argv) {
    std::map<std::string, std::string> options;
    for (int i = 1; i + 1 < argc; i += 2) options[argv[i]] = argv[i + 1];
    return options;
}

int Number(const std::map<std::string, std::string>& o, const char* name, int fallback) {
    auto it = o.find(name);
    return it == o.end() ? fallback : std::atoi(it->second.c_str());
}

std::string Text(const std::map<std::string, std::string>& o, const char* name) {
    auto it = o.find(name);
    return it == o.end() ? "" : it->second;
}

// Index of the run in the planner's mode table: test, first pass, second pass (single pass
// shares the test's mode without the fixed quantizer).
int RunIndex(const std::string& mode) {
    if (mode == "pass1") return 1;
    if (mode == "pass2") return 2;
    return 0;
}

void WriteXvid(const std::map<std::string, std::string>& o) {
    TXviDCodecParams p;
    const std::string mode = Text(o, "--mode");
    p.Mode = RunIndex(mode);
    p.FixedQuant2 = mode == "test";
    p.BFrames = Number(o, "--bframes", 1) ? 1 : -1;
    p.MinIQuant = p.MinPQuant = 2;
    p.MaxIQuant = p.MaxPQuant = Number(o, "--max-quant", 31);
    p.QualityLevel = Number(o, "--quality", 200);
    p.DesiredSize = Number(o, "--kib", 10000);
    p.StatsFile = Text(o, "--stats");
    p.MatrixType = Number(o, "--matrix", 1);
    p.MaxKeyInterval = 250;
    p.CreditsFrame = Number(o, "--credits", 0);
    p.CreditsWeight = Number(o, "--credits-weight", 100);
    p.CreditsGreyscale = Number(o, "--greyscale", 0) != 0;
    WriteXviDCoreSettings(p, false);
}

void WriteDivx(const std::map<std::string, std::string>& o) {
    TDivXCodecParams p;
    p.VbrMode = RunIndex(Text(o, "--mode")) + 1;
    p.Bidirectional = Number(o, "--bframes", 1);
    p.TargetBitrate = Number(o, "--bitrate", 1000000);
    p.LogFile = Text(o, "--stats");
    p.MvFile = p.LogFile + ".mv";
    p.MaxKeyInterval = 250;
    p.VbrQuality = Number(o, "--quality", 20);
    WriteDivXSettings(p);
}

}  // namespace

int main(int argc, char** argv) {
    const auto o = ParseOptions(argc, argv);
    const std::string codec = Text(o, "--codec");
    if (codec != "xvid" && codec != "divx") {
        std::fprintf(stderr, "usage: see the head of codec_run_main.cpp\n");
        return 2;
    }
    codec == "xvid" ? WriteXvid(o) : WriteDivx(o);
    codec_testing::ClipFormat clip;
    std::sscanf(Text(o, "--size").c_str(), "%dx%d", &clip.width, &clip.height);
    std::sscanf(Text(o, "--rate").c_str(), "%u/%u", &clip.rateNum, &clip.rateDen);
    clip.frames = Number(o, "--frames", 0);
    const auto start = std::chrono::steady_clock::now();
    codec_testing::Codec instance(codec);
    if (!instance) {
        std::fprintf(stderr, "codec_run: %s\n", instance.WhyNot().c_str());
        return 1;
    }
    const codec_testing::CodecResult result =
        codec_testing::Compress(instance, Text(o, "--yuv"), clip, Text(o, "--out"));
    if (!result.Ok()) {
        std::fprintf(stderr, "codec_run: %s (%ld)\n", result.error.c_str(), long(result.code));
        return 1;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("frames %zu bytes %llu seconds %.3f\n", result.frames.size(),
                static_cast<unsigned long long>(result.bytes), took.count());
    return 0;
}
