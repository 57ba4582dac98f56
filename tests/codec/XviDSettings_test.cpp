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
