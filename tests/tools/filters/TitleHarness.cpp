#include "TitleHarness.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <regex>

#include "Commands.h"
#include "encoder/TextFiles.h"
#include "encoder/rules/IndexLines.h"
#include "support/GeneratedMedia.h"

namespace filtertest {

namespace fs = std::filesystem;

Server::Server() {
    std::string whyNot;
    fs_ = fsclient::FrameServerLibrary::Load(testing_support::DistDir() + "/system/avisynth.dll",
                                             whyNot);
    if (!fs_) throw std::runtime_error(whyNot);
}

std::string Server::Open(const std::string& scriptPath) {
    std::string error;
    script_.reset();
    script_ = fsclient::ClipScript::Open(fs_, scriptPath, error);
    return error;
}

double Server::Rate() const {
    const FsVideoInfo& info = script_->Info();
    return info.fps_denominator ? double(info.fps_numerator) / info.fps_denominator : 0;
}

std::shared_ptr<fsrv::Frame> Server::Frame(int n) {
    std::string error;
    const fsclient::FramePtr f = script_->Frame(n, error);
    if (!f) throw std::runtime_error(error);
    auto copy = std::make_shared<fsrv::Frame>(f->width[0], f->height[0]);
    for (int p = 0; p < 3; ++p)
        for (int y = 0; y < f->height[p]; ++y)
            std::copy_n(f->data[p] + size_t(y) * f->pitch[p], f->width[p],
                        copy->Data(p) + size_t(y) * copy->Pitch(p));
    return copy;
}

std::string Server::ServeAll() {
    std::string error;
    for (int n = 0; n < Frames() && error.empty(); ++n) script_->Frame(n, error);
    return error;
}

void TitleCase::SetUp() {
    const auto media = testing_support::MakeMedia(FILTER_MEDIA_SCRIPT, "filters");
    if (!media.SkipReason.empty()) GTEST_SKIP() << media.SkipReason;
    ASSERT_EQ(media.Error, "");
    clips_ = media.Folder;
    fs::create_directories(dir_.File("filters"));
    for (const auto& entry : fs::directory_iterator(testing_support::DistDir() + "/filters"))
        fs::copy_file(entry.path(), dir_.File("filters/" + entry.path().filename().string()));
    env_.ProgramDir = dir_.Path();
    env_.HasSSE = true;
}

Title TitleCase::TitleOf(const std::string& name) {
    if (const auto known = titles_.find(name); known != titles_.end()) return known->second;
    const std::string folder = name == "soft" || name == "film" ? "film" : name;
    const std::string base = dir_.File(name);
    const auto indexer = tooltest::Run(
        {testing_support::DistDir() + "/DVD2AVI/DVD2AVIdg.exe",
         "-AIF=[" + clips_ + "/titles/" + folder + "/rip/VTS_01_1.VOB]", "-OF=[" + base + "]"});
    EXPECT_EQ(indexer.status, 0) << indexer.output;
    const std::string d2v = base + ".d2v";
    if (name == "film") {
        TIndexLines lines = LoadTextLines(d2v);
        SetFieldOperation(lines, kForcedFilmOperation, kFilmFrameRate, d2v);
        SaveTextLines(lines, d2v);
    }
    return titles_[name] = Title{d2v, name != "letterbox"};
}

std::shared_ptr<fsrv::Frame> TitleCase::Reference(const std::string& clip, int n) const {
    std::ifstream in(clips_ + "/" + clip, std::ios::binary);
    std::string header;
    std::getline(in, header);
    std::smatch size;
    if (!std::regex_search(header, size, std::regex(" W(\\d+) H(\\d+)")))
        throw std::runtime_error(clip + " is no YUV4MPEG2 file");
    auto frame = std::make_shared<fsrv::Frame>(std::stoi(size[1]), std::stoi(size[2]));
    size_t bytes = 0;
    for (int p = 0; p < 3; ++p) bytes += size_t(frame->Width(p)) * size_t(frame->Height(p));
    in.seekg(std::streamoff(header.size() + 1 + (bytes + 6) * size_t(n) + 6));
    for (int p = 0; p < 3; ++p)
        for (int y = 0; y < frame->Height(p); ++y)
            in.read(reinterpret_cast<char*>(frame->Data(p) + size_t(y) * frame->Pitch(p)),
                    frame->Width(p));
    if (!in) throw std::runtime_error(clip + " has no frame " + std::to_string(n));
    return frame;
}

void TitleCase::Open(const TScriptLines& lines, const std::string& name) {
    OpenOn(server_, lines, name);
}

TMovieScriptParams TitleCase::MovieOf(const Title& title, uint8_t sourceType) const {
    TMovieScriptParams run;
    run.D2VFile = title.source;
    run.OutWidth = 640;
    run.ResizeTemplate = "LanczosResize(%s,%s)";
    run.SourceType = sourceType;
    run.PixelAspect = title.ntsc ? 0.911392405063291 : 1.09401709401709;
    return run;
}

TScriptLines TitleCase::SourceOnly(const Title& title, const std::string& filter) const {
    TScriptLines lines;
    for (const char* plugin : {"mpeg2dec3dg", "decomb", "autocrop", "kerneldeint"})
        lines.push_back("LoadPlugin(\"" + env_.ProgramDir + "/filters/" + plugin + ".dll\")");
    lines.push_back("mpeg2source(\"" + title.source + "\")" + filter);
    return lines;
}

void TitleCase::OpenOn(Server& server, const TScriptLines& lines, const std::string& name) {
    SaveScript(lines, dir_.File(name));
    ASSERT_EQ(server.Open(dir_.File(name)), "") << ScriptFileText(lines);
}

double LumaPsnr(const fsrv::Frame& a, const fsrv::Frame& b, int margin) {
    double sum = 0;
    const int w = a.Width(fsrv::kY), h = a.Height(fsrv::kY) - 2 * margin;
    for (int y = margin; y < h + margin; ++y)
        for (int x = 0; x < w; ++x) {
            const int d =
                a.Data(0)[size_t(y) * a.Pitch(0) + x] - b.Data(0)[size_t(y) * b.Pitch(0) + x];
            sum += d * d;
        }
    const double mse = sum / (double(w) * h);
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

}  // namespace filtertest
