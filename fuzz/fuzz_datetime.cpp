// The date and time boxes, in a few locales, and the time jumps from what they read.
#include "fuzz/fuzzcheck.h"
#include "sky/core/navigation.h"

#include <QLocale>
#include <QString>

#include <cstddef>
#include <cstdint>

using namespace velmora;

namespace {

// Day-first and month-first orders, and month names other than English.
const QLocale kLocales[] = {QLocale::c(), QLocale(QLocale::English, QLocale::UnitedStates),
                            QLocale(QLocale::English, QLocale::UnitedKingdom),
                            QLocale(QLocale::German, QLocale::Germany),
                            QLocale(QLocale::French, QLocale::France)};

void checkTime(const QString &text)
{
    const auto seconds = readTimeText(text);
    if (!seconds)
        return;
    FUZZ_CHECK(*seconds >= 0 && *seconds < 86400);
    const Moment at = Moment(2000, 1, 1).withSecondsOfDay(*seconds);
    FUZZ_CHECK(readTimeText(timeText(at)) == seconds);
}

void checkDate(const QString &text, const QLocale &locale)
{
    const auto moment = readDateText(text, locale);
    if (!moment)
        return;
    FUZZ_CHECK(!moment->isNull());
    FUZZ_CHECK(moment->inRange());
    // What the boxes show reads back as the same moment.
    const QString shown = dateText(*moment, locale) + u' ' + timeText(*moment);
    FUZZ_CHECK(readDateText(shown, locale) == moment);
    FUZZ_CHECK(readDateText(moment->date().toString(Qt::ISODate), locale) ==
               moment->withSecondsOfDay(0));

    // A jump either stays inside the years the program covers or is refused.
    const auto unit = static_cast<JumpUnit>(text.size() % 6);
    const qint64 count = qint64(text.size()) * (text.size() % 2 ? -997 : 13);
    if (const auto to = jumpMoment(*moment, unit, count)) {
        FUZZ_CHECK(to->inRange());
        FUZZ_CHECK(to->secondsOfDay() == moment->secondsOfDay() || unit == JumpUnit::Hour);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    checkTime(text);
    for (const QLocale &locale : kLocales)
        checkDate(text, locale);
    return 0;
}
