// Each writer's whole key against the stored hive, so that a value written with another name,
// number or type, or one written too many or too few, shows as a line of difference.
#include <functional>

#include "CodecSettingsFixture.h"
#include "platform/files.h"

namespace {

const std::string kStored =
    std::string(MOVREX_TEST_SOURCE_DIR) + "/codec/expected/codec_settings.reg";

// The values of `key` in `hive`, as hive text under the section `section`.
std::string KeyText(const platform::Hive& hive, const std::string& key,
                    const std::string& section) {
    platform::Hive one;
    one.CreateKey(section);
    for (const std::string& name : hive.ValueNames(key))
        one.SetValue(section, name, *hive.GetValue(key, name));
    return one.Serialize();
}

TXviDCodecParams LegacyRun() {
    TXviDCodecParams p = RunValues();
    p.BFrames = -1;
    p.Mode = 5;
    p.QualityLevel = 100;
    p.CreditsFrame = 141000;  // the older layout has no zones
    return p;
}

using StoredSettings = CodecHiveTest;

TEST_F(StoredSettings, EachWriterLeavesItsKeyAsStored) {
    const struct {
        const char* name;
        const char* key;
        std::function<void()> write;
    } cases[] = {
        {"XviD core defaults", kXviDKey, [] { WriteXviDCoreDefaults(); }},
        {"XviD legacy run", kXviDKey, [] { WriteXviDLegacySettings(LegacyRun(), false); }},
        {"DivX first pass", kDivXKey, [] { WriteDivXSettings(Pass(2)); }},
    };
    const platform::Hive stored = platform::LoadHive(kStored);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(platform::DeleteTree(platform::CurrentUserHivePath()));
        c.write();
        const std::string section = std::string(c.name) + "\\" + c.key;
        ASSERT_TRUE(stored.KeyExists(section)) << kStored;
        EXPECT_EQ(KeyText(platform::LoadHive(platform::CurrentUserHivePath()), c.key, section),
                  KeyText(stored, section, section));
    }
}

}  // namespace
