#include "CodecSettingsFixture.h"
#include "codec/reg.h"

namespace {

const char* const kKey = "Software\\GNU\\XviD";

using Bytes = std::vector<uint8_t>;

const Bytes kInterSet0 = {
    19, 19, 19, 19, 20, 22, 25, 29, 19, 19, 19, 19,  20, 23, 26, 30, 19, 19, 20,  21,  23, 26,
    29, 34, 19, 19, 21, 25, 28, 32, 37, 42, 20, 20,  23, 28, 35, 42, 48, 56, 22,  23,  26, 32,
    42, 53, 64, 77, 25, 25, 29, 37, 48, 64, 83, 104, 29, 30, 34, 42, 56, 77, 104, 137,
};
const Bytes kInterSet1 = {
    18, 18, 18, 18, 19, 21, 23, 27, 18, 18, 18, 18, 19, 21, 24, 29, 18, 18, 19, 20,  22, 24,
    28, 32, 18, 18, 20, 24, 27, 30, 35, 40, 19, 19, 22, 27, 33, 39, 46, 53, 21, 21,  24, 30,
    39, 50, 61, 73, 23, 24, 28, 35, 46, 61, 79, 98, 27, 29, 32, 40, 53, 73, 98, 129,
};
const Bytes kIntra = {
    8,  16, 16, 16, 17, 18, 21, 24, 16, 16, 16, 16, 17, 19, 22, 25, 16, 16, 17, 18,  20, 22,
    25, 29, 16, 16, 18, 21, 24, 27, 31, 36, 17, 17, 20, 24, 30, 35, 41, 47, 18, 19,  22, 27,
    35, 44, 54, 65, 21, 22, 25, 31, 41, 54, 70, 88, 24, 25, 29, 36, 47, 65, 88, 115,
};

TXviDCodecParams RunValues() {
    TXviDCodecParams p;
    p.BFrames = 1;
    p.MinIQuant = 2;
    p.MaxIQuant = 5;
    p.MinPQuant = 3;
    p.MaxPQuant = 6;
    p.DesiredSize = 612345;
    p.Mode = 2;
    p.StatsFile = "/My Films/mx_tmp/film_codec.log";
    p.MatrixType = 0;
    p.MaxKeyInterval = 240;
    p.QualityLevel = 267;
    return p;
}

class XviDSettings : public CodecHiveTest {
  protected:
    Bytes Binary(const std::string& name) {
        auto v = Value(kKey, name);
        EXPECT_TRUE(v && v->type == platform::RegistryValue::Type::Binary) << name;
        return v ? v->binary : Bytes();
    }
    void ExpectDwords(std::initializer_list<ExpectedDword> expected) {
        for (const auto& e : expected) EXPECT_EQ(Dword(kKey, e.name), e.value) << e.name;
    }
};

TEST_F(XviDSettings, SplitCoreFixedBlock) {
    WriteXviDCoreDefaults();
    ExpectDwords({
        {"credits_end", 0},
        {"motion_search", 6},
        {"chromame", 1},
        {"credits_start", 0},
        {"use_2pass_bitrate", 0},
        {"lum_masking", 0},
        {"interlacing", 0},
        {"qpel", 0},
        {"gmc", 0},
        {"reduced_resolution", 0},
        {"max_bframes", 1},
        {"bquant_ratio", 150},
        {"bquant_offset", 100},
        {"packed", 0},
        {"closed_gov", 1},
        {"ar_mode", 0},
        {"aspect_ratio", 0},
        {"par_x", 1},
        {"par_y", 1},
        {"num_zones", 1},
        {"rc_reaction_delay_factor", 16},
        {"rc_averaging_period", 100},
        {"rc_buffer", 100},
        {"discard1pass", 0},
        {"full1pass", 0},
        {"keyframe_boost", 10},
        {"kfreduction", 20},
        {"kfthreshold", 1},
        {"curve_compression_high", 0},
        {"curve_compression_low", 0},
        {"overflow_control_strength", 5},
        {"twopass_max_overflow_improvement", 5},
        {"twopass_max_overflow_degradation", 5},
        {"vhq_mode", 1},
        {"turbo", 0},
        {"frame_drop_ratio", 0},
        {"trellis_quant", 0},
        {"fourcc_used", 0},
        {"debug", 0},
        {"vop_debug", 0},
        {"display_status", 0},
        {"zone0_frame", 0},
        {"zone0_mode", 0},
        {"zone0_weight", 100},
        {"zone0_quant", 500},
        {"zone0_type", 0},
        {"zone0_greyscale", 0},
        {"zone0_chroma_opt", 1},
        {"zone0_bvop_threshold", 0},
    });
    EXPECT_EQ(Text(kKey, "profile"), "AS @ L5");
    EXPECT_EQ(platform::LoadHive(platform::CurrentUserHivePath()).ValueNames(kKey).size(), 50u);
}

TEST_F(XviDSettings, SplitCoreRunValuesWithoutCredits) {
    WriteXviDCoreSettings(RunValues(), false);
    ExpectDwords({
        {"cartoon_mode", 0},
        {"use_bvop", 1},
        {"max_iquant", 5},
        {"max_pquant", 6},
        {"min_iquant", 2},
        {"min_pquant", 3},
        {"min_bquant", 2},
        {"max_bquant", 6},
        {"desired_size", 612345},
        {"mode", 2},
        {"max_key_interval", 240},
        {"desired_quant", 267},
        {"num_zones", 1},
        {"quant_type", 2},
    });
    EXPECT_EQ(Text(kKey, "stats"), "/My Films/mx_tmp/film_codec.log");
    EXPECT_FALSE(Value(kKey, "zone1_frame"));
    EXPECT_EQ(Binary("qmatrix_inter"), kInterSet0);
    EXPECT_EQ(Binary("qmatrix_intra"), kIntra);
}

TEST_F(XviDSettings, SplitCoreCreditsZoneLiftsTheMaximumsOverFixedQuantizerTwo) {
    TXviDCodecParams p = RunValues();
    p.FixedQuant2 = true;
    p.BFrames = -1;
    p.Cartoon = true;
    p.CreditsFrame = 141000;
    p.CreditsWeight = 20;
    p.CreditsGreyscale = true;
    p.MatrixType = 1;
    WriteXviDCoreSettings(p, false);
    ExpectDwords({
        {"cartoon_mode", 1},
        {"use_bvop", 0},
        {"min_iquant", 2},
        {"min_pquant", 2},
        {"min_bquant", 2},
        {"max_iquant", 31},
        {"max_pquant", 31},
        {"max_bquant", 31},
        {"num_zones", 2},
        {"zone1_frame", 141000},
        {"zone1_mode", 0},
        {"zone1_weight", 20},
        {"zone1_quant", 500},
        {"zone1_type", 0},
        {"zone1_greyscale", 1},
        {"zone1_chroma_opt", 1},
        {"zone1_bvop_threshold", 0},
    });
    EXPECT_EQ(Binary("qmatrix_inter"), kInterSet1);
    EXPECT_EQ(Binary("qmatrix_intra"), kIntra);

    // The next run without credits goes back to one zone.
    WriteXviDCoreSettings(RunValues(), false);
    EXPECT_EQ(Dword(kKey, "num_zones"), 1);
    EXPECT_EQ(Dword(kKey, "max_iquant"), 5);
    EXPECT_EQ(Binary("qmatrix_inter"), kInterSet0);
}

TEST_F(XviDSettings, FixedQuantizerTwoWithoutCreditsSetsEveryLimit) {
    TXviDCodecParams p = RunValues();
    p.FixedQuant2 = true;
    p.CreditsFrame = -5;
    WriteXviDCoreSettings(p, false);
    for (const char* name :
         {"max_iquant", "max_pquant", "min_iquant", "min_pquant", "min_bquant", "max_bquant"})
        EXPECT_EQ(Dword(kKey, name), 2) << name;
    EXPECT_FALSE(Value(kKey, "zone1_frame"));
}

TEST_F(XviDSettings, LegacyFixedBlockAndRunValues) {
    TXviDCodecParams p = RunValues();
    p.BFrames = -1;
    p.Mode = 5;
    p.QualityLevel = 100;
    p.CreditsFrame = 141000;  // the older layout has no zones
    WriteXviDLegacySettings(p, false);
    ExpectDwords({
        {"bquant_offset", 100},
        {"bquant_ratio", 150},
        {"bquant_threshold", 0},
        {"chroma_opt", 1},
        {"chromame", 1},
        {"credits_end", 0},
        {"credits_start", 0},
        {"dx50bvop", 1},
        {"debug", 0},
        {"discard1pass", 0},
        {"dummy2pass", 0},
        {"fourcc_used", 0},
        {"gmc", 0},
        {"frame_drop_ratio", 0},
        {"greyscale", 0},
        {"hinted_me", 0},
        {"interlacing", 0},
        {"use_alt_curve", 0},
        {"use_trellis", 0},
        {"vhq_mode", 1},
        {"twopass_max_bitrate", 16000000},
        {"twopass_max_overflow_degradation", 60},
        {"twopass_max_overflow_improvement", 60},
        {"keyframe_boost", 0},
        {"kfreduction", 20},
        {"kftreshold", 10},
        {"lum_masking", 0},
        {"min_key_interval", 1},
        {"motion_search", 6},
        {"packed", 0},
        {"qpel", 0},
        {"reduced_resolution", 0},
        // the run
        {"max_bframes", -1},
        {"max_iquant", 5},
        {"max_pquant", 6},
        {"min_iquant", 2},
        {"min_pquant", 3},
        {"desired_size", 612345},
        {"mode", 5},
        {"max_key_interval", 240},
        {"quality", 100},
        {"quant_type", 2},
    });
    EXPECT_EQ(Text(kKey, "stats1"), "/My Films/mx_tmp/film_codec.log");
    EXPECT_EQ(Value(kKey, "max_bframes")->dword, 0xFFFFFFFFu);
    for (const auto& name : platform::LoadHive(platform::CurrentUserHivePath()).ValueNames(kKey))
        EXPECT_NE(name.rfind("zone", 0), 0u) << name;
    EXPECT_FALSE(Value(kKey, "num_zones"));
    EXPECT_EQ(Binary("qmatrix_inter"), kInterSet0);
    EXPECT_EQ(Binary("qmatrix_intra"), kIntra);
}

TEST_F(XviDSettings, LegacyFixedQuantizerTwo) {
    TXviDCodecParams p = RunValues();
    p.FixedQuant2 = true;
    WriteXviDLegacySettings(p, false);
    for (const char* name : {"max_iquant", "max_pquant", "min_iquant", "min_pquant"})
        EXPECT_EQ(Dword(kKey, name), 2) << name;
}

TEST_F(XviDSettings, EssMarkerWritesThePlainQuantizerTypeAndNoMatrices) {
    for (int32_t type : {0, 1}) {
        SCOPED_TRACE(type);
        TXviDCodecParams p = RunValues();
        p.MatrixType = type;
        WriteXviDCoreSettings(p, true);
        EXPECT_EQ(Dword(kKey, "quant_type"), type);
        WriteXviDLegacySettings(p, true);
        EXPECT_EQ(Dword(kKey, "quant_type"), type);
        EXPECT_FALSE(Value(kKey, "qmatrix_inter"));
        EXPECT_FALSE(Value(kKey, "qmatrix_intra"));
    }
}

TEST_F(XviDSettings, AMatrixTypeOutsideTheTwoSetsWritesNoMatrix) {
    TXviDCodecParams p = RunValues();
    p.MatrixType = 4;
    WriteXviDCoreSettings(p, false);
    EXPECT_EQ(Dword(kKey, "quant_type"), 2);
    EXPECT_FALSE(Value(kKey, "qmatrix_inter"));
}

}  // namespace
