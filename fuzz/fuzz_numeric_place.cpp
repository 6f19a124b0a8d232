// The numeric value of a box text, and the latitude, longitude and time zone boxes.
#include "core/numeric.h"
#include "fuzz/fuzzcheck.h"
#include "sky/core/navigation.h"

#include <QString>

#include <cmath>
#include <cstddef>
#include <cstdint>

using namespace velmora;

namespace {

void checkNumeric(const QString &text)
{
    const double v = numericValue(text);
    FUZZ_CHECK(!std::isnan(v));
    // Only the leading number counts: blanks before it and text after it change nothing.
    FUZZ_CHECK(numericValue(u' ' + text) == v);
    FUZZ_CHECK(numericValue(text + u'x') == v);

    const double r = roundHalfEven(v);
    if (!std::isfinite(v)) {
        // Only a run of digits too long for a double reads as infinite, and it does not fit.
        bool ok = true;
        FUZZ_CHECK(numericInt16(text, &ok) == (v < 0 ? -32768 : 32767) && !ok);
        return;
    }
    FUZZ_CHECK(std::fabs(r - v) <= 0.5);
    FUZZ_CHECK(r == std::floor(r));
    if (std::fabs(r - v) == 0.5)
        FUZZ_CHECK(std::fmod(r, 2.0) == 0.0);

    bool ok = false;
    const qint16 n = numericInt16(text, &ok);
    FUZZ_CHECK(ok == (r >= -32768.0 && r <= 32767.0));
    if (ok)
        FUZZ_CHECK(n == r);
    else
        FUZZ_CHECK(n == (r < 0 ? -32768 : 32767));
}

using Reader = PlaceEntry (*)(const QString &);

// A place box rewritten with its own text reads back as the same value and text.
void checkPlace(Reader read, const QString &text, double limit, bool keepsText)
{
    const PlaceEntry entry = read(text);
    FUZZ_CHECK(std::isfinite(entry.value));
    FUZZ_CHECK(std::fabs(entry.value) <= limit);
    if (keepsText) {
        FUZZ_CHECK(entry.text == text);
        return;
    }
    FUZZ_CHECK(!entry.text.contains(u'-'));
    const PlaceEntry again = read(entry.text);
    FUZZ_CHECK(again.value == entry.value);
    FUZZ_CHECK(again.text == entry.text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    checkNumeric(text);
    checkPlace(readLatitude, text, kLatitudeLimit, false);
    checkPlace(readLongitude, text, kLongitudeLimit, false);
    checkPlace(readTimeZone, text, kTimeZoneLimit, true);
    return 0;
}
