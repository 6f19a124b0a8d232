#pragma once

#include "art/core/combination.h"

#include <QChar>
#include <QString>
#include <QtGlobal>

#include <array>
#include <vector>

namespace velmora {

/// The figures form their angles with this value for a full turn.
inline constexpr double kFullTurn = 6.28318;

/// Triangle colour of a letter index as a design colour value: 0 blue (first
/// figure, plain rings), 1..3 and below green, 4..6 red, 7 and above orange.
qint32 GetColour(int s);

/// An unfilled circle in twips.
struct MarkerCircle
{
    double x = 0;
    double y = 0;
    double radius = 0;
    qint32 colour = 0;
};

/// Position 0..8 of a letter clockwise from the top of the second figure,
/// whose compartments run B, E, H, C, F, I, D, G, K.
int secondFigurePosition(int letter);

/// Markers of the combination on the first figure (size w1 x h1) and the second (w2 x h2).
struct FigureMarkers
{
    std::vector<MarkerCircle> first;
    std::vector<MarkerCircle> second;
};
FigureMarkers figureMarkers(const Combination &combination, double w1, double h1, double w2,
                            double h2);

/// Circles on the cameras of the two pairs (PairLetter order); a pair of
/// equal or missing letters gets none.
std::vector<MarkerCircle> thirdFigureMarkers(const std::array<qint16, 4> &pairLetter,
                                             qint32 colour);

/// One pie sector; angles in radians counter-clockwise from 3 o'clock.
struct PieSector
{
    double startAngle = 0;
    double endAngle = 0;
    qint32 colour = 0;
};

/// A filled disc (plain) or nine sectors (coloured), drawn outside in.
struct Ring
{
    double radius = 0;
    int letter = 0;
    bool coloured = false;
    qint32 colour = 0;
    std::vector<PieSector> sectors;
};

/// A letter printed with its top-left corner at (x, y).
struct RingLetter
{
    QChar letter;
    double x = 0;
    double y = 0;
    bool bold = false;
    bool italic = false;
};

struct FourthFigure
{
    double centreX = 0;
    double centreY = 0;
    std::array<Ring, 3> rings;
    double centreRadius = 0;
    std::vector<RingLetter> letters;
    qint32 letterColour = 0;
};

/// The whole fourth figure for a box of w x h twips.
FourthFigure fourthFigure(const Combination &combination, double w, double h);

/// The nine sectors of a coloured ring for letter.
std::vector<PieSector> ringSectors(int letter);

/// Degrees clockwise from the top (0 up to 360) of a press at (x, y) in a box of w x h.
double pressAngle(double x, double y, double w, double h);

/// Compartment 1..9 for an angle clockwise from the top; 1 is centred on the top.
int compartmentOfAngle(double degrees);

/// The letters of the compartments: the first figure's run B to K clockwise,
/// the second figure's B, E, H, C, F, I, D, G, K.
int firstFigureLetter(int compartment);
int secondFigureLetter(int compartment);

} // namespace velmora
