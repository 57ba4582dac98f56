// The subtitle library's rules on their own: the command tails, the parameter file, joining and
// packing subpicture units, the index text, and the cells a chain plays.
#include <gtest/gtest.h>

#include <set>

#include "ConfigureParams.h"
#include "CutterArgs.h"
#include "IfoTitle.h"
#include "IndexText.h"
#include "RundllLine.h"
#include "SpuAssembler.h"
#include "SubPacks.h"
#include "SubpictureSource.h"
#include "media/ByteSource.h"
#include "tools/media/MediaBytes.h"

namespace {

using namespace subtitles;

std::string ErrorOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

// A plausible unit of `size` bytes: its size, then a control sequence in its last four bytes.
std::vector<uint8_t> Unit(size_t size, uint8_t fill) {
    std::vector<uint8_t> unit(size, fill);
    unit[0] = uint8_t(size >> 8), unit[1] = uint8_t(size);
    unit[2] = uint8_t((size - 4) >> 8), unit[3] = uint8_t(size - 4);
    return unit;
}

TEST(ConfigureParams, PlannerLinesAndMissingOnes) {
    std::vector<std::string> warnings;
    const ConfigureParams p = ParseConfigureParams(
        "/in/VTS_01_0.ifo\r\n/out/mx_tmp/Mein Film\r\n3\r\n0\r\n0 2 cc\r\nCLOSE\r\n", "p",
        warnings);
    EXPECT_EQ(p.base, "/out/mx_tmp/Mein Film");
    EXPECT_EQ(p.chain, 3);
    EXPECT_EQ(p.streams, (std::vector<int>{0, 2}));
    EXPECT_TRUE(warnings.empty());
    EXPECT_EQ(ErrorOf([&] { ParseConfigureParams("/a.ifo\n/b\n1\n0\n", "p", warnings); }),
              "p line 5 (the subpicture streams): the line is missing");
    EXPECT_NE(ErrorOf([&] {
                  ParseConfigureParams("/a\n/b\n1\n0\n32 cc\nCLOSE\n", "p", warnings);
              }).find("\"32\" is not a number from 0 to 31"),
              std::string::npos);
}

TEST(CutterArgs, PlannerTailWithBlanksAndTimeTexts) {
    const auto exists = [](const std::string& p) { return p == "/out/Mein Film.idx"; };
    const CutterArgs a =
        ParseCutterTail("/out/Mein Film /out/Mein Film.cd2 1 00:05:03.045 00:10:00.000", exists);
    EXPECT_EQ(a.source, "/out/Mein Film");
    EXPECT_EQ(a.part, "/out/Mein Film.cd2");
    EXPECT_EQ(a.startMs, 303045);
    EXPECT_EQ(a.endMs, 600000);
    const CutterArgs quoted =
        ParseCutterTail("\"/a b/m\" \"/a b/m.cd1\" 1 0:0:0.0 0:0:1.5", exists);
    EXPECT_EQ(quoted.part, "/a b/m.cd1");
    EXPECT_EQ(quoted.endMs, 1500);
    EXPECT_NE(ErrorOf([&] { ParseCutterTail("/a /b 2 0:0:0.0 0:0:1.0", exists); }), "");
    EXPECT_NE(ErrorOf([&] { ParseCutterTail("/a /b 1 0:0:2.0 0:0:1.0", exists); }), "");
    EXPECT_NE(ErrorOf([&] { ParseCutterTail("/a /b 1 0:0 0:0:1.0", exists); }), "");
    EXPECT_NE(ErrorOf([&] { ParseCutterTail("1 0:0:0.0 0:0:1.0", exists); }), "");
}

TEST(RundllLine, LibraryEndsAtTheCommaBeforeWhichItExists) {
    const auto exists = [](const std::string& p) {
        return p == "/my dvd,tools/vobsub.dll" || p == "/x/v.dll";
    };
    const std::string tail = TailAfterProgram(
        "\"/sys dir/rundll32\"  /my dvd,tools/vobsub.dll,"
        "Configure /tmp dir/vobsub.params");
    const auto call = ParseRundllTail(tail, exists);
    ASSERT_TRUE(call);
    EXPECT_EQ(call->library, "/my dvd,tools/vobsub.dll");
    EXPECT_EQ(call->entry, "Configure");
    EXPECT_EQ(call->rest, "/tmp dir/vobsub.params");
    const auto quoted = ParseRundllTail("\"/x/v.dll,Cutter\" \"a b\" 1", exists);
    ASSERT_TRUE(quoted);
    EXPECT_EQ(quoted->entry, "Cutter");
    EXPECT_EQ(quoted->rest, "\"a b\" 1");
    EXPECT_FALSE(ParseRundllTail("/x/v.dll Configure", exists));
    EXPECT_FALSE(ParseRundllTail("/x/v.dll,", exists));
}

TEST(SpuAssembler, JoinsPiecesAndDropsDamage) {
    const std::vector<uint8_t> unit = Unit(5000, 0x11);
    const auto piece = [&](size_t from, size_t to) {
        return std::vector<uint8_t>(unit.begin() + long(from), unit.begin() + long(to));
    };
    SpuAssembler joiner;
    std::vector<std::string> warnings;
    EXPECT_FALSE(joiner.Add({3, -1, piece(0, 10)}, warnings));  // continues nothing
    EXPECT_FALSE(joiner.Add({3, 9000, piece(0, 2000)}, warnings));
    EXPECT_TRUE(joiner.Add({4, 9100, Unit(8, 0)}, warnings));  // another stream between
    EXPECT_FALSE(joiner.Add({3, -1, piece(2000, 4000)}, warnings));
    const auto whole = joiner.Add({3, -1, piece(4000, 5000)}, warnings);
    ASSERT_TRUE(whole);
    EXPECT_EQ(whole->bytes, unit);
    EXPECT_EQ(whole->pts, 9000);
    EXPECT_EQ(warnings.size(), 1u);
    // A control sequence past the unit's end; a unit cut short by the next one.
    std::vector<uint8_t> badControl = Unit(100, 0);
    badControl[2] = 0xFF;
    EXPECT_FALSE(joiner.Add({3, 1, badControl}, warnings));
    EXPECT_FALSE(joiner.Add({3, 2, piece(0, 2000)}, warnings));
    EXPECT_TRUE(joiner.Add({3, 3, Unit(8, 0)}, warnings));
    EXPECT_EQ(warnings.size(), 3u);
}

TEST(SubPacks, UnitsReadBackFromTheirPacks) {
    const std::vector<uint8_t> big = Unit(5000, 0x22), small = Unit(30, 0x33);
    std::string sub;
    AppendUnitPacks(sub, 1, 90000, big);
    const size_t second = sub.size();
    AppendUnitPacks(sub, 2, 180000, small);
    EXPECT_EQ(sub.size() % kPackSize, 0u);
    EXPECT_EQ(sub.size() / kPackSize, 4u);
    SubBitmaps bitmaps({sub.begin(), sub.end()}, "m.sub");
    std::string problem;
    const auto first = bitmaps.ReadUnitAt(0, 1, problem);
    ASSERT_TRUE(first) << problem;
    EXPECT_EQ(first->bytes, big);
    EXPECT_EQ(first->pts, 90000);
    const auto other = bitmaps.ReadUnitAt(second, 2, problem);
    ASSERT_TRUE(other) << problem;
    EXPECT_EQ(other->bytes, small);
    EXPECT_FALSE(bitmaps.ReadUnitAt(100, 1, problem));
    EXPECT_EQ(problem, "no pack starts at offset 100");
    EXPECT_FALSE(bitmaps.ReadUnitAt(kPackSize, 1, problem));  // the middle of a unit
    EXPECT_FALSE(bitmaps.ReadUnitAt(uint64_t(1) << 62, 1, problem));
    SubBitmaps cut({sub.begin(), sub.begin() + 3000}, "cut.sub");
    EXPECT_FALSE(cut.ReadUnitAt(0, 1, problem));
    EXPECT_NE(problem.find("cut.sub at offset "), std::string::npos) << problem;
}

TEST(IndexText, RoundTripAndLinesThatCannotBeRead) {
    SubtitleIndex index;
    index.header = {kIndexSignature, "", "langidx: 0"};
    index.streams = {{"en", 0, {{200, 0}, {3723004, 0x123456800}}}, {std::string(300, 'x'), 5, {}}};
    std::vector<std::string> warnings;
    const SubtitleIndex back = ParseIndex(IndexText(index), "x.idx", warnings);
    EXPECT_EQ(back.header, index.header);
    ASSERT_EQ(back.streams.size(), 2u);
    EXPECT_EQ(back.streams[0].entries[1].timeMs, 3723004);
    EXPECT_EQ(back.streams[0].entries[1].filepos, 0x123456800u);
    EXPECT_EQ(back.streams[1].number, 5);
    EXPECT_EQ(back.streams[1].language, std::string(300, 'x'));
    EXPECT_TRUE(warnings.empty());

    const SubtitleIndex bad =
        ParseIndex(std::string(kIndexSignature) +
                       "\ntimestamp: 00:00:01:000, filepos: 0\n"
                       "id: en, index: 40\ntimestamp: 00:00:02:000, filepos: 0\n"
                       "id: de, index: 1\ntimestamp: 00:00:03:000, filepos: zz\n"
                       "timestamp: 00:00:04:000, filepos: 800\n",
                   "x.idx", warnings);
    ASSERT_EQ(bad.streams.size(), 1u);
    EXPECT_EQ(bad.streams[0].entries.size(), 1u);
    EXPECT_EQ(warnings.size(), 3u);
    EXPECT_NE(ErrorOf([&] { ParseIndex("id: en, index: 0\n", "y.idx", warnings); }), "");
}

TEST(TitleCells, OneCellOfEachAngleBlockOnTheTimeline) {
    IfoChain chain;
    const auto cell = [](uint8_t mode, uint8_t type, uint32_t ms, uint8_t id) {
        IfoCell c;
        c.blockMode = mode, c.blockType = type, c.playbackMs = ms, c.cellId = id;
        return c;
    };
    chain.cells = {cell(0, 0, 1000, 1), cell(1, 1, 500, 2), cell(2, 1, 500, 3), cell(3, 1, 500, 4),
                   cell(0, 0, 700, 5)};
    const std::vector<TitleCell> played = CellsToPlay(chain, 2, "t.ifo");
    ASSERT_EQ(played.size(), 3u);
    EXPECT_EQ(played[1].cell.cellId, 3);
    EXPECT_EQ(played[2].startMs, 1500);
    EXPECT_EQ(CellsToPlay(chain, 0, "t.ifo")[1].cell.cellId, 2);
    EXPECT_NE(ErrorOf([&] { CellsToPlay(chain, 4, "t.ifo"); }).find("no angle 4"),
              std::string::npos);
    std::array<uint32_t, 16> ycrcb{};
    ycrcb[0] = 0xEB8080, ycrcb[1] = 0x108080, ycrcb[2] = 0xD29210;
    const auto rgb = PaletteRgb(ycrcb);
    EXPECT_EQ(rgb[0], 0xFFFFFFu);
    EXPECT_EQ(rgb[1], 0x000000u);
    EXPECT_EQ(rgb[2], 0xFFFF00u);
}

// Sectors of a title's VOBs: a navigation pack (its PCI and DSI packets) or one subpicture
// packet, each filled to the sector's end with padding.
class Sectors {
  public:
    void Nav(int64_t vobuStart, uint16_t vobId, uint8_t cellId) {
        media_test::Bytes pci(980, 0), dsi(1018, 0);
        pci[0] = 0x00, dsi[0] = 0x01;
        for (int i = 0; i < 4; ++i) pci[13 + i] = uint8_t(vobuStart >> (24 - 8 * i));
        dsi[25] = uint8_t(vobId >> 8), dsi[26] = uint8_t(vobId), dsi[28] = cellId;
        media_test::Bytes pack = {0, 0, 1, 0xBA, 0x44, 0, 4, 0, 4, 1, 0x01, 0x89, 0xC3, 0xF8};
        for (const auto* payload : {&pci, &dsi}) {
            media_test::Append(
                pack, {0, 0, 1, 0xBF, uint8_t(payload->size() >> 8), uint8_t(payload->size())});
            media_test::Append(pack, *payload);
        }
        Add(pack);
    }
    void Spu(uint8_t stream, int64_t pts, uint8_t fill) {
        Add(media_test::Pack(0xBD, media_test::Bytes(100, fill), pts, 0x20 + stream));
    }
    std::unique_ptr<SubpictureSource> Source(std::vector<std::string>& warnings) const {
        return ReadCellsFrom(std::make_unique<media::MemorySource>(bytes_, "t.vob"),
                             [&](const std::string& w) { warnings.push_back(w); });
    }

  private:
    void Add(media_test::Bytes pack) {
        const size_t gap = 2048 - pack.size() - 6;
        media_test::Append(pack, {0, 0, 1, 0xBE, uint8_t(gap >> 8), uint8_t(gap)});
        pack.resize(2048, 0xFF);
        media_test::Append(bytes_, pack);
    }
    media_test::Bytes bytes_;
};

IfoCell CellAt(uint32_t first, uint32_t last, uint8_t cellId, uint8_t mode = 0) {
    IfoCell cell;
    cell.firstSector = first, cell.lastSector = last;
    cell.vobId = 1, cell.cellId = cellId;
    cell.blockMode = mode, cell.blockType = mode ? 1 : 0;
    return cell;
}

TEST(TitleVobs, AngleCellsByTheirNavigationPacksAndCellsTheFilesDoNotHold) {
    Sectors t;
    t.Nav(1000, 1, 1), t.Spu(0, 5000, 0xA0);                          // cell 1: sectors 0-1
    t.Nav(9000, 1, 2), t.Spu(0, 10000, 0xA1), t.Spu(1, 10500, 0xA2);  // angle 1
    t.Nav(9040, 1, 3), t.Spu(0, 10000, 0xB1);                         // angle 2
    t.Nav(9500, 1, 2), t.Spu(0, -1, 0xA3);                            // angle 1 again
    std::vector<std::string> warnings;
    const auto source = t.Source(warnings);
    using Seen = std::vector<std::pair<int, uint8_t>>;
    const auto seen = [&](const CellPackets& cell) {
        Seen out;
        for (const auto& p : cell.packets) out.push_back({p.stream, p.payload[0]});
        return out;
    };
    const CellPackets angle1 = source->ReadCell(CellAt(2, 8, 2, 1));
    const CellPackets angle2 = source->ReadCell(CellAt(2, 8, 3, 3));
    EXPECT_EQ(seen(angle1), (Seen{{0, 0xA1}, {1, 0xA2}, {0, 0xA3}}));
    EXPECT_EQ(seen(angle2), (Seen{{0, 0xB1}}));
    EXPECT_EQ(angle1.startPts, 9000);
    EXPECT_EQ(angle2.startPts, 9040);
    EXPECT_TRUE(warnings.empty());

    // Without a navigation pack the cell counts from its first stamp; a cell past the end of
    // the files, or running past it, is read as far as the files go.
    EXPECT_EQ(source->ReadCell(CellAt(1, 1, 1)).startPts, 5000);
    EXPECT_TRUE(source->ReadCell(CellAt(40, 50, 1)).packets.empty());
    EXPECT_EQ(seen(source->ReadCell(CellAt(7, 60, 2))), (Seen{{0, 0xA3}}));
    ASSERT_EQ(warnings.size(), 3u);
    EXPECT_NE(warnings[1].find("past the end of its VOB files (t.vob at offset 18432)"),
              std::string::npos)
        << warnings[1];
}

}  // namespace
