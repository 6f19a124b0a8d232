#include "sky/core/navigation.h"

#include <array>
#include <gtest/gtest.h>

using namespace velmora;

TEST(Navigation, JumpsUnitsAndReset)
{
    using U = JumpUnit;
    // clang-format off
    struct { Moment from; JumpUnit unit; qint64 count; Moment to; } cases[] = {
        {Moment(2003, 1, 31, 10), U::Month, 1, Moment(2003, 2, 28, 10)},
        {Moment(2024, 2, 29, 23, 59, 59), U::Year, 1, Moment(2025, 2, 28, 23, 59, 59)},
        {Moment(2026, 12, 31, 22), U::Hour, 3, Moment(2027, 1, 1, 1)},
        {Moment(9999, 12, 31, 22), U::Hour, 1, Moment(9999, 12, 31, 23)},
        // Out of the years 100..9999: no moment.
        {Moment(9999, 12, 31, 23), U::Hour, 1, Moment()},
        {Moment(150, 6, 1), U::Decade, -12, Moment()},
        {Moment(2000, 1, 1), U::Decade, qint64(1) << 50, Moment()},
        {Moment(), U::Day, 0, Moment()},
    };
    // clang-format on
    for (const auto &c : cases)
        EXPECT_EQ(jumpMoment(c.from, c.unit, c.count).value_or(Moment()), c.to)
            << c.from.toDateTime().toString().toStdString() << " by " << c.count;
    EXPECT_EQ(jumpUnitFromOptions(std::array{false, true, false, false, true, false}),
              JumpUnit::Day);
    EXPECT_EQ(jumpUnitFromOptions(std::array{false, false, false, false, false, false}),
              JumpUnit::Decade);
    EXPECT_EQ(recoveryMoment(Moment(999, 12, 31, 23, 59, 59)), Moment(100, 1, 1));
    EXPECT_EQ(recoveryMoment(Moment(1000, 1, 1)), Moment(3000, 1, 1));
}

TEST(Navigation, PlaceBoxes)
{
    // clang-format off
    struct { decltype(&readLatitude) read; QString text; float value; QString written; } cases[] = {
        {readLatitude, QStringLiteral("12S"), -12, QStringLiteral("12S")},
        {readLatitude, QStringLiteral("-12"), -12, QStringLiteral("12S")},
        {readLatitude, QStringLiteral(" -33.9n"), 33.9f, QStringLiteral("33.9N")},
        {readLatitude, QString(), 0, QStringLiteral("0N")},
        {readLatitude, QStringLiteral("-0S"), 0, QStringLiteral("0N")},
        // Beyond a pole is no place: latitude stops at 90.
        {readLatitude, QStringLiteral("90.5"), 90, QStringLiteral("90N")},
        {readLatitude, QStringLiteral("200S"), -90, QStringLiteral("90S")},
        {readLatitude, QString(400, u'0') + QStringLiteral("12S"), -12, QStringLiteral("12S")},
        {readLongitude, QStringLiteral("2.3E"), -2.3f, QStringLiteral("2.3E")},
        {readLongitude, QStringLiteral("75.7"), 75.7f, QStringLiteral("75.7W")},
        {readLongitude, QStringLiteral("-200"), -180, QStringLiteral("180E")},
        // A tiny value is written without an exponent, whose "E" would turn it east.
        {readLongitude, QStringLiteral("0.00001W"), 0.00001f, QStringLiteral("0.00001W")},
        {readTimeZone, QStringLiteral("-15"), -14, QStringLiteral("-15")},
        {readTimeZone, QStringLiteral("-13.75"), -13.75f, QStringLiteral("-13.75")},
    };
    // clang-format on
    for (const auto &c : cases) {
        const std::string label = c.text.left(20).toStdString();
        const PlaceEntry entry = c.read(c.text);
        EXPECT_FLOAT_EQ(entry.value, c.value) << label;
        EXPECT_EQ(entry.text, c.written) << label;
        // Reading the rewritten text again must give the same place.
        const PlaceEntry again = c.read(entry.text);
        EXPECT_EQ(again.value, entry.value) << label;
        EXPECT_EQ(again.text, entry.text) << label;
    }
    EXPECT_EQ(singleText(1e-7f), QStringLiteral("0.0000001"));
}

TEST(Navigation, DateTextsReadBack)
{
    EXPECT_EQ(timeText(Moment(2026, 12, 5, 8, 5, 9)), QStringLiteral("08:05:09"));
    EXPECT_EQ(dateText(Moment(100, 1, 1), QLocale::c()), QStringLiteral("01/Jan/0100"));
    for (const QLocale &locale :
         {QLocale(QLocale::German), QLocale(QLocale::English, QLocale::UnitedStates)}) {
        for (const Moment &m : {Moment(1999, 12, 31), Moment(100, 7, 15)}) {
            const QString text = dateText(m, locale);
            EXPECT_EQ(readDateText(text, locale).value_or(Moment()), m) << text.toStdString();
        }
    }
    // A month-first locale reads all-number dates month first.
    EXPECT_EQ(
        readDateText(QStringLiteral("3/4/2026"), QLocale(QLocale::English, QLocale::UnitedStates)),
        Moment(2026, 3, 4));
}

TEST(Navigation, TypedDatesAndTimes)
{
    // clang-format off
    const std::pair<const char *, Moment> cases[] = {
        {"05/Dec/2026", Moment(2026, 12, 5)},
        {"2026-12-05T10:30:15", Moment(2026, 12, 5, 10, 30, 15)},
        {" 5 december 2026 ", Moment(2026, 12, 5)},
        {"Sat 5 Dec 2026 2:30 pm", Moment(2026, 12, 5, 14, 30)},
        {"05/12/2026", Moment(2026, 12, 5)},
        {"12/25/2026", Moment(2026, 12, 25)},
        {"5 Dec 45", Moment(1945, 12, 5)},
        {"Dec 2026", Moment(2026, 12, 1)}, {"Dec 150", Moment(150, 12, 1)},
        // Not dates of the years 100..9999.
        {"", Moment()}, {"31/Feb/2026", Moment()}, {"5 Dec 0050", Moment()},
        {"5 Dec 10000", Moment()}, {"2026-13-01", Moment()}, {"12:30", Moment()},
        {"5 Dec 2026 25:00", Moment()}, {"5 Dec 2026 !!", Moment()}, {"5/012/2026", Moment()},
        {"Someday 5 Dec 2026", Moment()},
    };
    // clang-format on
    for (const auto &[text, moment] : cases)
        EXPECT_EQ(readDateText(QString::fromLatin1(text), QLocale::c()).value_or(Moment()), moment)
            << text;
    EXPECT_FALSE(readDateText(QString(10000, u'5')).has_value());

    const std::pair<const char *, int> good[] = {
        {"10:30:15", 37815}, {"7.05", 25500},     {"0:00:00", 0},       {"2 pm", 50400},
        {"12:15 am", 900},   {"12:15 PM", 44100}, {" 23:59:59 ", 86399}};
    for (const auto &[text, seconds] : good)
        EXPECT_EQ(readTimeText(QString::fromLatin1(text)), seconds) << text;
    for (const char *text :
         {"", "10", "24:00", "10:60", "10:30:61", "13 pm", "10:30 later", "-1:00"})
        EXPECT_FALSE(readTimeText(QString::fromLatin1(text)).has_value()) << text;
}
