#include "dvd/IfoRoute.h"

#include <gtest/gtest.h>

#include "dvd/DvdError.h"

namespace {

TProgramChain ChainOf(const std::string& duration, const std::string& subpictures = "") {
    TProgramChain chain;
    chain.Duration = duration;
    chain.SubpictureEnabled = subpictures;
    return chain;
}

TIFO TitleSet(std::vector<TProgramChain> chains, const char* standard = "PAL",
              const char* resolution = "720x576", const char* aspect = "16:9") {
    TIFO ifo;
    ifo.Attributes.VideoAttributes = {aspect, standard, "MPEG2", resolution};
    ifo.ChainTable.ProgramChainCount = static_cast<uint16_t>(chains.size());
    ifo.ChainTable.ProgramChains = std::move(chains);
    return ifo;
}

TAudioStream Audio(const char* language, uint8_t channels, const char* format,
                   const char* extension) {
    TAudioStream audio;
    audio.Language = language;
    audio.Channels = channels;
    audio.Format = format;
    audio.CodeExtension = extension;
    return audio;
}

TEST(IfoRoute, DurationsCompareAsTimes) {
    EXPECT_TRUE(IsLongerDuration("0:00:01.000", ""));
    EXPECT_TRUE(IsLongerDuration("1:00:00.000", "0:59:59.999"));
    EXPECT_FALSE(IsLongerDuration("0:10:00.000", "0:10:00.000"));
    // Ten hours and more have a longer text, which byte order alone would put below nine hours.
    EXPECT_TRUE(IsLongerDuration("10:00:00.000", "9:00:00.000"));
    EXPECT_FALSE(IsLongerDuration("9:59:59.999", "10:00:00.000"));
}

TEST(IfoRoute, TheLongestChainOfAllSetsChoosesTheSet) {
    TitleSetChoice choice;
    choice.Offer(
        "VTS_01_0.IFO", "/in/VTS_01_0.IFO",
        TitleSet({ChainOf("0:00:05.000"), ChainOf("0:42:00.000")}, "NTSC", "720x480", "4:3"));
    TIFO second = TitleSet({ChainOf("0:01:00.000"), ChainOf("1:30:00.040")});
    second.Attributes.AudioStreams = {Audio("English", 6, "AC3", "unspecified"),
                                      Audio("English", 2, "AC3", "director's comments"),
                                      Audio("Deutsch", 2, "MPEG1", "normal")};
    second.Attributes.AudioStreamCount = 3;
    choice.Offer("vts_02_0.ifo", "/in/vts_02_0.ifo", second);
    choice.Offer("VTS_03_0.IFO", "/in/VTS_03_0.IFO", TitleSet({ChainOf("1:30:00.040")}));

    const TVobInfo info = choice.Describe();
    EXPECT_TRUE(info.Valid);
    EXPECT_EQ(info.Duration, "1:30:00.040");
    EXPECT_EQ(info.FirstVob, "vts_02_1.vob");  // equal times: the first found stays
    EXPECT_EQ(info.Video, (TVideoInfo{0, false, "PAL", 25.0, 720, 576, true, 1.333}));
    ASSERT_EQ(info.AudioCount, 3);
    EXPECT_EQ(info.Audio[0], (TAudioinfo{0, "English", "6ch", "AC3", 0}));
    EXPECT_EQ(info.Audio[1], (TAudioinfo{1, "English director's comments", "2ch", "AC3", 0}));
    EXPECT_EQ(info.Audio[2], (TAudioinfo{2, "Deutsch", "2ch", "MPEG1", 0}));
}

TEST(IfoRoute, NtscFourByThree) {
    TitleSetChoice choice;
    choice.Offer("VTS_01_0.IFO", "p", TitleSet({ChainOf("0:00:01.000")}, "NTSC", "352x240", "4:3"));
    EXPECT_EQ(choice.Describe().Video, (TVideoInfo{0, true, "NTSC", 29.997, 352, 240, false, 1.0}));
}

TEST(IfoRoute, SubpicturesAbsentFromTheChainLeaveEmptyEntries) {
    TIFO ifo = TitleSet({ChainOf("0:00:09.000", "000"), ChainOf("0:00:10.000", "101")});
    ifo.Attributes.SubpictureCount = 3;
    ifo.Attributes.SubpictureLanguages = {"English", "Deutsch",
                                          "Fran\xC3\xA7"
                                          "ais"};
    TitleSetChoice choice;
    choice.Offer("VTS_01_0.IFO", "p", ifo);
    const TVobInfo info = choice.Describe();
    ASSERT_EQ(info.SubtitleCount, 3);
    EXPECT_EQ(info.Subtitles[0], (TSubtitleInfo{0, "English"}));
    EXPECT_EQ(info.Subtitles[1], TSubtitleInfo{});
    EXPECT_EQ(info.Subtitles[2], (TSubtitleInfo{2,
                                                "Fran\xC3\xA7"
                                                "ais"}));
}

TEST(IfoRoute, WithoutChainsTheFirstSetIsDescribed) {
    TIFO first = TitleSet({}, "NTSC", "720x480", "4:3");
    first.Attributes.SubpictureCount = 1;
    first.Attributes.SubpictureLanguages = {"English"};
    TitleSetChoice choice;
    choice.Offer("VTS_01_0.IFO", "p1", first);
    choice.Offer("VTS_02_0.IFO", "p2", TitleSet({}));
    const TVobInfo info = choice.Describe();
    EXPECT_TRUE(info.Valid);
    EXPECT_EQ(info.Video.Standard, "NTSC");
    EXPECT_EQ(info.FirstVob, "");
    EXPECT_EQ(info.Duration, "");
    EXPECT_EQ(info.SubtitleCount, 1);
    EXPECT_EQ(info.Subtitles[0], TSubtitleInfo{});
    EXPECT_FALSE(TitleSetChoice{}.Describe().Valid);
}

TEST(IfoRoute, UnknownStandardOrAspect) {
    TitleSetChoice choice;
    choice.Offer("VTS_01_0.IFO", "/in/VTS_01_0.IFO", TitleSet({ChainOf("0:00:01.000")}, "???", ""));
    try {
        choice.Describe();
        FAIL();
    } catch (const DvdParseError& e) {
        EXPECT_EQ(std::string(e.what()),
                  "/in/VTS_01_0.IFO: the picture size \"\" is not a number (the video standard is "
                  "\"???\")");
    }
    TitleSetChoice odd;
    odd.Offer("VTS_01_0.IFO", "p", TitleSet({ChainOf("0:00:01.000")}, "PAL", "720x576", "???"));
    const TVideoInfo video = odd.Describe().Video;
    EXPECT_FALSE(video.Widescreen);
    EXPECT_EQ(video.AspectFactor, 0);
}

TEST(IfoRoute, StreamsBeyondTheArraysAreDropped) {
    TIFO ifo = TitleSet({ChainOf("0:00:01.000", std::string(40, '1'))});
    for (int i = 0; i < 20; ++i)
        ifo.Attributes.AudioStreams.push_back(Audio("English", 2, "AC3", "unspecified"));
    ifo.Attributes.AudioStreamCount = 20;
    ifo.Attributes.SubpictureLanguages.assign(40, "Deutsch");
    ifo.Attributes.SubpictureCount = 40;
    TitleSetChoice choice;
    choice.Offer("VTS_01_0.IFO", "p", ifo);
    const TVobInfo info = choice.Describe();
    EXPECT_EQ(info.AudioCount, 16);
    EXPECT_EQ(info.Audio[15].StreamId, 15);
    EXPECT_EQ(info.SubtitleCount, 32);
    EXPECT_EQ(info.Subtitles[31], (TSubtitleInfo{31, "Deutsch"}));
}

}  // namespace
