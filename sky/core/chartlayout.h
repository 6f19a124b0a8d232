#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <array>
#include <vector>

namespace velmora {

/// The music state the chart's colours follow. The music drives it; the chart
/// only reads it.
struct CycleState
{
    bool harmonicCycleOn = false;
    bool modernCycle = false;
    int harmonicStep = 0;
    int harmonicDegree = 0;
    bool zodiacCycleOn = false;
    bool dayCycleOn = false;
};

namespace chart {

inline constexpr qint32 kBlack = 0;
inline constexpr qint32 kRed = 255;
inline constexpr qint32 kGreen = 65280;
inline constexpr qint32 kBlue = 16711680;

/// Names of the signs as the planet table shows them, Aries first.
const std::array<QString, 12> &zodiacSigns();
/// Labels of the three ten-degree parts of a sign: "E=", "F=", "G=".
const std::array<QString, 3> &decanLabels();

/// Sign of an ecliptic longitude: 0 Aries .. 11 Pisces. Longitudes outside
/// 0..360 are first brought into it.
int signOf(double longitude);
/// Ten-degree part of the sign: 0, 1 or 2.
int partOf(double longitude);
/// Letter of sign k (0 Aries): the triplicities share B, C, A, D.
QChar signLetter(int sign);
/// Glyph of sign k in the symbol font: 'A' Aries .. 'L' Pisces.
QChar signGlyph(int sign);

/// Rings count from the centre: 1 Moon, 2 Mercury, 3 Venus, 4 Sun, 5 Mars,
/// 6 Jupiter, 7 Saturn; ring i has the longitude of sphere index i - 1.
QChar planetGlyph(int ring);
/// The planet's letter as the table writes it; Mercury has all four: "ABCD".
QString planetLetterText(int ring);
/// The planet-text line (library order) that belongs to a ring.
int planetTextLine(int ring);
/// Mercury's letter for one uniform draw r in [0, 1): A and D one time in
/// six, B and C one time in three.
QChar mercuryLetter(double r);

/// Design colour of the planet on the given ring: the harmonic cycle marks its
/// two sounding planets, the zodiacal cycle colours by ten-degree part,
/// otherwise red.
qint32 planetColour(int ring, double longitude, const CycleState &cycles);

/// Top-left corner of a text, in twips.
struct Point
{
    double x = 0;
    double y = 0;
};

/// Placement of a text by its angle in the turned chart (the zodiac runs
/// counter-clockwise) about the centre (cx, cy).
Point ruleP(double alphaDegrees, double radius, double cx, double cy);
/// Placement by the mirrored angle, with a small shift.
Point ruleS(double betaDegrees, double radius, double dx, double dy, double cx, double cy);

struct Circle
{
    double cx, cy, radius;
    qint32 colour;
};

struct Line
{
    double x1, y1, x2, y2;
    qint32 colour;
};

struct Text
{
    Point at;
    QString text;
    bool symbolFont; // the "Astro" family, else the letter font
    double size;     // points
    qint32 colour;
};

/// Everything the chart draws, in the order it is drawn.
struct Drawing
{
    std::vector<Circle> circles;
    std::vector<Line> spokes;
    std::vector<Text> texts;
};

/// What the chart is drawn from.
struct ChartInput
{
    double width = 7215;
    double height = 7215;
    std::array<double, 7> planetLong{}; // sphere order
    std::array<bool, 7> planetValid{true, true, true, true, true, true, true};
    float ascendant = 0;
    double ascendantLong = 0; // the library's angle 0
    double mcLong = 0;        // the library's angle 1
    bool anglesValid = true;
    CycleState cycles;
};

/// Lays out the whole chart: ten rings, twelve spokes, the planets with their
/// letters, the ten-degree labels, "Asc" and "MC ", the sign letters and
/// glyphs, all turned so that the Ascendant lies at the left. A planet that is
/// not valid is left out; without valid angles the two labels are left out.
Drawing layoutChart(const ChartInput &in);

/// The planet table and the letters it hands to the music.
struct PlanetTable
{
    QStringList lines;
    std::array<QString, 8> planetLetter; // library order 1..7, 0 empty
    std::array<QString, 8> signLetter;
};

/// Builds the table from the planet text lines (library order, 0..7), the
/// longitudes (sphere order) and one draw for Mercury's letter. A planet that
/// is not valid shows only its text line (which then carries the library's
/// message) and gets no sign letter.
PlanetTable planetTable(const std::array<QString, 8> &planetText,
                        const std::array<double, 7> &planetLong,
                        const std::array<bool, 7> &planetValid, double mercuryDraw);

/// The time zone as the place box shows it: the shortest text ("0", "-5.5").
QString timeZoneText(float hours);

} // namespace chart
} // namespace velmora
