#include "DecoderRun.h"

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <random>

#include "encoder/TextFiles.h"
#include "encoder/rules/IndexLines.h"
#include "language/ScriptError.h"
#include "scripts/SourceType.h"
#include "support/GeneratedMedia.h"

namespace decoder_test {

std::string Titles() {
    const auto media = testing_support::MakeMedia("make_dvd_titles.sh", "dvd");
    EXPECT_EQ(media.Error, "");
    return media.Folder;
}

std::string Shell(const std::string& command) {
    const testing_support::ProgramRun run = testing_support::Shell(command, false);
    EXPECT_EQ(run.status, 0) << command;
    return run.output;
}

std::string IndexTitle(const std::string& vob, const std::string& base) {
    const std::string indexer = testing_support::DistDir() + "/DVD2AVI/DVD2AVIdg.exe";
    Shell(Quoted(indexer) + " " + Quoted("-AIF=[" + vob + "]") +
          " -IA=3 -FO=0 -YR=1 -OM=0 -DRC=0 -DSD=0 -DSA=0 " + Quoted("-OF=[" + base + "]") +
          " -Exit >/dev/null");
    return base + ".d2v";
}

std::string WithFieldOperation(const std::string& d2v, int fieldOperation) {
    TIndexLines lines = LoadTextLines(d2v);
    if (fieldOperation == 1) SetFieldOperation(lines, kForcedFilmOperation, kFilmFrameRate, d2v);
    if (fieldOperation == 2) SetFieldOperation(lines, kSwapOrderOperation, "", d2v);
    const std::string copy =
        d2v.substr(0, d2v.size() - 4) + "_fo" + std::to_string(fieldOperation) + ".d2v";
    SaveTextLines(lines, copy);
    return copy;
}

int64_t PlannerFrameCount(const std::string& d2v, int fieldOperation, bool pal) {
    const TIndexLines lines = LoadTextLines(d2v);
    const double film = pal ? 0 : FilmPercentOf(lines, d2v);
    const uint8_t type = fieldOperation == 1 ? stForcedFilm : stProgressive;
    return EstimateFrames(CountIndexFrames(lines, d2v), type, film, pal).FrameCount;
}

Source OpenSource(const std::string& d2v) {
    Source s;
    s.interpreter = std::make_unique<fsrv::script::Interpreter>("t.avs");
    const std::string plugin = testing_support::DistDir() + "/filters/mpeg2dec3dg.dll";
    try {
        s.clip = s.interpreter->Run("LoadPlugin(\"" + plugin + "\")\nmpeg2source(\"" + d2v + "\")");
    } catch (const fsrv::ScriptError& e) {
        s.error = e.what();
    }
    return s;
}

namespace {

uint64_t Fnv(const uint8_t* bytes, size_t size, uint64_t hash = 1469598103934665603ull) {
    for (size_t i = 0; i < size; ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
    return hash;
}

}  // namespace

uint64_t Checksum(const fsrv::Frame& frame) {
    uint64_t hash = Fnv(nullptr, 0);
    for (int p = 0; p < 3; ++p)
        for (int y = 0; y < frame.Height(p); ++y)
            hash = Fnv(frame.Data(p) + size_t(y) * frame.Pitch(p), size_t(frame.Width(p)), hash);
    return hash;
}

std::vector<uint64_t> ServeInOrder(fsrv::Clip& clip) {
    std::vector<uint64_t> sums;
    for (int n = 0; n < clip.Info().frameCount; ++n) sums.push_back(Checksum(*clip.GetFrame(n)));
    return sums;
}

std::vector<uint64_t> ServeShuffled(fsrv::Clip& clip) {
    std::vector<int> order(size_t(clip.Info().frameCount));
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), std::mt19937(14));
    std::vector<uint64_t> sums(order.size());
    for (int n : order) sums[size_t(n)] = Checksum(*clip.GetFrame(n));
    return sums;
}

std::vector<uint64_t> FfmpegChecksums(const std::string& vob, const std::string& filter, int width,
                                      int height) {
    const std::string raw =
        Shell("ffmpeg -v fatal -i " + Quoted(vob) + " -map 0:v:0 -vf " + Quoted(filter) +
              " -fps_mode passthrough -pix_fmt yuv420p -f rawvideo -");
    const size_t bytes = size_t(width) * height * 3 / 2;
    std::vector<uint64_t> sums;
    for (size_t at = 0; at + bytes <= raw.size(); at += bytes)
        sums.push_back(Fnv(reinterpret_cast<const uint8_t*>(raw.data()) + at, bytes));
    return sums;
}

}  // namespace decoder_test
