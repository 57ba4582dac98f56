#include <gtest/gtest.h>

#include "util/utils.h"

namespace {

std::vector<std::string> Split(const std::string& text, const std::string& sep) {
    std::vector<std::string> list;
    SplitText(text, sep, &list);
    return list;
}

TEST(SplitText, KeepsEmptyPiecesAndTheTail) {
    using V = std::vector<std::string>;
    EXPECT_EQ(Split("a//b", "/"), (V{"a", "", "b"}));
    EXPECT_EQ(Split("a/", "/"), (V{"a", ""}));
    EXPECT_EQ(Split("/", "/"), (V{"", ""}));
    EXPECT_EQ(Split("abc", "/"), (V{"abc"}));
    EXPECT_EQ(Split("Decimate: 13: 1.53", ":"), (V{"Decimate", " 13", " 1.53"}));
    // Only the separator's first character counts.
    EXPECT_EQ(Split("a:b;c", ":;"), (V{"a", "b;c"}));
}

TEST(SplitText, DoesNothingWithoutTextSeparatorOrList) {
    EXPECT_TRUE(Split("", "/").empty());
    EXPECT_TRUE(Split("a/b", "").empty());
    SplitText("a/b", "/", nullptr);
    std::vector<std::string> list{"kept"};
    SplitText("x", "/", &list);
    EXPECT_EQ(list, (std::vector<std::string>{"kept", "x"}));
}

}  // namespace
