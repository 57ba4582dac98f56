// The shared VOB reader on streams built byte by byte: packs and packets, damage, video headers
// split anywhere, the index model and its file, the VOB sequence.
#include <gtest/gtest.h>

#include "MediaBytes.h"
#include "media/IndexBuilder.h"
#include "media/IndexFile.h"
#include "media/PackReader.h"
#include "media/VideoScanner.h"
#include "media/VobSequence.h"
#include "support/TestEnv.h"

namespace {

using namespace media_test;

struct Read {
    std::vector<media::PesPacket> packets;
    std::vector<Bytes> payloads;
    std::vector<std::string> warnings;
};

Read ReadAll(const Bytes& stream) {
    media::MemorySource source(stream, "test.vob");
    Read r;
    media::PackReader reader(source, [&](const std::string& w) { r.warnings.push_back(w); });
    for (media::PesPacket p; reader.Next(p);) {
        r.packets.push_back(p);
        r.payloads.emplace_back(p.data, p.data + p.size);
    }
    return r;
}

TEST(PackReader, PacketsWithTheirStampsSubStreamsAndPlaces) {
    Bytes s = Pack(0xE0, {1, 2, 3}, 90000);
    const size_t second = s.size();
    Append(s, Pack(0xBD, {0x01, 0x00, 0x01, 0x0B, 0x77}, 0x1FFFFFFFF, 0x80));
    Append(s, {0, 0, 1, 0xBE, 0, 3, 0xFF, 0xFF, 0xFF});  // padding
    const size_t mpeg1 = s.size();
    // An MPEG-1 pack and packet: stuffing, then a time stamp of the old form.
    Append(s, {0, 0, 1, 0xBA, 0x21, 0, 1, 0, 1, 0x80, 0, 1, 0, 0, 1, 0xC0, 0, 8, 0xFF, 0xFF});
    Append(s, Timestamp(0x20, 3003));
    Append(s, {9});
    Append(s, {0, 0, 1, 0xB9});
    const Read r = ReadAll(s);
    EXPECT_TRUE(r.warnings.empty());
    ASSERT_EQ(r.packets.size(), 3u);
    EXPECT_EQ(r.packets[0].streamId, 0xE0);
    EXPECT_EQ(r.packets[0].pts, 90000);
    EXPECT_EQ(r.payloads[0], (Bytes{1, 2, 3}));
    EXPECT_EQ(r.packets[0].packOffset, 0);
    EXPECT_EQ(r.packets[0].dataOffset, static_cast<int64_t>(second - 3));
    EXPECT_EQ(r.packets[1].subId, 0x80);
    EXPECT_EQ(r.packets[1].pts, 0x1FFFFFFFF);
    EXPECT_EQ(r.payloads[1], (Bytes{0x01, 0x00, 0x01, 0x0B, 0x77}));
    EXPECT_EQ(r.packets[1].packOffset, static_cast<int64_t>(second));
    EXPECT_EQ(r.packets[2].streamId, 0xC0);
    EXPECT_EQ(r.packets[2].pts, 3003);
    EXPECT_EQ(r.payloads[2], Bytes{9});
    EXPECT_EQ(r.packets[2].packOffset, static_cast<int64_t>(mpeg1));
}

TEST(PackReader, DamageIsSkippedWithAWarningAndNothingBeyondTheEndIsRead) {
    Bytes s = Pack(0xE0, {1});
    const std::string at = "at offset " + std::to_string(s.size()) + ".";
    Bytes garbage(1000, 0x55);
    garbage[100] = 0, garbage[101] = 0, garbage[102] = 1, garbage[103] = 0xBA;  // bad markers
    Append(s, garbage);
    Append(s, Pack(0xC0, {2}));
    Bytes cut = Pack(0xE0, {3, 3, 3, 3});
    cut.resize(cut.size() - 2);
    Append(s, cut);
    const Read r = ReadAll(s);
    ASSERT_EQ(r.packets.size(), 2u);
    EXPECT_FALSE(r.packets[0].afterDamage);
    EXPECT_TRUE(r.packets[1].afterDamage);
    EXPECT_EQ(r.payloads[1], Bytes{2});
    ASSERT_EQ(r.warnings.size(), 2u);
    EXPECT_EQ(r.warnings[0], "Skipped 1000 bytes that are not a pack, from test.vob " + at);
    EXPECT_NE(r.warnings[1].find("cut short"), std::string::npos);

    // Beyond the scan limit the rest of the stream is given up, with a warning.
    Bytes far = Pack(0xE0, {1});
    far.resize(far.size() + media::PackReader::kResyncLimit + 4096, 0);
    Append(far, Pack(0xE0, {2}));
    const Read f = ReadAll(far);
    EXPECT_EQ(f.packets.size(), 1u);
    ASSERT_EQ(f.warnings.size(), 1u);
    EXPECT_NE(f.warnings[0].find("No pack header within 16 MiB"), std::string::npos);
}

// The headers of a stream fed in packets of `size` bytes, each packet at its stream offset.
std::vector<media::VideoHeader> Scan(const Bytes& es, size_t size,
                                     const std::vector<int64_t>& stamped = {}) {
    media::VideoScanner scanner;
    std::vector<media::VideoHeader> headers;
    for (size_t at = 0; at < es.size(); at += size) {
        media::PesPacket p;
        p.offset = p.packOffset = p.dataOffset = static_cast<int64_t>(at);
        p.data = es.data() + at;
        p.size = std::min(size, es.size() - at);
        for (int64_t s : stamped)
            if (s >= static_cast<int64_t>(at) && s < static_cast<int64_t>(at + p.size)) p.pts = s;
        scanner.Feed(p, headers);
    }
    return headers;
}

Bytes FieldStream() {
    Bytes es = Picture(2, 3, false, false, false);  // before any sequence header: not indexed
    Append(es, SequenceHeader());
    Append(es, SequenceExtension());
    Append(es, Gop(true));
    Append(es, Picture(1, 2, false, false, false));  // bottom field first...
    Append(es, Picture(2, 1, false, false, false));  // ...and its top field: one picture
    Append(es, Picture(3, 3, true, true, true));
    Append(es, Gop(false));
    Append(es, Picture(1, 3, false, false, false));
    Append(es, {0, 0, 1, 0xB7});
    return es;
}

TEST(VideoScanner, HeadersSplitAnywhereAreFoundOnceAtTheirStartCodes) {
    const Bytes es = FieldStream();
    std::vector<int64_t> starts;  // every header start code in the stream
    for (size_t i = 0; i + 3 < es.size(); ++i)
        if (es[i] == 0 && es[i + 1] == 0 && es[i + 2] == 1 && es[i + 3] != 0x01)
            starts.push_back(i);
    const auto whole = Scan(es, es.size());
    ASSERT_EQ(whole.size(), starts.size());
    for (size_t size : {1, 2, 3, 5, 7}) {
        SCOPED_TRACE(size);
        const auto split = Scan(es, size, {starts[5]});
        ASSERT_EQ(split.size(), whole.size());
        for (size_t i = 0; i < split.size(); ++i) {
            EXPECT_EQ(split[i].kind, whole[i].kind);
            EXPECT_EQ(split[i].place.packetOffset + split[i].place.skip, starts[i]);
            // A time stamp belongs to the picture whose start code begins in its packet.
            EXPECT_EQ(split[i].pts, i == 5 ? starts[5] : -1);
        }
    }
}

TEST(IndexBuilder, EntriesAtSequenceAndGopHeadersWithFieldPairsJoined) {
    media::VobSequence none;
    std::vector<std::string> warnings;
    media::IndexBuilder builder(
        none, [&](const std::string& w) { warnings.push_back(w); }, 0xE0);
    for (const auto& h : Scan(FieldStream(), 3)) builder.Add(h);
    const media::VideoIndex& index = builder.Index();
    EXPECT_EQ(builder.SkippedPictures(), 1);
    EXPECT_EQ(index.format.width, 720);
    EXPECT_EQ(index.format.frameRateCode, 4);
    EXPECT_TRUE(index.format.mpeg2);
    ASSERT_EQ(index.entries.size(), 2u);
    const media::IndexEntry& first = index.entries[0];
    EXPECT_EQ(first.flags, media::IndexEntry::kSequenceHeader | media::IndexEntry::kClosedGop);
    EXPECT_EQ(first.position.offset, static_cast<int64_t>(Picture(2, 3, 0, 0, 0).size()) / 3 * 3);
    ASSERT_EQ(first.pictures.size(), 2u);
    EXPECT_EQ(first.pictures[0].flags, 1 | media::IndexPicture::kFieldPair);  // bottom first
    EXPECT_EQ(first.pictures[1].flags, 3 | media::IndexPicture::kTopFieldFirst |
                                           media::IndexPicture::kRepeatFirstField |
                                           media::IndexPicture::kProgressiveFrame);
    EXPECT_EQ(index.entries[1].flags, 0);
    EXPECT_EQ(index.PictureCount(), 3);
    EXPECT_EQ(media::DisplayOrder(index), (std::vector<int64_t>{1, 0, 2}));
}

TEST(IndexFile, WrittenAndReadBackWithThePlannersRewrites) {
    media::IndexFile file;
    file.frameRate = 29970;
    file.options = "-IA=3 -FO=0";
    file.files = {"/my dvd/VTS_01_1.VOB", "/my dvd/VTS_01_2.VOB"};
    file.filmPercent = 99.5;
    file.video.format = {0xE0, 720, 480, 2, 4, true, false, 1};
    media::IndexEntry entry;
    entry.flags = 5;
    entry.position = {1, 4096};
    entry.skip = 12;
    entry.pts = 90000;
    entry.pictures = {{0x1d}, {0x13}};
    file.video.entries = {entry, entry};
    const std::string text = media::IndexText(file);
    EXPECT_NE(text.find("\r\n5 1 4096 12 90000 1d 13 ff\r\n\r\nFINISHED  99.50% FILM\r\n"),
              std::string::npos);
    std::string rewritten = text;
    rewritten.replace(rewritten.find("Field_Operation=0"), 17, "Field_Operation=1");
    rewritten.replace(rewritten.find("Frame_Rate=29970"), 16, "Frame_Rate=23976");
    const media::IndexFile back = media::ParseIndexText(rewritten, "x.d2v");
    EXPECT_EQ(back.fieldOperation, 1);
    EXPECT_EQ(back.frameRate, 23976);
    EXPECT_EQ(back.files, file.files);
    EXPECT_EQ(back.video.format.aspectCode, 2);
    EXPECT_DOUBLE_EQ(back.filmPercent, 99.5);
    ASSERT_EQ(back.video.entries.size(), 2u);
    EXPECT_EQ(back.video.entries[1].position, (media::StreamPosition{1, 4096}));
    EXPECT_EQ(back.video.entries[1].pictures[0].flags, 0x1d);

    for (const auto& [from, to] : std::vector<std::pair<std::string, std::string>>{
             {"5 1 4096", "5 2 4096"}, {" ff\r\n", "\r\n"}, {" 13 ff", " 1g ff"}}) {
        std::string bad = text;
        bad.replace(bad.rfind(from), from.size(), to);
        try {
            media::ParseIndexText(bad, "x.d2v");
            ADD_FAILURE() << to;
        } catch (const media::MediaError& e) {
            EXPECT_NE(std::string(e.what()).find("x.d2v is damaged at line "), std::string::npos)
                << e.what();
        }
    }
}

TEST(VobSequence, FollowersByNumberInAnyLetterCaseUpToAGap) {
    testing_support::TempDir dir;
    dir.Write("VTS_01_1.VOB", "aaaa");
    dir.Write("vts_01_2.vob", "");
    dir.Write("VTS_01_3.VOB", "bb");
    dir.Write("VTS_01_5.VOB", "cc");
    dir.Write("VTS_02_4.VOB", "dd");
    std::vector<std::string> warnings;
    const auto seq = media::FindVobSequence(dir.File("VTS_01_1.VOB"),
                                            [&](const std::string& w) { warnings.push_back(w); });
    ASSERT_EQ(seq.Files().size(), 3u);
    EXPECT_EQ(seq.Files()[1].path, dir.File("vts_01_2.vob"));
    EXPECT_EQ(seq.TotalSize(), 6);
    EXPECT_EQ(seq.PositionOf(4), (media::StreamPosition{2, 0}));  // past the empty file
    EXPECT_EQ(seq.OffsetOf({2, 1}), 5);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], dir.File("VTS_01_5.VOB") +
                               " and any later VOB files are not read: VTS_01_4.VOB is missing "
                               "before them.");
    EXPECT_EQ(media::FindVobSequence(dir.File("VTS_01_3.VOB"), [](auto&) {}).Files().size(), 1u);
    EXPECT_THROW(media::FindVobSequence(dir.File("VTS_09_1.VOB"), [](auto&) {}), media::MediaError);
}

}  // namespace
