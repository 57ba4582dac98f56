#include "TitleHarness.h"

#include <cmath>
#include <filesystem>

#include "support/GeneratedMedia.h"

namespace filtertest {

namespace fs = std::filesystem;

Title ClipTitle(const std::string& folder, const std::string& name) {
    return {folder + "/" + name + ".y4m", name != "letterbox"};
}

Server::Server() : api_(std::make_unique<HostApi>()) {
    std::string whyNot;
    if (!api_->Load(testing_support::DistDir() + "/system/avisynth.dll", whyNot))
        throw std::runtime_error(whyNot);
}

Server::~Server() {
    api_->close(static_cast<FsScript*>(script_));
}

std::string Server::Open(const std::string& scriptPath) {
    api_->close(static_cast<FsScript*>(script_));
    FsScript* s = api_->open(scriptPath.c_str());
    script_ = s;
    std::string error = api_->lastError(s);
    FsVideoInfo info{};
    if (error.empty() && api_->videoInfo(s, &info) != 0) error = api_->lastError(s);
    frames_ = info.frame_count, width_ = info.width, height_ = info.height;
    rate_ = info.fps_denominator ? double(info.fps_numerator) / info.fps_denominator : 0;
    return error;
}

std::shared_ptr<fsrv::Frame> Server::Frame(int n) {
    const FsFrame* f = api_->getFrame(static_cast<FsScript*>(script_), n);
    if (!f) throw std::runtime_error(api_->lastError(static_cast<FsScript*>(script_)));
    auto copy = std::make_shared<fsrv::Frame>(f->width[0], f->height[0]);
    for (int p = 0; p < 3; ++p)
        for (int y = 0; y < f->height[p]; ++y)
            std::copy_n(f->data[p] + size_t(y) * f->pitch[p], f->width[p],
                        copy->Data(p) + size_t(y) * copy->Pitch(p));
    api_->releaseFrame(f);
    return copy;
}

std::string Server::ServeAll() {
    for (int n = 0; n < frames_; ++n) {
        const FsFrame* f = api_->getFrame(static_cast<FsScript*>(script_), n);
        if (!f) return api_->lastError(static_cast<FsScript*>(script_));
        api_->releaseFrame(f);
    }
    return "";
}

void TitleCase::SetUp() {
    const auto media = testing_support::MakeMedia(FILTER_MEDIA_SCRIPT, "filters");
    if (!media.SkipReason.empty()) GTEST_SKIP() << media.SkipReason;
    ASSERT_EQ(media.Error, "");
    clips_ = media.Folder;
    // The installation's plugins, and the test source under the decoder's name.
    fs::create_directories(dir_.File("filters"));
    for (const auto& entry : fs::directory_iterator(testing_support::DistDir() + "/filters"))
        fs::copy_file(entry.path(), dir_.File("filters/" + entry.path().filename().string()));
    fs::copy_file(FILTER_SOURCE_PLUGIN, dir_.File("filters/mpeg2dec3dg.dll"),
                  fs::copy_options::overwrite_existing);
    env_.ProgramDir = dir_.Path();
    env_.HasSSE = true;
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
