#include "util/codepage.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

namespace {

// An independent reading of one Windows-1252 byte: the C library's converter.
std::string IconvFrom1252(uint8_t byte) {
    iconv_t cd = iconv_open("UTF-8", "CP1252");
    if (cd == iconv_t(-1)) return "";
    char in[1] = {char(byte)};
    char out[8] = {};
    char* inPtr = in;
    char* outPtr = out;
    size_t inLeft = 1, outLeft = sizeof out;
    const size_t done = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    return done == size_t(-1) ? "" : std::string(out, sizeof out - outLeft);
}

TEST(ToUtf8, Windows1252MatchesAnIndependentConverterForEveryAssignedByte) {
    ASSERT_EQ(IconvFrom1252(0xE9), "\xC3\xA9") << "the C library has no CP1252 converter";
    for (int b = 0x80; b <= 0xFF; ++b) {
        const std::string expected = IconvFrom1252(uint8_t(b));
        if (expected.empty()) continue;  // the five unassigned bytes, checked below
        EXPECT_EQ(ToUtf8(std::string(1, char(b)), CodePage::Windows1252), expected)
            << "byte " << std::hex << b;
    }
}

TEST(ToUtf8, Windows1252KnownLettersAndUnassignedBytes) {
    const auto conv = [](const std::string& s) { return ToUtf8(s, CodePage::Windows1252); };
    EXPECT_EQ(conv("\x80"), "\xE2\x82\xAC");  // euro sign
    EXPECT_EQ(conv("\x82\x83\x84\x85"), "\xE2\x80\x9A\xC6\x92\xE2\x80\x9E\xE2\x80\xA6");
    EXPECT_EQ(conv("\x9F"), "\xC5\xB8");  // Y diaeresis
    EXPECT_EQ(conv("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
    EXPECT_EQ(conv("\xA0\xFF"), "\xC2\xA0\xC3\xBF");
    EXPECT_EQ(conv(std::string("a\0b", 3)), std::string("a\0b", 3));
    EXPECT_EQ(conv("C:\\Vid\xE9o"), "C:\\Vid\xC3\xA9o");
}

TEST(ToUtf8, WellFormedUtf8PassesUnchanged) {
    const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x8E\xAC\xF4\x8F\xBF\xBFz";
    EXPECT_EQ(ToUtf8(text, CodePage::Utf8), text);
    EXPECT_EQ(ToUtf8("", CodePage::Utf8), "");
}

TEST(ToUtf8, IllFormedUtf8BecomesReplacementCharacters) {
    const std::string r = "\xEF\xBF\xBD";
    const auto conv = [](const std::string& s) { return ToUtf8(s, CodePage::Utf8); };
    EXPECT_EQ(conv("a\xE9z"), "a" + r + "z");            // a lone Windows-1252 letter
    EXPECT_EQ(conv("\xC0\xAF"), r + r);                  // overlong "/"
    EXPECT_EQ(conv("\xE0\x80\xAF"), r + r + r);          // overlong, three bytes
    EXPECT_EQ(conv("\xED\xA0\x80"), r + r + r);          // surrogate
    EXPECT_EQ(conv("\xF4\x90\x80\x80"), r + r + r + r);  // above U+10FFFF
    EXPECT_EQ(conv("\xE2\x82"), r);                      // cut at the end
    EXPECT_EQ(conv("\xE2\x82x"), r + "x");               // cut before a letter
    EXPECT_EQ(conv("\xF0\x9F\x8E"), r);                  // four-byte form cut short
    EXPECT_EQ(conv("\x80\xBF"), r + r);                  // stray continuation bytes
    EXPECT_EQ(conv("\xFE\xFF"), r + r);
}

}  // namespace
