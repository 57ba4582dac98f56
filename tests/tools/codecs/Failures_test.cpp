// Bad input to the codec modules: formats they cannot code, messages out of order, statistics a
// second pass cannot trust, state blobs of another layout, damaged registry values. Each gets an
// error naming what was wrong (or a default and a warning), never a crash or a silent run.
#include <filesystem>
#include <fstream>

#include "CodecTestEnv.h"
#include "platform/registry.h"

namespace codec_testing {
namespace {

using Failures = CodecTest;

const char* const kHandlers[] = {"xvid", "divx"};

MxVideoFormat Format(int width, int height, uint32_t num = 25, uint32_t den = 1) {
    return {sizeof(MxVideoFormat), width, height, num, den, MX_PIXELS_YUV420, 0};
}

MxStreamFormat StreamFormat() {
    MxStreamFormat stream{};
    stream.size = sizeof(stream);
    return stream;
}

void WriteBoth(const std::string& log, int xvidMode, int divxMode) {
    WriteXvid(XvidParams(xvidMode, log));
    WriteDivx(DivxParams(divxMode, log));
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
    const size_t at = text.find(from);
    return at == std::string::npos ? "<" + from + " not found>" : text.replace(at, from.size(), to);
}

TEST_F(Failures, FormatsThatCannotBeCodedAreRefusedByName) {
    WriteBoth("", 0, 1);
    MxVideoFormat yuy2 = Format(320, 176);
    yuy2.pixels = MxFourCC('Y', 'U', 'Y', '2');
    const std::pair<MxVideoFormat, const char*> cases[] = {
        {Format(321, 176), "odd"},
        {Format(320, 175), "odd"},
        {Format(14, 14), "outside"},
        {Format(8192, 176), "outside"},
        {Format(320, 176, 25, 0), "rate"},
        {Format(320, 176, 90000, 1001), "time base"},
        {yuy2, "I420"},
    };
    for (const char* handler : kHandlers) {
        Codec codec(handler);
        for (const auto& [format, words] : cases) {
            SCOPED_TRACE(std::string(handler) + " " + words);
            MxStreamFormat stream = StreamFormat();
            EXPECT_EQ(codec.Send(MXICM_COMPRESS_QUERY, intptr_t(&format)), MXICERR_BADFORMAT);
            EXPECT_EQ(codec.Send(MXICM_COMPRESS_BEGIN, intptr_t(&format), intptr_t(&stream)),
                      MXICERR_BADFORMAT);
            EXPECT_NE(codec.ErrorText().find(words), std::string::npos) << codec.ErrorText();
        }
        EXPECT_TRUE(Compress(codec, Clip("short.yuv"), {16, 16, 25, 1, 5}, "").Ok());
    }
}

TEST_F(Failures, MessagesOutOfOrderChangeNothing) {
    WriteBoth("", 0, 1);
    for (const char* handler : kHandlers) {
        SCOPED_TRACE(handler);
        Codec codec(handler);
        std::vector<uint8_t> output(1 << 20);
        MxCompressFrame frame{};
        frame.size = sizeof(frame);
        frame.output = output.data();
        frame.outputCapacity = uint32_t(output.size());
        EXPECT_EQ(codec.Send(MXICM_COMPRESS, intptr_t(&frame)), MXICERR_BADSTATE);
        EXPECT_EQ(codec.Send(MXICM_COMPRESS_END), MXICERR_BADSTATE);
        EXPECT_EQ(codec.Send(0x4fff), MXICERR_UNSUPPORTED);
        const ClipFormat clip{320, 176, 25, 1, 20};
        ASSERT_TRUE(Compress(codec, Clip("short.yuv"), clip, File("one.m4v")).Ok());
        // A frame after the end, and a flush, are refused; the next run codes the same stream.
        EXPECT_EQ(codec.Send(MXICM_COMPRESS, intptr_t(&frame)), MXICERR_BADSTATE);
        EXPECT_NE(codec.ErrorText().find("after the end"), std::string::npos);
        EXPECT_EQ(codec.Send(MXICM_COMPRESS_FLUSH, intptr_t(&frame)), MXICERR_BADSTATE);
        ASSERT_TRUE(Compress(codec, Clip("short.yuv"), clip, File("two.m4v")).Ok());
        EXPECT_EQ(testing_support::ReadAll(File("one.m4v")),
                  testing_support::ReadAll(File("two.m4v")));
    }
}

TEST_F(Failures, SecondPassRefusesStatisticsItCannotTrust) {
    const std::string log = File("pass.log");
    for (const char* handler : kHandlers) {
        SCOPED_TRACE(handler);
        WriteBoth(log, 1, 2);
        ASSERT_TRUE(Short(handler, "", 30).Ok());
        const std::string good = testing_support::ReadAll(log);
        const std::string firstLine = good.substr(0, good.find('\n') + 1);
        const std::pair<std::string, const char*> files[] = {
            {good.substr(0, good.size() - 12), "cut short"},
            {good.substr(0, good.rfind("# clip")), "lacks the line"},
            {Replace(good, "25/1 frames 30", "25/1 frames 31"), "describes 31 frames"},
            {Replace(good, "320x176", "720x576"), "720x576"},
            {Replace(good, firstLine, firstLine + "x y z\n"), "damaged at line 2"},
        };
        WriteBoth(log, 2, 3);
        for (const auto& [text, words] : files) {
            std::ofstream(log, std::ios::trunc) << text;
            const CodecResult result = Short(handler, "", 30);
            EXPECT_EQ(result.code, MXICERR_FILE) << words;
            EXPECT_NE(result.error.find(words), std::string::npos) << result.error;
            EXPECT_NE(result.error.find(log), std::string::npos) << result.error;
        }
        std::filesystem::remove(log);
        EXPECT_NE(Short(handler, "", 30).error.find("is missing"), std::string::npos);

        // Statistics of 30 frames: a longer or a shorter clip is another clip.
        WriteBoth(log, 1, 2);
        ASSERT_TRUE(Short(handler, "", 30).Ok());
        WriteBoth(log, 2, 3);
        EXPECT_NE(Short(handler, "", 31).error.find("this clip has 31"), std::string::npos);
        Codec codec(handler);
        const CodecResult longer =
            Compress(codec, Clip("short.yuv"), {320, 176, 25, 1, 40, false}, "");
        EXPECT_NE(longer.error.find("goes on past them"), std::string::npos) << longer.error;
        const CodecResult shorter =
            Compress(codec, Clip("short.yuv"), {320, 176, 25, 1, 20, false}, "");
        EXPECT_NE(shorter.error.find("the second pass had 20"), std::string::npos);
    }
}

TEST_F(Failures, AFirstPassThatDoesNotEndLeavesNoStatistics) {
    const std::string log = File("pass.log");
    WriteBoth(log, 1, 2);
    for (const char* handler : kHandlers) {
        {
            Codec codec(handler);
            MxVideoFormat format = Format(320, 176);
            MxStreamFormat stream = StreamFormat();
            ASSERT_EQ(codec.Send(MXICM_COMPRESS_BEGIN, intptr_t(&format), intptr_t(&stream)), 0);
        }  // closed in the middle of the run
        EXPECT_FALSE(std::filesystem::exists(log)) << handler;
        EXPECT_FALSE(std::filesystem::exists(log + ".part")) << handler;
    }
    WriteBoth(File("no/such/folder/pass.log"), 1, 2);
    for (const char* handler : kHandlers) {
        const CodecResult result = Short(handler, "", 5);
        EXPECT_EQ(result.code, MXICERR_FILE) << handler;
        EXPECT_NE(result.error.find("no/such/folder/pass.log.part"), std::string::npos);
    }
}

TEST_F(Failures, StateBlobsOfAnotherLayoutAreRefused) {
    WriteBoth("", 0, 1);
    const std::vector<uint8_t> divxState = Codec("divx").State();
    for (const char* handler : kHandlers) {
        SCOPED_TRACE(handler);
        Codec codec(handler);
        const std::vector<uint8_t> state = codec.State();
        ASSERT_GT(state.size(), 16u);
        std::vector<std::vector<uint8_t>> bad(5, state);
        bad[0].pop_back();    // shorter
        bad[1].push_back(0);  // longer
        bad[2][4] = 9;        // another layout version
        bad[3][12] = 99;      // the mode, far out of range
        bad[4] = handler == std::string("xvid") ? divxState : std::vector<uint8_t>(3, 0);
        for (const std::vector<uint8_t>& blob : bad) {
            EXPECT_EQ(codec.SetState(blob), 0);
            EXPECT_NE(codec.ErrorText().find("refused"), std::string::npos);
            EXPECT_EQ(codec.State(), state);
        }
        EXPECT_EQ(codec.SetState(state), intptr_t(state.size()));
    }
}

TEST_F(Failures, MissingOrDamagedSettingsFallBackToDefaultsAndSaySo) {
    for (const char* handler : kHandlers) {
        ::testing::internal::CaptureStderr();
        const bool opened = bool(Codec(handler));
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_TRUE(opened);
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
        EXPECT_NE(said.find("every setting takes its default"), std::string::npos) << said;
    }
    WriteBoth("", 0, 1);
    platform::Registry registry;
    ASSERT_TRUE(registry.OpenKey("\\Software\\GNU\\XviD", false));
    registry.WriteString("desired_quant", "four");
    registry.WriteInteger("motion_search", 99);
    ::testing::internal::CaptureStderr();
    const CodecResult result = Short("xvid", "defaults.m4v", 10);
    const std::string said = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(result.Ok()) << result.error;
    EXPECT_NE(said.find("\"desired_quant\" is of the wrong type; using 400"), std::string::npos)
        << said;
    EXPECT_NE(said.find("\"motion_search\" is 99, outside 0 to 6; using 6"), std::string::npos);
    EXPECT_EQ(DecodeProblems(File("defaults.m4v")), "");
}

}  // namespace
}  // namespace codec_testing
