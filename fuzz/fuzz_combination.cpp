// The combination box: typed text up to the first NUL byte, then the repair of what it gives
// and of a random draw, with the random numbers taken from the bytes after the NUL.
#include "art/core/combination.h"
#include "core/random.h"
#include "fuzz/fuzzcheck.h"

#include <QList>
#include <QString>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

using namespace velmora;

namespace {

// Plays the given bytes as draws; when they run out it repeats one value, the worst case for
// a repair that redraws until the letters differ.
class ByteRandom
{
public:
    ByteRandom(const uint8_t *data, size_t size)
        : m_data(data)
        , m_size(size)
    {}

    double operator()()
    {
        if (m_pos < m_size)
            return m_data[m_pos++] / 256.0;
        return m_size > 0 ? m_data[m_size - 1] / 256.0 : 0.0;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
    size_t m_pos = 0;
};

bool lettersInRange(const Combination &c)
{
    return std::all_of(c.letters.begin(), c.letters.end(),
                       [](qint16 l) { return l >= 1 && l <= 9; });
}

// True when two places read on the same figure hold the same letter.
bool hasClash(const Combination &c)
{
    const Letters figures = letterFigures(c.tPosition);
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j)
            if (figures[i] == figures[j] && c.letters[i] == c.letters[j])
                return true;
    return false;
}

void checkRepair(const Combination &before, RandomSource &random)
{
    const Combination after = repairCombination(before, random);
    FUZZ_CHECK(after.tPosition == before.tPosition);
    FUZZ_CHECK(lettersInRange(after));
    // Each figure's part is strictly ascending: different letters, sorted.
    const Letters figures = letterFigures(after.tPosition);
    for (int i = 0; i < 3; ++i)
        for (int j = i + 1; j < 3; ++j)
            if (figures[i] == figures[j])
                FUZZ_CHECK(after.letters[i] < after.letters[j]);
    // The first letter is never the one redrawn.
    FUZZ_CHECK(std::find(after.letters.begin(), after.letters.end(), before.letters[0]) !=
               after.letters.end());
    // Letters that did not clash are only reordered.
    if (!hasClash(before)) {
        Letters a = after.letters;
        Letters b = before.letters;
        std::sort(a.begin(), a.end());
        std::sort(b.begin(), b.end());
        FUZZ_CHECK(a == b);
    }
}

QString asciiLower(const QString &text)
{
    QString lower = text;
    for (QChar &c : lower)
        if (c.unicode() < 128)
            c = c.toLower();
    return lower;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const auto *nul = static_cast<const uint8_t *>(std::memchr(data, 0, size));
    const size_t textSize = nul ? size_t(nul - data) : size;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(textSize));
    const size_t randomAt = nul ? textSize + 1 : size;
    ByteRandom bytes(data + randomAt, size - randomAt);
    RandomSource random([&bytes] { return bytes(); });

    const auto typed = evaluateTypedCombination(text);
    if (text.toUcs4().size() < 3)
        FUZZ_CHECK(!typed);
    // Parentheses and the case of the letters never change what the text means.
    FUZZ_CHECK(evaluateTypedCombination(u'(' + text + u')') == typed);
    FUZZ_CHECK(evaluateTypedCombination(asciiLower(text)) == typed);
    if (typed) {
        FUZZ_CHECK(typed->tPosition >= 0 && typed->tPosition <= 3);
        FUZZ_CHECK(lettersInRange(*typed));
        // The written form reads back as the same combination.
        FUZZ_CHECK(evaluateTypedCombination(combinationText(*typed)) == typed);
        checkRepair(*typed, random);
    }

    const Combination drawn = drawRandomCombination(random);
    FUZZ_CHECK(drawn.tPosition >= 0 && drawn.tPosition <= 3);
    FUZZ_CHECK(lettersInRange(drawn));
    checkRepair(drawn, random);
    return 0;
}
