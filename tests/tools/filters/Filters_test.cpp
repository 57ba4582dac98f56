// The filters' own rules on small made-up pictures: the decimation's choices and reports, the
// order in which the field matching's guide asks for frames, the crop arithmetic, the subtitle
// index settings and the log writer. The comb test and the field
// matching are judged on real titles (Titles_test.cpp).
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "autocrop/Borders.h"
#include "chr/WriteLine.h"
#include "decomb/Decimate.h"
#include "decomb/Telecide.h"
#include "support/TestEnv.h"
#include "vsfilter/VobSubSettings.h"

namespace {

using namespace fsrv;

using Picture = std::function<int(int x, int y)>;

std::shared_ptr<Frame> Make(int w, int h, const Picture& luma) {
    auto f = std::make_shared<Frame>(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) f->Data(kY)[size_t(y) * f->Pitch(kY) + x] = uint8_t(luma(x, y));
    for (int p : {kU, kV})
        for (int y = 0; y < h / 2; ++y)
            std::fill_n(f->Data(p) + size_t(y) * f->Pitch(p), w / 2, 128);
    return f;
}

// Flat frames of the given levels, so that the metric of a pair is their difference less the
// noise allowance.
class Levels final : public Clip {
  public:
    explicit Levels(std::vector<int> levels) : levels_(std::move(levels)) {
        info_.width = info_.height = 64;
        info_.frameCount = int(levels_.size());
        info_.fpsNumerator = 30000, info_.fpsDenominator = 1001;
    }
    const VideoInfo& Info() const override { return info_; }
    bool GetParity(int) override { return true; }
    FramePtr GetFrame(int n) override {
        return Make(64, 64, [&](int, int) { return levels_[size_t(Clamp(n))]; });
    }

  private:
    std::vector<int> levels_;
    VideoInfo info_;
};

class DebugHost final : public Host {
  public:
    void AddFunction(const std::string&, const std::string&, Function) override {}
    int CurrentFrame() const override { return -1; }
    void DebugString(const std::string& text) override { strings.push_back(text); }
    std::vector<std::string> strings;
};

// A film cycle (frame 3 repeats frame 2), a video cycle (every frame differs by 40), and a short
// last cycle.
std::vector<int> Decimated(int mode, double threshold, DebugHost& host, VideoInfo* info = nullptr) {
    const auto clip = std::make_shared<Levels>(
        std::vector<int>{0, 40, 80, 80, 120, 160, 200, 240, 20, 60, 100, 140});
    ivtc::Decimate d(clip, {5, mode, threshold, true}, host);
    if (info) *info = d.Info();
    std::vector<int> out;
    for (int n = 0; n < d.Info().frameCount; ++n) out.push_back(d.GetFrame(n)->Data(kY)[0]);
    return out;
}

TEST(Decimate, EachModeTreatsFilmAndVideoCyclesAsItShould) {
    DebugHost host;
    VideoInfo info;
    EXPECT_EQ(Decimated(0, 0, host, &info),
              (std::vector<int>{0, 40, 80, 120, 200, 240, 20, 60, 100, 140}));
    EXPECT_EQ(info.fpsNumerator * 1001u, info.fpsDenominator * 24000u);
    // Mode 3: the film cycle drops its repeat, the video cycle's 5 frames blend into 4.
    EXPECT_EQ(Decimated(3, 1.0, host),
              (std::vector<int>{0, 40, 80, 120, 160, 210, 130, 50, 100, 140}));
    // Mode 1: the repeat becomes the mean of its neighbours; video passes.
    EXPECT_EQ(Decimated(1, 1.0, host),
              (std::vector<int>{0, 40, 80, 100, 120, 160, 200, 240, 20, 60, 100, 140}));
}

TEST(Decimate, ReportsEachFrameOnceInThreeItems) {
    DebugHost host;
    Decimated(0, 0, host);
    Decimated(0, 0, host);                // a second clip reports again
    ASSERT_EQ(host.strings.size(), 20u);  // the two cycles of five; the short one is not measured
    EXPECT_EQ(host.strings[0], "Decimate: 0: 37.000000");  // frame 0 against frame 1
    EXPECT_EQ(host.strings[3], "Decimate: 3: 0.000000");
    EXPECT_EQ(host.strings[8], "Decimate: 8: 217.000000");
}

// Records the order in which frames are first asked for.
class FirstAsked final : public PassThroughClip {
  public:
    using PassThroughClip::PassThroughClip;
    FramePtr GetFrame(int n) override {
        if (std::find(order.begin(), order.end(), n) == order.end()) order.push_back(n);
        return child_->GetFrame(n);
    }
    std::vector<int> order;
};

// A still picture leaves every match doubtful, so the guide decides the frames a cycle or two
// away. Their frames are asked for in display order, which a decoder going on through the title
// serves without starting again.
TEST(Telecide, TheGuideAsksForItsFramesInDisplayOrder) {
    const auto asked = std::make_shared<FirstAsked>(std::make_shared<Levels>(std::vector(100, 90)));
    ivtc::Telecide telecide(asked, {1, 1, 0, 0, 30});
    telecide.GetFrame(50);
    ASSERT_GE(asked->order.size(), 4u);
    EXPECT_EQ(asked->order[0], 50);  // the frame's own match first
    EXPECT_EQ(asked->order[2], 40);
    EXPECT_TRUE(std::is_sorted(asked->order.begin() + 2, asked->order.end()));
    EXPECT_EQ(asked->order.back(), 61);
}

TEST(AutoCrop, BordersAndShapes) {
    // 720x576 with 72 dark lines above and below and one bright speck in the top border.
    const auto frame = Make(720, 576, [](int x, int y) {
        if (y == 10 && x == 300) return 255;
        return y < 72 || y >= 504 ? 16 + (x + y) % 8 : 120;
    });
    const autocrop::Borders b = autocrop::MeasureBorders(*frame, 35);
    EXPECT_EQ(b.top, 72);
    EXPECT_EQ(b.bottom, 72);
    EXPECT_EQ(b.left, 0);
    const autocrop::Rect picture = autocrop::PictureRect(b, 720, 576, 4, 4);
    EXPECT_EQ(picture.height, 432);
    // The shape the movie script asks for: a little narrower, centred.
    const autocrop::Rect shaped = autocrop::ShapeRect(picture, 1.66193181818182, 4, 4);
    EXPECT_EQ(shaped.left, 2);
    EXPECT_EQ(shaped.width, 716);
    EXPECT_EQ(shaped.height, 432);
    // A wider shape cuts the height instead; odd borders round inward to even edges and the
    // multiples share the cut.
    const autocrop::Rect wide = autocrop::ShapeRect({0, 0, 720, 432}, 2.0, 4, 4);
    EXPECT_EQ(wide.top, 36);
    EXPECT_EQ(wide.height, 360);
    const autocrop::Rect odd = autocrop::PictureRect({3, 5, 3, 7, false}, 720, 576, 16, 16);
    EXPECT_EQ(odd.left % 2 + odd.top % 2, 0);
    EXPECT_EQ(odd.width, 704);
    EXPECT_EQ(odd.height, 560);
    // A black frame tells nothing.
    const autocrop::Borders blank =
        autocrop::MeasureBorders(*Make(64, 64, [](int, int) { return 16; }), 35);
    EXPECT_TRUE(blank.blank);
    EXPECT_EQ(autocrop::Narrowest(blank, b).top, 72);
}

TEST(VobSubSettings, KnownLinesAreReadAndDamagedOnesWarnedAbout) {
    std::vector<std::string> warnings;
    const subrender::VobSubSettings s = subrender::ReadSettings(
        {"# VobSub index file, v7 (do not modify this line!)", "size: 720x480", "org: 8, 4",
         "alpha: 80%", "time offset: -120", "forced subs: ON",
         "palette: 000000, ffffff, 808080, ff0000, 00ff00, 0000ff, 111111, 222222, 333333, "
         "444444, 555555, 666666, 777777, 888888, 999999, aaaaaa",
         "langidx: 1", "size: lots", "palette: 000000, zz", "langidx: 40"},
        "t.idx", warnings);
    EXPECT_EQ(std::vector<int64_t>({s.width, s.height, s.originX, s.alphaPercent, s.timeOffsetMs,
                                    s.forcedOnly, s.hasPalette, s.palette[3], s.langidx}),
              std::vector<int64_t>({720, 480, 8, 80, -120, true, true, 0xff0000, 1}));
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_EQ(warnings[0], "t.idx line 9: \"size: lots\" cannot be read and is left out");
}

TEST(WriteLine, AppendsWholeLinesAndNamesTheFileItCannotWrite) {
    testing_support::TempDir dir;
    const std::string log = dir.File("interlace.log");
    logwrite::WriteLine(log, "true-false", true);
    logwrite::WriteLine(log, "false-true", true);
    EXPECT_EQ(testing_support::ReadAll(log), "true-false\r\nfalse-true\r\n");
    logwrite::WriteLine(log, "again", false);
    EXPECT_EQ(testing_support::ReadAll(log), "again\r\n");
    const std::string missing = dir.File("no folder/interlace.log");
    try {
        logwrite::WriteLine(missing, "x", true);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "write: " + missing + " cannot be opened: No such file or directory");
    }
}

}  // namespace
