#include "platform/text_lines.h"

#include <gtest/gtest.h>

namespace {

using platform::LineBreaks;
using platform::SplitLines;
using platform::SplitTextLines;
using Lines = std::vector<std::string>;

TEST(TextLines, LfFilesReadAlikeWithOrWithoutCr) {
    const struct {
        const char* text;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"\n", {""}},
        {"a\r\nb\nc", {"a", "b", "c"}},
        {"a\n\nb\n", {"a", "", "b"}},
        {"a\r", {"a"}},          // a CR that ends the text ends its last line
        {"a\r\r\n", {"a\r"}},    // only the CR right before the LF belongs to the line end
        {"a\rb\r\n", {"a\rb"}},  // a lone CR inside a line is text
        {"\xEF\xBB\xBFx\n", {"\xEF\xBB\xBFx"}},  // the mark is kept unless asked
    };
    for (const auto& c : cases) EXPECT_EQ(SplitLines(c.text), c.lines) << c.text;
}

TEST(TextLines, AnyBreakEndsALineWhenAskedFor) {
    const platform::LineOptions any{LineBreaks::CrOrLf, false};
    EXPECT_EQ(SplitLines("a\rb\r\nc\n\nd", any), (Lines{"a", "b", "c", "", "d"}));
    EXPECT_EQ(SplitLines("a\r\r", any), (Lines{"a", ""}));
    EXPECT_EQ(SplitLines("a\n\r", any), (Lines{"a", ""}));
}

TEST(TextLines, AByteOrderMarkIsSkippedOnlyAtTheStart) {
    const platform::LineOptions skip{LineBreaks::Lf, true};
    EXPECT_EQ(SplitLines("\xEF\xBB\xBFx\r\ny", skip), (Lines{"x", "y"}));
    EXPECT_EQ(SplitLines("\xEF\xBB\xBF", skip), Lines{});
    EXPECT_EQ(SplitLines("x\n\xEF\xBB\xBFy", skip), (Lines{"x", "\xEF\xBB\xBFy"}));
    EXPECT_EQ(SplitLines("\xEF\xBBx", skip), Lines{"\xEF\xBBx"});
}

TEST(TextLines, LinesAndTheirEndsGiveBackTheWholeText) {
    for (const LineBreaks breaks : {LineBreaks::Lf, LineBreaks::CrOrLf}) {
        for (const std::string text : {"a\r\nb\nc\r", "\r\r\n\n", "x", "a\n\r\nb\r\rc"}) {
            std::string joined;
            for (const auto& line : SplitTextLines(text, {breaks, false}))
                joined += line.text + line.end;
            EXPECT_EQ(joined, text);
        }
    }
    const auto lines = SplitTextLines("a\r\nb\nc\r");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].end, "\r\n");
    EXPECT_EQ(lines[1].end, "\n");
    EXPECT_EQ(lines[2].end, "\r");
    EXPECT_EQ(SplitTextLines("a\rb", {LineBreaks::CrOrLf, false}).back().end, "");
}

}  // namespace
