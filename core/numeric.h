#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace velmora {

/// The number a text starts with, as a user typed it into a box or the settings file holds
/// it: leading blanks are skipped, then an optional sign, digits and at most one decimal point
/// are read, and reading stops at the first other character ("45.5N" gives 45.5, "1e39" gives
/// 1, "1.5.3" gives 1.5). A text that does not start with a number reads as 0. Digits too many
/// for a double give an infinity of their sign, which every caller clamps to its range.
double numericValue(const QString &text);

/// As numericValue(), but nothing when the text does not start with a number at all, so callers
/// can tell "0" from "abc".
std::optional<double> leadingNumber(const QString &text);

/// Nearest integer with halves going to the even neighbour (63.5 -> 64,
/// 62.5 -> 62), as every real-to-integer conversion of the program does.
double roundHalfEven(double value);

/// roundHalfEven() narrowed to the program's 16-bit integers. Values outside
/// -32768..32767 (and NaN) do not fit; ok (when given) says whether it fit,
/// and the result is then clamped to the range.
qint16 toInt16(double value, bool *ok = nullptr);

/// numericValue() converted with toInt16().
qint16 numericInt16(const QString &text, bool *ok = nullptr);

} // namespace velmora
