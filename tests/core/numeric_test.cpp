#include "core/numeric.h"

#include <gtest/gtest.h>
#include <limits>

using namespace velmora;

TEST(NumericValue, ReadsSignDigitsAndOnePointRoundsHalvesToEvenReportsMisfits)
{
    // No exponent: reading stops at the letter.
    const std::pair<const char *, double> cases[] = {
        {"  -75.7W", -75.7}, {"abc", 0}, {".5", 0.5},    {"5.", 5},   {"-.", 0},     {"+5", 5},
        {"--5", 0},          {"+-5", 0}, {"1.5.3", 1.5}, {"1e39", 1}, {"-1e40", -1}, {"2e", 2}};
    for (const auto &[text, value] : cases)
        EXPECT_EQ(numericValue(QString::fromLatin1(text)), value) << text;
    // Digits beyond what a double holds: an infinity for the callers to clamp, or nothing.
    const QString many = QStringLiteral("1") + QString(9999, u'0');
    EXPECT_EQ(numericValue(u'-' + many + u'N'), -std::numeric_limits<double>::infinity());
    EXPECT_EQ(numericValue(QString(9999, u'0') + QStringLiteral("12")), 12);
    EXPECT_EQ(numericValue(QStringLiteral("0.") + QString(9999, u'0') + u'7'), 0);
    // Text without a number reads as 0 but is no number at all.
    EXPECT_FALSE(leadingNumber(QStringLiteral(" .x")).has_value());
    EXPECT_EQ(leadingNumber(QStringLiteral("0x")), 0.0);

    const std::pair<double, int> halves[] = {{63.5, 64}, {62.5, 62}, {-2.5, -2}, {2.5001, 3}};
    for (const auto &[value, rounded] : halves)
        EXPECT_EQ(roundHalfEven(value), rounded) << value;
    EXPECT_EQ(numericInt16(QStringLiteral("62.5")), 62);
    // toInt16 clips what does not fit and says so.
    const std::tuple<double, int, bool> clips[] = {
        {32767.4, 32767, true},
        {32767.5, 32767, false},
        {-32768.5, -32768, true},
        {-std::numeric_limits<double>::infinity(), -32768, false}};
    for (const auto &[value, clipped, fits] : clips) {
        bool ok = !fits;
        EXPECT_EQ(toInt16(value, &ok), clipped) << value;
        EXPECT_EQ(ok, fits) << value;
    }
}
