#include "art/core/combination.h"

#include "core/letters.h"
#include "core/numeric.h"
#include "core/random.h"

#include <QList>

#include <algorithm>

namespace velmora {

namespace {

// A fair source settles a clash in a couple of draws; the cap only keeps a
// broken or constant source from hanging the window.
constexpr int kMaxRedraws = 1000;

template <typename Clashes> qint16 redrawWhile(qint16 letter, RandomSource &random, Clashes clashes)
{
    for (int n = 0; clashes(letter) && n < kMaxRedraws; ++n)
        letter = drawLetter(random);
    for (qint16 l = 1; clashes(letter) && l <= kLetterCount; ++l)
        letter = l;
    return letter;
}

} // namespace

bool onSecondFigure(int tPosition, int place)
{
    return tPosition != 0 && place >= tPosition;
}

Letters letterFigures(int tPosition)
{
    Letters figures{};
    for (int place = 1; place <= 3; ++place)
        figures[place - 1] = onSecondFigure(tPosition, place) ? 2 : 1;
    return figures;
}

QString combinationText(const Combination &combination)
{
    QString text;
    for (int place = 1; place <= 3; ++place) {
        if (combination.tPosition == place)
            text += QStringLiteral("(T)");
        const QChar c = letterAt(combination.letters[place - 1]);
        if (!c.isNull())
            text += c;
    }
    return text;
}

std::optional<Combination> evaluateTypedCombination(const QString &text)
{
    // One position per character as the user sees it, so a character outside
    // the basic plane does not count twice.
    std::u32string s;
    for (char32_t c : text.toUcs4()) {
        if (c == U'(' || c == U')')
            continue;
        s += c < 128 ? static_cast<char32_t>(QChar::toUpper(c)) : c;
    }
    if (s.size() < 3)
        return std::nullopt;

    qsizetype t = 0;
    if (const auto found = s.find(U'T'); found != std::u32string::npos && found < 3)
        t = static_cast<qsizetype>(found) + 1;

    Combination combination;
    combination.tPosition = static_cast<qint16>(t);
    int k = 0;
    for (qsizetype p = 1; p <= static_cast<qsizetype>(s.size()) && k < 3; ++p) {
        if (p == t)
            continue;
        const char32_t c = s[static_cast<size_t>(p - 1)];
        const int index = c < 128 ? letterIndex(QChar(static_cast<char16_t>(c))) : 0;
        // letterIndex accepts lower case; the text is already upper case here.
        if (index > 0)
            combination.letters[static_cast<size_t>(k++)] = static_cast<qint16>(index);
    }
    if (k < 3)
        return std::nullopt;
    return combination;
}

qint16 drawLetter(RandomSource &random)
{
    return toInt16(random.next() * 8 + 1);
}

Combination drawRandomCombination(RandomSource &random)
{
    Combination combination;
    qint16 t = toInt16(random.next() * 4);
    combination.tPosition = t == 4 ? 0 : t;
    for (auto &letter : combination.letters)
        letter = drawLetter(random);
    return combination;
}

Combination repairCombination(Combination combination, RandomSource &random)
{
    const int t = combination.tPosition;
    auto &l = combination.letters;

    l[1] = redrawWhile(l[1], random, [&](qint16 x) { return x == l[0] && t != 2; });
    l[2] = redrawWhile(l[2], random, [&](qint16 x) {
        return (x == l[1] && t != 3) || (x == l[0] && (t == 0 || t == 1));
    });

    if (t == 0 || t == 1) {
        std::sort(l.begin(), l.end());
    } else if (t == 2) {
        if (l[1] > l[2])
            std::swap(l[1], l[2]);
    } else if (t == 3) {
        if (l[0] > l[1])
            std::swap(l[0], l[1]);
    }
    return combination;
}

} // namespace velmora
