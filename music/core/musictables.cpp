#include "music/core/musictables.h"

#include <cmath>

namespace velmora {

const std::array<const char *, 25> kHourChords{
    "",      "dhaeA", "haebA", "aebfA", "haebE", "aebfE", "ebfcE", "aebfB", "ebfcB",
    "bfcgB", "ebfcF", "bfcgF", "fcgdF", "bfcgC", "fcgdC", "cgdhC", "fcgdG", "cgdbG",
    "gdhaG", "cgdhD", "gdhaD", "dhaeD", "gdhaH", "dhaeH", "haebH"};

int hourChordIndex(int clockHour)
{
    int h = clockHour - 5;
    if (h < 1)
        h += 24;
    return h;
}

int chordLetterScaleIndex(char letter)
{
    if (letter == 'a')
        return 3;
    if (letter >= 'b' && letter <= 'h')
        return letter - 'b';
    return -1;
}

int weekdayShift(int dayOfWeek)
{
    // Thursday lowest, Friday highest, Wednesday untransposed.
    static constexpr std::array<int, 8> shifts{0, 2, -1, 0, -3, 3, 1, -2};
    if (dayOfWeek < 1 || dayOfWeek > 7)
        return -3;
    return shifts[dayOfWeek];
}

int pairPosition(const QString &planetLetter, const QString &signLetter)
{
    static const QString pairs = QStringLiteral("AABACADAABBBCBDBACBCCCDCADBDCDDD");
    if (planetLetter.size() != 1 || signLetter.size() != 1)
        return 0;
    return pairs.indexOf(planetLetter + signLetter) + 1;
}

int zodiacNote(int slot, int p, double longitude)
{
    if (!std::isfinite(longitude))
        longitude = 0.0;
    const int sign = static_cast<int>(std::floor(longitude / 30.0));
    const int third = static_cast<int>(std::floor((longitude - 30.0 * sign) / 10.0));
    const int m = ((third + p) % 7 + 7) % 7;
    return (slot / 2) * 12 + 24 + (p / 8) * 12 + kMajorScale[m];
}

HarmonyNotes harmonyNotes(int f, int g)
{
    const auto &t = kHarmonicSemitones;
    const int u = (g + 1) % 7;
    const int v = (g + 2) % 7;
    HarmonyNotes n{};
    if (f != t[u] && f != t[v]) {
        n = {t[v], t[u]};
    } else if (f != t[u]) {
        n = {t[g] + 12, t[u] + 12};
    } else {
        n = {t[v] + 12, t[g] + 12};
    }
    if (n.a < n.b)
        n.a += 12;
    return n;
}

} // namespace velmora
