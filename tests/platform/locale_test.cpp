#include "platform/locale.h"

#include <gtest/gtest.h>
#include <locale.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <random>

#include "platform/sys_child.h"
#include "support/TestEnv.h"

using platform::FormatSettings;
using testing_support::ScopedEnv;
using testing_support::TempDir;

namespace {

// The locales the tests need, built from the system's locale sources (the machine itself may
// have none installed) and kept below the build folder, so that each test process does not build
// them again. A locale is built under a name of its own and renamed into place, so that test
// processes running side by side never see half of one.
class BuiltLocales {
  public:
    BuiltLocales() : folder_(std::string(MOVREX_BUILD_DIR) + "/test-locales") {
        std::filesystem::create_directories(folder_);
        for (const char* name : {"de_DE", "en_US", "fr_FR"}) {
            if (!Build(name)) {
                missing_ = std::string("localedef could not build ") + name +
                           " (is the Debian package \"locales\" installed?)";
                return;
            }
        }
    }
    const std::string& Folder() const { return folder_; }
    const std::string& Missing() const { return missing_; }

  private:
    bool Build(const std::string& name) {
        const std::string target = folder_ + "/" + name + ".UTF-8";
        if (std::filesystem::exists(target + "/LC_TIME")) return true;
        const std::string scratch = folder_ + "/.building-" + std::to_string(getpid()) + name;
        sys_test::Child child({"/usr/bin/localedef", "-i", name, "-f", "UTF-8", scratch});
        child.CloseInput();
        child.ReadAll();
        child.Wait();
        std::error_code ec;
        if (std::filesystem::exists(scratch + "/LC_TIME"))
            std::filesystem::rename(scratch, target, ec);
        std::filesystem::remove_all(scratch, ec);
        return std::filesystem::exists(target + "/LC_TIME");
    }

    std::string folder_;
    std::string missing_;
};

class UserLocale : public testing::Test {
  protected:
    static void SetUpTestSuite() { locales_ = std::make_unique<BuiltLocales>(); }
    static void TearDownTestSuite() { locales_.reset(); }
    void SetUp() override {
        if (!locales_->Missing().empty()) GTEST_SKIP() << locales_->Missing();
        locpath_ = std::make_unique<ScopedEnv>("LOCPATH", locales_->Folder());
    }
    // Sets the four variables for the rest of the test ("" for unset).
    void Use(const std::string& all, const std::string& numeric, const std::string& time,
             const std::string& lang) {
        env_.clear();
        env_.push_back(std::make_unique<ScopedEnv>("LC_ALL", all));
        env_.push_back(std::make_unique<ScopedEnv>("LC_NUMERIC", numeric));
        env_.push_back(std::make_unique<ScopedEnv>("LC_TIME", time));
        env_.push_back(std::make_unique<ScopedEnv>("LANG", lang));
    }

    static std::unique_ptr<BuiltLocales> locales_;
    std::unique_ptr<ScopedEnv> locpath_;
    std::vector<std::unique_ptr<ScopedEnv>> env_;
};
std::unique_ptr<BuiltLocales> UserLocale::locales_;

// 2024-03-07 14:05:09 UTC
const platform::Clock::time_point kThursday = platform::Clock::from_time_t(1709820309);

class InUtc : public testing::Test {
  protected:
    void SetUp() override { tzset(); }
    void TearDown() override {
        tz_.reset();
        tzset();
    }
    std::unique_ptr<ScopedEnv> tz_ = std::make_unique<ScopedEnv>("TZ", "UTC0");
};

FormatSettings German() {
    FormatSettings fs;
    fs.decimalSeparator = ',';
    fs.thousandSeparator = '.';
    return fs;
}

}  // namespace

TEST(FormatNumbers, FixedAndGrouped) {
    const FormatSettings fs = platform::ProgramFormat();
    EXPECT_EQ(platform::FormatFixed(1234.5, 2, fs), "1234.50");
    EXPECT_EQ(platform::FormatFixed(42, 0, fs), "42");
    EXPECT_EQ(platform::FormatNumber(1234567.891, 0, fs), "1,234,568");
    EXPECT_EQ(platform::FormatNumber(-1234.5, 2, fs), "-1,234.50");
    EXPECT_EQ(platform::FormatNumber(-123456, 0, fs), "-123,456");
    EXPECT_EQ(platform::FormatNumber(999.5, 0, fs), "1,000");
    EXPECT_EQ(platform::FormatNumber(123, 1, fs), "123.0");
    EXPECT_EQ(platform::FormatNumber(1e20, 0, fs), "100,000,000,000,000,000,000");
    EXPECT_EQ(platform::FormatNumber(734003200.0, 0, German()), "734.003.200");
    EXPECT_EQ(platform::FormatFixed(0.25, 1, German()), "0,2");
    FormatSettings plain = German();
    plain.thousandSeparator = '\0';
    EXPECT_EQ(platform::FormatNumber(1234567.25, 2, plain), "1234567,25");
}

TEST(FormatNumbers, RoundsAsPrintfDoesButNeverShowsMinusZero) {
    const FormatSettings fs = platform::ProgramFormat();
    EXPECT_EQ(platform::FormatFixed(0.5, 0, fs), "0");
    EXPECT_EQ(platform::FormatFixed(1.5, 0, fs), "2");
    EXPECT_EQ(platform::FormatFixed(2.5, 0, fs), "2");
    EXPECT_EQ(platform::FormatFixed(0.125, 2, fs), "0.12");
    EXPECT_EQ(platform::FormatFixed(-0.001, 2, fs), "0.00");
    EXPECT_EQ(platform::FormatNumber(-0.4, 0, fs), "0");
    EXPECT_EQ(platform::FormatFixed(-0.0, 1, fs), "0.0");
    EXPECT_EQ(platform::FormatFixed(1.005, 2, fs), "1.00");  // 1.005 is a little below
    EXPECT_EQ(platform::FormatFixed(2.0, -3, fs), "2");
    EXPECT_EQ(platform::FormatFixed(NAN, 2, fs), "nan");
    EXPECT_EQ(platform::FormatNumber(-INFINITY, 2, fs), "-inf");
    EXPECT_EQ(platform::FormatNumber(-1e308, 0, fs).size(), 1 + 309 + 102);
}

TEST(FormatNumbers, AgreeWithPrintfOnManyValues) {
    // The test program runs in the "C" locale, where printf writes "." decimals.
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> magnitude(-12, 12);
    const FormatSettings fs = platform::ProgramFormat();
    for (int i = 0; i < 2000; ++i) {
        const double value = (i % 2 ? -1 : 1) * std::pow(10.0, magnitude(random));
        const int decimals = i % 6;
        char expected[512];
        std::snprintf(expected, sizeof expected, "%.*f", decimals, value);
        std::string want = expected;
        if (want.find_first_not_of("-0.") == std::string::npos && want[0] == '-') want.erase(0, 1);
        ASSERT_EQ(platform::FormatFixed(value, decimals, fs), want) << value;
    }
}

TEST(ParseNumbers, StrictDecimalsWithTheSettingsSeparator) {
    const FormatSettings fs = platform::ProgramFormat();
    EXPECT_EQ(platform::ParseFloat("  3.25 \r\n", fs), 3.25);
    EXPECT_EQ(platform::ParseFloat("1e3", fs), 1000.0);
    EXPECT_EQ(platform::ParseFloat("-2.5E-1", fs), -0.25);
    EXPECT_EQ(platform::ParseFloat("+4", fs), 4.0);
    EXPECT_EQ(platform::ParseFloat("5.", fs), 5.0);
    EXPECT_EQ(platform::ParseFloat(".5", fs), 0.5);
    EXPECT_EQ(platform::ParseFloat("23.976", fs), 23.976);
    for (const char* bad : {"", " ", "1,5", "1.5x", "0x10", "inf", "nan", "1e", "1e+", "--1",
                            "1 000", ".", "+", "-", "1.2.3", "e5", "1,000.5", "+-1", "1e999"})
        EXPECT_EQ(platform::ParseFloat(bad, fs), std::nullopt) << '"' << bad << '"';
    EXPECT_EQ(platform::ParseFloat("1,5", German()), 1.5);
    EXPECT_EQ(platform::ParseFloat("-0,5e1", German()), -5.0);
    EXPECT_EQ(platform::ParseFloat("1.5", German()), std::nullopt);
}

TEST(ParseNumbers, WholeNumbersWithinRange) {
    EXPECT_EQ(platform::ParseInteger(" 42 "), 42);
    EXPECT_EQ(platform::ParseInteger("-7"), -7);
    EXPECT_EQ(platform::ParseInteger("+7"), 7);
    EXPECT_EQ(platform::ParseInteger("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(platform::ParseInteger("-9223372036854775808"), INT64_MIN);
    for (const char* bad : {"9223372036854775808", "-9223372036854775809", "", " ", "4 2", "+-5",
                            "-+5", "-", "1.0", "0x1", "12a", "1e3"})
        EXPECT_EQ(platform::ParseInteger(bad), std::nullopt) << '"' << bad << '"';
}

TEST_F(InUtc, DatesAndTimesInTheProgramFormat) {
    const FormatSettings fs = platform::ProgramFormat();
    EXPECT_EQ(platform::FormatShortDate(kThursday, fs), "07/03/2024");
    EXPECT_EQ(platform::FormatLongTime(kThursday, fs), "14:05:09");
}

TEST_F(InUtc, LocalTimeFollowsTheTimeZone) {
    const FormatSettings fs = platform::ProgramFormat();
    ScopedEnv newYork("TZ", "EST5");
    EXPECT_EQ(platform::FormatLongTime(kThursday, fs), "09:05:09");
    ScopedEnv tokyo("TZ", "JST-9");
    EXPECT_EQ(platform::FormatShortDate(platform::Clock::from_time_t(1735687800), fs),
              "01/01/2025");
}

TEST_F(InUtc, EmptyOrUnusualFormats) {
    FormatSettings fs = platform::ProgramFormat();
    fs.shortDateFormat = "";
    EXPECT_EQ(platform::FormatShortDate(kThursday, fs), "");
    fs.longTimeFormat = std::string(3000, 'x') + "%H";
    EXPECT_EQ(platform::FormatLongTime(kThursday, fs), std::string(3000, 'x') + "14");
    fs.localeName = "xx_NOWHERE.UTF-8";
    fs.shortDateFormat = "%B";
    EXPECT_EQ(platform::FormatShortDate(kThursday, fs), "March");
}

TEST_F(UserLocale, NeutralOrUnknownLocalesGivePlainFormats) {
    for (const char* name : {"", "C", "POSIX", "C.UTF-8", "xx_NOWHERE.UTF-8"}) {
        Use("", "", "", name);
        const FormatSettings fs = platform::UserFormat();
        EXPECT_EQ(fs.decimalSeparator, '.') << name;
        EXPECT_EQ(fs.thousandSeparator, '\0') << name;
        EXPECT_EQ(fs.shortDateFormat, "%Y-%m-%d") << name;
        EXPECT_EQ(fs.longTimeFormat, "%H:%M:%S") << name;
        EXPECT_EQ(platform::FormatNumber(1234567.5, 2, fs), "1234567.50") << name;
    }
}

TEST_F(UserLocale, EachCategoryFollowsItsOwnVariable) {
    Use("", "de_DE.UTF-8", "", "en_US.UTF-8");
    FormatSettings fs = platform::UserFormat();
    EXPECT_EQ(fs.decimalSeparator, ',');
    EXPECT_EQ(fs.thousandSeparator, '.');
    EXPECT_EQ(fs.shortDateFormat, "%m/%d/%Y");
    EXPECT_EQ(fs.longTimeFormat, "%r");
    EXPECT_EQ(fs.localeName, "en_US.UTF-8");

    Use("", "C", "de_DE.UTF-8", "en_US.UTF-8");
    fs = platform::UserFormat();
    EXPECT_EQ(fs.decimalSeparator, '.');
    EXPECT_EQ(fs.thousandSeparator, '\0');
    EXPECT_EQ(fs.shortDateFormat, "%d.%m.%Y");
    EXPECT_EQ(fs.localeName, "de_DE.UTF-8");
}

TEST_F(UserLocale, LcAllOverridesEverything) {
    Use("de_DE.UTF-8", "en_US.UTF-8", "en_US.UTF-8", "en_US.UTF-8");
    FormatSettings fs = platform::UserFormat();
    EXPECT_EQ(fs.decimalSeparator, ',');
    EXPECT_EQ(fs.shortDateFormat, "%d.%m.%Y");
    Use("C", "", "", "de_DE.UTF-8");
    fs = platform::UserFormat();
    EXPECT_EQ(fs.decimalSeparator, '.');
    EXPECT_EQ(fs.shortDateFormat, "%Y-%m-%d");
}

TEST_F(UserLocale, SeparatorsOutsideAsciiBecomeABlank) {
    Use("", "", "", "fr_FR.UTF-8");  // groups with a narrow no-break space
    const FormatSettings fs = platform::UserFormat();
    EXPECT_EQ(fs.decimalSeparator, ',');
    EXPECT_EQ(fs.thousandSeparator, ' ');
    EXPECT_EQ(platform::FormatNumber(1234567.5, 1, fs), "1 234 567,5");
}

TEST_F(UserLocale, DatesTimesAndNamesInTheUsersLocale) {
    ScopedEnv utc("TZ", "UTC0");
    Use("", "", "", "en_US.UTF-8");
    FormatSettings fs = platform::UserFormat();
    EXPECT_EQ(platform::FormatShortDate(kThursday, fs), "03/07/2024");
    EXPECT_EQ(platform::FormatLongTime(kThursday, fs), "02:05:09 PM");
    Use("", "", "", "de_DE.UTF-8");
    fs = platform::UserFormat();
    EXPECT_EQ(platform::FormatShortDate(kThursday, fs), "07.03.2024");
    EXPECT_EQ(platform::FormatLongTime(kThursday, fs), "14:05:09");
    fs.shortDateFormat = "%d. %B %Y";
    EXPECT_EQ(platform::FormatShortDate(kThursday, fs), "07. M\xC3\xA4rz 2024");
}

TEST_F(UserLocale, TheProcessWideLocaleChangesNothing) {
    ASSERT_NE(setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    const FormatSettings fs = platform::ProgramFormat();
    const std::string fixed = platform::FormatFixed(1234.5, 2, fs);
    const auto parsed = platform::ParseFloat("2.75", fs);
    const auto rejected = platform::ParseFloat("2,75", fs);
    setlocale(LC_ALL, "C");
    EXPECT_EQ(fixed, "1234.50");
    EXPECT_EQ(parsed, 2.75);
    EXPECT_EQ(rejected, std::nullopt);
}
