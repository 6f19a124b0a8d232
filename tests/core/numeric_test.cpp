#include "core/numeric.h"

#include <gtest/gtest.h>
#include <limits>

using namespace velmora;

TEST(NumericValue, ReadsSignDigitsAndOnePointOnly)
{
    const QString many = QStringLiteral("1") + QString(9999, u'0');
    const std::pair<QString, double> cases[] = {
        {QStringLiteral("  -75.7W"), -75.7},
        {QStringLiteral("abc"), 0},
        {QStringLiteral(".5"), 0.5},
        {QStringLiteral("5."), 5},
        {QStringLiteral("-."), 0},
        {QStringLiteral("+5"), 5},
        {QStringLiteral("--5"), 0},
        {QStringLiteral("+-5"), 0},
        {QStringLiteral("1.5.3"), 1.5},
        // No exponent: reading stops at the letter.
        {QStringLiteral("1e39"), 1},
        {QStringLiteral("-1e40"), -1},
        {QStringLiteral("2e"), 2},
        {QStringLiteral("2E3x"), 2},
        // Digits beyond what a double holds: an infinity for the callers to clamp, or nothing.
        {many, std::numeric_limits<double>::infinity()},
        {u'-' + many + u'N', -std::numeric_limits<double>::infinity()},
        {QString(9999, u'0') + QStringLiteral("12"), 12},
        {QStringLiteral("0.") + QString(9999, u'0') + u'7', 0},
    };
    for (const auto &[text, value] : cases)
        EXPECT_EQ(numericValue(text), value) << text.left(20).toStdString();
    // Text without a number reads as 0 but is no number at all.
    EXPECT_FALSE(leadingNumber(QStringLiteral(" .x")).has_value());
    EXPECT_EQ(leadingNumber(QStringLiteral("0x")), 0.0);
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
        {32767.4, 32767, true},
        {32767.5, 32767, false},
        {-32768.5, -32768, true},
        {-std::numeric_limits<double>::infinity(), -32768, false}};
    for (const auto &[value, clipped, fits] : cases) {
        bool ok = !fits;
        EXPECT_EQ(toInt16(value, &ok), clipped) << value;
        EXPECT_EQ(ok, fits) << value;
    }
}
