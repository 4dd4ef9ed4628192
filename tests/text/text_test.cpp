#include "text/text.hpp"

#include <gtest/gtest.h>

namespace tarnwick {
namespace {

TEST(Text, NthTokenCountsFromOneAndSkipsDelimiterRuns) {
    EXPECT_EQ(nthToken("  a\t\tbb \r\n c ", 1), "a");
    EXPECT_EQ(nthToken("  a\t\tbb \r\n c ", 2), "bb");
    EXPECT_EQ(nthToken("  a\t\tbb \r\n c ", 3), "c");
    EXPECT_EQ(nthToken("  a\t\tbb \r\n c ", 4), "");
    EXPECT_EQ(nthToken("a b", 0), "a");
    EXPECT_EQ(nthToken("a b", -7), "a");
    EXPECT_EQ(nthToken("", 1), "");
    EXPECT_EQ(nthToken(";;bm e4;; id x;", 2, ";"), " id x");
    EXPECT_EQ(nthToken("a\vb\fc", 3), "c");
}

TEST(Text, TrimmingAndCollapsing) {
    EXPECT_EQ(trimmed(" \t\v\f x y \r\n"), "x y");
    EXPECT_EQ(trimmed("   "), "");
    EXPECT_EQ(collapseBlanks("  a   b\t\tc  "), "a b c");
    EXPECT_EQ(collapseBlanks(""), "");

    std::string controls("\x01\x20 abc\x7f\x80\x00\x1f", 10);
    trimControls(controls);
    EXPECT_EQ(controls, "abc\x7f\x80");
    std::string onlyControls("\x00\x05 ", 3);
    trimControls(onlyControls);
    EXPECT_EQ(onlyControls, "");
}

TEST(Text, IsNumberUsesTheDigitSetOfItsBase) {
    EXPECT_TRUE(isNumber("0755", 8));
    EXPECT_FALSE(isNumber("08", 8));
    EXPECT_TRUE(isNumber("123", 10));
    EXPECT_FALSE(isNumber("-1", 10));
    EXPECT_TRUE(isNumber("dEaD1", 16));
    EXPECT_TRUE(isNumber("+1.5 -2", 0));
    EXPECT_FALSE(isNumber("e4", 0));
    EXPECT_FALSE(isNumber("", 10));
    // Whole numbers: a minus, a plus only when asked for, and values the type can hold.
    EXPECT_TRUE(isWholeNumber("-12") && isWholeNumber("+12", true) && isWholeNumber("99999999999"));
    EXPECT_FALSE(isWholeNumber("+12") || isWholeNumber("-", true) || isWholeNumber(" 1"));
    EXPECT_EQ(wholeNumber<int32_t>("-2147483648"), INT32_MIN);
    EXPECT_EQ(wholeNumber<int32_t>("99999999999"), std::nullopt);
    EXPECT_EQ(wholeNumber<uint32_t>("-1"), std::nullopt);
}

TEST(Text, AtoiRuleSaturatesInsteadOfOverflowing) {
    EXPECT_EQ(atoiValue("  -35xyz"), -35);
    EXPECT_EQ(atoiValue("+7"), 7);
    EXPECT_EQ(atoiValue("abc"), 0);
    EXPECT_EQ(atoiValue(""), 0);
    EXPECT_EQ(atoiValue("- 5"), 0);
    EXPECT_EQ(atoiValue("99999999999999999999"), 2147483647);
    EXPECT_EQ(atoiValue("-99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(atoiValue("-2147483648"), -2147483647 - 1);
}

}  // namespace
}  // namespace tarnwick
