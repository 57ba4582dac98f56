// The installed Configure on a title authored with spumux: what it writes is judged by ffmpeg's
// vobsub demuxer and subpicture decoder, the packets its VOB reader finds by libavformat's.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <tuple>

#include "IndexText.h"
#include "PairReading.h"
#include "TitleCase.h"
#include "TitlePackets.h"
#include "encoder/TextFiles.h"
#include "encoder/rules/VobSubParams.h"

namespace {

namespace fs = std::filesystem;
using subtitletest::Authored;
using subtitletest::kAuthored;
using subtitletest::kFrameMs;
using subtitletest::SeenSubpicture;
using TitleConfigure = subtitletest::TitleCase;

constexpr int64_t kSector = 2048;

// A cell's packets as one comparable value.
std::vector<std::tuple<int64_t, int, int64_t, std::vector<uint8_t>>> Flat(
    const subtitles::CellPackets& cell) {
    std::vector<std::tuple<int64_t, int, int64_t, std::vector<uint8_t>>> out;
    for (const subtitles::SubpicturePacket& p : cell.packets)
        out.push_back({cell.startPts, p.stream, p.pts, p.payload});
    return out;
}

// Copies the title's IFO and the byte range [from, to) of its VOB into `folder` under the names
// given.
void CopyTitle(const std::string& rip, const std::string& folder,
               const std::vector<std::pair<std::string, std::pair<int64_t, int64_t>>>& vobs) {
    fs::create_directories(folder);
    fs::copy_file(rip + "/VTS_01_0.IFO", folder + "/VTS_01_0.IFO");
    const std::string bytes = testing_support::ReadAll(rip + "/VTS_01_1.VOB");
    for (const auto& [name, range] : vobs) {
        const int64_t to = std::min<int64_t>(range.second, int64_t(bytes.size()));
        std::ofstream(folder + "/" + name, std::ios::binary)
            << bytes.substr(size_t(range.first), size_t(to - range.first));
    }
}

// The sectors of the VOB that hold a piece of a subpicture of `stream` without a time stamp:
// the later pieces of a subpicture that spans several packets.
std::vector<int64_t> ContinuationSectors(const std::string& vob, int stream) {
    const std::string bytes = testing_support::ReadAll(vob);
    std::vector<int64_t> sectors;
    for (size_t at = 0; at + kSector <= bytes.size(); at += kSector) {
        const auto* p = reinterpret_cast<const uint8_t*>(bytes.data() + at);
        if (p[14] || p[15] || p[16] != 1 || p[17] != 0xBD) continue;
        if (p[23 + p[22]] == 0x20 + stream && !(p[21] & 0x80))
            sectors.push_back(int64_t(at) / kSector);
    }
    return sectors;
}

TEST_F(TitleConfigure, DemuxerReadsEveryCaptionAtItsAuthoredTimeWithTheIfoPalette) {
    const std::string base = Extract({0, 1, 2});
    ASSERT_EQ(configure_.status, 0) << configure_.output;
    const subtitletest::SeenPair pair = subtitletest::ReadPairWithFfmpeg(base + ".idx");
    ASSERT_EQ(pair.error, "");
    ASSERT_EQ(pair.subpictures.size(), std::size(kAuthored));
    for (const Authored& a : kAuthored) {
        const auto seen = std::find_if(
            pair.subpictures.begin(), pair.subpictures.end(), [&](const SeenSubpicture& s) {
                return s.stream == a.stream && std::abs(s.ms - a.ms) < kFrameMs;
            });
        ASSERT_NE(seen, pair.subpictures.end()) << "stream " << a.stream << " at " << a.ms;
        EXPECT_EQ(seen->language, std::string(a.stream == 0 ? "en" : a.stream == 1 ? "de" : "fr"));
        EXPECT_EQ(seen->forced, a.forced) << a.ms;
        EXPECT_EQ(seen->yellow, a.yellow) << a.ms;
        EXPECT_EQ(seen->white, !a.yellow) << a.ms;
    }
}

// Every cell of the chain, on the title's one VOB and on the same bytes split into two files
// named in lower case, the split inside the second cell.
TEST_F(TitleConfigure, VobReaderFindsWhatLibavformatFindsInEveryCellAlsoOverSplitFiles) {
    const subtitles::IfoTitle title = subtitles::ReadIfoTitle(ifo_);
    const auto cells = subtitles::CellsToPlay(title.chains.at(0), 0, ifo_);
    ASSERT_EQ(cells.size(), 2u);
    const int64_t split = (int64_t(cells[1].cell.firstSector) + cells[1].cell.lastSector) / 2;
    const std::string folder = dir_.File("geteilt ö");
    CopyTitle(
        rip_, folder,
        {{"vts_01_1.vob", {0, split * kSector}}, {"vts_01_2.vob", {split * kSector, INT64_MAX}}});

    subtitletest::LibavTitlePackets theirs(ifo_);
    const auto ours = subtitles::OpenTitleVobs(ifo_);
    const auto splitOurs = subtitles::OpenTitleVobs(folder + "/VTS_01_0.IFO");
    for (const subtitles::TitleCell& cell : cells) {
        SCOPED_TRACE(cell.cell.firstSector);
        const auto expected = Flat(theirs.ReadCell(cell.cell));
        EXPECT_FALSE(expected.empty());
        EXPECT_TRUE(Flat(ours->ReadCell(cell.cell)) == expected);
        EXPECT_TRUE(Flat(splitOurs->ReadCell(cell.cell)) == expected);
    }
    const std::string whole = Extract({0, 1, 2});
    const std::string sub = testing_support::ReadAll(whole + ".sub");
    const std::string idx = testing_support::ReadAll(whole + ".idx");
    Extract({0, 1, 2}, 1, folder + "/VTS_01_0.IFO");
    ASSERT_EQ(configure_.status, 0) << configure_.output;
    EXPECT_TRUE(testing_support::ReadAll(whole + ".sub") == sub);
    EXPECT_EQ(testing_support::ReadAll(whole + ".idx"), idx);
}

// A VOB cut short in the second cell and a lost pack inside the forced caption cost those
// subpictures only, with warnings naming the VOB; without its VOB the title is an error.
TEST_F(TitleConfigure, DamagedVobsLoseOnlyWhatIsDamagedAndAMissingOneIsAnError) {
    const auto cells = subtitles::CellsToPlay(subtitles::ReadIfoTitle(ifo_).chains.at(0), 0, ifo_);
    const std::vector<int64_t> pieces = ContinuationSectors(rip_ + "/VTS_01_1.VOB", 0);
    ASSERT_FALSE(pieces.empty());
    ASSERT_LT(pieces[0], int64_t(cells[1].cell.firstSector));  // in the forced caption
    const std::string folder = dir_.File("bad");
    const std::string vob = folder + "/VTS_01_1.VOB";
    CopyTitle(rip_, folder, {{"VTS_01_1.VOB", {0, (cells[1].cell.firstSector + 1) * kSector}}});
    std::fstream(vob, std::ios::in | std::ios::out | std::ios::binary)
        .seekp(pieces[0] * kSector)
        .write("\0\0\0\0", 4);

    const std::string base = Extract({0, 1, 2}, 1, folder + "/VTS_01_0.IFO");
    ASSERT_EQ(configure_.status, 0) << configure_.output;
    EXPECT_NE(configure_.output.find("is cut short: the VOB files end at " + vob),
              std::string::npos)
        << configure_.output;
    EXPECT_NE(configure_.output.find("not a pack, from " + vob + " at offset " +
                                     std::to_string(pieces[0] * kSector)),
              std::string::npos)
        << configure_.output;
    const subtitletest::SeenPair pair = subtitletest::ReadPairWithFfmpeg(base + ".idx");
    ASSERT_EQ(pair.error, "");
    std::vector<int64_t> times;
    for (const SeenSubpicture& s : pair.subpictures) times.push_back((s.ms + 50) / 100);
    std::sort(times.begin(), times.end());
    EXPECT_EQ(times, (std::vector<int64_t>{2, 5, 10}));

    fs::remove(base + ".idx");
    fs::remove(vob);
    Extract({0}, 1, folder + "/VTS_01_0.IFO");
    EXPECT_NE(configure_.status, 0);
    EXPECT_NE(configure_.output.find(folder + "/VTS_01_0.IFO: the title set's first VOB file"),
              std::string::npos)
        << configure_.output;
    EXPECT_FALSE(fs::exists(base + ".idx"));
}

// The planner sets the language and forced-subtitle lines in the first 200 lines of the index;
// the pair stays readable after its edit, and a cut keeps the edited lines.
TEST_F(TitleConfigure, PlannerEditsTheHeaderLinesItLooksFor) {
    const std::string idx = Extract({0, 1}) + ".idx";
    TTextLines index = LoadLinesKeepingEnds(idx);
    const std::vector<std::string> before = index.Lines;
    EditSubtitleIndex(index.Lines, 1, true);
    SaveLinesKeepingEnds(index, idx);
    std::vector<std::string> changed;
    for (size_t i = 0; i < before.size(); ++i)
        if (before[i] != index.Lines[i]) changed.push_back(before[i] + " -> " + index.Lines[i]);
    EXPECT_EQ(changed, (std::vector<std::string>{"forced subs: OFF -> forced subs: ON",
                                                 "langidx: 0 -> langidx: 1"}));
    EXPECT_EQ(subtitletest::ReadPairWithFfmpeg(idx).subpictures.size(), 5u);
}

TEST_F(TitleConfigure, StreamNotInTheTitleGetsAnEmptyBlockAndAWarning) {
    const std::string base = Extract({2, 7});
    EXPECT_EQ(configure_.status, 0);
    EXPECT_NE(
        configure_.output.find("no subpictures in stream 7 (the title set lists no such stream)"),
        std::string::npos)
        << configure_.output;
    std::vector<std::string> problems;
    const subtitles::SubtitleIndex index =
        subtitles::ParseIndex(testing_support::ReadAll(base + ".idx"), base, problems);
    ASSERT_EQ(index.streams.size(), 2u);
    EXPECT_EQ(index.streams[0].entries.size(), 1u);
    EXPECT_TRUE(index.streams[1].entries.empty());
    EXPECT_EQ(subtitletest::ReadPairWithFfmpeg(base + ".idx").subpictures.size(), 1u);
}

TEST_F(TitleConfigure, MissingChainIsAnErrorAndWritesNothing) {
    const std::string base = Extract({0}, 2);
    EXPECT_NE(configure_.status, 0);
    EXPECT_NE(configure_.output.find(ifo_ + ": there is no program chain 2"), std::string::npos)
        << configure_.output;
    EXPECT_FALSE(fs::exists(base + ".idx"));
    EXPECT_FALSE(fs::exists(base + ".sub"));
}

}  // namespace
