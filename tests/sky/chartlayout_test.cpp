#include "sky/core/chartlayout.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::chart;
using namespace Qt::StringLiterals;

namespace {

constexpr double kCentre = 7215.0 / 2;

// The longitude a text of the chart points at, undoing its centring offset
// and the turn by the Ascendant.
double longitudeOf(const Point &p, float ascendant)
{
    const double alpha = std::atan2(kCentre - 75 - p.x, kCentre - 150 - p.y) / 0.017453292;
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

CycleState harmonic(bool modern, int step, int degree, bool zodiac = false)
{
    return {true, modern, step, degree, zodiac};
}

} // namespace

TEST(ChartArithmetic, SignsThirdsMercuryLettersAndColoursOfTheSoundingCycle)
{
    for (int k = 0; k < 12; ++k) {
        for (double offset : {0.0, 10.0, 29.99}) {
            EXPECT_EQ(signOf(30.0 * k + offset), k) << k;
            EXPECT_EQ(partOf(30.0 * k + offset), static_cast<int>(offset / 10)) << k;
        }
    }
    EXPECT_EQ(signOf(359.9999999), 11);
    EXPECT_EQ(partOf(359.9999999), 2);
    EXPECT_EQ(signOf(360.0), 0); // out-of-range input stays inside the tables
    EXPECT_EQ(signOf(-1.0), 11);

    // 3r + 1 rounded half to even: A below 1/6, B up to 1/2, C below 5/6, D from there.
    const std::pair<double, char16_t> mercury[] = {{0.16, u'A'}, {1.0 / 6, u'B'}, {0.5, u'B'},
                                                   {0.51, u'C'}, {0.83, u'C'},    {5.0 / 6, u'D'}};
    for (const auto &[r, letter] : mercury)
        EXPECT_EQ(mercuryLetter(r), QChar(letter)) << r;

    const CycleState zodiac{.zodiacCycleOn = true};
    // clang-format off
    struct { const char *name; CycleState cycles; int ring; double longitude; qint32 colour; }
    const cases[] = {
        {"idle", CycleState{}, 3, 100, kRed},
        {"zodiac at 0 Aries", zodiac, 1, 0.0, kGreen},
        {"zodiac middle part", zodiac, 1, 45.0, kRed},
        {"zodiac at 29.99", zodiac, 1, 29.99, kBlue},
        {"modern step 6 is Mercury", harmonic(true, 6, 1), 2, 0, kBlue},
        {"classic step 6 is Jupiter", harmonic(false, 6, 1), 6, 0, kBlue},
        {"classic step 6 not Mercury", harmonic(false, 6, 1), 2, 0, kRed},
        {"second sequence green", harmonic(false, 0, 1), 7, 0, kGreen},
        {"a equals b is blue", harmonic(false, 0, 2), 4, 0, kBlue},
        {"past the end", harmonic(false, 7, 9), 6, 0, kRed},
        {"harmonic before zodiac", harmonic(true, 7, 0, true), 6, 5.0, kBlue},
    };
    // clang-format on
    for (const auto &c : cases)
        EXPECT_EQ(planetColour(c.ring, c.longitude, c.cycles), c.colour) << c.name;
}

TEST(ChartLayout, PlanetsAndAnglesWhereTheSkyHasThem)
{
    ChartInput in;
    in.ascendant = 250.5f;
    in.ascendantLong = 250.5;
    in.mcLong = 161.0;
    in.planetLong = {12.0, 100.0, 200.0, 300.0, 45.0, 359.5, 180.0};
    const Drawing d = layoutChart(in);
    // A sign's glyph sits at its 10th degree (the glyph is drawn 30 twips left of its point).
    for (int k = 0; k < 12; ++k) {
        const Text *glyph = findText(d, QString(signGlyph(k)), true);
        ASSERT_NE(glyph, nullptr);
        EXPECT_NEAR(longitudeOf({glyph->at.x + 30, glyph->at.y}, in.ascendant), 30.0 * k + 10,
                    1e-3);
    }
    const QString glyphs = u"RSTQUVW"_s;
    for (int ring = 1; ring <= 7; ++ring) {
        const Text *t = findText(d, glyphs.mid(ring - 1, 1), true);
        ASSERT_NE(t, nullptr);
        EXPECT_NEAR(longitudeOf(t->at, in.ascendant), in.planetLong[ring - 1], 1e-3) << ring;
    }

    // The Ascendant at the left, a little below the horizontal; the MC above.
    const Point asc = findText(d, u"Asc"_s, false)->at;
    EXPECT_LT(asc.x, kCentre - 2500);
    EXPECT_GT(asc.y + 150, kCentre);
    EXPECT_LT(findText(d, u"MC "_s, false)->at.y, kCentre - 1500);
    EXPECT_NE(findText(d, u"CD"_s, false), nullptr); // Mercury's letters are plain text

    // The spokes stand 3 degrees before each sign boundary.
    ASSERT_EQ(d.spokes.size(), 12u);
    for (const Line &l : d.spokes)
        EXPECT_NEAR(std::fmod(longitudeOf({l.x2 - 75, l.y2 - 150}, in.ascendant), 30.0), 27, 1e-3);
    // Every sign's three parts carry their letters.
    EXPECT_EQ(std::ranges::count_if(d.texts,
                                    [](const Text &t) {
                                        return !t.symbolFont && t.text.size() == 1 &&
                                               u"EFG"_s.contains(t.text);
                                    }),
              36);

    // Values the library could not compute are not drawn.
    in.planetValid[3] = false;
    in.anglesValid = false;
    const Drawing failed = layoutChart(in);
    EXPECT_EQ(findText(failed, u"Q"_s, true), nullptr);
    EXPECT_NE(findText(failed, u"R"_s, true), nullptr);
    EXPECT_EQ(findText(failed, u"Asc"_s, false), nullptr);
}

TEST(PlanetTableText, LinesAndLetters)
{
    std::array<QString, 8> text;
    text[0] = u"UT=1\tAsc=x\tMC=y"_s;
    for (int j = 1; j <= 7; ++j)
        text[j] = u"P%1"_s.arg(j);
    // Moon 0 Aries, Mercury 29.99 Virgo, Venus and Sun in Leo, the rest in Pisces.
    const std::array<double, 7> lon = {0.0, 179.99, 125.0, 145.0, 350.0, 340.0, 345.0};
    std::array<bool, 7> valid;
    valid.fill(true);

    const PlanetTable t = planetTable(text, lon, valid, 0.9);
    ASSERT_EQ(t.lines.size(), 8);
    EXPECT_EQ(t.lines[0], text[0]);
    EXPECT_EQ(t.lines[1], u"P2\tAries    \tE=D in B"_s);
    EXPECT_EQ(t.lines[2], u"P3\tVirgo    \tG=ABCD in C"_s);
    EXPECT_EQ(t.lines[7], u"P7\tPisces   \tF=C in D"_s);
    EXPECT_EQ(t.planetLetter[3], u"D"_s); // Mercury, by the draw
    EXPECT_EQ(t.signLetter[2], u"B"_s);

    // A planet the library could not compute shows its message line only.
    valid[4] = false; // Mars
    text[5] = u"Mars\tfile not found"_s;
    const PlanetTable failed = planetTable(text, lon, valid, 0.0);
    EXPECT_EQ(failed.lines[5], text[5]);
    EXPECT_TRUE(failed.signLetter[5].isEmpty());
    EXPECT_EQ(failed.planetLetter[3], u"A"_s);

    EXPECT_EQ(timeZoneText(-0.0f), u"0"_s); // -5.5 is the sky page's
    EXPECT_EQ(timeZoneText(5.3f), u"5.3"_s);
}
