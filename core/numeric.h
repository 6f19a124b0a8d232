#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace velmora {

/// The number a text starts with, as a user typed it into a box: leading
/// spaces are skipped, then an optional sign, digits with at most one decimal
/// point and an optional exponent. A text that does not start with a number
/// reads as 0 ("45.5N" gives 45.5, "abc" gives 0).
double numericValue(const QString &text);

/// As numericValue(), but a leading number too large for a double gives nothing instead of 0,
/// so callers can tell "1e999" from "0".
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
