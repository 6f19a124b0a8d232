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
    const std::vector<std::pair<int, qint32>> cases{{0, kBlue},      {3, kGreen}, {-32768, kGreen},
                                                    {4, kRed},       {6, kRed},   {7, kOrange},
                                                    {32767, kOrange}};
    for (const auto &[s, colour] : cases)
        EXPECT_EQ(GetColour(s), colour) << s;
}

// Degrees clockwise from the top and colour of each marker, all of which must
// lie at the given distance (tens of twips) from the centre.
std::vector<std::pair<long, qint32>> onCircle(const std::vector<MarkerCircle> &markers, long r)
{
    std::vector<std::pair<long, qint32>> p;
    for (const MarkerCircle &m : markers) {
        const double deg = std::atan2(m.x - kW / 2, kH / 2 - m.y) * 180 / kPi;
        EXPECT_EQ(std::lround(std::hypot(m.x - kW / 2, m.y - kH / 2) / 10), r);
        p.emplace_back(std::lround(deg < -0.01 ? deg + 360 : deg), m.colour);
    }
    return p;
}

// Markers sit on the letters of the figure each place is read on, and every
// ring of the fourth figure from the marker's place inwards is coloured.
TEST(Figures, MarkersAndColouredRingsFollowTheMarker)
{
    using P = std::vector<std::pair<long, qint32>>;
    struct
    {
        Combination c;
        P first, second;
        std::array<bool, 3> coloured; // outer, middle, inner ring
    } const cases[] = {
        {{0, {1, 2, 3}}, {{0, kBlue}, {40, kBlue}, {80, kBlue}}, {}, {false, false, false}},
        {{1, {1, 2, 3}}, {}, {{0, kGreen}, {120, kGreen}, {240, kGreen}}, {true, true, true}},
        {{3, {1, 2, 3}}, {{0, kBlue}, {40, kBlue}}, {{240, kGreen}}, {false, false, true}},
        // E, H and K sit in the 2nd, 3rd and 9th compartments of the second figure.
        {{1, {4, 7, 9}}, {}, {{40, kRed}, {80, kOrange}, {320, kOrange}}, {true, true, true}}};
    for (const auto &[c, first, second, coloured] : cases) {
        SCOPED_TRACE(combinationText(c).toStdString());
        const FigureMarkers m = figureMarkers(c, kW, kH, kW, kH);
        EXPECT_EQ(onCircle(m.first, 194), first);
        EXPECT_EQ(onCircle(m.second, 185), second);
        const FourthFigure f = fourthFigure(c, kW4, kH4);
        for (size_t k = 0; k < 3; ++k)
            EXPECT_EQ(f.rings[k].coloured, coloured[k]) << k;
    }
    // The third figure circles the camera of CD; the pair DD of D(T)DE has none.
    EXPECT_EQ(thirdFigureMarkers({2, 3, 4, 4}, kBlue).size(), 1u);
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
TEST(FourthFigure, EveryLetterOnItsColourOrOnPlainRings)
{
    for (int L = 1; L <= 9; ++L) {
        const FourthFigure f = fourthFigure({1, {qint16(L), qint16(L), qint16(L)}}, kW4, kH4);
        for (const RingLetter &letter : f.letters) {
            const double ccw = std::atan2(f.centreY - letter.y - 150, letter.x + 120 - f.centreX);
            for (const Ring &ring : f.rings)
                EXPECT_EQ(colourUnder(ring.sectors, ccw), GetColour(letterIndex(letter.letter)));
        }
    }
    // Without a marker the rings are plain, and the letters lie on top.
    const FourthFigure f = fourthFigure({0, {1, 2, 3}}, kW4, kH4);
    for (const Ring &ring : f.rings)
        EXPECT_TRUE(!ring.coloured && ring.sectors.empty() && ring.colour == kBlue);
    QString tops;
    for (size_t i = 0; i < f.letters.size(); i += 9)
        tops += f.letters[i].letter;
    EXPECT_EQ(tops, QStringLiteral("DCB")); // inner, middle and outer text ring
}

TEST(Press, CompartmentClockwiseFromTheTop)
{
    // x, y, compartment, letter on the first figure, on the second
    const std::vector<std::array<double, 5>> cases{{kW / 2, 100, 1, 1, 1},
                                                   {kW - 10, kH / 2, 3, 3, 7},
                                                   {10, kH / 2, 8, 8, 6},
                                                   {kW / 2, kH / 2, 3, 3, 7},
                                                   {0, 0, 9, 9, 9}};
    for (const auto &[x, y, compartment, first, second] : cases) {
        const int c = compartmentOfAngle(pressAngle(x, y, kW, kH));
        EXPECT_EQ(c, compartment) << x << "," << y;
        EXPECT_EQ(firstFigureLetter(c), first);
        EXPECT_EQ(secondFigureLetter(c), second);
    }
    for (const auto &[deg, compartment] :
         std::vector<std::pair<double, int>>{{19.9, 1}, {20, 2}, {339.9, 9}, {340, 1}})
        EXPECT_EQ(compartmentOfAngle(deg), compartment) << deg;
    for (double deg : {100.0, 280.0}) {
        const double a = deg * kPi / 180;
        EXPECT_NEAR(pressAngle(kW / 2 + 1000 * std::sin(a), kH / 2 - 1000 * std::cos(a), kW, kH),
                    deg, 1e-4);
    }
}

} // namespace
