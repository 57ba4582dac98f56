#include <gtest/gtest.h>

#include "util/utils.h"

namespace {

TEST(Escape, EAcuteFromEitherCodePageBecomesItsUtf8Bytes) {
    EXPECT_EQ(EscapeUtf8("C:\\Vid\xE9o", CodePage::Windows1252), "C:\\Vid\\xC3\\xA9o");
    EXPECT_EQ(EscapeUtf8("C:\\Vid\xC3\xA9o", CodePage::Utf8), "C:\\Vid\\xC3\\xA9o");
    EXPECT_EQ(EscapeUtf8("C:\\Vid\xC3\xA9o"), "C:\\Vid\\xC3\\xA9o");  // the system's own
    EXPECT_EQ(EscapeHighBytes("C:\\Vid\xE9o"), "C:\\Vid\\xE9o");
}

TEST(Escape, HighBytesUseUpperCaseHexAndLeaveAsciiAlone) {
    std::string ascii;
    for (int c = 0; c <= 0x7F; ++c) ascii += char(c);
    EXPECT_EQ(EscapeHighBytes(ascii), ascii);
    EXPECT_EQ(EscapeHighBytes("\x80\xFF\xab"), "\\x80\\xFF\\xAB");
    EXPECT_EQ(EscapeHighBytes(""), "");
    EXPECT_EQ(EscapeUtf8("\x80", CodePage::Windows1252), "\\xE2\\x82\\xAC");
}

TEST(Escape, Utf8IsCutAt1023BytesWithoutHalfACharacter) {
    EXPECT_EQ(EscapeUtf8(std::string(1023, 'a')), std::string(1023, 'a'));
    EXPECT_EQ(EscapeUtf8(std::string(1500, 'a')), std::string(1023, 'a'));
    // 1021 letters and then e acute end exactly at the limit.
    EXPECT_EQ(EscapeUtf8(std::string(1021, 'a') + "\xE9", CodePage::Windows1252),
              std::string(1021, 'a') + "\\xC3\\xA9");
    // One more letter would split the e acute: it goes whole.
    EXPECT_EQ(EscapeUtf8(std::string(1022, 'a') + "\xE9" + "b", CodePage::Windows1252),
              std::string(1022, 'a'));
    // The cut is on the converted text, not on the input: 600 letters of two bytes each.
    const std::string escaped = EscapeUtf8(std::string(600, '\xE9'), CodePage::Windows1252);
    EXPECT_EQ(escaped.size(), 511u * 8);
}

TEST(Escape, BackslashesAreDoubled) {
    EXPECT_EQ(EscapeBackslashes("C:\\My DVD\\VTS_01_1.VOB"), "C:\\\\My DVD\\\\VTS_01_1.VOB");
    EXPECT_EQ(EscapeBackslashes("\\\\"), "\\\\\\\\");
    EXPECT_EQ(EscapeBackslashes("/plain/path"), "/plain/path");
    EXPECT_EQ(EscapeBackslashes(""), "");
}

}  // namespace
