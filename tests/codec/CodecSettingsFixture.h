#pragma once
// Codec writers write the current user's hive; each test gets a hive of its own and reads it back
// from the file.
#include <gtest/gtest.h>

#include <optional>
#include <string>

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
