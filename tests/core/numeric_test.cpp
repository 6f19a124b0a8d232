#include "core/numeric.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(NumericValue, ReadsTheLeadingNumber)
{
    const std::pair<const char *, double> cases[] = {
        {"45.5N", 45.5}, {"abc", 0},     {"", 0},      {"  40", 40}, {"-75.7W", -75.7}, {"+3", 3},
        {".5", 0.5},     {"7.", 7},      {"-", 0},     {"-.", 0},    {"2e3x", 2000},    {"2e", 2},
        {"2e+", 2},      {"1.2.3", 1.2}, {"1e999", 0}, {"N45", 0}};
    for (const auto &[text, value] : cases)
        EXPECT_DOUBLE_EQ(numericValue(QString::fromLatin1(text)), value) << text;
}

TEST(NumericValue, OverflowIsNoNumber)
{
    EXPECT_FALSE(leadingNumber(QStringLiteral("1e999")).has_value());
    EXPECT_FALSE(leadingNumber(QStringLiteral("-1e999x")).has_value());
    EXPECT_EQ(leadingNumber(QStringLiteral("abc")), 0.0);
    EXPECT_EQ(leadingNumber(QStringLiteral("0e999")), 0.0);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour)
{
    const std::pair<double, int> cases[] = {{63.5, 64}, {62.5, 62},  {-0.5, 0},  {-1.5, -2},
                                            {-2.5, -2}, {2.4999, 2}, {2.5001, 3}};
    for (const auto &[value, rounded] : cases)
        EXPECT_EQ(roundHalfEven(value), rounded) << value;
}

TEST(ToInt16, ReportsValuesThatDoNotFit)
{
    const std::tuple<double, int, bool> cases[] = {{32767.4, 32767, true},
                                                   {32767.5, 32767, false},
                                                   {-32768.5, -32768, true},
                                                   {-1e9, -32768, false}};
    for (const auto &[value, clipped, fits] : cases) {
        bool ok = !fits;
        EXPECT_EQ(toInt16(value, &ok), clipped) << value;
        EXPECT_EQ(ok, fits) << value;
    }
    EXPECT_EQ(numericInt16(QStringLiteral("63.5")), 64);
    EXPECT_EQ(numericInt16(QStringLiteral("62.5")), 62);
}
