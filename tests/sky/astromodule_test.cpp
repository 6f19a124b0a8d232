#include "sky/core/astromodule.h"
#include "sky/core/swelibrary.h"

#include <QTemporaryDir>

#include <array>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

constexpr double kArcsecond = 1.0 / 3600.0;
// Sphere index of each planet in the library's order Sun, Moon, ..., Saturn.
constexpr std::array<int, 7> kSphereOfLibrary = {3, 0, 1, 2, 4, 5, 6};

double angleDiff(double a, double b)
{
    return std::fabs(std::remainder(a - b, 360.0));
}

} // namespace

TEST(AstroText, DegreesAndLinesCarryTimeAnglesPlanetsAndPolarNote)
{
    // clang-format off
    const std::pair<QString, QString> cases[] = {
        {FormatLongitude(5.25), u"005°15'00"_s}, {FormatLatitude(-12.5), u"-12°30'00"_s},
        {FormatLongitude(359.99999), u"359°59'60"_s}, // seconds are not carried
        {FormatLatitude(10.5 / 3600), u"0°00'10"_s},  // half to even
        {FormatLatitude(-0.5), u"-0°30'00"_s}, // south though the whole degrees are 0
    };
    // clang-format on
    for (const auto &[text, expected] : cases)
        EXPECT_EQ(text, expected);

    QString s = u"Sun"_s + QChar(u'\0') + u"junk"_s;
    EXPECT_EQ(StripNull(s), u"Sun"_s);
    EXPECT_EQ(s, u"Sun"_s);

    AstroModule astro;
    astro.setTimeZone(5);
    astro.setLatitude(-33.9f);
    astro.setLongitude(151.2f);
    astro.CalcPlanets(Moment(2003, 9, 16, 2, 57, 36));
    EXPECT_EQ(astro.planetText(0), u"UT=2452898.83092\tAsc="_s + FormatLongitude(astro.ascMC(0)) +
                                       u"\tMC="_s + FormatLongitude(astro.ascMC(1)));
    EXPECT_EQ(astro.planetText(1), u"Sun\t173°02'48\t0°00'00\t1.005"_s);
    EXPECT_TRUE(astro.planetText(7).startsWith(u"Saturn\t"_s));

    // A polar latitude is a warning, not a failure; the sky page checks where the note stands.
    astro.setLatitude(70);
    astro.CalcPlanets(Moment(2020, 1, 1, 12, 0));
    EXPECT_FALSE(astro.hasFailure());
    EXPECT_TRUE(astro.housesNote().contains(u"Porphyry"_s));
}

struct ReferenceSky
{
    Moment local;
    float timeZone, latitude, longitude;
    double julDay;
    std::array<double, 7> planets; // library order: Sun .. Saturn
    double ascendant, mc;
};

class AstroReference : public testing::TestWithParam<ReferenceSky>
{};

TEST_P(AstroReference, MatchesSwetest)
{
    const ReferenceSky &ref = GetParam();
    AstroModule astro;
    astro.setTimeZone(ref.timeZone);
    astro.setLatitude(ref.latitude);
    astro.setLongitude(ref.longitude);
    astro.CalcPlanets(ref.local);

    EXPECT_NEAR(astro.julDay(), ref.julDay, 1e-7);
    EXPECT_FALSE(astro.hasFailure());
    for (int p = 0; p < 7; ++p)
        EXPECT_LT(angleDiff(astro.planetLong(kSphereOfLibrary[p]), ref.planets[p]), kArcsecond)
            << "planet " << p;
    // Past the table's ends there is no planet, whatever lies beside it.
    EXPECT_EQ(astro.planetLong(-1), 0.0);
    EXPECT_EQ(astro.planetLong(8), 0.0);
    EXPECT_LT(angleDiff(astro.ascMC(0), ref.ascendant), kArcsecond);
    EXPECT_LT(angleDiff(astro.ascendant(), ref.ascendant), kArcsecond);
    EXPECT_LT(angleDiff(astro.ascMC(1), ref.mc), kArcsecond);
}

// Planets: swetest -bj<julDay> -p0123456 -fPl -head -eswe (the moment as ephemeris time).
// Angles: swetest -bj<julDayUT> -ut -p -house<lon>,<lat>,P -fPl -head; each comment gives
// julDayUT (julDay minus delta T) and the place as the single-precision values.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Years100To3456, AstroReference,
    testing::Values(
        // -bj1757644 ; -bj1757643.8895979605 -ut -house12.5,41.9000015,P
        ReferenceSky{Moment(100, 3, 1, 12, 0, 0), 0, 41.9f, 12.5f, 1757644.0,
        {340.8818965, 19.7187989, 313.1924121, 26.6925431, 318.3607637, 313.1367522, 213.6061308},
        63.9953454, 309.1476725},
        // -bj2452898.8316666665 ; -bj2452898.8309195898 -ut -house151.199997,-33.9000015,P
        ReferenceSky{Moment(2003, 9, 16, 2, 57, 36), 5, -33.9f, 151.2f, 2452898.8316666665,
        {173.0466367, 56.2728934, 163.4694219, 180.8270874, 330.9117620, 154.2979767, 101.8275764},
        355.9390266, 265.5835289},
        // -bj2983368.0244097221 ; -bj2983367.9441690054 -ut -house77.1999969,28.6000004,P
        ReferenceSky{Moment(3456, 1, 31, 18, 5, 9), -5.5f, 28.6f, 77.2f, 2983368.0244097221,
        {310.5590396, 333.7495670, 315.6703512, 306.7428003, 37.1702712, 317.4798496, 236.3931845},
        108.7480756, 8.2416601}),
    [](const testing::TestParamInfo<ReferenceSky> &info) {
        return "Year" + std::to_string(info.param.local.year());
    });
// clang-format on

TEST(AstroFailure, MissingFilesAreReportedNotShownAsAries)
{
    AstroModule far, near, reference;
    reference.CalcPlanets(Moment(2000, 1, 1, 12, 0));
    {
        const QTemporaryDir empty;
        ::setenv("SE_EPHE_PATH", empty.path().toLocal8Bit().constData(), 1);
        AstroModule::ResetEphemerisPath();
        far.CalcPlanets(Moment(9000, 6, 1, 12, 0));  // beyond the built-in fallback
        near.CalcPlanets(Moment(2000, 1, 1, 12, 0)); // within it
        ::unsetenv("SE_EPHE_PATH");
        AstroModule::ResetEphemerisPath();
    }
    EXPECT_TRUE(far.hasFailure());
    for (int i = 0; i < 7; ++i)
        EXPECT_FALSE(far.planetValid(i)) << i;
    const QStringList sun = far.planetText(1).split(u'\t');
    ASSERT_EQ(sun.size(), 2);
    EXPECT_EQ(sun[0], QStringLiteral("Sun"));
    EXPECT_TRUE(sun[1].contains(QStringLiteral("not found"))) << sun[1].toStdString();

    // The fallback is less precise but a position all the same.
    EXPECT_FALSE(near.hasFailure());
    for (int i = 0; i < 7; ++i)
        EXPECT_LT(angleDiff(near.planetLong(i), reference.planetLong(i)), 5 * kArcsecond) << i;

    far.CalcPlanets(Moment(9000, 6, 1, 12, 0));
    EXPECT_FALSE(far.hasFailure());

    // Without the library itself every line says why, nothing is a position, the place stays.
    const SweLibrary absent("libswe-absent.so.9");
    far.setLibrary(&absent);
    far.setLatitude(45);
    far.CalcPlanets(Moment(2000, 1, 1, 12, 0));
    EXPECT_TRUE(far.hasFailure());
    for (int i = 0; i < 7; ++i)
        EXPECT_FALSE(far.planetValid(i)) << i;
    EXPECT_FALSE(far.anglesValid());
    EXPECT_TRUE(far.planetText(1).contains(QStringLiteral("absent")));
    EXPECT_EQ(far.latitude(), 45);
}
