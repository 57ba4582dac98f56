// The split search on AVI files written by ffmpeg, checked against what ffprobe reads in them.
#include <gtest/gtest.h>

#include "avi/AviMedia.h"
#include "avi/AviSplit.h"

namespace {

using avimedia::Chunk;

class MediaCase : public testing::Test {
  protected:
    void Load(const std::string& name) {
        std::string why;
        const std::string dir = avimedia::MediaDir(why);
        if (dir.empty()) GTEST_SKIP() << why;
        chunks_ = avimedia::ChunksOf(avimedia::ReadPackets(dir + "/" + name + ".packets"));
        ASSERT_TRUE(search_.Open(dir + "/" + name + ".avi")) << search_.LastError();
    }
    int32_t Frames() const {
        int32_t n = 0;
        for (const Chunk& c : chunks_) n += c.kind != kChunkOther;
        return n;
    }
    bool IsKey(int32_t frame) const {
        int32_t n = 0;
        for (const Chunk& c : chunks_) {
            if (c.kind == kChunkOther) continue;
            if (n++ == frame) return c.kind == kChunkKeyFrame;
        }
        return false;
    }
    void ExpectIndexAsRead(bool openDml) const {
        EXPECT_EQ(search_.UsedOpenDmlIndex(), openDml);
        EXPECT_EQ(search_.IsOpenDml(), openDml);
        EXPECT_EQ(search_.MoviStart(), chunks_.front().pos - 8);
        const TMyIndex& index = search_.Index();
        ASSERT_EQ(index.size(), chunks_.size());
        for (size_t k = 0; k < chunks_.size(); ++k) {
            ASSERT_EQ(index[k].Kind, chunks_[k].kind) << k;
            ASSERT_EQ(index[k].Size, chunks_[k].size) << k;
            if (openDml && chunks_[k].pos >= 0) {
                ASSERT_EQ(index[k].Offset, chunks_[k].pos) << k;
            }
        }
    }
    // One cut: as the independent reading predicts, and on a key frame the reader saw.
    int32_t CheckedCut(int32_t start, int32_t sizeMiB) const {
        const int32_t cut = search_.FindSplitFrame(start, sizeMiB);
        EXPECT_EQ(cut, avimedia::ExpectedSplit(chunks_, search_.MoviStart(), start, sizeMiB))
            << "from " << start << " with " << sizeMiB << " MiB";
        EXPECT_GT(cut, start);
        if (cut < Frames()) {
            EXPECT_TRUE(IsKey(cut)) << cut;
        }
        return cut;
    }

    std::vector<Chunk> chunks_;
    TAVISplitSearch search_;
};

// Files of a few MiB with "idx1": cut into parts of one to three MiB.
class AviSplitMedia : public MediaCase, public testing::WithParamInterface<std::string> {
  protected:
    void SetUp() override { Load(GetParam()); }
};

TEST_P(AviSplitMedia, IndexHoldsTheChunksTheIndependentReaderSees) {
    ExpectIndexAsRead(false);
}

TEST_P(AviSplitMedia, CutsFollowOneAnotherOnKeyFrames) {
    for (int32_t sizeMiB : {1, 2, 3}) {
        int32_t start = 0, parts = 0;
        while (start < Frames() && parts++ < 1000) start = CheckedCut(start, sizeMiB);
        EXPECT_EQ(start, Frames());
        EXPECT_GT(parts, 1) << sizeMiB;
    }
}

// Over 1.4 GiB, with an "AVIX" RIFF and OpenDML indexes.
class AviSplitLargeMedia : public MediaCase {
  protected:
    void SetUp() override { Load("big"); }
};

TEST_F(AviSplitLargeMedia, IndexHoldsTheChunksOfEveryRiff) {
    ExpectIndexAsRead(true);
    EXPECT_GT(search_.SuperIndex().size(), 2u);
}

TEST_F(AviSplitLargeMedia, TwoAndThreeCdSplitsCutOnKeyFrames) {
    // The loop of the split stage: parts of 700 MiB (two CDs) or 701 MiB (three CDs) while the
    // parts so far and 2 MiB of slack are short of the file's size.
    const int64_t fileSize = search_.FileSize();
    for (int64_t partSize : {int64_t(734003200), int64_t(735051776)}) {
        int32_t start = 0;
        int parts = 0;
        for (int64_t n = 1; (n - 1) * partSize + 2097152 < fileSize; ++n, ++parts)
            start = CheckedCut(start, 700);
        EXPECT_EQ(parts, 3);
        EXPECT_EQ(start, Frames()) << "the last part ends with the last frame";
    }
}

INSTANTIATE_TEST_SUITE_P(Files, AviSplitMedia, testing::Values("gop25", "forced", "ac3", "mp3"),
                         [](const auto& info) { return info.param; });

}  // namespace
