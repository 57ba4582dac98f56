#include "Conversion.h"

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <regex>

#include "support/GeneratedMedia.h"

namespace e2e_test {

namespace {

constexpr int64_t kMegabyte = 1048576;

// The counter's cells lie across the middle of a band from 12 % to 20 % of the picture's height,
// from 10 % to 90 % of its width; read as 40 columns, cell k is columns 4k to 4k + 3, of which
// the middle two are sure to be inside it wherever the job cropped a little.
constexpr int kCells = 10;
constexpr int kColumns = 4 * kCells;

int ReadCounter(const unsigned char* columns) {
    int value = 0;
    for (int k = 0; k < kCells; ++k) {
        const int luma = (columns[4 * k + 1] + columns[4 * k + 2]) / 2;
        if (luma > 80 && luma < 160) return -1;
        if (luma >= 160) value |= 1 << k;
    }
    return value;
}

struct Picture {
    int Width = 0;
    int Height = 0;
    std::string Luma;  // one byte a pixel, row after row
    unsigned char At(int x, int y) const { return static_cast<unsigned char>(Luma[y * Width + x]); }
};

// The frame shown at `seconds`, as luma.
Picture FrameAt(const std::string& avi, double seconds) {
    Picture p;
    const std::string size = Probe(avi, "stream=width,height -select_streams v:0");
    std::sscanf(size.c_str(), "%d|%d", &p.Width, &p.Height);
    p.Luma = Shell("ffmpeg -v error -ss " + std::to_string(seconds) + " -i " + Quoted(avi) +
                       " -map 0:v:0 -frames:v 1 -f rawvideo -pix_fmt gray -",
                   false)
                 .output;
    if (p.Width <= 0 || p.Height <= 0 || p.Luma.size() != size_t(p.Width) * size_t(p.Height))
        p = Picture{};
    return p;
}

// How far the white region around the middle reaches along one line: the count of pixels
// brighter than the midpoint from the centre outwards, both ways.
int WhiteRun(const Picture& p, bool across) {
    const int length = across ? p.Width : p.Height;
    const auto at = [&](int i) { return across ? p.At(i, p.Height / 2) : p.At(p.Width / 2, i); };
    int run = 0;
    for (int i = length / 2; i < length && at(i) > 128; ++i) ++run;
    for (int i = length / 2 - 1; i >= 0 && at(i) > 128; --i) ++run;
    return run;
}

double SampleAspect(const std::string& avi) {
    int num = 1, den = 1;
    const std::string sar = Probe(avi, "stream=sample_aspect_ratio -select_streams v:0");
    if (std::sscanf(sar.c_str(), "%d:%d", &num, &den) != 2 || num <= 0 || den <= 0) return 1;
    return double(num) / den;
}

}  // namespace

std::string TitleFolder(const std::string& media, const std::string& title) {
    return media + "/" + title + "/rip";
}

std::string Conversion::JobLog() const {
    return testing_support::ReadAll(Avi.substr(0, Avi.size() - 4) + "_mx.log");
}

std::string CliCommand(const Conversion& c, const std::string& input,
                       const std::vector<std::string>& args, const std::string& program) {
    const std::string cli =
        program.empty() ? Quoted(testing_support::DistDir() + "/bin/movrex-cli") : program;
    std::string command = "MOVREX_CONFIG_DIR=" + Quoted(c.Config) +
                          " XDG_RUNTIME_DIR=" + Quoted(c.Config + "-run") + " " + cli +
                          " --input " + Quoted(input) + " --output " + Quoted(c.Avi);
    for (const std::string& arg : args) command += " " + Quoted(arg);
    return command;
}

std::vector<int> Counters(const std::string& avi) {
    const std::string columns =
        Shell("ffmpeg -v error -i " + Quoted(avi) +
                  " -map 0:v:0 -fps_mode passthrough -vf "
                  "'crop=iw*0.8:ih*0.04:iw*0.1:ih*0.14,scale=" +
                  std::to_string(kColumns) + ":1:flags=area' -f rawvideo -pix_fmt gray -",
              false)
            .output;
    std::vector<int> counters;
    for (size_t at = 0; at + kColumns <= columns.size(); at += kColumns)
        counters.push_back(ReadCounter(reinterpret_cast<const unsigned char*>(&columns[at])));
    return counters;
}

Fields DetectFields(const std::string& file) {
    const std::string out =
        Shell("ffmpeg -v info -nostats -i " + Quoted(file) + " -map 0:v:0 -vf idet -f null -")
            .output;
    static const std::regex kMulti(
        R"(Multi frame detection: TFF:\s*(\d+)\s+BFF:\s*(\d+)\s+Progressive:\s*(\d+))");
    std::smatch m;
    Fields fields;
    if (std::regex_search(out, m, kMulti)) {
        fields.Interlaced = std::stoi(m[1]) + std::stoi(m[2]);
        fields.Progressive = std::stoi(m[3]);
    }
    return fields;
}

double SquareAspect(const std::string& avi, double flashSeconds) {
    const Picture p = FrameAt(avi, flashSeconds);
    if (p.Luma.empty()) return 0;
    const int height = WhiteRun(p, false);
    return height == 0 ? 0 : WhiteRun(p, true) * SampleAspect(avi) / height;
}

std::vector<testing_support::FrameLuma> Band(const std::string& avi, double x, double y, double w,
                                             double h) {
    const auto part = [](const char* of, double f) {
        return std::string(of) + "*" + std::to_string(f);
    };
    return testing_support::MeanLuma(
        avi, part("iw", w) + ":" + part("ih", h) + ":" + part("iw", x) + ":" + part("ih", y));
}

void E2eTest::SetUp() {
    const auto media = testing_support::MakeMedia("make_e2e_titles.sh", "e2e");
    if (!media.SkipReason.empty()) GTEST_SKIP() << media.SkipReason;
    ASSERT_EQ(media.Error, "");
    media_ = media.Folder;
}

Conversion E2eTest::Prepare(const std::string& name) const {
    Conversion c;
    c.Avi = dir_.File(name + "/" + name + ".avi");
    c.Config = dir_.File(name + "-config");
    std::filesystem::create_directories(dir_.File(name));
    std::filesystem::create_directories(c.Config + "-run");
    chmod((c.Config + "-run").c_str(), 0700);
    return c;
}

Conversion E2eTest::Convert(const std::string& title, const std::string& name,
                            const std::vector<std::string>& args) {
    Conversion c = Prepare(name);
    c.Run = Shell(CliCommand(c, TitleFolder(media_, title), args));
    return c;
}

void E2eTest::ExpectSize(const std::vector<std::string>& files, int megabytes) {
    const double target = double(megabytes) * kMegabyte;
    double size = 0;
    for (const std::string& file : files) size += double(std::filesystem::file_size(file));
    EXPECT_LE(size, target) << files.front();
    EXPECT_GE(size, 0.99 * target)
        << files.front() << " takes " << size / target * 100 << " % of the target";
}

void E2eTest::ExpectInSync(const std::string& avi, int audioStreams, double frameSeconds) {
    const std::vector<double> flashes = testing_support::Flashes(avi);
    ASSERT_GE(flashes.size(), 2u) << avi;
    for (int a = 0; a < audioStreams; ++a) {
        SCOPED_TRACE("audio stream " + std::to_string(a));
        const std::vector<double> beeps = testing_support::Beeps(avi, a);
        ASSERT_EQ(beeps.size(), flashes.size());
        EXPECT_LT(std::abs(beeps.front() - flashes.front()), frameSeconds) << beeps.front();
        EXPECT_LT(std::abs(beeps.back() - flashes.back()), frameSeconds) << beeps.back();
    }
}

}  // namespace e2e_test
