#include "sky/core/chartlayout.h"

#include "core/numeric.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace velmora::chart {

namespace {

constexpr double kDegToRad = 0.017453292;

// Ring i (1..7) indexes these tables at i - 1.
constexpr char16_t kPlanetGlyphs[] = u"RSTQUVW";
constexpr char16_t kPlanetLetters[] = u"DxDBBAC";
constexpr int kTextLineOfRing[] = {2, 3, 4, 1, 5, 6, 7};
constexpr int kMercuryRing = 2;

// Sector s (1..12) as drawn.
constexpr char16_t kSectorLetters[] = u"CBDACBDACBDA";
constexpr char16_t kSectorGlyphs[] = u"GHIJKLABCDEF"; // at 13 - s
// Sign k (0 Aries .. 11 Pisces) at 12 - k.
constexpr char16_t kSignLetters[] = u"DACBDACBDACB";
constexpr char16_t kPartLabels[] = u"GFE"; // at k + 2 for k = -1, 0, 1

// The harmonic cycle's two sequences of ring numbers.
constexpr char kHarmonicModern[] = "45271326";
constexpr char kHarmonicClassic[] = "4527136";
constexpr char kHarmonicSecond[] = "6741532";

constexpr double kGlyphSize = 14;
constexpr double kLetterSize = 10;
constexpr double kMercuryLetterSize = 8;

double sinDeg(double a)
{
    return std::sin(a * kDegToRad);
}

double cosDeg(double a)
{
    return std::cos(a * kDegToRad);
}

double normalised(double longitude)
{
    double l = std::fmod(longitude, 360.0);
    if (l < 0)
        l += 360.0;
    return l;
}

// Digit at 0-based position pos of seq as a ring number; 0 past either end.
int digitAt(const char *seq, int pos)
{
    const int len = static_cast<int>(std::strlen(seq));
    return pos >= 0 && pos < len ? seq[pos] - '0' : 0;
}

} // namespace

const std::array<QString, 12> &zodiacSigns()
{
    static const std::array<QString, 12> signs = {
        QStringLiteral("Aries"),     QStringLiteral("Taurus"),   QStringLiteral("Geminii"),
        QStringLiteral("Cancer"),    QStringLiteral("Leo"),      QStringLiteral("Virgo"),
        QStringLiteral("Libra"),     QStringLiteral("Scorpio"),  QStringLiteral("Sagittar."),
        QStringLiteral("Capricorn"), QStringLiteral("Aquarius"), QStringLiteral("Pisces")};
    return signs;
}

const std::array<QString, 3> &decanLabels()
{
    static const std::array<QString, 3> labels = {QStringLiteral("E="), QStringLiteral("F="),
                                                  QStringLiteral("G=")};
    return labels;
}

int signOf(double longitude)
{
    return std::clamp(static_cast<int>(std::floor(normalised(longitude) / 30)), 0, 11);
}

int partOf(double longitude)
{
    const double l = normalised(longitude);
    const int k = signOf(l);
    return std::clamp(static_cast<int>(std::floor((l - 30.0 * k) / 10)), 0, 2);
}

QChar signLetter(int sign)
{
    return QChar(kSignLetters[11 - std::clamp(sign, 0, 11)]);
}

QChar signGlyph(int sign)
{
    return QChar(u'A' + std::clamp(sign, 0, 11));
}

QChar planetGlyph(int ring)
{
    return QChar(kPlanetGlyphs[std::clamp(ring, 1, 7) - 1]);
}

QString planetLetterText(int ring)
{
    if (ring == kMercuryRing)
        return QStringLiteral("ABCD");
    return QString(QChar(kPlanetLetters[std::clamp(ring, 1, 7) - 1]));
}

int planetTextLine(int ring)
{
    return kTextLineOfRing[std::clamp(ring, 1, 7) - 1];
}

QChar mercuryLetter(double r)
{
    const int n = std::clamp(static_cast<int>(roundHalfEven(3 * r + 1)), 1, 4);
    return QChar(u'A' + (n - 1));
}

qint32 planetColour(int ring, double longitude, const CycleState &cycles)
{
    if (cycles.harmonicCycleOn) {
        const int a =
            digitAt(cycles.modernCycle ? kHarmonicModern : kHarmonicClassic, cycles.harmonicStep);
        const int b = digitAt(kHarmonicSecond, cycles.harmonicDegree);
        if (ring == a)
            return kBlue;
        if (ring == b)
            return kGreen;
        return kRed;
    }
    if (cycles.zodiacCycleOn) {
        switch (partOf(longitude)) {
        case 0:
            return kGreen;
        case 1:
            return kRed;
        default:
            return kBlue;
        }
    }
    return kRed;
}

// The -75 and -150 centre a text of the chart's sizes on its point.
Point ruleP(double alphaDegrees, double radius, double cx, double cy)
{
    return {cx - 75 - radius * sinDeg(alphaDegrees), cy - 150 - radius * cosDeg(alphaDegrees)};
}

Point ruleS(double betaDegrees, double radius, double dx, double dy, double cx, double cy)
{
    return {cx - 75 + dx + radius * sinDeg(betaDegrees),
            cy - 150 + dy - radius * cosDeg(betaDegrees)};
}

Drawing layoutChart(const ChartInput &in)
{
    Drawing d;
    const double cx = in.width / 2;
    const double cy = in.height / 2;
    const double t0 = static_cast<double>(in.ascendant) - 140;
    const double t1 = t0 - 45;
    const double t2 = -t0 - 45;

    d.circles.reserve(10);
    for (int k = 1; k <= 10; ++k)
        d.circles.push_back({cx, cy, 500.0 + 300 * k, kBlack});

    // The spokes stop 3 degrees short of the sign boundaries.
    d.spokes.reserve(12);
    for (int k = 1; k <= 12; ++k) {
        const double th = 30.0 * (k - 1) - 72 + t0;
        d.spokes.push_back({cx - 810 * sinDeg(th), cy + 810 * cosDeg(th), cx - 3510 * sinDeg(th),
                            cy + 3510 * cosDeg(th), kBlack});
    }

    d.texts.reserve(7 * 3 + 36 + 2 + 24);
    for (int ring = 1; ring <= 7; ++ring) {
        if (!in.planetValid[ring - 1])
            continue;
        const double lambda = in.planetLong[ring - 1];
        const double radius = 300.0 * ring + 650;
        const double alpha = t2 + lambda;
        const Point at = ruleP(alpha, radius, cx, cy);
        const qint32 colour = planetColour(ring, lambda, in.cycles);
        d.texts.push_back({at, QString(planetGlyph(ring)), true, kGlyphSize, colour});
        if (ring == kMercuryRing) {
            const Point ab{at.x + std::fabs(100 * cosDeg(alpha)), at.y - 100 * sinDeg(alpha)};
            d.texts.push_back({ab, QStringLiteral("AB"), false, kMercuryLetterSize, colour});
            d.texts.push_back(
                {{ab.x, ab.y + 100}, QStringLiteral("CD"), false, kMercuryLetterSize, colour});
        } else {
            // The letter's offset follows the longitude alone, not the turned chart.
            const Point letter{at.x + std::fabs(200 * cosDeg(lambda - 45)),
                               at.y - 200 * sinDeg(lambda - 45)};
            d.texts.push_back({letter, planetLetterText(ring), false, kLetterSize, colour});
        }
    }

    for (int s = 1; s <= 12; ++s) {
        for (int k = -1; k <= 1; ++k) {
            const double beta = t1 + 30.0 * (s - 1) + 10.0 * k - 10;
            d.texts.push_back({ruleS(beta, 3050, 30, 30, cx, cy),
                               QString(QChar(kPartLabels[k + 1])), false, kLetterSize, kBlack});
        }
    }

    if (in.anglesValid) {
        d.texts.push_back({ruleP(t2 + in.ascendantLong, 3050, cx, cy), QStringLiteral("Asc"), false,
                           kLetterSize, kGreen});
        d.texts.push_back({ruleP(t2 + in.mcLong, 3050, cx, cy), QStringLiteral("MC "), false,
                           kLetterSize, kGreen});
    }

    for (int s = 1; s <= 12; ++s) {
        const double th = 30.0 * (s - 1) - 72;
        d.texts.push_back({ruleS(t1 + th - 3, 3350, 0, 0, cx, cy),
                           QString(QChar(kSectorLetters[s - 1])), false, kGlyphSize, kBlack});
        d.texts.push_back({ruleS(t1 + th + 2, 3350, -30, 0, cx, cy),
                           QString(QChar(kSectorGlyphs[13 - s - 1])), true, kGlyphSize, kBlack});
    }
    return d;
}

PlanetTable planetTable(const std::array<QString, 8> &planetText,
                        const std::array<double, 7> &planetLong,
                        const std::array<bool, 7> &planetValid, double mercuryDraw)
{
    PlanetTable table;
    table.lines.reserve(8);
    table.lines.append(planetText[0]);
    for (int ring = 1; ring <= 7; ++ring) {
        const int j = planetTextLine(ring);
        const QString letters = planetLetterText(ring);
        table.planetLetter[j] =
            ring == kMercuryRing ? QString(mercuryLetter(mercuryDraw)) : letters;
        if (!planetValid[ring - 1]) {
            // The line carries the library's message; no sign is claimed.
            table.signLetter[j].clear();
            table.lines.append(planetText[j]);
            continue;
        }
        const double lambda = planetLong[ring - 1];
        const int k = signOf(lambda);
        const QString sign = QString(signLetter(k));
        table.signLetter[j] = sign;
        table.lines.append(planetText[j] + u'\t' + zodiacSigns()[k].leftJustified(9, u' ', true) +
                           u'\t' + decanLabels()[partOf(lambda)] + letters +
                           QStringLiteral(" in ") + sign);
    }
    return table;
}

QString timeZoneText(float hours)
{
    if (hours == 0)
        return QStringLiteral("0");
    return QString::number(static_cast<double>(hours), 'g', 7);
}

} // namespace velmora::chart
