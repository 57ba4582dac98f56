#include "codec/CodecWrites.h"

namespace {

constexpr TDwordSetting kCoreFixed[] = {
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
};

// The first zone covers the whole movie at full weight.
constexpr TDwordSetting kFirstZone[] = {
    {"zone0_frame", 0},      {"zone0_mode", 0},           {"zone0_weight", 100},
    {"zone0_quant", 500},    {"zone0_type", 0},           {"zone0_greyscale", 0},
    {"zone0_chroma_opt", 1}, {"zone0_bvop_threshold", 0},
};

void WriteQuantizerLimits(TNewRegistry& reg, const TXviDCodecParams& params) {
    const bool q2 = params.FixedQuant2;
    reg.WriteInteger("max_iquant", q2 ? 2 : params.MaxIQuant);
    reg.WriteInteger("max_pquant", q2 ? 2 : params.MaxPQuant);
    reg.WriteInteger("min_iquant", q2 ? 2 : params.MinIQuant);
    reg.WriteInteger("min_pquant", q2 ? 2 : params.MinPQuant);
    reg.WriteInteger("min_bquant", q2 ? 2 : params.MinIQuant);
    reg.WriteInteger("max_bquant", q2 ? 2 : params.MaxPQuant);
}

// A second zone from the first credits frame on, with its own weight; the credits may use any
// quantizer up to 31.
void WriteCreditsZone(TNewRegistry& reg, const TXviDCodecParams& params) {
    reg.WriteInteger("num_zones", 2);
    reg.WriteInteger("zone1_frame", params.CreditsFrame);
    reg.WriteInteger("zone1_mode", 0);
    reg.WriteInteger("zone1_weight", params.CreditsWeight);
    reg.WriteInteger("zone1_quant", 500);
    reg.WriteInteger("zone1_type", 0);
    reg.WriteInteger("zone1_greyscale", params.CreditsGreyscale ? 1 : 0);
    reg.WriteInteger("zone1_chroma_opt", 1);
    reg.WriteInteger("zone1_bvop_threshold", 0);
    reg.WriteInteger("max_iquant", 31);
    reg.WriteInteger("max_pquant", 31);
    reg.WriteInteger("max_bquant", 31);
}

}  // namespace

void WriteXviDCoreDefaults() {
    TNewRegistry reg;
    OpenForWriting(reg, kXviDKey);
    WriteDwords(reg, kCoreFixed);
    reg.WriteString("profile", "AS @ L5");
    WriteDwords(reg, kFirstZone);
    reg.CloseKey();
}

void WriteXviDCoreSettings(const TXviDCodecParams& params, bool essMarker) {
    WriteXviDCoreDefaults();
    TNewRegistry reg;
    OpenForWriting(reg, kXviDKey);
    reg.WriteInteger("cartoon_mode", params.Cartoon ? 1 : 0);
    reg.WriteInteger("use_bvop", params.BFrames == 1 ? 1 : 0);
    WriteQuantizerLimits(reg, params);
    reg.WriteInteger("desired_size", params.DesiredSize);
    reg.WriteInteger("mode", params.Mode);
    reg.WriteInteger("max_key_interval", params.MaxKeyInterval);
    reg.WriteString("stats", params.StatsFile);
    reg.WriteInteger("desired_quant", params.QualityLevel);
    if (params.CreditsFrame > 0) WriteCreditsZone(reg, params);
    WriteQuantizerType(reg, params.MatrixType, essMarker);
    reg.CloseKey();
}
