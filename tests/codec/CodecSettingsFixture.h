#pragma once
// Codec writers write the current user's hive; each test gets a hive of its own and reads it back
// from the file.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "codec/reg.h"
#include "platform/paths.h"
#include "platform/registry.h"
#include "support/TestEnv.h"

class CodecHiveTest : public ::testing::Test {
  protected:
    CodecHiveTest() : env_("MOVREX_CONFIG_DIR", dir_.Path()) {}

    std::optional<platform::RegistryValue> Value(const std::string& key, const std::string& name) {
        return platform::LoadHive(platform::CurrentUserHivePath()).GetValue(key, name);
    }
    // The DWORD as the signed number the writer was given; fails the test for a missing value
    // or one of another type.
    int32_t Dword(const std::string& key, const std::string& name) {
        auto v = Value(key, name);
        EXPECT_TRUE(v && v->type == platform::RegistryValue::Type::Dword) << name;
        return v ? static_cast<int32_t>(v->dword) : INT32_MIN;
    }
    std::string Text(const std::string& key, const std::string& name) {
        auto v = Value(key, name);
        EXPECT_TRUE(v && v->type == platform::RegistryValue::Type::String) << name;
        return v ? v->text : std::string();
    }

    testing_support::TempDir dir_;
    testing_support::ScopedEnv env_;
};

struct ExpectedDword {
    const char* name;
    int32_t value;
};

// The values of a typical XviD run and of a DivX pass of `mode`.
inline TXviDCodecParams RunValues() {
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

inline TDivXCodecParams Pass(int32_t mode) {
    TDivXCodecParams p;
    p.Bidirectional = 1;
    p.TargetBitrate = 1185000;
    p.VbrMode = mode;
    p.LogFile = "/My Films/mx_tmp/film_codec.log";
    p.MvFile = "/My Films/mx_tmp/film_codec.mv";
    p.MaxKeyInterval = 250;
    p.VbrQuality = 20;
    return p;
}
