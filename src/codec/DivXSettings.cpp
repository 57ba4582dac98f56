#include "codec/CodecWrites.h"

namespace {

constexpr TDwordSetting kDivXFixedBeforeComplexity[] = {
    {"Active Profile", 2},
    {"5.0 Preprocessing Mode", -1},
    {"5.0 Psychovisual Mode", 0},
    {"5.0 Resize Mode", 2},
};

constexpr TDwordSetting kDivXFixedAfterComplexity[] = {
    {"Crop", 0},           {"Deinterlace", 0},    {"Disable feedback", 1},
    {"do_add", 1},         {"do_mc", 1},          {"do_mc_b", 1},
    {"do_writeyuv", 0},    {"do_writeyuvmul", 0}, {"no_vbr_rc", 0},
    {"Frame Dropping", 0}, {"Interlace mode", 0}, {"Psychovisual Enhancement", 0},
    {"Quarter-pel", 0},    {"Resize", 0},         {"Scene change threshold", 50},
    {"Use dialogs", 0},    {"Use GMC", 0},        {"Write MP4 file", 0},
    {"Quality", 5},
};

}  // namespace

void WriteDivXDefaults() {
    TNewRegistry reg;
    OpenForWriting(reg, kDivXKey);
    WriteDwords(reg, kDivXFixedBeforeComplexity);
    reg.WriteString("Complexity Modulation", "0.000000");
    WriteDwords(reg, kDivXFixedAfterComplexity);
    reg.CloseKey();
}

void WriteDivXSettings(const TDivXCodecParams& params) {
    WriteDivXDefaults();
    TNewRegistry reg;
    OpenForWriting(reg, kDivXKey);
    reg.WriteInteger("Bidirectional Encoding", params.Bidirectional);
    reg.WriteInteger("Bitrate", params.TargetBitrate);
    reg.WriteString("Log File Name", params.LogFile);
    reg.WriteString("MV File Name", params.MvFile);
    reg.WriteInteger("VBR Mode", params.VbrMode);
    reg.WriteInteger("Max Keyframe Interval", params.MaxKeyInterval);
    // Mode 1 is the one-pass quality run; the passes keep their log and motion-vector files.
    if (params.VbrMode == 1) {
        reg.WriteInteger("Disable Profile Page", 1);
        reg.WriteInteger("VBR Quality v5", params.VbrQuality);
        reg.WriteInteger("use_mvfile", 0);
        reg.WriteInteger("Write log file", 0);
    } else {
        reg.WriteInteger("Disable Profile Page", 0);
        reg.WriteInteger("use_mvfile", 1);
        reg.WriteInteger("Write log file", 1);
    }
    reg.CloseKey();
}
