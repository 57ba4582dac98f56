// The compressibility measurement, the AVI file information and the first pass's evaluation.
#include <gtest/gtest.h>

#include "DecideFakes.h"
#include "encoder/rules/Decisions.h"
#include "encoder/rules/FrameSizes.h"
#include "util/VFW.h"

namespace {

std::vector<std::string> Numbered(int n) {
    std::vector<std::string> lines;
    for (int i = 0; i < n; ++i) lines.push_back("K" + std::to_string(i));
    return lines;
}

TEST(DecideFrameSizes, EachCodecSamplesTheMiddleOfItsCycle) {
    // XviD: lines 3..11 and 18..26 of 30.
    const TFrameSizes xvid = SumFrameSizes(Numbered(30), 15, SampleEdgeFrames(kCodecXviD), "f");
    EXPECT_EQ(xvid.Count, 18);
    EXPECT_EQ(xvid.Sum, (3 + 11) * 9 / 2 + (18 + 26) * 9 / 2);
    // DivX: lines 1..12 and 15..26 of 28.
    const TFrameSizes divx = SumFrameSizes(Numbered(28), 14, SampleEdgeFrames(kCodecDivX), "f");
    EXPECT_EQ(divx.Count, 24);
    EXPECT_EQ(divx.Sum, (1 + 12) * 12 / 2 + (15 + 26) * 12 / 2);
    // The first pass counts everything.
    EXPECT_EQ(SumFrameSizes({"X12345", "K1"}, 0, 0, "f").Sum, 12346);
}

TEST(DecideFrameSizes, DamagedLinesNameTheFileAndLine) {
    for (const char* bad : {"K12a", "", "K", "K-5", "K99999999999999999999"}) {
        std::vector<std::string> lines = Numbered(15);
        lines[4] = bad;
        try {
            SumFrameSizes(lines, 15, 3, "/t/frames.log");
            ADD_FAILURE() << "accepted \"" << bad << "\"";
        } catch (const std::runtime_error& e) {
            EXPECT_NE(std::string(e.what()).find("/t/frames.log"), std::string::npos);
            EXPECT_NE(std::string(e.what()).find("line 5"), std::string::npos);
        }
    }
    // Sizes whose sum in bits could not be held are damage, not a huge movie.
    EXPECT_THROW(SumFrameSizes({"K5605726491141326619", "K5605726491141326619"}, 0, 0, "f"),
                 std::runtime_error);
    // Lines outside the sample are not read at all.
    std::vector<std::string> lines = Numbered(15);
    lines[0] = lines[14] = "garbage";
    EXPECT_EQ(SumFrameSizes(lines, 15, 3, "f").Count, 9);
}

TEST(DecideAviInfo, MainHeaderAndDamage) {
    testing_support::TempDir dir;
    const std::string path = dir.File("t.avi");
    for (bool junk : {false, true}) {
        ASSERT_TRUE(platform::WriteFileText(path, TinyAvi(640, 272, junk)));
        AVIFileInit();
        PAVIFILE file;
        ASSERT_EQ(AVIFileOpenA(file, path, OF_READ), AVIERR_OK);
        AVIFILEINFOA info;
        ASSERT_EQ(AVIFileInfoA(file, &info, sizeof info), AVIERR_OK);
        EXPECT_EQ(info.dwWidth, 640u);
        EXPECT_EQ(info.dwHeight, 272u);
        EXPECT_EQ(AVIFileRelease(file), 0u);
        EXPECT_EQ(AVIFileInfoA(file, &info, sizeof info), AVIERR_BADHANDLE);
        AVIFileExit();
    }
    PAVIFILE file;
    std::string why;
    EXPECT_EQ(AVIFileOpenA(file, dir.File("none.avi"), OF_READ, &why), AVIERR_FILEOPEN);
    EXPECT_NE(why.find("none.avi"), std::string::npos);
    const std::string good = TinyAvi(640, 272);
    std::string pastEnd = good;
    pastEnd.replace(16, 4, Le32Bytes(0x7FFFFFF0));  // the header list claims more than there is
    std::string wrongType = good;
    wrongType.replace(8, 4, "WAVE");
    for (const std::string& bad :
         {std::string("RIFF"), good.substr(0, 40), pastEnd, wrongType, std::string(200, '\xff')}) {
        ASSERT_TRUE(platform::WriteFileText(path, bad));
        EXPECT_EQ(AVIFileOpenA(file, path, OF_READ, &why), AVIERR_BADFORMAT);
        EXPECT_FALSE(file);
        EXPECT_NE(why.find(path), std::string::npos);
    }
}

class DecideMeasureTest : public DecideRunTest {
  protected:
    std::unique_ptr<TMXEncoder> Run(uint8_t codec) {
        TEncRecord job = TestJob(Output());
        job.Codec = codec;
        auto run = std::make_unique<TMXEncoder>(job, false);
        run->Source.FrameCount = 1000;
        return run;
    }
};

TEST_F(DecideMeasureTest, BudgetMatchingTheSampleGivesOne) {
    auto run = Run(kCodecXviD);
    // Every sampled frame is 4352 bytes: 34816 bits over 640x272 = 0.2 bits per pixel.
    ASSERT_TRUE(platform::WriteFileText(run->TempFolder() + "frames.log",
                                        FramesLog(std::vector<int64_t>(30, 4352))));
    ASSERT_TRUE(platform::WriteFileText(run->TempFile("_comptest.avi"), TinyAvi(640, 272)));
    run->Budget.VideoSize = 4352 * 1000;
    kMeasureCompTest.Work(*run);
    EXPECT_NEAR(run->CompTest.CompAspect, 2.3529411, 1e-6);
    EXPECT_DOUBLE_EQ(run->CompTest.CompBitsPerPixel, 0.2);
    EXPECT_DOUBLE_EQ(run->CompTest.CompRatio, 1.0);
    EXPECT_EQ(HeightFor(640, run->CompTest.CompAspect), 272);
    EXPECT_EQ(HeightFor(704, run->CompTest.CompAspect), 304);  // 299.2 -> 299, remainder 11 goes up
}

TEST_F(DecideMeasureTest, FaultsEndTheMeasurement) {
    auto run = Run(kCodecDivX);
    run->Budget.VideoSize = 1000000;
    EXPECT_THROW(kMeasureCompTest.Work(*run), std::runtime_error);  // no frames.log at all
    // Only the frames the sampling skips: nothing to average.
    ASSERT_TRUE(platform::WriteFileText(run->TempFolder() + "frames.log", FramesLog({100})));
    EXPECT_THROW(kMeasureCompTest.Work(*run), std::runtime_error);
    ASSERT_TRUE(platform::WriteFileText(run->TempFolder() + "frames.log",
                                        FramesLog(std::vector<int64_t>(14, 100))));
    try {
        kMeasureCompTest.Work(*run);
        ADD_FAILURE() << "measured without a test output";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Open avi failed.");
    }
    EXPECT_NE(run->JobLog.back().find(run->TempFile("_comptest.avi")), std::string::npos);
    ASSERT_TRUE(platform::WriteFileText(run->TempFile("_comptest.avi"), TinyAvi(0, 272)));
    EXPECT_THROW(kMeasureCompTest.Work(*run), std::runtime_error);
}

TEST_F(DecideMeasureTest, FirstPassSizesSetTheQuantizerLimits) {
    struct Row {
        int64_t total;
        const char* line;
        int32_t limit;
    };
    for (const Row row : {Row{1000000, "Expected quality of first pass size: 100.00", 3},
                          Row{2000000, "Expected quality of first pass size: 50.00", 5}}) {
        auto run = Run(kCodecXviD);
        run->Budget.VideoSize = 1000000;
        ASSERT_TRUE(platform::WriteFileText(run->TempFolder() + "frames.log",
                                            FramesLog({row.total / 2, row.total / 2})));
        EvaluateFirstPass(*run);
        EXPECT_EQ(Story(run->JobLog), std::vector<std::string>{row.line});
        EXPECT_EQ(run->Plan.XviDParams.MaxIQuant, row.limit);
        EXPECT_EQ(run->Plan.XviDParams.MaxPQuant, row.limit);
    }
    auto divx = Run(kCodecDivX);
    EvaluateFirstPass(*divx);  // no frames.log needed
    EXPECT_TRUE(divx->JobLog.empty());

    auto tooBig = Run(kCodecXviD);
    tooBig->Budget.VideoSize = 1;  // q far below 0.01: no limit
    ASSERT_TRUE(platform::WriteFileText(tooBig->TempFolder() + "frames.log", FramesLog({1000})));
    EXPECT_THROW(EvaluateFirstPass(*tooBig), std::runtime_error);
    ASSERT_TRUE(platform::WriteFileText(tooBig->TempFolder() + "frames.log", ""));
    EXPECT_THROW(EvaluateFirstPass(*tooBig), std::runtime_error);
}

}  // namespace
