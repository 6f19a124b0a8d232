#include "sky/core/navigation.h"

#include "core/numeric.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace velmora {

JumpUnit jumpUnitFromOptions(std::span<const bool> checked)
{
    for (size_t i = 0; i < checked.size() && i < 5; ++i)
        if (checked[i])
            return static_cast<JumpUnit>(i);
    return JumpUnit::Decade;
}

std::optional<Moment> jumpMoment(const Moment &from, JumpUnit unit, qint64 count)
{
    if (from.isNull())
        return std::nullopt;
    // Far beyond the whole range whatever the unit: refuse before any arithmetic can overflow.
    constexpr qint64 kLimit = qint64(1) << 40;
    if (count > kLimit || count < -kLimit)
        return std::nullopt;
    Moment to;
    switch (unit) {
    case JumpUnit::Hour:
        to = from.addHours(count);
        break;
    case JumpUnit::Day:
        to = from.addDays(count);
        break;
    case JumpUnit::Week:
        to = from.addDays(7 * count);
        break;
    case JumpUnit::Month:
        to = from.addMonths(count);
        break;
    case JumpUnit::Year:
        to = from.addYears(count);
        break;
    case JumpUnit::Decade:
        to = from.addYears(10 * count);
        break;
    }
    if (!to.inRange())
        return std::nullopt;
    return to;
}

Moment recoveryMoment(const Moment &current)
{
    if (!current.isNull() && current.year() < 1000)
        return Moment(100, 1, 1);
    return Moment(3000, 1, 1);
}

namespace {

// The leading number of a box held to a range, as a single-precision value. However many digits
// were typed the value only clamps: a place box never fails an update.
float clampedSingle(const QString &text, double limit)
{
    const double value = std::clamp(numericValue(text), -limit, limit);
    // Adding zero turns -0 into 0 so that no "-0" is ever written back.
    return static_cast<float>(value) + 0.0f;
}

} // namespace

PlaceEntry readLatitude(const QString &text)
{
    float value = clampedSingle(text, kLatitudeLimit);
    const QString upper = text.toUpper();
    if (upper.contains(u'N') && value < 0)
        value = -value;
    if (upper.contains(u'S') && value > 0)
        value = -value;
    const QString written = value < 0 ? singleText(-value) + u'S' : singleText(value) + u'N';
    return PlaceEntry{value, written};
}

PlaceEntry readLongitude(const QString &text)
{
    float value = clampedSingle(text, kLongitudeLimit);
    const QString upper = text.toUpper();
    if (upper.contains(u'W') && value < 0)
        value = -value;
    if (upper.contains(u'E') && value > 0)
        value = -value;
    const QString written = value > 0 ? singleText(value) + u'W' : singleText(-value) + u'E';
    return PlaceEntry{value, written};
}

PlaceEntry readTimeZone(const QString &text)
{
    return PlaceEntry{clampedSingle(text, kTimeZoneLimit), text};
}

bool startsWithPlaceName(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    return i + 1 < text.size() && text.at(i).isLetter() && text.at(i + 1).isLetter();
}

QString singleText(float value)
{
    if (!std::isfinite(value))
        return QStringLiteral("0");
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value + 0.0f,
                                      std::chars_format::fixed);
    if (result.ec != std::errc())
        return QStringLiteral("0");
    return QString::fromLatin1(buffer.data(), result.ptr - buffer.data());
}

QString dateText(const Moment &moment, const QLocale &locale)
{
    const QDate d = moment.date();
    if (!d.isValid())
        return QString();
    return QStringLiteral("%1/%2/%3")
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(locale.monthName(d.month(), QLocale::ShortFormat))
        .arg(d.year(), 4, 10, QLatin1Char('0'));
}

QString timeText(const Moment &moment)
{
    const int s = moment.secondsOfDay();
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600, 2, 10, QLatin1Char('0'))
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

namespace {

// Month names a user may type: English and the locale's, short and long, without a final dot.
int monthFromWord(const QString &word, const QLocale &locale)
{
    QString w = word.toLower();
    if (w.endsWith(u'.'))
        w.chop(1);
    if (w.size() < 3)
        return 0;
    if (w == u"sept")
        return 9;
    const QLocale english(QLocale::English);
    for (const QLocale *loc : {&english, &locale}) {
        for (int m = 1; m <= 12; ++m) {
            for (auto format : {QLocale::ShortFormat, QLocale::LongFormat}) {
                for (const QString &name :
                     {loc->monthName(m, format), loc->standaloneMonthName(m, format)}) {
                    QString n = name.toLower();
                    if (n.endsWith(u'.'))
                        n.chop(1);
                    if (!n.isEmpty() && n == w)
                        return m;
                }
            }
        }
    }
    return 0;
}

bool isWeekdayWord(const QString &word, const QLocale &locale)
{
    QString w = word.toLower();
    if (w.endsWith(u'.'))
        w.chop(1);
    const QLocale english(QLocale::English);
    for (const QLocale *loc : {&english, &locale})
        for (int d = 1; d <= 7; ++d)
            for (auto format : {QLocale::ShortFormat, QLocale::LongFormat})
                if (loc->dayName(d, format).toLower().remove(u'.') == w)
                    return true;
    return false;
}

// Seconds since midnight from the parts of a matched time; nothing when out of range.
std::optional<int> timeFromParts(const QString &hour, const QString &minute, const QString &second,
                                 const QString &meridiem)
{
    int h = hour.toInt();
    const int m = minute.isEmpty() ? 0 : minute.toInt();
    const int s = second.isEmpty() ? 0 : second.toInt();
    if (!meridiem.isEmpty()) {
        if (h < 1 || h > 12)
            return std::nullopt;
        const bool pm = meridiem.at(0).toLower() == u'p';
        h = h % 12 + (pm ? 12 : 0);
    }
    if (h > 23 || m > 59 || s > 59)
        return std::nullopt;
    return h * 3600 + m * 60 + s;
}

int yearFromDigits(const QString &digits)
{
    if (digits.size() > 4)
        return -1;
    const int value = digits.toInt();
    if (digits.size() <= 2)
        return value < 30 ? 2000 + value : 1900 + value;
    return value;
}

// The order of day, month and year in the locale's short date format ("dmy", "mdy", "ymd").
QString numericOrder(const QLocale &locale)
{
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    QString order;
    for (const QChar c : format) {
        const QChar field = c == u'd' ? u'd' : c == u'M' ? u'm' : c == u'y' ? u'y' : QChar();
        if (!field.isNull() && !order.contains(field))
            order += field;
    }
    return order.size() == 3 ? order : QStringLiteral("dmy");
}

} // namespace

std::optional<int> readTimeText(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*(\d{1,2})(?:[:.](\d{1,2}))?(?:[:.](\d{1,2}))?\s*)"
                       R"(([ap]\.?m?\.?)?\s*$)"),
        QRegularExpression::CaseInsensitiveOption);
    const auto match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    // A bare number is a count, not a time of day.
    if (match.captured(2).isEmpty() && match.captured(4).isEmpty())
        return std::nullopt;
    return timeFromParts(match.captured(1), match.captured(2), match.captured(3),
                         match.captured(4));
}

std::optional<Moment> readDateText(const QString &text, const QLocale &locale)
{
    if (text.size() > 200)
        return std::nullopt;
    QString rest = text.trimmed();
    if (rest.isEmpty())
        return std::nullopt;

    // ISO's date-time separator.
    static const QRegularExpression isoT(QStringLiteral(R"((\d)[Tt](\d))"));
    rest.replace(isoT, QStringLiteral("\\1 \\2"));

    int seconds = 0;
    static const QRegularExpression timePart(
        QStringLiteral(R"((?:^|\s)(\d{1,2}):(\d{1,2})(?::(\d{1,2}))?\s*([ap]\.?m\.?)?(?=\s|$))"),
        QRegularExpression::CaseInsensitiveOption);
    const auto timeMatch = timePart.match(rest);
    if (timeMatch.hasMatch()) {
        const auto secs = timeFromParts(timeMatch.captured(1), timeMatch.captured(2),
                                        timeMatch.captured(3), timeMatch.captured(4));
        if (!secs)
            return std::nullopt;
        seconds = *secs;
        rest.remove(timeMatch.capturedStart(), timeMatch.capturedLength());
        if (timePart.match(rest).hasMatch())
            return std::nullopt;
    }

    // What is left: numbers and words between separators.
    struct Number
    {
        QString digits;
    };
    std::vector<Number> numbers;
    int month = 0;
    static const QRegularExpression token(QStringLiteral(R"(\d+|[^\W\d_]+\.?)"),
                                          QRegularExpression::UseUnicodePropertiesOption);
    static const QRegularExpression separators(QStringLiteral(R"(^[\s/.,\-]*$)"));
    qsizetype last = 0;
    for (auto it = token.globalMatch(rest); it.hasNext();) {
        const auto m = it.next();
        if (!separators.match(rest.mid(last, m.capturedStart() - last)).hasMatch())
            return std::nullopt;
        last = m.capturedEnd();
        const QString t = m.captured();
        if (t.at(0).isDigit()) {
            numbers.push_back({t});
        } else if (const int mo = monthFromWord(t, locale); mo != 0 && month == 0) {
            month = mo;
        } else if (!isWeekdayWord(t, locale)) {
            return std::nullopt;
        }
    }
    if (!separators.match(rest.mid(last)).hasMatch())
        return std::nullopt;

    int year = -1;
    int day = -1;
    if (month != 0 && numbers.size() == 2) {
        const bool firstIsYear = numbers[0].digits.size() >= 3;
        const bool secondIsYear = numbers[1].digits.size() >= 3;
        if (firstIsYear == secondIsYear && firstIsYear)
            return std::nullopt;
        // Without a long year ("5 Dec 26", "Dec 5 26") the number written first is the day.
        const Number &y = firstIsYear ? numbers[0] : numbers[1];
        const Number &d = firstIsYear ? numbers[1] : numbers[0];
        if (d.digits.size() > 2)
            return std::nullopt;
        year = yearFromDigits(y.digits);
        day = d.digits.toInt();
    } else if (month != 0 && numbers.size() == 1 && numbers[0].digits.size() >= 3) {
        year = yearFromDigits(numbers[0].digits);
        day = 1;
    } else if (month == 0 && numbers.size() == 3) {
        for (const Number &n : numbers)
            if (n.digits.size() > 4)
                return std::nullopt;
        const QString order =
            numbers[0].digits.size() >= 3 ? QStringLiteral("ymd") : numericOrder(locale);
        auto field = [&](QChar which) {
            return numbers[size_t(order.indexOf(which))].digits;
        };
        year = yearFromDigits(field(u'y'));
        day = field(u'd').toInt();
        month = field(u'm').toInt();
        // 13/05/2026 in a month-first locale can only mean the 13th of May. Year-first dates
        // are never swapped: 2026-13-01 is simply wrong.
        if (!order.startsWith(u'y') && !QDate::isValid(year, month, day) &&
            QDate::isValid(year, day, month))
            std::swap(day, month);
        if (field(u'd').size() > 2 || field(u'm').size() > 2)
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    if (year < Moment::kFirstYear || year > Moment::kLastYear || !QDate::isValid(year, month, day))
        return std::nullopt;
    return Moment(QDate(year, month, day), QTime(0, 0)).withSecondsOfDay(seconds);
}

} // namespace velmora
