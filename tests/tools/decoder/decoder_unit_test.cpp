// The decoder's own rules on made-up indexes and streams: which pictures make each frame for
// every field operation, where decoding starts for an open GOP, and the cutting of the stream
// into numbered pictures.
#include <gtest/gtest.h>

#include "FieldMap.h"
#include "PictureSplitter.h"
#include "PictureTable.h"

namespace {

using decoder::FieldOperation;
using decoder::FrameFields;
using decoder::MapFrames;
using decoder::PictureTable;

constexpr uint8_t I = 1, P = 2, B = 3, kTff = 0x04, kRff = 0x08, kProg = 0x10, kPair = 0x20;

media::VideoIndex Index(const std::vector<std::pair<uint8_t, std::vector<uint8_t>>>& entries) {
    media::VideoIndex index;
    for (const auto& [flags, pictures] : entries) {
        media::IndexEntry entry;
        entry.flags = flags;
        for (uint8_t p : pictures) entry.pictures.push_back({p});
        index.entries.push_back(entry);
    }
    return index;
}

std::vector<FrameFields> Map(const media::VideoIndex& index, FieldOperation op,
                             bool progressiveSequence = false) {
    return MapFrames(PictureTable(index), op, progressiveSequence);
}

// Four film pictures with 3:2 pulldown flags, all intra so that display order is coded order.
const media::VideoIndex kCadence =
    Index({{5, {I | kProg | kTff | kRff, I | kProg, I | kProg | kRff, I | kProg | kTff}}});

TEST(FieldMap, PulldownGivesFiveFramesOfFour) {
    EXPECT_EQ(Map(kCadence, FieldOperation::None),
              (std::vector<FrameFields>{
                  {0, 0, true}, {0, 1, true}, {1, 2, true}, {2, 2, true}, {3, 3, true}}));
    EXPECT_EQ(Map(kCadence, FieldOperation::ForcedFilm),
              (std::vector<FrameFields>{{0, 0, true}, {1, 1, false}, {2, 2, false}, {3, 3, true}}));
}

// Fields one later: each frame takes a picture's second field and the next picture's first; the
// last picture is served whole so that the count stays.
TEST(FieldMap, SwappedOrderPairsOneFieldLater) {
    const media::VideoIndex video = Index({{5, {I, I, I}}});  // bottom field first, interlaced
    EXPECT_EQ(Map(video, FieldOperation::None),
              (std::vector<FrameFields>{{0, 0, false}, {1, 1, false}, {2, 2, false}}));
    EXPECT_EQ(Map(video, FieldOperation::SwapOrder),
              (std::vector<FrameFields>{{0, 1, true}, {1, 2, true}, {2, 2, true}}));
}

// Two top fields in a row (a cadence cut at a splice) cannot be woven: the first is passed
// over and the pairs after it stay whole. A progressive sequence repeats whole frames.
TEST(FieldMap, BrokenCadenceAndProgressiveSequence) {
    EXPECT_EQ(Map(Index({{5, {I | kTff | kRff, I | kTff}}}), FieldOperation::None),
              (std::vector<FrameFields>{{0, 0, true}, {1, 1, true}}));
    EXPECT_EQ(Map(Index({{5, {I | kTff | kRff, I}}}), FieldOperation::None, true).size(), 4u);
}

// Coded I0 B1 B2 P3 | I4 B5 B6 P7, both GOPs open: shown B1 B2 I0 P3 B5 B6 I4 P7.
TEST(PictureTable, OpenGopsStartAtTheGopBefore) {
    const PictureTable open(Index({{4, {I, B, B, P}}, {4, {I, B, B, P}}}));
    EXPECT_EQ(open.CodedOf(0), 1);
    EXPECT_EQ(open.CodedOf(6), 4);
    EXPECT_EQ(open.Served(0), 2);  // no reference before the first GOP: its I picture instead
    EXPECT_EQ(open.Served(4), 4);
    EXPECT_EQ(open.StartEntryFor(4), 0);
    EXPECT_EQ(open.StartEntryFor(6), 1);
    EXPECT_EQ(open.FirstValid(1), 6);
    const PictureTable broken(Index({{4, {I, B, B, P}}, {6, {I, B, B, P}}}));
    EXPECT_EQ(broken.Served(4), 6);
    const PictureTable closed(Index({{4, {I, B, B, P}}, {5, {I, B, B, P}}}));
    EXPECT_EQ(closed.StartEntryFor(4), 1);
    EXPECT_EQ(closed.FirstValid(1), 4);
}

// Start codes, each followed by `payload` bytes that hold no start code.
std::vector<uint8_t> Stream(std::initializer_list<uint8_t> codes, int payload) {
    std::vector<uint8_t> bytes;
    for (uint8_t code : codes) {
        bytes.insert(bytes.end(), {0, 0, 1, code});
        for (int i = 0; i < payload; ++i) bytes.push_back(uint8_t(0x80 + i));
    }
    return bytes;
}

// The pieces hold every byte once, in order; a field pair is one piece; headers go with the
// picture after them; the numbers follow the entries, and are lost when an entry is.
TEST(PictureSplitter, CutsAtPicturesAndNumbersByEntry) {
    const media::VideoIndex index = Index({{5, {I, B, P | kPair}}, {1, {I}}});
    const auto first = Stream({0xB3, 0xB5, 0xB8, 0, 0xB5, 1, 2, 0, 1, 0, 1, 0, 1}, 9);
    const auto second = Stream({0xB8, 0, 1, 0xB7}, 5);
    decoder::PictureSplitter splitter;
    splitter.BeginEntry(index.entries[0], 0);
    for (size_t i = 0; i < first.size(); i += 3)
        splitter.Feed(first.data() + i, std::min<size_t>(3, first.size() - i));
    splitter.BeginEntry(index.entries[1], 3);
    splitter.Feed(second.data(), second.size());
    splitter.LoseCount();
    splitter.Feed(second.data(), second.size());
    splitter.Finish();

    std::vector<uint8_t> joined, all = first;
    std::vector<int> tags;
    for (const auto& piece : splitter.Ready()) {
        joined.insert(joined.end(), piece.bytes.begin(), piece.bytes.end());
        tags.push_back(piece.tag);
    }
    EXPECT_EQ(tags, (std::vector<int>{0, 1, 2, 3, -1}));
    all.insert(all.end(), second.begin(), second.end());
    all.insert(all.end(), second.begin(), second.end());
    EXPECT_EQ(joined, all);
    EXPECT_EQ(splitter.Ready()[0].bytes.size(), 7 * 13u);  // headers, picture, extension, slices
    EXPECT_EQ(splitter.Ready()[2].bytes.size(), 4 * 13u);  // both fields
}

}  // namespace
