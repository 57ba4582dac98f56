#include "divx/DivxSettings.h"

namespace mxcodec {

namespace {

struct DivxField {
    IntSetting setting;
    int32_t DivxConfig::*member;
};

// Name, default and range of each value read; the defaults are those of a one-pass run.
constexpr DivxField kFields[] = {
    {{"VBR Mode", kDivxQuality, 1, 3}, &DivxConfig::mode},
    {{"VBR Quality v5", 40, 10, 310}, &DivxConfig::quality},
    {{"Bitrate", 1000000, 16000, 100000000}, &DivxConfig::bitrate},
    {{"Bidirectional Encoding", 1, 0, 1}, &DivxConfig::bidirectional},
    {{"Max Keyframe Interval", 300, 1, 10000}, &DivxConfig::maxKeyInterval},
    {{"Quality", 5, 0, 5}, &DivxConfig::effort},
    {{"Quarter-pel", 0, 0, 1}, &DivxConfig::quarterPel},
    {{"Interlace mode", 0, 0, 3}, &DivxConfig::interlaced},
};

constexpr uint32_t kStateMark = 0x5844584d;  // "MXDX"
constexpr uint32_t kStateVersion = 1;
constexpr uint32_t kStateSize = uint32_t(12 + std::size(kFields) * 4 + kMaxLogPath);

}  // namespace

DivxConfig ReadDivxSettings(SettingsReader& reader) {
    DivxConfig config;
    for (const DivxField& f : kFields) {
        // Only a one-pass run has a quality; the passes do not write it.
        if (f.member == &DivxConfig::quality && config.mode != kDivxQuality) continue;
        config.*f.member = reader.Int(f.setting);
    }
    config.logFile = reader.Text("Log File Name", "", kMaxLogPath - 1);
    return config;
}

std::vector<uint8_t> SaveDivxState(const DivxConfig& config) {
    StateWriter out(kStateMark, kStateVersion, kStateSize);
    for (const DivxField& f : kFields) out.Int(config.*f.member);
    out.Text(config.logFile, kMaxLogPath);
    return out.Finish();
}

DivxConfig LoadDivxState(const uint8_t* data, size_t size) {
    StateReader in(data, size, kStateMark, kStateVersion, kStateSize);
    DivxConfig config;
    for (const DivxField& f : kFields) config.*f.member = in.Int(f.setting);
    config.logFile = in.Text("Log File Name", kMaxLogPath);
    return config;
}

}  // namespace mxcodec
