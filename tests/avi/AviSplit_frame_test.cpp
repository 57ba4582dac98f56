// Where the next part begins: the size estimate, the key-frame rule and the ends of the file.
#include <gtest/gtest.h>

#include "avi/AviSplit.h"
#include "avi/AviTestFile.h"
#include "support/TestEnv.h"

namespace {

using avitest::AviPlan;
using avitest::TestChunk;

constexpr int64_t kMiB = 1048576;
constexpr int64_t kOverhead = 24;

// Opens a sparse file made of `chunks`, in the "idx1" form or the OpenDML form.
class SplitFile {
  public:
    explicit SplitFile(std::vector<TestChunk> chunks, bool openDml = false) {
        AviPlan plan;
        plan.chunks = std::move(chunks);
        plan.sparse = true;
        if (openDml) {
            plan.superIndex = true;
            plan.idx1 = false;
        }
        const auto avi = avitest::MakeAvi(plan);
        moviStart_ = avi.moviStart;
        avi.bytes.WriteTo(dir_.File("f.avi"));
        EXPECT_TRUE(search_.Open(dir_.File("f.avi"))) << search_.LastError();
        EXPECT_EQ(search_.MoviStart(), moviStart_);
    }
    int32_t Find(int32_t start, int32_t mib) const { return search_.FindSplitFrame(start, mib); }
    int64_t MoviStart() const { return moviStart_; }

  private:
    testing_support::TempDir dir_;
    TAVISplitSearch search_;
    int64_t moviStart_ = 0;
};

// Video frames of `size` bytes, key frames every `gop` frames.
std::vector<TestChunk> Gops(int frames, int gop, uint32_t size) {
    std::vector<TestChunk> out;
    for (int n = 0; n < frames; ++n) out.push_back({0, size, n % gop == 0});
    return out;
}

// The size that makes `chunks` equal-sized chunks fill exactly `bytes` with their overhead.
uint32_t SizeFor(int64_t bytes, int chunks) {
    return uint32_t(bytes / chunks - kOverhead);
}

TEST(AviSplitFrame, CutsAtTheLastKeyFrameBeforeTheLimitInBothIndexForms) {
    for (bool openDml : {false, true}) {
        // 26 chunks pass one MiB, 25 do not: the 26th chunk (frame 25) reaches the limit.
        const SplitFile probe(Gops(1, 1, 0));
        const uint32_t size = SizeFor(kMiB - probe.MoviStart(), 26) + 1;
        const SplitFile f(Gops(100, 10, size), openDml);
        EXPECT_EQ(f.Find(0, 1), 20) << openDml;
        EXPECT_EQ(f.Find(20, 1), 40) << openDml;  // the start chunk counts: 21..45 reach it
        EXPECT_EQ(f.Find(0, 1), 20) << "the index is left as it was";
    }
}

TEST(AviSplitFrame, LimitIsReachedAtEqualityNotBefore) {
    const SplitFile probe(Gops(1, 1, 0));
    const int64_t room = kMiB - probe.MoviStart();
    // Frames 0..19 of equal size, then frame 20 (a key frame) and more.
    auto exact = Gops(40, 10, 1000);
    const int64_t before19 = 19 * (1000 + kOverhead);
    exact[19].size = uint32_t(room - before19 - kOverhead);  // frame 19 reaches exactly one MiB
    EXPECT_EQ(SplitFile(exact).Find(0, 1), 10);
    exact[19].size -= 1;  // one byte short: frame 20 reaches it, and is itself the key frame
    EXPECT_EQ(SplitFile(exact).Find(0, 1), 20);
}

TEST(AviSplitFrame, AudioChunksCountInTheSizeButNotAsFrames) {
    const SplitFile probe(Gops(1, 1, 0));
    std::vector<TestChunk> chunks;
    for (int n = 0; n < 60; ++n) {
        chunks.push_back({1, 20000, false});
        chunks.push_back({0, 10000, n % 5 == 0});
    }
    // Every pair adds 30048 bytes: the limit falls on the audio chunk of pair k.
    const int64_t pair = 20000 + 10000 + 2 * kOverhead;
    const int64_t room = kMiB - probe.MoviStart();
    const int reachPair = int((room + pair - 1) / pair) - 1;  // pair whose chunks cross the limit
    const int64_t afterAudio = probe.MoviStart() + reachPair * pair + 20000 + kOverhead;
    const int lastFrameInPart = afterAudio >= kMiB ? reachPair - 1 : reachPair;
    EXPECT_EQ(SplitFile(chunks).Find(0, 1), lastFrameInPart / 5 * 5);
}

TEST(AviSplitFrame, StartFrameOpensThePartAndKeyFramesCountOnlyAfterIt) {
    const SplitFile probe(Gops(1, 1, 0));
    const uint32_t size = SizeFor(kMiB - probe.MoviStart(), 10);  // ten chunks fill one MiB
    std::vector<TestChunk> chunks = Gops(60, 5, size);
    // Audio before the start frame is not part of the part.
    chunks.insert(chunks.begin() + 20, {1, uint32_t(2 * kMiB), false});
    const SplitFile f(chunks);
    EXPECT_EQ(f.Find(20, 1), 25);  // frames 20..29 reach the limit; 25 is the last key frame
    EXPECT_EQ(f.Find(22, 1), 30);  // frames 22..31; 30 is after the start
}

TEST(AviSplitFrame, WithoutAKeyFrameAfterTheStartThePartRunsToTheNextOne) {
    const SplitFile probe(Gops(1, 1, 0));
    const uint32_t size = SizeFor(kMiB - probe.MoviStart(), 4);
    std::vector<TestChunk> chunks = Gops(30, 1000, size);  // one key frame, at 0
    chunks[17].key = true;
    const SplitFile f(chunks);
    // Neither 0 (an empty first part) nor a frame before the start (overlapping parts).
    EXPECT_EQ(f.Find(0, 1), 17);
    EXPECT_EQ(f.Find(5, 1), 17);
    EXPECT_EQ(f.Find(17, 1), 30) << "no key frame follows: the rest is one part";
    EXPECT_EQ(f.Find(20, 1), 30);
}

TEST(AviSplitFrame, WhenTheRestFitsThePartEndsAfterTheLastFrame) {
    std::vector<TestChunk> chunks = Gops(50, 10, 1000);
    chunks.push_back({1, 500, false});  // trailing audio
    const SplitFile f(chunks);
    EXPECT_EQ(f.Find(0, 700), 50);
    EXPECT_EQ(f.Find(-3, 700), 50);
    EXPECT_EQ(f.Find(30, 700), 50);
    EXPECT_EQ(f.Find(49, 700), 50);
    EXPECT_EQ(f.Find(50, 700), 50) << "a start past the last frame leaves nothing to split";
    EXPECT_EQ(f.Find(1000000, 700), 50);
}

TEST(AviSplitFrame, SizesBeyondTwoGibibytesAreNotWrappedAround) {
    // 30 frames of 100 MiB: 2100 MiB are reached by the 21st chunk (frame 20).
    const SplitFile f(Gops(30, 5, uint32_t(100 * kMiB)));
    EXPECT_EQ(f.Find(0, 2100), 20);
    EXPECT_EQ(f.Find(0, 2047), 20);
    EXPECT_EQ(f.Find(0, 700), 5);
}

TEST(AviSplitFrame, ThreePartsFollowEachOtherOnKeyFrames) {
    std::vector<TestChunk> chunks;
    for (int n = 0; n < 3000; ++n) {
        chunks.push_back({0, uint32_t(n % 12 == 0 ? 9000 : 1500 + (n * 37) % 900), n % 12 == 0});
        if (n % 3 == 0) chunks.push_back({1, 600, false});
    }
    for (bool openDml : {false, true}) {
        const SplitFile f(chunks, openDml);
        const int32_t first = f.Find(0, 3);
        const int32_t second = f.Find(first, 3);
        const int32_t third = f.Find(second, 3);
        EXPECT_GT(first, 0);
        EXPECT_GT(second, first);
        EXPECT_GT(third, second);
        for (int32_t cut : {first, second, third}) {
            if (cut < 3000) {
                EXPECT_EQ(cut % 12, 0) << cut;
            }
        }
    }
}

}  // namespace
