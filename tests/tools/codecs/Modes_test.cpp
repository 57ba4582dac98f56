// Each single-pass run the planner sets up, compressed by the installed codecs and judged by
// ffprobe and ffmpeg: it decodes cleanly, at the quantizers, frame types, matrices and colour
// the registry values ask for.
#include <numeric>

#include "CodecTestEnv.h"

namespace codec_testing {
namespace {

using Modes = CodecTest;

// Whether `stream` carries `matrix` as a VOL header does: 8-bit values in zigzag order, at any
// bit position. The first 16 values are distinctive enough.
bool CarriesMatrix(const std::string& stream, const TQuantMatrix& matrix) {
    static constexpr int kZigzag[16] = {0, 1, 8, 16, 9, 2, 3, 10, 17, 24, 32, 25, 18, 11, 4, 5};
    std::string wanted, bits;
    for (int i : kZigzag) {
        for (int b = 7; b >= 0; --b) wanted += char('0' + ((matrix[size_t(i)] >> b) & 1));
    }
    for (size_t i = 0; i < stream.size() && i < 4096; ++i) {
        for (int b = 7; b >= 0; --b) bits += char('0' + ((uint8_t(stream[i]) >> b) & 1));
    }
    return bits.find(wanted) != std::string::npos;
}

double Mean(const std::multiset<int>& values) {
    return values.empty() ? 0 : std::accumulate(values.begin(), values.end(), 0.0) / values.size();
}

TEST_F(Modes, TheQuantizerTwoRunCodesEveryPictureAtTwo) {
    TXviDCodecParams xvid = XvidParams(0);
    xvid.FixedQuant2 = true;
    xvid.QualityLevel = 200;
    WriteXvid(xvid);
    TDivXCodecParams divx = DivxParams(1);
    divx.VbrQuality = 20;
    WriteDivx(divx);
    for (const char* handler : {"xvid", "divx"}) {
        SCOPED_TRACE(handler);
        const std::string out = std::string(handler) + ".m4v";
        const CodecResult result = Short(handler, out);
        ASSERT_TRUE(result.Ok()) << result.error;
        EXPECT_EQ(result.fourcc, handler == std::string("xvid") ? MxFourCC('X', 'V', 'I', 'D')
                                                                : MxFourCC('D', 'X', '5', '0'));
        EXPECT_EQ(DecodeProblems(File(out)), "");
        const std::string types = FrameTypes(File(out));
        EXPECT_EQ(types.size(), 50u);
        EXPECT_EQ(types[0], 'I');
        for (const auto& [type, quantizers] : Quantizers(File(out))) {
            EXPECT_EQ(std::set<int>(quantizers.begin(), quantizers.end()), std::set<int>{2})
                << "picture type " << type;
        }
        // The host is told which outputs are key frames, as ffprobe sees them.
        size_t keys = 0;
        for (const CodedFrame& f : result.frames) keys += f.key ? 1 : 0;
        EXPECT_EQ(keys, size_t(std::count(types.begin(), types.end(), 'I')));
        EXPECT_TRUE(result.frames[0].key && result.frames[0].type == 'I');
    }
}

// The quality mode at 75 %: the planner asks XviD for quantizer 2.67 within 2..4 and DivX for 2.7;
// a whole quantizer per frame must average out to that.
TEST_F(Modes, AFractionalQuantizerAveragesOverTheFrames) {
    TXviDCodecParams xvid = XvidParams(0);
    xvid.QualityLevel = 267;
    xvid.MaxIQuant = xvid.MaxPQuant = 4;
    WriteXvid(xvid);
    TDivXCodecParams divx = DivxParams(1);
    divx.VbrQuality = 27;
    WriteDivx(divx);
    for (const char* handler : {"xvid", "divx"}) {
        SCOPED_TRACE(handler);
        ASSERT_TRUE(Short(handler, "q.m4v").Ok());
        const std::multiset<int> p = Quantizers(File("q.m4v"))['P'];
        EXPECT_NEAR(Mean(p), handler == std::string("xvid") ? 2.67 : 2.7, 0.12);
        EXPECT_GE(*p.begin(), 2);
        EXPECT_LE(*p.rbegin(), 4);
    }
}

TEST_F(Modes, BFramesAppearOnlyWhenAskedFor) {
    for (bool on : {true, false}) {
        TXviDCodecParams xvid = XvidParams(0);
        xvid.BFrames = on ? 1 : -1;
        WriteXvid(xvid);
        TDivXCodecParams divx = DivxParams(1);
        divx.Bidirectional = on ? 1 : 0;
        WriteDivx(divx);
        for (const char* handler : {"xvid", "divx"}) {
            SCOPED_TRACE(std::string(handler) + (on ? " with" : " without") + " B-frames");
            ASSERT_TRUE(Short(handler, "b.m4v").Ok());
            const std::string types = FrameTypes(File("b.m4v"));
            EXPECT_EQ(types.size(), 50u);
            EXPECT_EQ(types.find('B') != std::string::npos, on) << types;
            EXPECT_EQ(DecodeProblems(File("b.m4v")), "");
        }
    }
}

TEST_F(Modes, TheChosenMatrixSetIsWrittenIntoTheStream) {
    for (int set : {0, 1}) {
        TXviDCodecParams xvid = XvidParams(0);
        xvid.MatrixType = set;
        WriteXvid(xvid);
        ASSERT_TRUE(Short("xvid", "m.m4v", 10).Ok());
        const std::string stream = testing_support::ReadAll(File("m.m4v"));
        EXPECT_TRUE(CarriesMatrix(stream, XviDIntraMatrix())) << "set " << set;
        EXPECT_TRUE(CarriesMatrix(stream, XviDInterMatrix(set))) << "set " << set;
        EXPECT_FALSE(CarriesMatrix(stream, XviDInterMatrix(1 - set))) << "set " << set;
        EXPECT_EQ(DecodeProblems(File("m.m4v")), "");
    }
    // With the marker the plain H.263 type is written, and no matrix.
    TXviDCodecParams plain = XvidParams(0);
    plain.MatrixType = 0;
    WriteCodecSettings(0, true, plain, TDivXCodecParams{}, true);
    ASSERT_TRUE(Short("xvid", "h.m4v", 10).Ok());
    EXPECT_FALSE(CarriesMatrix(testing_support::ReadAll(File("h.m4v")), XviDIntraMatrix()));
}

TEST_F(Modes, TheCreditsZoneIsGreyAfterItsFirstFrame) {
    TXviDCodecParams xvid = XvidParams(0);
    xvid.CreditsFrame = 20;
    xvid.CreditsWeight = 50;
    xvid.CreditsGreyscale = true;
    WriteXvid(xvid);
    ASSERT_TRUE(Short("xvid", "c.m4v").Ok());
    const std::vector<std::vector<int>> chroma = ChromaRanges(File("c.m4v"));
    ASSERT_EQ(chroma.size(), 50u);
    for (size_t i = 0; i < 20; ++i) EXPECT_GT(chroma[i][1], 160) << "frame " << i << " has colour";
    // Grey is 128; the MPEG quantizer's rounding of the DC may leave a step of one.
    for (size_t i = 21; i < 50; ++i) {
        EXPECT_GE(std::min(chroma[i][0], chroma[i][2]), 127) << "frame " << i;
        EXPECT_LE(std::max(chroma[i][1], chroma[i][3]), 129) << "frame " << i;
    }
    // Half the weight: the credits are coded coarser than the film before them.
    EXPECT_GT(Mean(Quantizers(File("c.m4v"))['P']), 4.0);
}

}  // namespace
}  // namespace codec_testing
