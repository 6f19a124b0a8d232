#include "art/core/figuregeometry.h"

#include "core/letters.h"
#include "core/units.h"

#include <cmath>

namespace velmora {

namespace {

constexpr double kMarkerRing = 1850;
constexpr double kMarkerRadius = 200;
constexpr double kCameraRadius = 250;
constexpr double kSectorStart = 0.53;
constexpr double kSectorWidth = 0.705;
// Triangle of the letter that stands (index - ring letter + 2) places round the ring.
constexpr std::array<int, 9> kSectorTriangles{1, 1, 1, 7, 7, 7, 4, 4, 4};
constexpr qint32 kWhite = colourValue(255, 255, 255);

int mod9(int v)
{
    return ((v % 9) + 9) % 9;
}

} // namespace

qint32 GetColour(int s)
{
    if (s == 0)
        return colourValue(0, 0, 255);
    if (s <= 3)
        return colourValue(0, 153, 51);
    if (s <= 6)
        return colourValue(255, 0, 0);
    return colourValue(255, 153, 51);
}

int secondFigurePosition(int letter)
{
    if (letter >= 1 && letter <= 3)
        return 3 * (letter - 1);
    if (letter >= 4 && letter <= 6)
        return 3 * (letter - 4) + 1;
    if (letter >= 7 && letter <= 9)
        return 3 * (letter - 7) + 2;
    return 0;
}

FigureMarkers figureMarkers(const Combination &combination, double w1, double h1, double w2,
                            double h2)
{
    FigureMarkers markers;
    for (int place = 1; place <= 3; ++place) {
        const int L = combination.letters[static_cast<size_t>(place - 1)];
        if (L < 1 || L > kLetterCount)
            continue;
        if (!onSecondFigure(combination.tPosition, place)) {
            const double a = (L - 1) * kFullTurn / 9;
            markers.first.push_back({w1 / 2 + 1.05 * kMarkerRing * std::sin(a),
                                     h1 / 2 - 1.05 * kMarkerRing * std::cos(a), kMarkerRadius,
                                     GetColour(0)});
        } else {
            const double a = secondFigurePosition(L) * kFullTurn / 9;
            markers.second.push_back({w2 / 2 + kMarkerRing * std::sin(a),
                                      h2 / 2 - kMarkerRing * std::cos(a), kMarkerRadius,
                                      GetColour(L)});
        }
    }
    return markers;
}

std::vector<MarkerCircle> thirdFigureMarkers(const std::array<qint16, 4> &pairLetter, qint32 colour)
{
    std::vector<MarkerCircle> markers;
    for (size_t i = 0; i < 4; i += 2) {
        const int a = pairLetter[i];
        const int b = pairLetter[i + 1];
        // A letter that is not one of the Art's has no column to circle.
        if (b - a > 0 && a >= 1)
            markers.push_back({a * 497.0 - 245, (b - a) * 480.0 - 230, kCameraRadius, colour});
    }
    return markers;
}

std::vector<PieSector> ringSectors(int letter)
{
    std::vector<PieSector> sectors;
    for (int i = 1; i <= 9; ++i) {
        double s = kSectorStart + kSectorWidth * i;
        double e = s + kSectorWidth;
        if (s > kFullTurn)
            s -= kFullTurn;
        if (e > kFullTurn)
            e -= kFullTurn;
        const int c = kSectorTriangles[static_cast<size_t>(mod9(i - letter + 2))];
        sectors.push_back({s, e, GetColour(c)});
    }
    return sectors;
}

FourthFigure fourthFigure(const Combination &combination, double w, double h)
{
    FourthFigure figure;
    figure.centreX = w / 2;
    figure.centreY = h / 2;
    const std::array<double, 3> ringRadius{w / 2.3, w / 2.9, w / 4};
    for (int k = 1; k <= 3; ++k) {
        Ring &ring = figure.rings[static_cast<size_t>(k - 1)];
        ring.radius = ringRadius[static_cast<size_t>(k - 1)];
        ring.letter = combination.letters[static_cast<size_t>(k - 1)];
        ring.coloured = onSecondFigure(combination.tPosition, k);
        ring.colour = GetColour(0);
        if (ring.coloured)
            ring.sectors = ringSectors(ring.letter);
    }
    figure.centreRadius = w / 6;
    figure.letterColour = kWhite;

    // Text ring k runs from the inside out, so it carries place 4 - k.
    const std::array<double, 3> textRadius{w / 4.8, w / 3.35, w / 2.6};
    for (int k = 1; k <= 3; ++k) {
        const int L = combination.letters[static_cast<size_t>(3 - k)];
        const double r = textRadius[static_cast<size_t>(k - 1)];
        for (int j = 0; j <= 8; ++j) {
            const double a = j * kFullTurn / 9;
            RingLetter letter;
            letter.letter = letterAt(mod9(j - 1 + L) + 1);
            letter.x = w / 2 - 120 + r * std::sin(a);
            letter.y = h / 2 - 150 - r * std::cos(a);
            letter.bold = j == 0;
            letter.italic = j != 0;
            figure.letters.push_back(letter);
        }
    }
    return figure;
}

double pressAngle(double x, double y, double w, double h)
{
    const double dx = x - w / 2;
    const double dy = -(y - h / 2);
    const double base = dy == 0 ? 90 : std::atan(std::abs(dx / dy)) * 180 / 3.1415927;
    if (dx < 0 && dy >= 0)
        return 360 - base;
    if (dx < 0 && dy < 0)
        return 180 + base;
    if (dx >= 0 && dy < 0)
        return 180 - base;
    return base;
}

int compartmentOfAngle(double degrees)
{
    const int compartment = static_cast<int>(std::floor((degrees + 20) / 40)) + 1;
    return compartment >= 10 ? 1 : (compartment < 1 ? 1 : compartment);
}

int firstFigureLetter(int compartment)
{
    return compartment >= 1 && compartment <= 9 ? compartment : 0;
}

int secondFigureLetter(int compartment)
{
    static constexpr char kOrder[] = "147258369";
    return compartment >= 1 && compartment <= 9 ? kOrder[compartment - 1] - '0' : 0;
}

} // namespace velmora
