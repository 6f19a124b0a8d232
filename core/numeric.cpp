#include "core/numeric.h"

#include <cmath>
#include <limits>

namespace velmora {

double numericValue(const QString &text)
{
    return leadingNumber(text).value_or(0.0);
}

std::optional<double> leadingNumber(const QString &text)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && (text.at(i) == u' ' || text.at(i) == u'\t'))
        ++i;
    const qsizetype start = i;
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-'))
        ++i;
    qsizetype digits = 0;
    while (i < n && text.at(i).isDigit() && text.at(i).unicode() < 128) {
        ++i;
        ++digits;
    }
    if (i < n && text.at(i) == u'.') {
        ++i;
        while (i < n && text.at(i).isDigit() && text.at(i).unicode() < 128) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0.0;
    qsizetype end = i;
    // An exponent only counts when digits follow it ("2e" is the number 2).
    if (i < n && (text.at(i) == u'e' || text.at(i) == u'E')) {
        qsizetype j = i + 1;
        if (j < n && (text.at(j) == u'+' || text.at(j) == u'-'))
            ++j;
        const qsizetype expStart = j;
        while (j < n && text.at(j).isDigit() && text.at(j).unicode() < 128)
            ++j;
        if (j > expStart)
            end = j;
    }
    bool ok = false;
    const double value = text.mid(start, end - start).toDouble(&ok);
    // A number too large for a double is no number the program can use.
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

double roundHalfEven(double value)
{
    if (!std::isfinite(value))
        return value;
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5)
        return floor;
    if (diff > 0.5)
        return floor + 1.0;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

qint16 toInt16(double value, bool *ok)
{
    constexpr double lo = std::numeric_limits<qint16>::min();
    constexpr double hi = std::numeric_limits<qint16>::max();
    const double r = roundHalfEven(value);
    const bool fits = !std::isnan(r) && r >= lo && r <= hi;
    if (ok)
        *ok = fits;
    if (std::isnan(r))
        return 0;
    if (r < lo)
        return std::numeric_limits<qint16>::min();
    if (r > hi)
        return std::numeric_limits<qint16>::max();
    return static_cast<qint16>(r);
}

qint16 numericInt16(const QString &text, bool *ok)
{
    return toInt16(numericValue(text), ok);
}

} // namespace velmora
