#include "art/core/figuregeometry.h"
#include "core/letters.h"
#include "core/units.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

constexpr double kTol = 0.5; // twips
constexpr double kPi = 3.14159265358979;
const qint32 kBlue = colourValue(0, 0, 255);
const qint32 kGreen = colourValue(0, 153, 51);
const qint32 kRed = colourValue(255, 0, 0);
const qint32 kOrange = colourValue(255, 153, 51);

// Sizes of the four picture boxes on the first page, in twips.
constexpr double kW1 = 4335, kH1 = 4215, kW4 = 4935, kH4 = 4455;

TEST(GetColour, TrianglesAndBlue)
{
    const std::vector<std::pair<int, qint32>> cases{
        {0, kBlue}, {1, kGreen}, {3, kGreen},  {-1, kGreen}, {-32768, kGreen},
        {4, kRed},  {6, kRed},   {7, kOrange}, {9, kOrange}, {32767, kOrange}};
    for (const auto &[s, colour] : cases)
        EXPECT_EQ(GetColour(s), colour) << s;
}

// Angle of a marker clockwise from the top, in degrees, and its distance from the centre.
std::pair<double, double> polar(const MarkerCircle &m, double w, double h)
{
    const double dx = m.x - w / 2;
    const double dy = h / 2 - m.y;
    double deg = std::atan2(dx, dy) * 180 / kPi;
    if (deg < -0.01)
        deg += 360;
    return {deg, std::hypot(dx, dy)};
}

TEST(Markers, FirstFigureOnly)
{
    const FigureMarkers m = figureMarkers({0, {1, 2, 3}}, kW1, kH1, kW1, kH1);
    ASSERT_EQ(m.first.size(), 3u);
    EXPECT_TRUE(m.second.empty());
    const double expected[] = {0, 40, 80};
    for (size_t i = 0; i < 3; ++i) {
        const auto [deg, r] = polar(m.first[i], kW1, kH1);
        EXPECT_NEAR(deg, expected[i], 0.01);
        EXPECT_NEAR(r, 1.05 * 1850, kTol);
        EXPECT_EQ(m.first[i].radius, 200);
        EXPECT_EQ(m.first[i].colour, kBlue);
    }
    EXPECT_NEAR(m.first[0].x, kW1 / 2, kTol);
    EXPECT_NEAR(m.first[0].y, kH1 / 2 - 1942.5, kTol);
}

TEST(Markers, SecondFigureTriangles)
{
    FigureMarkers m = figureMarkers({1, {1, 2, 3}}, kW1, kH1, kW1, kH1);
    EXPECT_TRUE(m.first.empty());
    ASSERT_EQ(m.second.size(), 3u);
    const double expected[] = {0, 120, 240};
    for (size_t i = 0; i < 3; ++i) {
        const auto [deg, r] = polar(m.second[i], kW1, kH1);
        EXPECT_NEAR(deg, expected[i], 0.01);
        EXPECT_NEAR(r, 1850, kTol);
        EXPECT_EQ(m.second[i].colour, kGreen);
    }
    // E, H and K: the second compartment, the third and the last.
    m = figureMarkers({1, {4, 7, 9}}, kW1, kH1, kW1, kH1);
    EXPECT_NEAR(polar(m.second[0], kW1, kH1).first, 40, 0.01);
    EXPECT_EQ(m.second[0].colour, kRed);
    EXPECT_NEAR(polar(m.second[1], kW1, kH1).first, 80, 0.01);
    EXPECT_NEAR(polar(m.second[2], kW1, kH1).first, 320, 0.01);
    EXPECT_EQ(m.second[2].colour, kOrange);
}

TEST(Markers, RepeatedLetterOnBothFigures)
{
    const FigureMarkers m = figureMarkers({2, {1, 1, 2}}, kW1, kH1, kW1, kH1);
    ASSERT_EQ(m.first.size(), 1u);
    ASSERT_EQ(m.second.size(), 2u);
    EXPECT_NEAR(polar(m.first[0], kW1, kH1).first, 0, 0.01);
    EXPECT_NEAR(polar(m.second[0], kW1, kH1).first, 0, 0.01);
    EXPECT_NEAR(polar(m.second[1], kW1, kH1).first, 120, 0.01);
}

TEST(Markers, ThirdFigureCameras)
{
    auto m = thirdFigureMarkers({1, 2, 2, 3}, 0);
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].x, 252);
    EXPECT_EQ(m[0].y, 250);
    EXPECT_EQ(m[1].x, 749);
    EXPECT_EQ(m[0].radius, 250);
    m = thirdFigureMarkers({1, 1, 1, 9}, 0);
    ASSERT_EQ(m.size(), 1u);
    EXPECT_EQ(m[0].x, 252);
    EXPECT_EQ(m[0].y, 8 * 480 - 230);
    EXPECT_TRUE(thirdFigureMarkers({0, 0, 0, 2}, 0).empty());
}

// The sector painted last under a direction (radians counter-clockwise from 3 o'clock).
qint32 colourUnder(const std::vector<PieSector> &sectors, double angle)
{
    qint32 colour = -1;
    for (const PieSector &s : sectors) {
        const double span = std::fmod(s.endAngle - s.startAngle + 2 * kPi, 2 * kPi);
        const double from = std::fmod(angle - s.startAngle + 4 * kPi, 2 * kPi);
        if (from <= span)
            colour = s.colour;
    }
    return colour;
}

// What a viewer checks on the fourth figure: each printed letter sits on a
// sector of its own triangle colour, whatever the ring's letter.
TEST(FourthFigure, SectorsMatchTheirLetters)
{
    for (int L = 1; L <= 9; ++L) {
        const FourthFigure f = fourthFigure({1, {qint16(L), qint16(L), qint16(L)}}, kW4, kH4);
        for (const RingLetter &letter : f.letters) {
            // The letter's centre, from its top-left corner.
            const double dx = letter.x + 120 - f.centreX;
            const double dy = f.centreY - (letter.y + 150);
            const double ccw = std::atan2(dy, dx);
            const int index = letterIndex(letter.letter);
            for (const Ring &ring : f.rings)
                EXPECT_EQ(colourUnder(ring.sectors, ccw), GetColour(index))
                    << "ring letter " << L << " letter " << char(letter.letter.unicode());
        }
    }
}

TEST(FourthFigure, RingOfE)
{
    const auto sectors = ringSectors(4);
    ASSERT_EQ(sectors.size(), 9u);
    const double deg = kPi / 180;
    // Clockwise from the top: E F G red, H I K orange, B C D green.
    const qint32 expected[] = {kRed, kRed, kRed, kOrange, kOrange, kOrange, kGreen, kGreen, kGreen};
    for (int j = 0; j < 9; ++j)
        EXPECT_EQ(colourUnder(sectors, (90 - 40 * j) * deg), expected[j]) << j;
    for (const auto &s : sectors) {
        EXPECT_GE(s.startAngle, 0);
        EXPECT_LE(s.startAngle, kFullTurn);
        EXPECT_LE(s.endAngle, kFullTurn);
    }
}

TEST(FourthFigure, PlainRingsWithoutMarker)
{
    const FourthFigure f = fourthFigure({0, {1, 2, 3}}, kW4, kH4);
    for (const Ring &ring : f.rings) {
        EXPECT_FALSE(ring.coloured);
        EXPECT_TRUE(ring.sectors.empty());
        EXPECT_EQ(ring.colour, kBlue);
    }
    EXPECT_NEAR(f.rings[0].radius, kW4 / 2.3, 1e-9);
    EXPECT_NEAR(f.rings[2].radius, kW4 / 4, 1e-9);
    EXPECT_NEAR(f.centreRadius, kW4 / 6, 1e-9);
    ASSERT_EQ(f.letters.size(), 27u);
    // Inner, middle and outer text rings carry D, C and B on top, in bold.
    EXPECT_EQ(f.letters[0].letter, u'D');
    EXPECT_EQ(f.letters[9].letter, u'C');
    EXPECT_EQ(f.letters[18].letter, u'B');
    EXPECT_TRUE(f.letters[0].bold);
    EXPECT_FALSE(f.letters[0].italic);
    EXPECT_FALSE(f.letters[1].bold);
    EXPECT_TRUE(f.letters[1].italic);
    // Clockwise after B on the outer ring: C; the ring wraps from K to B.
    EXPECT_EQ(f.letters[19].letter, u'C');
    EXPECT_EQ(f.letters[26].letter, u'K');
    EXPECT_NEAR(f.letters[18].x, kW4 / 2 - 120, kTol);
    EXPECT_NEAR(f.letters[18].y, kH4 / 2 - 150 - kW4 / 2.6, kTol);
    EXPECT_EQ(f.letterColour, colourValue(255, 255, 255));
}

TEST(FourthFigure, ColouredRingsFollowTheMarker)
{
    const auto coloured = [](int t) {
        const FourthFigure f = fourthFigure({qint16(t), {1, 2, 3}}, kW4, kH4);
        return std::array<bool, 3>{f.rings[0].coloured, f.rings[1].coloured, f.rings[2].coloured};
    };
    EXPECT_EQ(coloured(1), (std::array<bool, 3>{true, true, true}));
    EXPECT_EQ(coloured(2), (std::array<bool, 3>{false, true, true}));
    EXPECT_EQ(coloured(3), (std::array<bool, 3>{false, false, true}));
}

struct PressCase
{
    const char *name;
    double x;
    double y;
    int compartment;
    int first;
    int second;
};

class Press : public ::testing::TestWithParam<PressCase>
{};

TEST_P(Press, CompartmentUnderThePointer)
{
    const PressCase &c = GetParam();
    const int compartment = compartmentOfAngle(pressAngle(c.x, c.y, kW1, kH1));
    EXPECT_EQ(compartment, c.compartment);
    EXPECT_EQ(firstFigureLetter(compartment), c.first);
    EXPECT_EQ(secondFigureLetter(compartment), c.second);
}

INSTANTIATE_TEST_SUITE_P(Compartments, Press,
                         ::testing::Values(PressCase{"top", kW1 / 2, 100, 1, 1, 1},
                                           PressCase{"centre", kW1 / 2, kH1 / 2, 3, 3, 7},
                                           PressCase{"right", kW1 - 10, kH1 / 2, 3, 3, 7},
                                           PressCase{"left", 10, kH1 / 2, 8, 8, 6},
                                           PressCase{"bottom", kW1 / 2, kH1 - 10, 6, 6, 8},
                                           PressCase{"topLeftCorner", 0, 0, 9, 9, 9},
                                           PressCase{"bottomRightCorner", kW1, kH1, 4, 4, 2}),
                         [](const auto &info) { return std::string(info.param.name); });

TEST(Press, AngleBoundaries)
{
    EXPECT_EQ(compartmentOfAngle(19.9), 1);
    EXPECT_EQ(compartmentOfAngle(20), 2);
    EXPECT_EQ(compartmentOfAngle(59.9), 2);
    EXPECT_EQ(compartmentOfAngle(339.9), 9);
    EXPECT_EQ(compartmentOfAngle(340), 1);
    EXPECT_EQ(compartmentOfAngle(359.99), 1);
    // Every quadrant measures clockwise from the top.
    const double r = 1000;
    for (double deg : {10.0, 100.0, 190.0, 280.0}) {
        const double a = deg * kPi / 180;
        EXPECT_NEAR(pressAngle(kW1 / 2 + r * std::sin(a), kH1 / 2 - r * std::cos(a), kW1, kH1), deg,
                    1e-4);
    }
}

} // namespace
