#pragma once

#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>

namespace velmora {

class RandomSource;

/// Three letter indices, places 1..3 stored at [0]..[2].
using Letters = std::array<qint16, 3>;

/// A combination: where the "(T)" marker stands (0 none, 1..3 before that
/// letter) and its three letters. Letter i is read on the second figure when
/// the marker is set and stands at or before place i.
struct Combination
{
    qint16 tPosition = 0;
    Letters letters{};

    bool operator==(const Combination &) const = default;
};

/// True when the letter at place (1..3) is read on the second figure.
bool onSecondFigure(int tPosition, int place);

/// The figure each place is read on: 1 first, 2 second.
Letters letterFigures(int tPosition);

/// The text form: the letters with "(T)" before place tPosition ("B(T)CD").
/// Indices outside 1..9 print nothing.
QString combinationText(const Combination &combination);

/// What Enter in a combination box makes of its text: case and parentheses
/// ignored, the first "T" among the first three characters is the marker and
/// the first three letters count; every other character still takes a
/// position. Returns nothing when the text holds fewer than three letters.
std::optional<Combination> evaluateTypedCombination(const QString &text);

/// One random letter: round(r * 8 + 1), halves to even, so B and K come up
/// half as often as the rest.
qint16 drawLetter(RandomSource &random);

/// A random marker position and three random letters, repeats allowed.
Combination drawRandomCombination(RandomSource &random);

/// Makes the letters of each figure's part different (redrawing only the
/// later letter of a clashing pair) and sorts each part ascending. Letters
/// of different parts may stay equal.
Combination repairCombination(Combination combination, RandomSource &random);

} // namespace velmora
