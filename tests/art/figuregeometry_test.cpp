#include "art/core/figuregeometry.h"
#include "core/letters.h"
#include "core/units.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace velmora;

namespace {

constexpr double kPi = 3.14159265358979;
const qint32 kBlue = colourValue(0, 0, 255), kGreen = colourValue(0, 153, 51);
const qint32 kRed = colourValue(255, 0, 0), kOrange = colourValue(255, 153, 51);
constexpr double kW = 4335, kH = 4215, kW4 = 4935, kH4 = 4455; // first and fourth figure

TEST(GetColour, EverySixteenBitValueHasATriangle)
{
    const std::vector<std::pair<int, qint32>> cases{
        {0, kBlue}, {1, kGreen}, {3, kGreen},  {-1, kGreen}, {-32768, kGreen},
        {4, kRed},  {6, kRed},   {7, kOrange}, {9, kOrange}, {32767, kOrange}};
    for (const auto &[s, colour] : cases)
        EXPECT_EQ(GetColour(s), colour) << s;
}

// Degrees clockwise from the top and distance from the centre (tens of twips) of each marker.
std::vector<std::pair<long, long>> polar(const std::vector<MarkerCircle> &markers)
{
    std::vector<std::pair<long, long>> p;
    for (const MarkerCircle &m : markers) {
        const double deg = std::atan2(m.x - kW / 2, kH / 2 - m.y) * 180 / kPi;
        p.emplace_back(std::lround(deg < -0.01 ? deg + 360 : deg),
                       std::lround(std::hypot(m.x - kW / 2, m.y - kH / 2) / 10));
    }
    return p;
}

TEST(Markers, OnTheLettersOfTheirFigure)
{
    using P = std::vector<std::pair<long, long>>;
    FigureMarkers m = figureMarkers({0, {1, 2, 3}}, kW, kH, kW, kH);
    EXPECT_EQ(polar(m.first), (P{{0, 194}, {40, 194}, {80, 194}}));
    EXPECT_TRUE(m.second.empty());
    EXPECT_EQ(m.first[0].colour, kBlue);
    m = figureMarkers({1, {1, 2, 3}}, kW, kH, kW, kH);
    EXPECT_EQ(polar(m.second), (P{{0, 185}, {120, 185}, {240, 185}}));
    EXPECT_EQ(m.second[2].colour, kGreen);
    // B(T)BC marks B on both figures; E, H, K sit in the 2nd, 3rd and 9th compartments.
    m = figureMarkers({2, {1, 1, 2}}, kW, kH, kW, kH);
    EXPECT_EQ(polar(m.first), (P{{0, 194}}));
    EXPECT_EQ(polar(m.second), (P{{0, 185}, {120, 185}}));
    m = figureMarkers({1, {4, 7, 9}}, kW, kH, kW, kH);
    EXPECT_EQ(polar(m.second), (P{{40, 185}, {80, 185}, {320, 185}}));
    EXPECT_EQ(m.second[0].colour, kRed);
    EXPECT_EQ(m.second[2].colour, kOrange);
}

// The sector painted last in a direction (radians counter-clockwise from 3 o'clock).
qint32 colourUnder(const std::vector<PieSector> &sectors, double angle)
{
    qint32 colour = -1;
    for (const PieSector &s : sectors) {
        if (std::fmod(angle - s.startAngle + 4 * kPi, 2 * kPi) <=
            std::fmod(s.endAngle - s.startAngle + 2 * kPi, 2 * kPi))
            colour = s.colour;
    }
    return colour;
}

// What the eye checks on the fourth figure: each letter lies on its own triangle's colour.
TEST(FourthFigure, EveryLetterOnItsColour)
{
    for (int L = 1; L <= 9; ++L) {
        const FourthFigure f = fourthFigure({1, {qint16(L), qint16(L), qint16(L)}}, kW4, kH4);
        for (const RingLetter &letter : f.letters) {
            const double ccw = std::atan2(f.centreY - letter.y - 150, letter.x + 120 - f.centreX);
            for (const Ring &ring : f.rings)
                EXPECT_EQ(colourUnder(ring.sectors, ccw), GetColour(letterIndex(letter.letter)));
        }
    }
}

TEST(FourthFigure, PlainRingsAndTheLettersOnTop)
{
    const FourthFigure f = fourthFigure({0, {1, 2, 3}}, kW4, kH4);
    for (const Ring &ring : f.rings)
        EXPECT_TRUE(!ring.coloured && ring.sectors.empty() && ring.colour == kBlue);
    QString tops, outer;
    for (size_t i = 0; i < f.letters.size(); ++i) {
        if (i % 9 == 0)
            tops += f.letters[i].letter;
        else if (i > 18)
            outer += f.letters[i].letter;
        EXPECT_EQ(f.letters[i].bold, i % 9 == 0);
        EXPECT_EQ(f.letters[i].italic, i % 9 != 0);
    }
    EXPECT_EQ(tops, QStringLiteral("DCB")); // inner, middle and outer text ring
    EXPECT_EQ(outer, QStringLiteral("CDEFGHIK"));
    for (int t = 1; t <= 3; ++t) {
        const FourthFigure c = fourthFigure({qint16(t), {1, 2, 3}}, kW4, kH4);
        for (int k = 0; k < 3; ++k)
            EXPECT_EQ(c.rings[size_t(k)].coloured, k + 1 >= t);
    }
}

TEST(Press, CompartmentClockwiseFromTheTop)
{
    // x, y, compartment, letter on the first figure, on the second
    const std::vector<std::array<double, 5>> cases{
        {kW / 2, 100, 1, 1, 1}, {kW / 2, kH / 2, 3, 3, 7},  {kW - 10, kH / 2, 3, 3, 7},
        {10, kH / 2, 8, 8, 6},  {kW / 2, kH - 10, 6, 6, 8}, {0, 0, 9, 9, 9},
        {kW, kH, 4, 4, 2}};
    for (const auto &[x, y, compartment, first, second] : cases) {
        const int c = compartmentOfAngle(pressAngle(x, y, kW, kH));
        EXPECT_EQ(c, compartment) << x << "," << y;
        EXPECT_EQ(firstFigureLetter(c), first);
        EXPECT_EQ(secondFigureLetter(c), second);
    }
    for (const auto &[deg, compartment] :
         std::vector<std::pair<double, int>>{{19.9, 1}, {20, 2}, {339.9, 9}, {340, 1}, {359.99, 1}})
        EXPECT_EQ(compartmentOfAngle(deg), compartment) << deg;
    for (double deg : {10.0, 100.0, 190.0, 280.0}) {
        const double a = deg * kPi / 180;
        EXPECT_NEAR(pressAngle(kW / 2 + 1000 * std::sin(a), kH / 2 - 1000 * std::cos(a), kW, kH),
                    deg, 1e-4);
    }
}

} // namespace
