// The clips behind the built-in functions: the frame cache under temporal reads and a budget,
// and the resizers against ffmpeg's scale filter with the same kernel.
#include <gtest/gtest.h>

#include <fstream>

#include "ScriptHarness.h"
#include "clips/FrameCache.h"

namespace {

using namespace fsrv;

// Counts the frames it makes.
class CountingClip final : public Clip {
  public:
    explicit CountingClip(std::shared_ptr<int> reads) : reads_(std::move(reads)) {
        info_.width = 16;
        info_.height = 16;
        info_.frameCount = 30;
    }
    const VideoInfo& Info() const override { return info_; }
    bool GetParity(int) override { return false; }
    FramePtr GetFrame(int) override {
        ++*reads_;
        return std::make_shared<Frame>(16, 16);
    }

  private:
    std::shared_ptr<int> reads_;
    VideoInfo info_;
};

// A frame of raw 4:2:0 at `index` in `path`, as planes without padding.
std::vector<uint8_t> RawFrame(const std::string& path, int width, int height, int index) {
    const size_t bytes = size_t(width) * height * 3 / 2;
    std::ifstream in(path, std::ios::binary);
    in.seekg(std::streamoff(bytes * index));
    std::vector<uint8_t> data(bytes);
    in.read(reinterpret_cast<char*>(data.data()), std::streamsize(bytes));
    return in ? data : std::vector<uint8_t>();
}

std::vector<uint8_t> Packed(const Frame& f) {
    std::vector<uint8_t> data;
    for (int p = 0; p < 3; ++p)
        for (int y = 0; y < f.Height(p); ++y)
            data.insert(data.end(), f.Data(p) + size_t(y) * f.Pitch(p),
                        f.Data(p) + size_t(y) * f.Pitch(p) + f.Width(p));
    return data;
}

}  // namespace

// The analysis script reads frame n and n-1 of the same clip for every frame: with the cache
// each source frame is made once.
TEST(Clips, TemporalReadsMakeEachSourceFrameOnce) {
    auto run = fstest::RunScript("Pattern()");
    auto reads = std::make_shared<int>(0);
    run.interpreter->AddFunction("Counting", "", [reads](const Args&, Host&) {
        return Value(ClipPtr(std::make_shared<CountingClip>(reads)));
    });
    const ClipPtr clip = run.interpreter->Run(
        "global src = Counting()\n"
        "FrameEvaluate(src, \"global d = YDifferenceFromPrevious(src) + "
        "UDifferenceFromPrevious(src)\")\n");
    for (int n = 0; n < 30; ++n) clip->GetFrame(n);
    EXPECT_EQ(*reads, 30);
}

TEST(Clips, TheCacheKeepsToItsBudgetButAlwaysTheNewestFrame) {
    FrameCache cache(100000);
    const uint32_t id = cache.NewClipId();
    for (int n = 0; n < 50; ++n) cache.Insert(id, n, std::make_shared<Frame>(128, 96));
    EXPECT_LE(cache.UsedBytes(), 100000u);
    EXPECT_NE(cache.Find(id, 49), nullptr);
    EXPECT_EQ(cache.Find(id, 0), nullptr);
    cache.SetBudget(1);
    EXPECT_NE(cache.Find(id, 49), nullptr);
    EXPECT_EQ(cache.Find(id, 48), nullptr);
}

// ffmpeg's scale filter takes whole-number kernel parameters only (see the media script), so
// the bicubic case uses b=1 c=0; that the fractions reach the scaler is checked on its own.
TEST(Clips, ResizersMatchFfmpegScaleWithTheSameKernel) {
    const std::string folder = fstest::ClipsFolder();
    if (folder.empty()) GTEST_SKIP() << "ffmpeg is missing";
    const std::string source = "mpeg2source(\"" + folder + "/clip.y4m\")\n";
    const struct {
        const char* resize;
        const char* reference;
        int width, height;
    } cases[] = {{"LanczosResize(480,272)", "lanczos.yuv", 480, 272},
                 {"BicubicResize(240,160,1,0)", "bicubic.yuv", 240, 160}};
    for (const auto& c : cases) {
        auto run = fstest::RunScript(source + c.resize);
        ASSERT_EQ(run.error, "");
        for (int n = 0; n < 4; ++n) {
            const auto expected = RawFrame(folder + "/" + c.reference, c.width, c.height, n);
            ASSERT_FALSE(expected.empty()) << c.reference;
            const auto served = Packed(*run.clip->GetFrame(n));
            ASSERT_EQ(served.size(), expected.size());
            size_t differ = 0;
            int worst = 0;
            for (size_t i = 0; i < served.size(); ++i) {
                differ += served[i] != expected[i];
                worst = std::max(worst, std::abs(served[i] - expected[i]));
            }
            EXPECT_EQ(differ, 0u) << c.resize << " frame " << n << ", largest difference " << worst;
        }
    }
}

TEST(Clips, BicubicTakesFractionalParameters) {
    auto a = fstest::RunScript("BicubicResize(Pattern(), 32, 24, 0, 0.5)");
    auto b = fstest::RunScript("BicubicResize(Pattern(), 32, 24, 0, 0)");
    ASSERT_EQ(a.error + b.error, "");
    EXPECT_FALSE(Packed(*a.clip->GetFrame(0)) == Packed(*b.clip->GetFrame(0)));
}
