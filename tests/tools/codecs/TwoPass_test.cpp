// Both passes of each codec over the 20-second movie, for targets from very tight to generous:
// the second pass's video bytes land within 1 % under the target and decode cleanly.
#include <cmath>
#include <cstdio>

#include "CodecTestEnv.h"

namespace codec_testing {
namespace {

// Targets as shares of the first pass's bytes (coded at quantizer 2).
constexpr double kShares[] = {0.08, 0.15, 0.35, 0.7};
constexpr double kSeconds = 20.0;

class TwoPass : public CodecTest {
  protected:
    const ClipFormat movie_{640, 352, 25, 1, 500, true};

    CodecResult Pass(const std::string& handler, const std::string& out) {
        Codec codec(handler);
        return Compress(codec, Clip("movie.yuv"), movie_, out.empty() ? "" : File(out));
    }

    void CheckFirstPass(const CodecResult& result, const std::string& log) {
        ASSERT_TRUE(result.Ok()) << result.error;
        EXPECT_EQ(result.frames.size(), 500u);
        const std::string text = testing_support::ReadAll(log);
        EXPECT_NE(text.find("\n# clip 640x352 25/1 frames 500\n"), std::string::npos);
        EXPECT_EQ(DecodeProblems(File("first.m4v")), "");
    }

    void Row(const char* codec, double share, double target, const CodecResult& result) {
        const double ratio = double(result.bytes) / target;
        std::printf("%-5s %5.0f %% of the first pass: target %10.0f bytes, got %10llu (%.3f %%)\n",
                    codec, share * 100, target, static_cast<unsigned long long>(result.bytes),
                    ratio * 100);
        EXPECT_TRUE(result.Ok()) << result.error;
        EXPECT_LE(ratio, 1.0);
        EXPECT_GE(ratio, 0.99);
    }
};

TEST_F(TwoPass, XvidLandsWithinOnePercentUnderTheSize) {
    const std::string stats = File("movie_codec.log");
    WriteXvid(XvidParams(1, stats));
    const CodecResult first = Pass("xvid", "first.m4v");
    CheckFirstPass(first, stats);
    for (double share : kShares) {
        TXviDCodecParams second = XvidParams(2, stats);
        second.DesiredSize = int32_t(std::lround(first.bytes * share / 1024));
        // The planner's limit after a first pass that came out 1 / share times too large.
        second.MaxIQuant = second.MaxPQuant = int32_t(std::ceil(2 / (share - 0.01)));
        WriteXvid(second);
        const CodecResult result = Pass("xvid", share == kShares[0] ? "second.m4v" : "");
        Row("XviD", share, second.DesiredSize * 1024.0, result);
    }
    EXPECT_EQ(DecodeProblems(File("second.m4v")), "");
}

TEST_F(TwoPass, DivxLandsWithinOnePercentUnderTheBitrate) {
    const std::string log = File("movie_codec.log");
    WriteDivx(DivxParams(2, log));
    const CodecResult first = Pass("divx", "first.m4v");
    CheckFirstPass(first, log);
    for (double share : kShares) {
        TDivXCodecParams second = DivxParams(3, log);
        second.TargetBitrate = int32_t(std::lround(first.bytes * 8 * share / kSeconds));
        WriteDivx(second);
        const CodecResult result = Pass("divx", share == kShares[0] ? "second.m4v" : "");
        Row("DivX", share, second.TargetBitrate * kSeconds / 8, result);
    }
    EXPECT_EQ(DecodeProblems(File("second.m4v")), "");
}

}  // namespace
}  // namespace codec_testing
