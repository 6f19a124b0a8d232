// Offsets from the system's tz database (the tzdata package): real zones, real history.
#include "sky/core/zonetime.h"

#include <gtest/gtest.h>
#include <string>

using namespace velmora;

namespace {

struct ZoneCase
{
    const char *name;
    QByteArray zone;
    Moment local;
    double longitudeEast;
    double secondsEast;
    LocalTimeKind kind;
    bool localMeanTime;
    const char *text; // as the finder and the status bar write it
};

using K = LocalTimeKind;

class ZoneOffsets : public testing::TestWithParam<ZoneCase>
{};

} // namespace

TEST_P(ZoneOffsets, FollowTheZoneAndItsHistory)
{
    const ZoneCase &c = GetParam();
    const auto offset = zoneOffsetAt(c.zone, c.local, c.longitudeEast);
    ASSERT_TRUE(offset);
    EXPECT_NEAR(offset->seconds, c.secondsEast, 1e-6);
    EXPECT_EQ(offset->kind, c.kind);
    EXPECT_EQ(offset->localMeanTime, c.localMeanTime);
    EXPECT_EQ(zoneOffsetText(*offset), QString::fromUtf8(c.text));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Zones, ZoneOffsets,
    testing::Values(
        ZoneCase{"SydneyJanuary", "Australia/Sydney", Moment(2026, 1, 15, 12), 151.2073, 39600, K::Unique, false, "UTC+11 (AEDT)"},
        ZoneCase{"KolkataJuly", "Asia/Kolkata", Moment(2026, 7, 15, 12), 88.363, 19800, K::Unique, false, "UTC+5:30 (IST)"},
        ZoneCase{"KathmanduJuly", "Asia/Kathmandu", Moment(2026, 7, 15, 12), 85.3206, 20700, K::Unique, false, "UTC+5:45"},
        // The night the clocks go forward: 02:30 never happened, and keeps the offset before.
        ZoneCase{"NewYorkSkipped", "America/New_York", Moment(2026, 3, 8, 2, 30), -74.006, -18000, K::Skipped, false, "UTC-5 (EST)"},
        ZoneCase{"NewYorkSkippedFirstSecond", "America/New_York", Moment(2026, 3, 8, 2, 0), -74.006, -18000, K::Skipped, false, "UTC-5 (EST)"},
        ZoneCase{"NewYorkAfterSpring", "America/New_York", Moment(2026, 3, 8, 3, 0), -74.006, -14400, K::Unique, false, "UTC-4 (EDT)"},
        // The night they go back: 01:30 came twice, and the first (still summer time) counts.
        ZoneCase{"NewYorkRepeated", "America/New_York", Moment(2026, 11, 1, 1, 30), -74.006, -14400, K::Repeated, false, "UTC-4 (EDT)"},
        ZoneCase{"NewYorkAfterAutumn", "America/New_York", Moment(2026, 11, 1, 2, 0), -74.006, -18000, K::Unique, false, "UTC-5 (EST)"},
        // Southern spring: Sydney skips 02:00..03:00 on 4 October 2026.
        ZoneCase{"SydneySkipped", "Australia/Sydney", Moment(2026, 10, 4, 2, 15), 151.2073, 36000, K::Skipped, false, "UTC+10 (AEST)"},
        // Before standard time the place's own mean time, not Madrid's (-0:14:44) in the database.
        ZoneCase{"Madrid1800", "Europe/Madrid", Moment(1800, 1, 1, 12), -3.7026, -888.624, K::Unique, true, "UTC-0:14:49, local mean time"},
        ZoneCase{"Year100", "Asia/Kolkata", Moment(100, 1, 1), 88.363, 21207.12, K::Unique, true, "UTC+5:53:27, local mean time"},
        ZoneCase{"Year9999", "Europe/Madrid", Moment(9999, 7, 1, 12), -3.7026, 7200, K::Unique, false, "UTC+2 (CEST)"},
        ZoneCase{"KiritimatiPlus14", "Pacific/Kiritimati", Moment(2026, 6, 1, 12), -157.4, 50400, K::Unique, false, "UTC+14"},
        ZoneCase{"ChathamSummer", "Pacific/Chatham", Moment(2026, 1, 15, 12), -176.5, 49500, K::Unique, false, "UTC+13:45"},
        // GeoNames still uses old names that the list of available zones lacks.
        ZoneCase{"KievOldName", "Europe/Kiev", Moment(2026, 1, 15, 12), 30.5238, 7200, K::Unique, false, "UTC+2 (EET)"}),
    [](const testing::TestParamInfo<ZoneCase> &info) { return std::string(info.param.name); });
// clang-format on

TEST(ZoneBoxAndText, HoursWestPositiveOffsetsAndCityReports)
{
    const std::pair<double, float> cases[] = {
        {7200, -2},   {-18000, 5},         {19800, -5.5f}, {20700, -5.75f}, {49500, -13.75f},
        {50400, -14}, {-888.624, 0.2468f}, {54000, -14},   {-54000, 14}, // beyond any real zone
        {0, 0}};
    for (const auto &[seconds, box] : cases) {
        ZoneOffset offset;
        offset.seconds = seconds;
        EXPECT_EQ(timeZoneBoxValue(offset), box) << seconds;
    }

    EXPECT_EQ(utcOffsetText(0), QStringLiteral("UTC"));
    EXPECT_EQ(utcOffsetText(-12600), QStringLiteral("UTC-3:30"));
    EXPECT_EQ(cityLatitudeText(-33.86785), QStringLiteral("33.8679S"));
    EXPECT_EQ(cityLongitudeText(151.20732), QStringLiteral("151.2073E"));

    // The plain, skipped-hour and unknown-zone reports are checked through the window.
    const CityPlace city{QStringLiteral("New York"), {},      QStringLiteral("United States"),
                         "America/New_York",         40.7143, -74.006};
    const Moment twice(2026, 11, 1, 1, 30);
    EXPECT_TRUE(cityZoneReport(city, zoneOffsetAt(city.zone, twice, 0), twice)
                    .endsWith(QStringLiteral("; 01:30:00 came twice that day (the clocks went "
                                             "back), so the first is used")));
    EXPECT_FALSE(zoneOffsetAt(QByteArray(), twice, 0));
}
