#pragma once

#include <QChar>
#include <QString>

namespace velmora {

/// The nine letters of the Art, in their fixed order; there is no J.
inline constexpr char kAlphabet[] = "BCDEFGHIK";
inline constexpr int kLetterCount = 9;

/// Letter index 1..9 of a letter (either case), 0 for anything else.
int letterIndex(QChar c);

/// The letter of an index 1..9, or a null QChar for anything else.
QChar letterAt(int index);

} // namespace velmora
