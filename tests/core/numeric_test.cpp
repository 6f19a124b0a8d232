#include "core/numeric.h"

#include <gtest/gtest.h>

using velmora::numericInt16;
using velmora::numericValue;
using velmora::roundHalfEven;
using velmora::toInt16;

struct NumericCase
{
    const char *text;
    double value;
};

class NumericValueTest : public ::testing::TestWithParam<NumericCase>
{};

TEST_P(NumericValueTest, ReadsTheLeadingNumber)
{
    EXPECT_DOUBLE_EQ(numericValue(QString::fromLatin1(GetParam().text)), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Texts, NumericValueTest,
                         ::testing::Values(NumericCase{"45.5N", 45.5}, NumericCase{"abc", 0},
                                           NumericCase{"", 0}, NumericCase{"  40", 40},
                                           NumericCase{"-75.7W", -75.7}, NumericCase{"+3", 3},
                                           NumericCase{".5", 0.5}, NumericCase{"7.", 7},
                                           NumericCase{"-", 0}, NumericCase{"-.", 0},
                                           NumericCase{"2e3x", 2000}, NumericCase{"2e", 2},
                                           NumericCase{"2e+", 2}, NumericCase{"1.2.3", 1.2},
                                           NumericCase{"1e999", 0}, NumericCase{"N45", 0}));

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour)
{
    EXPECT_EQ(roundHalfEven(63.5), 64);
    EXPECT_EQ(roundHalfEven(62.5), 62);
    EXPECT_EQ(roundHalfEven(-0.5), 0);
    EXPECT_EQ(roundHalfEven(-1.5), -2);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(2.4999), 2);
    EXPECT_EQ(roundHalfEven(2.5001), 3);
}

TEST(ToInt16, ReportsValuesThatDoNotFit)
{
    bool ok = false;
    EXPECT_EQ(toInt16(32767.4, &ok), 32767);
    EXPECT_TRUE(ok);
    EXPECT_EQ(toInt16(32767.5, &ok), 32767);
    EXPECT_FALSE(ok);
    EXPECT_EQ(toInt16(-32768.5, &ok), -32768); // rounds to the even -32768
    EXPECT_TRUE(ok);
    EXPECT_EQ(toInt16(-1e9, &ok), -32768);
    EXPECT_FALSE(ok);
    EXPECT_EQ(numericInt16(QStringLiteral("63.5"), &ok), 64);
    EXPECT_TRUE(ok);
    EXPECT_EQ(numericInt16(QStringLiteral("62.5")), 62);
}
