// The atlas of the system's GeoNames library: these tests need the package installed.
#include "atlas/cityatlas.h"

#include <gtest/gtest.h>

using namespace velmora;

namespace {

CityAtlas &systemAtlas()
{
    static CityAtlas atlas;
    return atlas;
}

} // namespace

TEST(CityAtlasSystem, HoldsTheCitiesWithTheirZones)
{
    ASSERT_TRUE(systemAtlas().load());
    EXPECT_GT(systemAtlas().cityCount(), 20000);

    const CityAtlas::Matches madrid = systemAtlas().search(QStringLiteral("Madrid"), 10);
    ASSERT_FALSE(madrid.cities.empty());
    const City &first = madrid.cities.front();
    EXPECT_EQ(first.name, QStringLiteral("Madrid"));
    EXPECT_EQ(first.region, QStringLiteral("Madrid"));
    EXPECT_EQ(first.country, QStringLiteral("Spain"));
    EXPECT_EQ(first.zone, QByteArray("Europe/Madrid"));
    EXPECT_NEAR(first.latitude, 40.4165, 1e-4);
    EXPECT_NEAR(first.longitude, -3.7026, 1e-4);
    EXPECT_GT(first.population, 3000000u);
    EXPECT_EQ(madrid.total, int(madrid.cities.size()));
}

TEST(CityAtlasSystem, FindsNamesWithOrWithoutAccents)
{
    const std::pair<const char *, const char *> cases[] = {
        {"Zürich", "Zurich"},       {"Zurich", "Zurich"}, {"São Paulo", "São Paulo"},
        {"Sao Paulo", "São Paulo"}, {"sao", "São Paulo"},
    };
    for (const auto &[typed, found] : cases) {
        const auto matches = systemAtlas().search(QString::fromUtf8(typed), 5);
        ASSERT_FALSE(matches.cities.empty()) << typed;
        EXPECT_EQ(matches.cities.front().name, QString::fromUtf8(found)) << typed;
    }
}

TEST(CityAtlasMissing, SaysSoInsteadOfFailing)
{
    CityAtlas missing(QStringLiteral("velmora-no-such-atlas"));
    EXPECT_FALSE(missing.load());
    EXPECT_EQ(missing.cityCount(), 0);
    EXPECT_TRUE(missing.search(QStringLiteral("Madrid"), 10).cities.empty());
    EXPECT_EQ(CityAtlas::packageName(), QStringLiteral("libgeonames0"));
}
