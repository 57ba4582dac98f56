// Both passes of each codec over the 20-second movie, for targets from very tight to generous:
// the second pass's video bytes land within 1 % under the target and decode cleanly.
#include <cmath>
#include <cstdio>
#include <functional>

#include "CodecTestEnv.h"

namespace codec_testing {
namespace {

// Targets as shares of the first pass's bytes (coded at quantizer 2).
constexpr double kShares[] = {0.08, 0.15, 0.35, 0.7};
constexpr double kSeconds = 20.0;

class TwoPass : public CodecTest {
  protected:
    // Runs the first pass, then a second pass for each share; `second` writes the second pass's
    // settings for a share of the first pass's bytes and returns the target in bytes.
    void Passes(const char* codec, const std::string& handler,
                const std::function<double(double, uint64_t)>& second) {
        const ClipFormat movie{640, 352, 25, 1, 500, true};
        const CodecResult first =
            Compress(Codec(handler), Clip("movie.yuv"), movie, File("first.m4v"));
        ASSERT_TRUE(first.Ok()) << first.error;
        EXPECT_EQ(first.frames.size(), 500u);
        const std::string log = testing_support::ReadAll(File("movie_codec.log"));
        EXPECT_NE(log.find("\n# clip 640x352 25/1 frames 500\n"), std::string::npos);
        EXPECT_EQ(DecodeProblems(File("first.m4v")), "");
        for (double share : kShares) {
            const double target = second(share, first.bytes);
            const std::string out = share == kShares[0] ? File("second.m4v") : "";
            const CodecResult result = Compress(Codec(handler), Clip("movie.yuv"), movie, out);
            const double ratio = double(result.bytes) / target;
            std::printf(
                "%-5s %3.0f %% of the first pass: target %9.0f bytes, got %9llu (%.3f %%)\n", codec,
                share * 100, target, static_cast<unsigned long long>(result.bytes), ratio * 100);
            EXPECT_TRUE(result.Ok()) << result.error;
            EXPECT_LE(ratio, 1.0);
            EXPECT_GE(ratio, 0.99);
        }
        EXPECT_EQ(DecodeProblems(File("second.m4v")), "");
    }
};

TEST_F(TwoPass, XvidLandsWithinOnePercentUnderTheSize) {
    const std::string stats = File("movie_codec.log");
    WriteXvid(XvidParams(1, stats));
    Passes("XviD", "xvid", [&](double share, uint64_t firstBytes) {
        TXviDCodecParams second = XvidParams(2, stats);
        second.DesiredSize = int32_t(std::lround(firstBytes * share / 1024));
        // The planner's limit after a first pass that came out 1 / share times too large.
        second.MaxIQuant = second.MaxPQuant = int32_t(std::ceil(2 / (share - 0.01)));
        WriteXvid(second);
        // The target is the video stream's size in its AVI, whose chunks cost 24.5 bytes a frame.
        return second.DesiredSize * 1024.0 - 24.5 * 500;
    });
}

TEST_F(TwoPass, DivxLandsWithinOnePercentUnderTheBitrate) {
    const std::string log = File("movie_codec.log");
    WriteDivx(DivxParams(2, log));
    Passes("DivX", "divx", [&](double share, uint64_t firstBytes) {
        TDivXCodecParams second = DivxParams(3, log);
        second.TargetBitrate = int32_t(std::lround(firstBytes * 8 * share / kSeconds));
        WriteDivx(second);
        return second.TargetBitrate * kSeconds / 8;
    });
}

}  // namespace
}  // namespace codec_testing
