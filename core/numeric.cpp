#include "core/numeric.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace velmora {

double numericValue(const QString &text)
{
    return leadingNumber(text).value_or(0.0);
}

std::optional<double> leadingNumber(const QString &text)
{
    const auto isDigit = [](QChar c) {
        return c >= u'0' && c <= u'9';
    };
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && (text.at(i) == u' ' || text.at(i) == u'\t'))
        ++i;
    bool negative = false;
    if (i < n && (text.at(i) == u'+' || text.at(i) == u'-'))
        negative = text.at(i++) == u'-';
    std::string number;
    bool nonZeroWhole = false;
    while (i < n && isDigit(text.at(i))) {
        nonZeroWhole = nonZeroWhole || text.at(i) != u'0';
        number += char(text.at(i++).unicode());
    }
    const bool wholeDigits = !number.empty();
    bool fraction = false;
    if (i < n && text.at(i) == u'.') {
        number += '.';
        ++i;
        while (i < n && isDigit(text.at(i))) {
            number += char(text.at(i++).unicode());
            fraction = true;
        }
    }
    if (!wholeDigits && !fraction)
        return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                           std::chars_format::fixed);
    if (ec == std::errc::result_out_of_range) {
        // Only a whole part can be too large; a fraction too small to hold is 0.
        value = nonZeroWhole ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (ec != std::errc() || end != number.data() + number.size()) {
        return std::nullopt;
    }
    return negative ? -value : value;
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
