// Test sources for the frame server while the decoder plugin does not exist: mpeg2source()
// reads a YUV4MPEG2 file that ffmpeg wrote (so the planner's scripts run unchanged on it, with
// the .y4m in place of the index), and Pattern() makes frames from a formula.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "frameserver_plugin.h"

namespace {

using namespace fsrv;

class Y4mSource final : public Clip {
  public:
    explicit Y4mSource(const std::string& path) : file_(path, std::ios::binary), path_(path) {
        std::string header;
        if (!std::getline(file_, header) || header.rfind("YUV4MPEG2 ", 0) != 0)
            throw Error("mpeg2source: " + path + " is no YUV4MPEG2 file");
        std::istringstream items(header.substr(10));
        for (std::string item; items >> item;) Item(item);
        header_ = header.size() + 1;
        frameBytes_ = size_t(info_.width) * info_.height * 3 / 2;
        file_.seekg(0, std::ios::end);
        info_.frameCount = int((size_t(file_.tellg()) - header_) / (frameBytes_ + 6));
        if (info_.width <= 0 || info_.height <= 0 || info_.frameCount <= 0)
            throw Error("mpeg2source: " + path + " has no frames");
    }
    const VideoInfo& Info() const override { return info_; }
    bool GetParity(int) override { return topFirst_; }
    FramePtr GetFrame(int n) override {
        n = Clamp(n);
        file_.clear();
        file_.seekg(std::streamoff(header_ + size_t(n) * (frameBytes_ + 6)));
        char marker[6];
        file_.read(marker, 6);
        if (std::string(marker, 6) != "FRAME\n")
            throw Error("mpeg2source: " + path_ + ": frame " + std::to_string(n) + " is damaged");
        auto f = std::make_shared<Frame>(info_.width, info_.height);
        for (int p = 0; p < 3; ++p)
            for (int y = 0; y < f->Height(p); ++y)
                file_.read(reinterpret_cast<char*>(f->Data(p) + size_t(y) * f->Pitch(p)),
                           f->Width(p));
        return f;
    }

  private:
    void Item(const std::string& item) {
        if (item[0] == 'W') info_.width = std::stoi(item.substr(1));
        if (item[0] == 'H') info_.height = std::stoi(item.substr(1));
        if (item[0] == 'F')
            std::sscanf(item.c_str(), "F%u:%u", &info_.fpsNumerator, &info_.fpsDenominator);
        if (item == "It") topFirst_ = true;
    }
    std::ifstream file_;
    std::string path_;
    VideoInfo info_;
    size_t header_ = 0;
    size_t frameBytes_ = 0;
    bool topFirst_ = false;
};

// Y = x + 2y + 5n, U = x + n, V = y + 3n (all mod 256); even frames top field first.
class Pattern final : public Clip {
  public:
    Pattern(int width, int height, int frames) {
        info_.width = width;
        info_.height = height;
        info_.frameCount = frames;
        info_.fpsNumerator = 30000;
        info_.fpsDenominator = 1001;
    }
    const VideoInfo& Info() const override { return info_; }
    bool GetParity(int n) override { return Clamp(n) % 2 == 0; }
    FramePtr GetFrame(int n) override {
        n = Clamp(n);
        auto f = std::make_shared<Frame>(info_.width, info_.height);
        const int k[3][3] = {{1, 2, 5}, {1, 0, 1}, {0, 1, 3}};
        for (int p = 0; p < 3; ++p)
            for (int y = 0; y < f->Height(p); ++y)
                for (int x = 0; x < f->Width(p); ++x)
                    f->Data(p)[size_t(y) * f->Pitch(p) + x] =
                        uint8_t(k[p][0] * x + k[p][1] * y + k[p][2] * n);
        return f;
    }

  private:
    VideoInfo info_;
};

}  // namespace

FRAMESERVER_PLUGIN(host) {
    host.AddFunction("mpeg2source", "s", [](const Args& a, Host&) {
        return Value(ClipPtr(std::make_shared<Y4mSource>(a[0].AsString())));
    });
    host.AddFunction("Pattern", "[width]i[height]i[frames]i", [](const Args& a, Host&) {
        return Value(
            ClipPtr(std::make_shared<Pattern>(a[0].AsInt(64), a[1].AsInt(48), a[2].AsInt(100))));
    });
}
