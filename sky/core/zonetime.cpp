#include "sky/core/zonetime.h"

#include "sky/core/navigation.h"

#include <QDateTime>
#include <QTimeZone>

#include <algorithm>
#include <cmath>

namespace velmora {

namespace {

QDateTime utcAt(qint64 seconds)
{
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
}

// Four decimals of a degree are about 11 m, and of an hour a third of a second.
double toFourDecimals(double value)
{
    return std::round(value * 1e4) / 1e4;
}

} // namespace

std::optional<ZoneOffset> zoneOffsetAt(const QByteArray &zoneId, const Moment &local,
                                       double longitudeEast)
{
    if (zoneId.isEmpty() || local.isNull())
        return std::nullopt;
    const QTimeZone zone(zoneId);
    if (!zone.isValid())
        return std::nullopt;

    // The wall-clock time read as if it were UTC; the instant it names is wall - offset.
    const qint64 wall = QDateTime(local.date(), local.time(), Qt::UTC).toSecsSinceEpoch();
    // Offsets stay within a day of UTC, so every offset that can place this wall time is in
    // force somewhere in this reach.
    constexpr qint64 kReach = 30 * 3600;
    const QTimeZone::OffsetDataList changes =
        zone.transitions(utcAt(wall - kReach), utcAt(wall + kReach));
    std::vector<int> candidates{zone.offsetFromUtc(utcAt(wall - kReach))};
    for (const QTimeZone::OffsetData &change : changes)
        candidates.push_back(change.offsetFromUtc);
    std::sort(candidates.begin(), candidates.end());
    candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());

    // Qt resolves neither gaps nor repeats the way a chart needs: try each offset instead.
    std::vector<qint64> instants;
    for (const int offset : candidates) {
        if (zone.offsetFromUtc(utcAt(wall - offset)) == offset)
            instants.push_back(wall - offset);
    }

    ZoneOffset result;
    qint64 named = 0; // an instant that carries the chosen offset's abbreviation
    if (!instants.empty()) {
        named = *std::min_element(instants.begin(), instants.end());
        result.seconds = double(wall - named);
        result.kind = instants.size() > 1 ? LocalTimeKind::Repeated : LocalTimeKind::Unique;
    } else {
        // A gap: the change whose skipped stretch holds the wall time gives the earlier offset.
        named = wall - zone.offsetFromUtc(utcAt(wall));
        result.seconds = zone.offsetFromUtc(utcAt(named));
        for (const QTimeZone::OffsetData &change : changes) {
            const qint64 at = change.atUtc.toSecsSinceEpoch();
            const int before = zone.offsetFromUtc(utcAt(at - 1));
            if (at + before <= wall && wall < at + change.offsetFromUtc) {
                named = at - 1;
                result.seconds = before;
                break;
            }
        }
        result.kind = LocalTimeKind::Skipped;
    }
    result.abbreviation = zone.abbreviation(utcAt(named));

    // The database's first entry is the mean time of the city the zone is named after.
    if (result.abbreviation == QLatin1String("LMT")) {
        result.seconds = longitudeEast * 240.0;
        result.abbreviation.clear();
        result.localMeanTime = true;
    }
    return result;
}

float timeZoneBoxValue(const ZoneOffset &offset)
{
    const double hours = toFourDecimals(-offset.seconds / 3600.0);
    return std::clamp(static_cast<float>(hours), -kMaxTimeZoneHours, kMaxTimeZoneHours) + 0.0f;
}

QString utcOffsetText(double secondsEast)
{
    const qint64 total = std::llround(secondsEast);
    if (total == 0)
        return QStringLiteral("UTC");
    const qint64 magnitude = std::abs(total);
    QString text = QStringLiteral("UTC%1%2")
                       .arg(total < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                       .arg(magnitude / 3600);
    const qint64 minutes = magnitude / 60 % 60;
    const qint64 seconds = magnitude % 60;
    if (minutes != 0 || seconds != 0)
        text += QStringLiteral(":%1").arg(minutes, 2, 10, QLatin1Char('0'));
    if (seconds != 0)
        text += QStringLiteral(":%1").arg(seconds, 2, 10, QLatin1Char('0'));
    return text;
}

QString zoneOffsetText(const ZoneOffset &offset)
{
    const QString utc = utcOffsetText(offset.seconds);
    if (offset.localMeanTime)
        return utc + QStringLiteral(", local mean time");
    const QString &abbreviation = offset.abbreviation;
    if (abbreviation.isEmpty() || !abbreviation.front().isLetter() ||
        abbreviation == QLatin1String("UTC"))
        return utc;
    return QStringLiteral("%1 (%2)").arg(utc, abbreviation);
}

QString cityLatitudeText(double latitude)
{
    const float value = static_cast<float>(toFourDecimals(latitude)) + 0.0f;
    return value < 0 ? singleText(-value) + u'S' : singleText(value) + u'N';
}

QString cityLongitudeText(double longitudeEast)
{
    // The box counts west positive.
    const float west = static_cast<float>(-toFourDecimals(longitudeEast)) + 0.0f;
    return west > 0 ? singleText(west) + u'W' : singleText(-west) + u'E';
}

QString cityZoneReport(const CityPlace &city, const std::optional<ZoneOffset> &offset,
                       const Moment &local)
{
    QString text = city.name;
    if (!city.country.isEmpty())
        text += QStringLiteral(", ") + city.country;
    text += QStringLiteral(": ");
    if (!offset) {
        return text + QStringLiteral("the time zone %1 is not in this computer's time-zone "
                                     "database; the Time Zone box is left as it is")
                          .arg(QString::fromUtf8(city.zone));
    }
    text += QString::fromUtf8(city.zone) + QStringLiteral(", ") + zoneOffsetText(*offset);
    switch (offset->kind) {
    case LocalTimeKind::Skipped:
        text += QStringLiteral("; %1 did not exist that day (the clocks went forward), so the "
                               "offset before the change is used")
                    .arg(timeText(local));
        break;
    case LocalTimeKind::Repeated:
        text += QStringLiteral("; %1 came twice that day (the clocks went back), so the first "
                               "is used")
                    .arg(timeText(local));
        break;
    case LocalTimeKind::Unique:
        break;
    }
    return text;
}

} // namespace velmora
