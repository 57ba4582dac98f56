#include "app/AdvancedStore.h"

#include <strings.h>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "platform/paths.h"

namespace {

// A line break cannot be part of a stored value, so it tells a missing key.
constexpr const char* kMissing = "\n";

std::optional<std::string> Lookup(const platform::IniFile& ini, const char* key) {
    std::string text = ini.ReadString(kAdvancedSection, key, kMissing);
    if (text == kMissing) return std::nullopt;
    return text;
}

std::optional<bool> ReadChecked(const platform::IniFile& ini, const char* key) {
    const std::optional<std::string> text = Lookup(ini, key);
    if (!text) return std::nullopt;
    if (strcasecmp(text->c_str(), "True") == 0 || *text == "1") return true;
    if (strcasecmp(text->c_str(), "False") == 0 || *text == "0") return false;
    return std::nullopt;
}

std::optional<int32_t> ReadWhole(const platform::IniFile& ini, const char* key, int32_t min,
                                 int32_t max) {
    const std::optional<std::string> text = Lookup(ini, key);
    if (!text) return std::nullopt;
    int32_t value = 0;
    const char* last = text->data() + text->size();
    auto [end, ec] = std::from_chars(text->data(), last, value);
    if (ec != std::errc() || end != last || text->empty()) return std::nullopt;
    if (value < min || value > max) return std::nullopt;
    return value;
}

// The bitrate field's value is written as a general number ("128", and "128.5" would be
// possible): read as a decimal with "." and rounded.
std::optional<int32_t> ReadNumber(const platform::IniFile& ini, const char* key) {
    const std::optional<std::string> text = Lookup(ini, key);
    if (!text || text->empty()) return std::nullopt;
    double value = 0;
    const char* last = text->data() + text->size();
    auto [end, ec] = std::from_chars(text->data(), last, value);
    if (ec != std::errc() || end != last || !std::isfinite(value)) return std::nullopt;
    if (value < kBitrateMin || value > kBitrateMax) return std::nullopt;
    return static_cast<int32_t>(std::nearbyint(value));
}

// Widths sit on the arrows' steps; anything else was not written by the dialog.
std::optional<int32_t> ReadWidth(const platform::IniFile& ini, const char* key) {
    std::optional<int32_t> width = ReadWhole(ini, key, kWidthMin, kWidthMax);
    if (width && (*width - kWidthMin) % kWidthStep != 0) return std::nullopt;
    return width;
}

}  // namespace

std::string AdvancedIniPath() {
    return platform::ConfigFolder() + "/movrex.ini";
}

TStoredAdvanced ReadStoredAdvanced(const platform::IniFile& ini) {
    TStoredAdvanced stored;
    stored.ForcedSubs = ReadChecked(ini, "cbForcedSubs_Checked");
    stored.ExternalSubs = ReadChecked(ini, "cbExternalSubs_Checked");
    stored.WidthText = ReadWidth(ini, "edWidth_Text");
    stored.AudioIndex = ReadWhole(ini, "rgAudio_ItemIndex", -1, 3);
    stored.CodecIndex = ReadWhole(ini, "rgCodec_ItemIndex", -1, 1);
    stored.ResolutionIndex = ReadWhole(ini, "rgResolution_ItemIndex", 0, 2);
    stored.Bitrate = ReadNumber(ini, "spinBitrate_Value");
    stored.WidthPosition = ReadWidth(ini, "udWidth_Position");
    return stored;
}

bool WriteStoredAdvanced(platform::IniFile& ini, const TAdvancedValues& values) {
    const auto checked = [](bool on) { return std::string(on ? "True" : "False"); };
    const std::string width = std::to_string(values.Width);
    bool ok = ini.WriteString(kAdvancedSection, "cbForcedSubs_Checked", checked(values.ForcedSubs));
    ok = ok &&
         ini.WriteString(kAdvancedSection, "cbExternalSubs_Checked", checked(values.ExternalSubs));
    ok = ok && ini.WriteString(kAdvancedSection, "edWidth_Text", width);
    ok = ok && ini.WriteInteger(kAdvancedSection, "rgAudio_ItemIndex", values.AudioIndex);
    ok = ok && ini.WriteInteger(kAdvancedSection, "rgCodec_ItemIndex", values.CodecIndex);
    ok = ok && ini.WriteInteger(kAdvancedSection, "rgResolution_ItemIndex", values.ResolutionIndex);
    ok = ok && ini.WriteInteger(kAdvancedSection, "spinBitrate_Value", values.Bitrate);
    ok = ok && ini.WriteString(kAdvancedSection, "udWidth_Position", width);
    return ok;
}

TAdvancedValues WithStored(TAdvancedValues values, const TStoredAdvanced& stored) {
    values.ForcedSubs = stored.ForcedSubs.value_or(values.ForcedSubs);
    values.ExternalSubs = stored.ExternalSubs.value_or(values.ExternalSubs);
    values.Width = stored.WidthPosition.value_or(stored.WidthText.value_or(values.Width));
    values.AudioIndex = stored.AudioIndex.value_or(values.AudioIndex);
    values.CodecIndex = stored.CodecIndex.value_or(values.CodecIndex);
    values.ResolutionIndex = stored.ResolutionIndex.value_or(values.ResolutionIndex);
    values.Bitrate = stored.Bitrate.value_or(values.Bitrate);
    ApplyResolutionRule(values);
    ApplyAudioRule(values);
    return values;
}

TAdvancedValues StoredAdvancedDefaults() {
    return WithStored(TAdvancedValues(), ReadStoredAdvanced(platform::IniFile(AdvancedIniPath())));
}
