#include "core/numeric.h"

#include <gtest/gtest.h>

using namespace velmora;

TEST(NumericValue, ReadsTheLeadingNumber)
{
    const std::pair<const char *, double> cases[] = {
        {"  -75.7W", -75.7}, {"abc", 0}, {".5", 0.5},    {"-.", 0},
        {"2e3x", 2000},      {"2e+", 2}, {"1.2.3", 1.2}, {"1e999", 0}};
    for (const auto &[text, value] : cases)
        EXPECT_DOUBLE_EQ(numericValue(QString::fromLatin1(text)), value) << text;
    // Overflow is no number at all, unlike text without digits.
    EXPECT_FALSE(leadingNumber(QStringLiteral("-1e999x")).has_value());
    EXPECT_EQ(leadingNumber(QStringLiteral("abc")), 0.0);
    EXPECT_EQ(leadingNumber(QStringLiteral("0e999")), 0.0);
}

TEST(RoundHalfEven, HalvesGoToTheEvenNeighbour)
{
    const std::pair<double, int> cases[] = {{63.5, 64}, {62.5, 62}, {-2.5, -2}, {2.5001, 3}};
    for (const auto &[value, rounded] : cases)
        EXPECT_EQ(roundHalfEven(value), rounded) << value;
    EXPECT_EQ(numericInt16(QStringLiteral("62.5")), 62);
}

TEST(ToInt16, ReportsValuesThatDoNotFit)
{
    const std::tuple<double, int, bool> cases[] = {
        {32767.4, 32767, true}, {32767.5, 32767, false}, {-32768.5, -32768, true}};
    for (const auto &[value, clipped, fits] : cases) {
        bool ok = !fits;
        EXPECT_EQ(toInt16(value, &ok), clipped) << value;
        EXPECT_EQ(ok, fits) << value;
    }
}
