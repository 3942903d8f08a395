#include "motion/motion.h"
#include "surface/conversions.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace kansu {
namespace {

TEST(NumberText, ClassicDecimalForm) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, " 0"},
        {2.5, " 2.5"},
        {0.3, " .3"},
        {-1, "-1"},
        {-0.25, "-.25"},
        {3, " 3"},
        {16, " 16"},
        {0.1 + 0.2, " .3"},
        {8, " 8"},
        {1e15, " 1E+15"},
        {123456789012345, " 123456789012345"},
        {999999999999999, " 999999999999999"},
        {1e-5, " .00001"},
        {1e-6, " 1E-06"},
        {-2.5e20, "-2.5E+20"},
        {7.9, " 7.9"},
        {-0.0, " 0"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(conv::numberText(c.value), std::string(c.text)) << c.value;
}

TEST(NumberText, NonFiniteValuesHaveAText) {
    EXPECT_EQ(conv::numberText(std::numeric_limits<double>::infinity()), " Inf");
    EXPECT_EQ(conv::numberText(-std::numeric_limits<double>::infinity()), "-Inf");
    EXPECT_EQ(conv::numberText(std::nan("")), " NaN");
}

TEST(NumericValue, ReadsTheLongestNumericPrefix) {
    const struct {
        const char* text;
        double value;
    } cases[] = {
        {" 0.0", 0},
        {" 4.0", 4},
        {"20", 20},
        {" 0", 0},
        {"3.5", 3.5},
        {"  7.9", 7.9},
        {"-5", -5},
        {"+2", 2},
        {"abc", 0},
        {"", 0},
        {"   ", 0},
        {"12abc", 12},
        {"1.5.3", 1.5},
        {".5", 0.5},
        {"-.5", -0.5},
        {"1e3", 1000},
        {"2D2", 200},
        {"1e", 1},
        {"1e+", 1},
        {"1 2", 12},
        {"\t 8", 8},
        {"&HFFFFFF", 16777215},
        {"&HFFFF", -1},
        {"&H7FFFFFFF", 2147483647},
        {"&HFFFFFFFF", -1},
        {"&O17", 15},
        {"&Hxyz", 0},
        {"&", 0},
        {"１２", 0},
        {"- 3", -3},
        {"1e-400", 0},
        {"--1", 0},
        {"nan", 0},
        {"inf", 0},
        {"2147483648", 2147483648.0},
    };
    for (const auto& c : cases) {
        const conv::NumericValue v = conv::numericValue(std::string(c.text));
        EXPECT_DOUBLE_EQ(v.value, c.value) << c.text;
        EXPECT_FALSE(v.overflow) << c.text;
    }
}

TEST(NumericValue, ReportsOverflowInsteadOfFailing) {
    for (const char* text : {"1e400", "-1e400", "&H123456789"}) {
        const conv::NumericValue v = conv::numericValue(std::string(text));
        EXPECT_TRUE(v.overflow) << text;
        EXPECT_TRUE(std::isinf(v.value)) << text;
    }
    const std::string manyDigits(10000, u'9');
    EXPECT_TRUE(conv::numericValue(manyDigits).overflow);
    EXPECT_DOUBLE_EQ(conv::numericValue(std::string("0.") + manyDigits).value, 1.0);
}

TEST(NumericValue, StopsAtEmbeddedControlCharacters) {
    EXPECT_DOUBLE_EQ(conv::numericValue(std::string("4\0"
                                                    "5",
                                                    3))
                         .value,
                     4);
    EXPECT_DOUBLE_EQ(conv::numericValue(std::string("3\n5")).value, 35); // line feeds are blanks
}

TEST(FullWidth, DigitsAndBlanks) {
    EXPECT_EQ(conv::fullWidth(std::string(" 2")), std::string("　２"));
    EXPECT_EQ(conv::fullWidth(std::string(" 30")), std::string("　３０"));
    EXPECT_EQ(conv::fullWidth(std::string("-1.5A")), std::string("－１．５Ａ"));
    EXPECT_EQ(conv::fullWidth(std::string("秒")), std::string("秒"));
}

TEST(IntegerConversions, HalvesGoToTheEvenNeighbour) {
    const struct {
        double value;
        int expected;
    } cases[] = {{0.5, 0},     {1.5, 2},      {2.5, 2},        {-0.5, 0},
                 {-1.5, -2},   {17.5, 18},    {12.5, 12},      {494.86, 495},
                 {265.4, 265}, {282.06, 282}, {-32768, -32768}};
    for (const auto& c : cases) {
        ASSERT_TRUE(conv::toInt16(c.value).has_value()) << c.value;
        EXPECT_EQ(*conv::toInt16(c.value), c.expected) << c.value;
        EXPECT_EQ(*conv::toInt32(c.value), c.expected) << c.value;
    }
}

TEST(IntegerConversions, OutOfRangeIsReported) {
    EXPECT_FALSE(conv::toInt16(32767.5).has_value());
    EXPECT_FALSE(conv::toInt16(-32769).has_value());
    EXPECT_TRUE(conv::toInt32(2147483647.4).has_value());
    EXPECT_FALSE(conv::toInt32(2147483647.5).has_value());
    EXPECT_FALSE(conv::toInt32(std::numeric_limits<double>::infinity()).has_value());
    EXPECT_FALSE(conv::toInt32(std::nan("")).has_value());
}

TEST(IntegerPart, RoundsDown) {
    EXPECT_EQ(conv::integerPart(2.5), 2);
    EXPECT_EQ(conv::integerPart(-2.5), -3);
    EXPECT_EQ(conv::integerPart(4), 4);
}

TEST(Substrings, OneBasedPositions) {
    EXPECT_EQ(conv::mid(std::string(" .3"), 2), std::string(".3"));
    EXPECT_EQ(conv::mid(std::string("ab"), 3), std::string());
    EXPECT_EQ(conv::mid(std::string("ab"), 0), std::string());
    EXPECT_EQ(conv::position(std::string(" 2.5"), std::string(".")), 3);
    EXPECT_EQ(conv::position(std::string(" 3"), std::string(".")), 0);
}

TEST(TimeText, EveryCounterValueGivesBlankSecondsPointTenths) {
    const struct {
        double d;
        const char* text;
    } cases[] = {{0, " 0.0"},  {4, " 0.1"},   {36, " 0.9"},  {40, " 1.0"},
                 {44, " 1.1"}, {160, " 4.0"}, {316, " 7.9"}, {320, " 8.0"}};
    for (const auto& c : cases)
        EXPECT_EQ(motion::Motion::timeTextFor(c.d), std::string(c.text)) << c.d;

    for (int d = 0; d <= 320; d += 4) {
        const std::string text = motion::Motion::timeTextFor(d);
        const std::string expected =
            " " + std::to_string(d / 40) + "." + std::to_string((d % 40) / 4);
        EXPECT_EQ(text, expected) << d;
        EXPECT_DOUBLE_EQ(conv::numericValue(text).value, d / 40.0) << d;
    }
}

} // namespace
} // namespace kansu
