#pragma once

#include "core/moment.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace velmora {

/// How a local clock time of a zone maps onto Universal Time.
enum class LocalTimeKind
{
    Unique,   ///< the clock showed it once
    Skipped,  ///< the clocks jumped over it (going forward)
    Repeated, ///< the clocks showed it twice (going back)
};

/// A zone's offset from Universal Time at one local date and time.
struct ZoneOffset
{
    /// East of Greenwich, in seconds. Local mean time keeps its fraction of a second.
    double seconds = 0;
    /// The tz database's abbreviation ("CEST"); empty for local mean time.
    QString abbreviation;
    /// True before the zone's first standard offset: the offset is the place's own.
    bool localMeanTime = false;
    LocalTimeKind kind = LocalTimeKind::Unique;
};

/// The offset of the tz zone `zoneId` at a local date and time, with its summer time and its
/// history. A local time the clocks skipped takes the offset in force before the change; one
/// they showed twice takes the first. Before the zone's first standard offset the offset is
/// the local mean time of the place, its longitude (east positive) / 15 hours, not the mean
/// time of the city the zone is named after. Nothing when the tz database lacks the zone.
std::optional<ZoneOffset> zoneOffsetAt(const QByteArray &zoneId, const Moment &local,
                                       double longitudeEast);

/// Largest time zone the place box accepts, in hours either way: real zones reach UTC+14.
inline constexpr float kMaxTimeZoneHours = 14;

/// The Time Zone box's value for an offset: the hours to add to local time to get Universal
/// Time (west positive), to a ten-thousandth of an hour, within the box's range.
float timeZoneBoxValue(const ZoneOffset &offset);

/// An offset east of Greenwich as people write it: "UTC+2", "UTC+5:30", "UTC-0:14:49", "UTC".
QString utcOffsetText(double secondsEast);

/// What the finder and the status bar say of an offset: "UTC+2 (CEST)", "UTC+5:45" (numeric
/// abbreviations add nothing), "UTC-0:14:49, local mean time".
QString zoneOffsetText(const ZoneOffset &offset);

/// A city whose time zone the place follows.
struct CityPlace
{
    QString name;
    QString region;
    QString country;
    QByteArray zone;
    /// Degrees, north and east positive, to four decimals as the boxes show them.
    double latitude = 0;
    double longitude = 0;

    friend bool operator==(const CityPlace &, const CityPlace &) = default;
};

/// The city's coordinates as the place boxes write them: "40.4165N", "3.7026W".
QString cityLatitudeText(double latitude);
QString cityLongitudeText(double longitudeEast);

/// The status line for a city at a local moment: "Madrid, Spain: Europe/Madrid, UTC+2
/// (CEST)", with a note when the local time was skipped or repeated, or when the tz database
/// does not know the zone (offset empty).
QString cityZoneReport(const CityPlace &city, const std::optional<ZoneOffset> &offset,
                       const Moment &local);

} // namespace velmora
