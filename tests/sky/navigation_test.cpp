#include "sky/core/navigation.h"

#include <array>
#include <gtest/gtest.h>

using namespace velmora;

struct JumpCase
{
    const char *name;
    Moment from;
    JumpUnit unit;
    qint64 count;
    Moment to; // null: the jump leaves the range
};

class NavigationJump : public testing::TestWithParam<JumpCase>
{};

TEST_P(NavigationJump, MovesByUnits)
{
    const JumpCase &c = GetParam();
    const auto to = jumpMoment(c.from, c.unit, c.count);
    if (c.to.isNull()) {
        EXPECT_FALSE(to.has_value());
    } else {
        ASSERT_TRUE(to.has_value());
        EXPECT_EQ(*to, c.to);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NavigationJump,
    testing::Values(
        JumpCase{"monthClipsJan31", Moment(2003, 1, 31, 10), JumpUnit::Month, 1,
                 Moment(2003, 2, 28, 10)},
        JumpCase{"monthBackIntoLeapFebruary", Moment(2024, 3, 31, 6, 30), JumpUnit::Month, -1,
                 Moment(2024, 2, 29, 6, 30)},
        JumpCase{"yearFromLeapDay", Moment(2024, 2, 29, 23, 59, 59), JumpUnit::Year, 1,
                 Moment(2025, 2, 28, 23, 59, 59)},
        JumpCase{"decadeByTwelveBackwards", Moment(2026, 7, 4, 12), JumpUnit::Decade, -12,
                 Moment(1906, 7, 4, 12)},
        JumpCase{"hoursAcrossMidnightAndYear", Moment(2026, 12, 31, 22), JumpUnit::Hour, 3,
                 Moment(2027, 1, 1, 1)},
        JumpCase{"weeksBack", Moment(2026, 3, 10, 8), JumpUnit::Week, -2, Moment(2026, 2, 24, 8)},
        JumpCase{"daysBack", Moment(2026, 3, 1), JumpUnit::Day, -1, Moment(2026, 2, 28)},
        JumpCase{"zeroKeepsMoment", Moment(1500, 5, 5, 5, 5, 5), JumpUnit::Decade, 0,
                 Moment(1500, 5, 5, 5, 5, 5)},
        JumpCase{"lastHourOfRange", Moment(9999, 12, 31, 22), JumpUnit::Hour, 1,
                 Moment(9999, 12, 31, 23)},
        JumpCase{"pastTheEnd", Moment(9999, 12, 31, 23), JumpUnit::Hour, 1, Moment()},
        JumpCase{"beforeTheStart", Moment(100, 1, 1), JumpUnit::Day, -1, Moment()},
        JumpCase{"decadesPastTheStart", Moment(150, 6, 1), JumpUnit::Decade, -12, Moment()},
        JumpCase{"decadesPastTheEnd", Moment(9950, 6, 1), JumpUnit::Decade, 12, Moment()},
        JumpCase{"hugeCount", Moment(2000, 1, 1), JumpUnit::Decade, qint64(1) << 50, Moment()},
        JumpCase{"fromNull", Moment(), JumpUnit::Day, 0, Moment()}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Navigation, UnitFromOptionsAndRecovery)
{
    EXPECT_EQ(jumpUnitFromOptions(std::array{false, false, false, true, false, false}),
              JumpUnit::Month);
    EXPECT_EQ(jumpUnitFromOptions(std::array{false, true, false, false, true, false}),
              JumpUnit::Day);
    EXPECT_EQ(jumpUnitFromOptions(std::array{false, false, false, false, false, true}),
              JumpUnit::Decade);
    EXPECT_EQ(jumpUnitFromOptions(std::array{false, false, false, false, false, false}),
              JumpUnit::Decade);

    EXPECT_EQ(recoveryMoment(Moment(105, 3, 3, 3)), Moment(100, 1, 1));
    EXPECT_EQ(recoveryMoment(Moment(999, 12, 31, 23, 59, 59)), Moment(100, 1, 1));
    EXPECT_EQ(recoveryMoment(Moment(1000, 1, 1)), Moment(3000, 1, 1));
    EXPECT_EQ(recoveryMoment(Moment(9999, 12, 31)), Moment(3000, 1, 1));
}

struct PlaceCase
{
    const char *name;
    char box; // 'a' latitude, 'o' longitude, 'z' time zone
    QString text;
    bool ok;
    float value;
    QString written;
};

class NavigationPlace : public testing::TestWithParam<PlaceCase>
{};

std::optional<PlaceEntry> readBox(char box, const QString &text)
{
    return box == 'a' ? readLatitude(text) : box == 'o' ? readLongitude(text) : readTimeZone(text);
}

TEST_P(NavigationPlace, ReadsClampsAndRewrites)
{
    const PlaceCase &c = GetParam();
    const auto entry = readBox(c.box, c.text);
    ASSERT_EQ(entry.has_value(), c.ok);
    if (!c.ok)
        return;
    EXPECT_FLOAT_EQ(entry->value, c.value);
    EXPECT_EQ(entry->text, c.written);
    // The rewritten text must read back as the same place, or each update would move it.
    const auto again = readBox(c.box, entry->text);
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->value, entry->value);
    EXPECT_EQ(again->text, entry->text);
}

const QString kLongText = QString(5000, u'7') + QStringLiteral(".5S");

INSTANTIATE_TEST_SUITE_P(
    Cases, NavigationPlace,
    testing::Values(
        PlaceCase{"lat12S", 'a', QStringLiteral("12S"), true, -12, QStringLiteral("12S")},
        PlaceCase{"latMinus12", 'a', QStringLiteral("-12"), true, -12, QStringLiteral("12S")},
        PlaceCase{"latPlain12", 'a', QStringLiteral("12"), true, 12, QStringLiteral("12N")},
        PlaceCase{"latMinusWithN", 'a', QStringLiteral(" -33.9n"), true, 33.9f,
                  QStringLiteral("33.9N")},
        PlaceCase{"lat200", 'a', QStringLiteral("200"), true, 180, QStringLiteral("180N")},
        PlaceCase{"latDesign", 'a', QStringLiteral("45.5N"), true, 45.5f, QStringLiteral("45.5N")},
        PlaceCase{"latEmpty", 'a', QString(), true, 0, QStringLiteral("0N")},
        PlaceCase{"latLetterN", 'a', QStringLiteral("N"), true, 0, QStringLiteral("0N")},
        PlaceCase{"latLetters", 'a', QStringLiteral("abcxyz"), true, 0, QStringLiteral("0N")},
        PlaceCase{"latMinusZero", 'a', QStringLiteral("-0S"), true, 0, QStringLiteral("0N")},
        PlaceCase{"latTwelveDigits", 'a', QStringLiteral("999999999999"), true, 180,
                  QStringLiteral("180N")},
        PlaceCase{"latVeryLong", 'a', kLongText, false, 0, QString()},
        PlaceCase{"latLongZeros", 'a', QString(400, u'0') + QStringLiteral("12S"), true, -12,
                  QStringLiteral("12S")},
        PlaceCase{"latTinyExponent", 'a', QStringLiteral("1e-400"), true, 0, QStringLiteral("0N")},
        PlaceCase{"latTooLarge", 'a', QStringLiteral("1e40"), false, 0, QString()},
        PlaceCase{"latTiny", 'a', QStringLiteral("0.00001"), true, 0.00001f,
                  QStringLiteral("0.00001N")},
        PlaceCase{"lon2.3E", 'o', QStringLiteral("2.3E"), true, -2.3f, QStringLiteral("2.3E")},
        PlaceCase{"lonMinus2.3", 'o', QStringLiteral("-2.3"), true, -2.3f, QStringLiteral("2.3E")},
        PlaceCase{"lon75.7", 'o', QStringLiteral("75.7"), true, 75.7f, QStringLiteral("75.7W")},
        PlaceCase{"lonZero", 'o', QStringLiteral("0"), true, 0, QStringLiteral("0E")},
        PlaceCase{"lonMinusWest", 'o', QStringLiteral("-190w"), true, 180, QStringLiteral("180W")},
        PlaceCase{"lonTinyWest", 'o', QStringLiteral("0.00001W"), true, 0.00001f,
                  QStringLiteral("0.00001W")},
        PlaceCase{"lonExponentTooLarge", 'o', QStringLiteral("-1e39E"), false, 0, QString()},
        PlaceCase{"tzMinus15", 'z', QStringLiteral("-15"), true, -12, QStringLiteral("-15")},
        PlaceCase{"tzHalfHour", 'z', QStringLiteral("5.5 hours"), true, 5.5f,
                  QStringLiteral("5.5 hours")},
        PlaceCase{"tzLetters", 'z', QStringLiteral("GMT"), true, 0, QStringLiteral("GMT")},
        PlaceCase{"tzTooLarge", 'z', QStringLiteral("1e40"), false, 0, QString()}),
    [](const auto &info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), '.', '_');
        return name;
    });

TEST(Navigation, SingleTextIsShortestWithoutExponent)
{
    EXPECT_EQ(singleText(45.5f), QStringLiteral("45.5"));
    EXPECT_EQ(singleText(33.9f), QStringLiteral("33.9"));
    EXPECT_EQ(singleText(180.0f), QStringLiteral("180"));
    EXPECT_EQ(singleText(1e-7f), QStringLiteral("0.0000001"));
    EXPECT_EQ(singleText(-0.0f), QStringLiteral("0"));
}

TEST(Navigation, DateAndTimeTexts)
{
    const QLocale c = QLocale::c();
    EXPECT_EQ(dateText(Moment(2026, 12, 5, 8, 5, 9), c), QStringLiteral("05/Dec/2026"));
    EXPECT_EQ(timeText(Moment(2026, 12, 5, 8, 5, 9)), QStringLiteral("08:05:09"));
    EXPECT_EQ(dateText(Moment(100, 1, 1), c), QStringLiteral("01/Jan/0100"));
    EXPECT_EQ(timeText(Moment(100, 1, 1, 23, 59, 59)), QStringLiteral("23:59:59"));
}

struct DateTextCase
{
    const char *name;
    QString text;
    Moment moment; // null: not a date
};

class NavigationDateText : public testing::TestWithParam<DateTextCase>
{};

TEST_P(NavigationDateText, Reads)
{
    const auto read = readDateText(GetParam().text, QLocale::c());
    if (GetParam().moment.isNull()) {
        EXPECT_FALSE(read.has_value()) << read->toDateTime().toString().toStdString();
    } else {
        ASSERT_TRUE(read.has_value());
        EXPECT_EQ(*read, GetParam().moment);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NavigationDateText,
    testing::Values(
        DateTextCase{"shownForm", QStringLiteral("05/Dec/2026"), Moment(2026, 12, 5)},
        DateTextCase{"iso", QStringLiteral("2026-12-05"), Moment(2026, 12, 5)},
        DateTextCase{"isoWithTime", QStringLiteral("2026-12-05T10:30:15"),
                     Moment(2026, 12, 5, 10, 30, 15)},
        DateTextCase{"dayMonthYear", QStringLiteral("5 Dec 2026"), Moment(2026, 12, 5)},
        DateTextCase{"longMonthLowerCase", QStringLiteral(" 5 december 2026 "),
                     Moment(2026, 12, 5)},
        DateTextCase{"monthFirstWithComma", QStringLiteral("December 5, 2026"),
                     Moment(2026, 12, 5)},
        DateTextCase{"weekdayAndTime", QStringLiteral("Sat 5 Dec 2026 2:30 pm"),
                     Moment(2026, 12, 5, 14, 30)},
        DateTextCase{"numericDayFirst", QStringLiteral("05/12/2026"), Moment(2026, 12, 5)},
        DateTextCase{"numericSwapsImpossibleMonth", QStringLiteral("12/25/2026"),
                     Moment(2026, 12, 25)},
        DateTextCase{"twoDigitYear", QStringLiteral("5.12.26"), Moment(2026, 12, 5)},
        DateTextCase{"twoDigitYearLastCentury", QStringLiteral("5 Dec 45"), Moment(1945, 12, 5)},
        DateTextCase{"earliestYear", QStringLiteral("01/Jan/0100"), Moment(100, 1, 1)},
        DateTextCase{"monthAndYearOnly", QStringLiteral("Dec 2026"), Moment(2026, 12, 1)},
        DateTextCase{"empty", QString(), Moment()},
        DateTextCase{"words", QStringLiteral("hello world"), Moment()},
        DateTextCase{"noSuchDay", QStringLiteral("31/Feb/2026"), Moment()},
        DateTextCase{"yearBeforeRange", QStringLiteral("5 Dec 0050"), Moment()},
        DateTextCase{"yearAfterRange", QStringLiteral("5 Dec 10000"), Moment()},
        DateTextCase{"unknownMonth", QStringLiteral("5 Foo 2026"), Moment()},
        DateTextCase{"isoMonth13", QStringLiteral("2026-13-01"), Moment()},
        DateTextCase{"timeOnly", QStringLiteral("12:30"), Moment()},
        DateTextCase{"badTime", QStringLiteral("5 Dec 2026 25:00"), Moment()},
        DateTextCase{"trailingJunk", QStringLiteral("5 Dec 2026 !!"), Moment()},
        DateTextCase{"exponent", QStringLiteral("1e40"), Moment()},
        DateTextCase{"veryLong", QString(10000, u'5'), Moment()}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(Navigation, ShownDateReadsBackInOtherLocales)
{
    for (const QLocale &locale : {QLocale(QLocale::German), QLocale(QLocale::French),
                                  QLocale(QLocale::English, QLocale::UnitedStates)}) {
        for (const Moment &m : {Moment(2026, 3, 1), Moment(1999, 12, 31), Moment(100, 7, 15)}) {
            const QString text = dateText(m, locale);
            const auto read = readDateText(text, locale);
            ASSERT_TRUE(read.has_value()) << text.toStdString();
            EXPECT_EQ(*read, m) << text.toStdString();
        }
    }
    // A month-first locale reads all-number dates month first.
    EXPECT_EQ(
        readDateText(QStringLiteral("3/4/2026"), QLocale(QLocale::English, QLocale::UnitedStates)),
        Moment(2026, 3, 4));
}

TEST(Navigation, TimeTexts)
{
    const std::pair<const char *, int> good[] = {
        {"10:30:15", 37815}, {"10:30", 37800},  {"7.05", 25500},     {"0:00:00", 0},
        {"2 pm", 50400},     {"12:15 am", 900}, {"12:15 PM", 44100}, {" 23:59:59 ", 86399}};
    for (const auto &[text, seconds] : good)
        EXPECT_EQ(readTimeText(QString::fromLatin1(text)), seconds) << text;
    for (const char *text : {"", "10", "24:00", "10:60", "10:30:61", "13 pm", "ten", "1e40",
                             "10:30 tomorrow", "-1:00"})
        EXPECT_FALSE(readTimeText(QString::fromLatin1(text)).has_value()) << text;
}
