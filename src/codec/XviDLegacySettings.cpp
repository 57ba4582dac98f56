#include "codec/CodecWrites.h"

namespace {

constexpr TDwordSetting kLegacyFixed[] = {
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
};

}  // namespace

void WriteXviDLegacyDefaults() {
    TNewRegistry reg;
    OpenForWriting(reg, kXviDKey);
    WriteDwords(reg, kLegacyFixed);
    reg.CloseKey();
}

void WriteXviDLegacySettings(const TXviDCodecParams& params, bool essMarker) {
    WriteXviDLegacyDefaults();
    TNewRegistry reg;
    OpenForWriting(reg, kXviDKey);
    reg.WriteInteger("max_bframes", params.BFrames);
    const bool q2 = params.FixedQuant2;
    reg.WriteInteger("max_iquant", q2 ? 2 : params.MaxIQuant);
    reg.WriteInteger("max_pquant", q2 ? 2 : params.MaxPQuant);
    reg.WriteInteger("min_iquant", q2 ? 2 : params.MinIQuant);
    reg.WriteInteger("min_pquant", q2 ? 2 : params.MinPQuant);
    reg.WriteInteger("desired_size", params.DesiredSize);
    reg.WriteInteger("mode", params.Mode);
    reg.WriteInteger("max_key_interval", params.MaxKeyInterval);
    reg.WriteString("stats1", params.StatsFile);
    reg.WriteInteger("quality", params.QualityLevel);
    WriteQuantizerType(reg, params.MatrixType, essMarker);
    reg.CloseKey();
}
