#include "xvid/XvidSettings.h"

#include <climits>

#include "common/CodecError.h"

namespace mxcodec {

namespace {

struct XvidField {
    IntSetting setting;
    int32_t XvidConfig::*member;
};

// The whole-number values of the key: name, default, range. The defaults are the values the
// planner writes when it puts the codec into its known state.
constexpr XvidField kFields[] = {
    {{"mode", kXvidSinglePass, 0, 2}, &XvidConfig::mode},
    {{"desired_quant", 400, 100, 3100}, &XvidConfig::desiredQuant},
    {{"desired_size", 716800, 1, INT32_MAX}, &XvidConfig::desiredSize},
    {{"use_bvop", 1, 0, 1}, &XvidConfig::useBvop},
    {{"max_bframes", 1, 0, 4}, &XvidConfig::maxBframes},
    {{"bquant_ratio", 150, 0, 1000}, &XvidConfig::bquantRatio},
    {{"bquant_offset", 100, -1000, 1000}, &XvidConfig::bquantOffset},
    {{"max_key_interval", 300, 1, 10000}, &XvidConfig::maxKeyInterval},
    {{"closed_gov", 1, 0, 1}, &XvidConfig::closedGov},
    {{"packed", 0, 0, 1}, &XvidConfig::packed},
    {{"quant_type", 0, 0, 2}, &XvidConfig::quantType},
    {{"cartoon_mode", 0, 0, 1}, &XvidConfig::cartoon},
    {{"vhq_mode", 1, 0, 4}, &XvidConfig::vhq},
    {{"trellis_quant", 0, 0, 1}, &XvidConfig::trellis},
    {{"chromame", 1, 0, 1}, &XvidConfig::chromaMe},
    {{"motion_search", 6, 0, 6}, &XvidConfig::motionSearch},
    {{"qpel", 0, 0, 1}, &XvidConfig::qpel},
    {{"gmc", 0, 0, 1}, &XvidConfig::gmc},
    {{"interlacing", 0, 0, 1}, &XvidConfig::interlacing},
    {{"lum_masking", 0, 0, 2}, &XvidConfig::lumMasking},
    {{"frame_drop_ratio", 0, 0, 100}, &XvidConfig::frameDropRatio},
    {{"turbo", 0, 0, 1}, &XvidConfig::turbo},
    {{"keyframe_boost", 10, 0, 100}, &XvidConfig::keyframeBoost},
    {{"kfreduction", 20, 0, 100}, &XvidConfig::kfReduction},
    {{"kfthreshold", 1, 0, 10000}, &XvidConfig::kfThreshold},
    {{"curve_compression_high", 0, 0, 100}, &XvidConfig::curveHigh},
    {{"curve_compression_low", 0, 0, 100}, &XvidConfig::curveLow},
    {{"overflow_control_strength", 5, 0, 100}, &XvidConfig::overflowStrength},
    {{"twopass_max_overflow_improvement", 5, 0, 100}, &XvidConfig::overflowImprovement},
    {{"twopass_max_overflow_degradation", 5, 0, 100}, &XvidConfig::overflowDegradation},
    {{"fourcc_used", 0, 0, 2}, &XvidConfig::fourccUsed},
};

constexpr IntSetting kMinQuant[3] = {
    {"min_iquant", 2, 1, 31}, {"min_pquant", 2, 1, 31}, {"min_bquant", 2, 1, 31}};
constexpr IntSetting kMaxQuant[3] = {
    {"max_iquant", 31, 1, 31}, {"max_pquant", 31, 1, 31}, {"max_bquant", 31, 1, 31}};

struct ZoneField {
    IntSetting setting;  // name without the "zoneN_" prefix
    int32_t XvidZone::*member;
};

constexpr ZoneField kZoneFields[] = {
    {{"frame", 0, 0, INT32_MAX}, &XvidZone::frame},
    {{"mode", 0, 0, 1}, &XvidZone::mode},
    {{"weight", 100, 1, 200}, &XvidZone::weight},
    {{"quant", 500, 100, 3100}, &XvidZone::quant},
    {{"type", 0, 0, 2}, &XvidZone::type},
    {{"greyscale", 0, 0, 1}, &XvidZone::greyscale},
    {{"chroma_opt", 1, 0, 1}, &XvidZone::chromaOpt},
    {{"bvop_threshold", 0, -255, 255}, &XvidZone::bvopThreshold},
};

constexpr IntSetting kNumZones{"num_zones", 1, 0, kMaxXvidZones};
constexpr IntSetting kHasMatrices{"matrices", 0, 0, 1};
constexpr IntSetting kProfile{"profile", 0xf5, 0, 255};

struct ProfileName {
    const char* name;
    int32_t code;
};

constexpr ProfileName kProfiles[] = {
    {"S @ L0", 0x08},  {"S @ L1", 0x01},  {"S @ L2", 0x02},  {"S @ L3", 0x03},  {"AS @ L0", 0xf0},
    {"AS @ L1", 0xf1}, {"AS @ L2", 0xf2}, {"AS @ L3", 0xf3}, {"AS @ L4", 0xf4}, {"AS @ L5", 0xf5},
};

constexpr uint32_t kStateMark = 0x5658584d;  // "MXXV"
constexpr uint32_t kStateVersion = 1;
constexpr size_t kZoneBytes = sizeof(kZoneFields) / sizeof(kZoneFields[0]) * 4;
constexpr uint32_t kStateSize = uint32_t(12 + std::size(kFields) * 4 + 6 * 4 + 4 + 2 * 64 +
                                         kMaxStatsPath + 4 + kMaxXvidZones * kZoneBytes + 4);

std::string ZoneName(size_t zone, const char* field) {
    return "zone" + std::to_string(zone) + "_" + field;
}

XvidZone ReadZone(SettingsReader& reader, size_t index) {
    XvidZone zone;
    for (const ZoneField& f : kZoneFields) {
        zone.*f.member = reader.Int(ZoneName(index, f.setting.name), f.setting);
    }
    return zone;
}

void ReadZones(SettingsReader& reader, XvidConfig& config) {
    const int32_t count = reader.Int(kNumZones);
    config.zones.clear();
    for (int32_t i = 0; i < count; ++i) {
        XvidZone zone = ReadZone(reader, size_t(i));
        if (!config.zones.empty() && zone.frame <= config.zones.back().frame) {
            reader.Warn("Zone " + std::to_string(i) + " starts at frame " +
                        std::to_string(zone.frame) +
                        ", not after the zone before it; it is left out");
            continue;
        }
        config.zones.push_back(zone);
    }
}

void ReadQuantizers(SettingsReader& reader, XvidConfig& config) {
    for (int t = 0; t < 3; ++t) {
        config.minQuant[t] = reader.Int(kMinQuant[t]);
        config.maxQuant[t] = reader.Int(kMaxQuant[t]);
        if (config.maxQuant[t] < config.minQuant[t]) {
            reader.Warn(std::string(kMaxQuant[t].name) + " is below " + kMinQuant[t].name +
                        "; both take " + std::to_string(config.minQuant[t]));
            config.maxQuant[t] = config.minQuant[t];
        }
    }
}

void ReadMatrices(SettingsReader& reader, XvidConfig& config) {
    if (config.quantType != 2) return;
    const std::vector<uint8_t> intra = reader.Bytes("qmatrix_intra", 64);
    const std::vector<uint8_t> inter = reader.Bytes("qmatrix_inter", 64);
    if (intra.empty() || inter.empty()) {
        reader.Warn(
            "Custom matrices are asked for without two usable ones; the standard MPEG "
            "matrices are used");
        return;
    }
    config.hasMatrices = 1;
    std::copy(intra.begin(), intra.end(), config.intraMatrix.begin());
    std::copy(inter.begin(), inter.end(), config.interMatrix.begin());
}

void ReadProfile(SettingsReader& reader, XvidConfig& config) {
    const std::string name = reader.Text("profile", "AS @ L5", 64);
    config.profile = XvidProfileCode(name);
    if (config.profile == 0) {
        reader.Warn("The profile \"" + name + "\" is unknown; using AS @ L5");
        config.profile = 0xf5;
    }
}

// What a blob must satisfy beyond each value's range, as the registry reading ensures it.
void CheckConsistency(const XvidConfig& config) {
    const auto refuse = [](const std::string& text) {
        throw CodecError(MXICERR_BADPARAM, "The codec state is refused: " + text);
    };
    for (int t = 0; t < 3; ++t) {
        if (config.maxQuant[t] < config.minQuant[t])
            refuse(std::string(kMaxQuant[t].name) + " is below its minimum");
    }
    for (size_t i = 1; i < config.zones.size(); ++i) {
        if (config.zones[i].frame <= config.zones[i - 1].frame)
            refuse("its zones are out of order");
    }
    if (config.hasMatrices) {
        for (uint8_t v : config.intraMatrix)
            if (v == 0) refuse("its intra matrix holds a 0");
        for (uint8_t v : config.interMatrix)
            if (v == 0) refuse("its inter matrix holds a 0");
    }
    bool knownProfile = false;
    for (const ProfileName& p : kProfiles) knownProfile |= p.code == config.profile;
    if (!knownProfile) refuse("its profile is unknown");
}

}  // namespace

int32_t XvidProfileCode(const std::string& name) {
    for (const ProfileName& p : kProfiles) {
        if (name == p.name) return p.code;
    }
    return 0;
}

XvidConfig ReadXvidSettings(SettingsReader& reader) {
    XvidConfig config;
    for (const XvidField& f : kFields) config.*f.member = reader.Int(f.setting);
    ReadQuantizers(reader, config);
    config.stats = reader.Text("stats", "", kMaxStatsPath - 1);
    ReadMatrices(reader, config);
    ReadZones(reader, config);
    ReadProfile(reader, config);
    return config;
}

std::vector<uint8_t> SaveXvidState(const XvidConfig& config) {
    StateWriter out(kStateMark, kStateVersion, kStateSize);
    for (const XvidField& f : kFields) out.Int(config.*f.member);
    for (int t = 0; t < 3; ++t) {
        out.Int(config.minQuant[t]);
        out.Int(config.maxQuant[t]);
    }
    out.Int(config.hasMatrices);
    out.Bytes(config.intraMatrix.data(), 64);
    out.Bytes(config.interMatrix.data(), 64);
    out.Text(config.stats, kMaxStatsPath);
    out.Int(int32_t(config.zones.size()));
    for (size_t i = 0; i < size_t(kMaxXvidZones); ++i) {
        const XvidZone zone = i < config.zones.size() ? config.zones[i] : XvidZone{};
        for (const ZoneField& f : kZoneFields) out.Int(zone.*f.member);
    }
    out.Int(config.profile);
    return out.Finish();
}

XvidConfig LoadXvidState(const uint8_t* data, size_t size) {
    StateReader in(data, size, kStateMark, kStateVersion, kStateSize);
    XvidConfig config;
    for (const XvidField& f : kFields) config.*f.member = in.Int(f.setting);
    for (int t = 0; t < 3; ++t) {
        config.minQuant[t] = in.Int(kMinQuant[t]);
        config.maxQuant[t] = in.Int(kMaxQuant[t]);
    }
    config.hasMatrices = in.Int(kHasMatrices);
    in.Bytes(config.intraMatrix.data(), 64);
    in.Bytes(config.interMatrix.data(), 64);
    config.stats = in.Text("stats", kMaxStatsPath);
    const int32_t zones = in.Int(kNumZones);
    config.zones.clear();
    for (int32_t i = 0; i < kMaxXvidZones; ++i) {
        XvidZone zone;
        for (const ZoneField& f : kZoneFields) {
            zone.*f.member = in.Int(ZoneName(size_t(i), f.setting.name), f.setting);
        }
        if (i < zones) config.zones.push_back(zone);
    }
    config.profile = in.Int(kProfile);
    CheckConsistency(config);
    return config;
}

}  // namespace mxcodec
