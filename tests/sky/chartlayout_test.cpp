#include "sky/core/chartlayout.h"

#include <cctype>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

using namespace velmora;
using namespace velmora::chart;

namespace {

constexpr double kSize = 7215;
constexpr double kCentre = kSize / 2;

// Longitude at which a text drawn by the chart points, undoing the text's
// centring offset and the turn by the Ascendant.
double longitudeOf(const Point &p, float ascendant)
{
    const double x = p.x - kCentre + 75;
    const double y = p.y - kCentre + 150;
    const double alpha = std::atan2(-x, -y) / 0.017453292;
    const double t2 = -(ascendant - 140.0) - 45;
    return std::fmod(std::fmod(alpha - t2, 360.0) + 360.0, 360.0);
}

const Text *findText(const Drawing &d, const QString &text, bool symbol)
{
    for (const Text &t : d.texts) {
        if (t.text == text && t.symbolFont == symbol)
            return &t;
    }
    return nullptr;
}

} // namespace

struct SignRow
{
    int sign;
    char glyph;
    char letter;
};

class SignTable : public testing::TestWithParam<SignRow>
{};

TEST_P(SignTable, GlyphLetterAndDrawnPlace)
{
    const SignRow row = GetParam();
    EXPECT_EQ(signGlyph(row.sign), QChar::fromLatin1(row.glyph));
    EXPECT_EQ(signLetter(row.sign), QChar::fromLatin1(row.letter));
    // First degree, middle and 29.99 degrees all belong to the sign.
    for (double offset : {0.0, 15.0, 29.99}) {
        EXPECT_EQ(signOf(30.0 * row.sign + offset), row.sign);
        EXPECT_EQ(partOf(30.0 * row.sign + offset), static_cast<int>(offset / 10));
    }
    // Whatever the Ascendant, the sign's glyph sits at its 10th degree and its
    // letter at its 15th.
    for (float asc : {0.0f, 123.4f, 301.0f}) {
        ChartInput in;
        in.ascendant = asc;
        const Drawing d = layoutChart(in);
        const Text *glyph = findText(d, QString(QChar::fromLatin1(row.glyph)), true);
        ASSERT_NE(glyph, nullptr);
        // The glyph is shifted 30 twips left of its point; allow for that.
        EXPECT_NEAR(longitudeOf({glyph->at.x + 30, glyph->at.y}, asc), 30.0 * row.sign + 10, 1e-3);
    }
}

INSTANTIATE_TEST_SUITE_P(TwelveSigns, SignTable,
                         testing::Values(SignRow{0, 'A', 'B'}, SignRow{1, 'B', 'C'},
                                         SignRow{2, 'C', 'A'}, SignRow{3, 'D', 'D'},
                                         SignRow{4, 'E', 'B'}, SignRow{5, 'F', 'C'},
                                         SignRow{6, 'G', 'A'}, SignRow{7, 'H', 'D'},
                                         SignRow{8, 'I', 'B'}, SignRow{9, 'J', 'C'},
                                         SignRow{10, 'K', 'A'}, SignRow{11, 'L', 'D'}),
                         [](const testing::TestParamInfo<SignRow> &info) {
                             QString name = chart::zodiacSigns()[info.param.sign];
                             return name.remove(u'.').toStdString();
                         });

TEST(ChartArithmetic, SignAndPartAtTheEdges)
{
    EXPECT_EQ(signOf(0), 0);
    EXPECT_EQ(partOf(0), 0);
    EXPECT_EQ(signOf(359.9999999), 11);
    EXPECT_EQ(partOf(359.9999999), 2);
    EXPECT_EQ(partOf(39.999), 0);
    EXPECT_EQ(partOf(40.0), 1);
    // Out-of-range input never leaves the tables' bounds.
    EXPECT_EQ(signOf(360.0), 0);
    EXPECT_EQ(signOf(-1.0), 11);
}

TEST(ChartArithmetic, MercuryLetterFrequencies)
{
    // n = 3r + 1 rounded half to even: A below 1/6, B up to 1/2, C below 5/6, D above.
    EXPECT_EQ(mercuryLetter(0.0), u'A');
    EXPECT_EQ(mercuryLetter(0.16), u'A');
    EXPECT_EQ(mercuryLetter(1.0 / 6), u'B'); // 1.5 rounds to 2
    EXPECT_EQ(mercuryLetter(0.5), u'B');     // 2.5 rounds to 2
    EXPECT_EQ(mercuryLetter(0.51), u'C');
    EXPECT_EQ(mercuryLetter(5.0 / 6), u'D'); // 3.5 rounds to 4
    EXPECT_EQ(mercuryLetter(0.9999), u'D');
}

struct ColourCase
{
    const char *name;
    CycleState cycles;
    int ring;
    double longitude;
    qint32 colour;
};

class PlanetColours : public testing::TestWithParam<ColourCase>
{};

TEST_P(PlanetColours, FollowTheSoundingCycle)
{
    const ColourCase &c = GetParam();
    EXPECT_EQ(planetColour(c.ring, c.longitude, c.cycles), c.colour) << c.name;
}

namespace {
CycleState harmonic(bool modern, int step, int degree)
{
    CycleState s;
    s.harmonicCycleOn = true;
    s.modernCycle = modern;
    s.harmonicStep = step;
    s.harmonicDegree = degree;
    return s;
}
CycleState zodiac()
{
    CycleState s;
    s.zodiacCycleOn = true;
    return s;
}
} // namespace

INSTANTIATE_TEST_SUITE_P(
    Cycles, PlanetColours,
    testing::Values(ColourCase{"idle", CycleState{}, 3, 100, kRed},
                    ColourCase{"zodiac 0 Aries", zodiac(), 1, 0.0, kGreen},
                    ColourCase{"zodiac middle part", zodiac(), 1, 45.0, kRed},
                    ColourCase{"zodiac 29.99", zodiac(), 1, 29.99, kBlue},
                    ColourCase{"modern step 7 Jupiter", harmonic(true, 7, 1), 6, 0, kBlue},
                    ColourCase{"modern step 6 Mercury", harmonic(true, 6, 1), 2, 0, kBlue},
                    ColourCase{"classic step 6 Jupiter", harmonic(false, 6, 1), 6, 0, kBlue},
                    ColourCase{"classic step 6 Mercury not", harmonic(false, 6, 1), 2, 0, kRed},
                    ColourCase{"second sequence green", harmonic(false, 0, 1), 7, 0, kGreen},
                    ColourCase{"neither sequence", harmonic(false, 0, 1), 3, 0, kRed},
                    ColourCase{"green of the second", harmonic(false, 1, 2), 4, 0, kGreen},
                    // a = b: "4527136" step 0 and "6741532" degree 2 both give 4.
                    ColourCase{"a equals b blue", harmonic(false, 0, 2), 4, 0, kBlue},
                    ColourCase{"a equals b no green", harmonic(false, 0, 2), 6, 0, kRed},
                    ColourCase{"classic past the end", harmonic(false, 7, 9), 6, 0, kRed},
                    ColourCase{"harmonic wins over zodiac",
                               [] {
                                   CycleState s = harmonic(true, 7, 0);
                                   s.zodiacCycleOn = true;
                                   return s;
                               }(),
                               6, 5.0, kBlue}),
    [](const testing::TestParamInfo<ColourCase> &info) {
        std::string name = info.param.name;
        for (char &ch : name) {
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        }
        return name;
    });

TEST(ChartLayout, PlanetsAndAnglesWhereTheSkyHasThem)
{
    ChartInput in;
    in.ascendant = 250.5f;
    in.ascendantLong = 250.5;
    in.mcLong = 161.0;
    in.planetLong = {12.0, 100.0, 200.0, 300.0, 45.0, 359.5, 180.0};
    const Drawing d = layoutChart(in);

    EXPECT_EQ(d.circles.size(), 10u);
    EXPECT_DOUBLE_EQ(d.circles.front().radius, 800);
    EXPECT_DOUBLE_EQ(d.circles.back().radius, 3500);
    ASSERT_EQ(d.spokes.size(), 12u);

    const QString glyphs = QStringLiteral("RSTQUVW");
    for (int ring = 1; ring <= 7; ++ring) {
        const Text *t = findText(d, glyphs.mid(ring - 1, 1), true);
        ASSERT_NE(t, nullptr);
        EXPECT_NEAR(longitudeOf(t->at, in.ascendant), in.planetLong[ring - 1], 1e-3) << ring;
        const double r = std::hypot(t->at.x - kCentre + 75, t->at.y - kCentre + 150);
        EXPECT_NEAR(r, 300.0 * ring + 650, 1e-6) << ring;
    }
    ASSERT_NE(findText(d, QStringLiteral("AB"), false), nullptr);
    EXPECT_NEAR(findText(d, QStringLiteral("CD"), false)->at.y,
                findText(d, QStringLiteral("AB"), false)->at.y + 100, 1e-9);

    // The Ascendant at the left, a little below the horizontal; the MC above.
    const Point asc = findText(d, QStringLiteral("Asc"), false)->at;
    EXPECT_LT(asc.x, kCentre - 2500);
    EXPECT_GT(asc.y + 150, kCentre);
    EXPECT_LT(asc.y + 150, kCentre + 400);
    const Point mc = findText(d, QStringLiteral("MC "), false)->at;
    EXPECT_LT(mc.y, kCentre - 1500);

    // Spokes stand 3 degrees before each sign boundary.
    for (const Line &l : d.spokes) {
        const double lon = longitudeOf({l.x2 - 75, l.y2 - 150}, in.ascendant);
        EXPECT_NEAR(std::fmod(lon, 30.0), 27.0, 1e-3);
    }
}

TEST(ChartLayout, FailedValuesAreNotDrawn)
{
    ChartInput in;
    in.planetValid[3] = false; // the Sun
    in.anglesValid = false;
    const Drawing d = layoutChart(in);
    EXPECT_EQ(findText(d, QStringLiteral("Q"), true), nullptr);
    EXPECT_NE(findText(d, QStringLiteral("R"), true), nullptr);
    EXPECT_EQ(findText(d, QStringLiteral("Asc"), false), nullptr);
    EXPECT_EQ(findText(d, QStringLiteral("MC "), false), nullptr);
}

TEST(PlanetTableText, LinesAndLetters)
{
    std::array<QString, 8> text;
    text[0] = QStringLiteral("UT=1\tAsc=x\tMC=y");
    for (int j = 1; j <= 7; ++j)
        text[j] = QStringLiteral("P%1").arg(j);
    // Moon 0 Aries, Mercury 29.99 Virgo, Venus Leo 5, Sun Leo 25, rest Pisces.
    const std::array<double, 7> lon = {0.0, 179.99, 125.0, 145.0, 350.0, 340.0, 345.0};
    std::array<bool, 7> valid;
    valid.fill(true);

    const PlanetTable t = planetTable(text, lon, valid, 0.9);
    ASSERT_EQ(t.lines.size(), 8);
    EXPECT_EQ(t.lines[0], text[0]);
    EXPECT_EQ(t.lines[1], QStringLiteral("P2\tAries    \tE=D in B"));    // Moon, ring 1
    EXPECT_EQ(t.lines[2], QStringLiteral("P3\tVirgo    \tG=ABCD in C")); // Mercury
    EXPECT_EQ(t.lines[3], QStringLiteral("P4\tLeo      \tE=D in B"));    // Venus
    EXPECT_EQ(t.lines[4], QStringLiteral("P1\tLeo      \tG=B in B"));    // Sun
    EXPECT_EQ(t.lines[7], QStringLiteral("P7\tPisces   \tF=C in D"));    // Saturn
    EXPECT_EQ(t.planetLetter[3], QStringLiteral("D"));                   // Mercury by draw 0.9
    EXPECT_EQ(t.planetLetter[1], QStringLiteral("B"));                   // Sun
    EXPECT_EQ(t.signLetter[2], QStringLiteral("B"));                     // Moon in Aries
    EXPECT_TRUE(t.planetLetter[0].isEmpty());

    // A planet the library could not compute shows only its message line.
    valid[4] = false; // Mars
    text[5] = QStringLiteral("Mars\tfile not found");
    const PlanetTable failed = planetTable(text, lon, valid, 0.0);
    EXPECT_EQ(failed.lines[5], text[5]);
    EXPECT_TRUE(failed.signLetter[5].isEmpty());
    EXPECT_EQ(failed.planetLetter[5], QStringLiteral("B"));
    EXPECT_EQ(failed.planetLetter[3], QStringLiteral("A"));
}

TEST(PlanetTableText, TimeZoneAsTyped)
{
    EXPECT_EQ(timeZoneText(0), QStringLiteral("0"));
    EXPECT_EQ(timeZoneText(-0.0f), QStringLiteral("0"));
    EXPECT_EQ(timeZoneText(-5.5f), QStringLiteral("-5.5"));
    EXPECT_EQ(timeZoneText(5.3f), QStringLiteral("5.3"));
    EXPECT_EQ(timeZoneText(12), QStringLiteral("12"));
}
