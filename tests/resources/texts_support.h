#pragma once

#include "core/letters.h"
#include "core/texttables.h"
#include "resources/textresources.h"

#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace velmora::texttest {

/// The key of camera 1..36 ("BC" .. "IK"), in the order of the third figure.
inline QString cameraKey(int camera)
{
    int n = 0;
    for (int a = 1; a <= kLetterCount; ++a)
        for (int b = a + 1; b <= kLetterCount; ++b)
            if (++n == camera)
                return QString(letterAt(a)) + letterAt(b);
    return {};
}

/// The key of pair 1..81 ("BB" .. "KK"): row letter, then column letter.
inline QString pairKey(int pair)
{
    return QString(letterAt((pair - 1) / 9 + 1)) + letterAt((pair - 1) % 9 + 1);
}

/// Lines split into runs of non-blank lines, noting blank lines before the
/// first run and separators of more than one blank line.
struct Blocks
{
    QList<QStringList> blocks;
    int leadingBlanks = 0;
    bool doubledBlank = false;
};

inline Blocks splitBlocks(const QStringList &lines)
{
    Blocks result;
    int blanks = 0;
    bool seenText = false;
    for (const QString &line : lines) {
        if (isBlankLine(line)) {
            ++blanks;
            continue;
        }
        if (!seenText)
            result.leadingBlanks = blanks;
        else if (blanks > 1)
            result.doubledBlank = true;
        if (!seenText || blanks > 0)
            result.blocks.append(QStringList());
        result.blocks.last().append(line);
        seenText = true;
        blanks = 0;
    }
    return result;
}

/// Parsed tables of the committed texts, built once per test program.
inline const ArtTables &committedTables()
{
    static const ArtTables tables = [] {
        ArtTables t;
        for (int number = 100; number <= 110; ++number)
            parseTextResource(number, textResource(number), t);
        return t;
    }();
    return tables;
}

/// The generated and the commentary texts arrive separately from the others;
/// until they are committed their checks are skipped rather than failed.
inline bool mayBeMissing(int number)
{
    return number == 102 || (number >= 106 && number <= 110);
}

#define VELMORA_REQUIRE_TEXT(number)                                                               \
    do {                                                                                           \
        if (!::velmora::hasTextResource(number)) {                                                 \
            if (::velmora::texttest::mayBeMissing(number))                                         \
                GTEST_SKIP() << "text resource " << (number) << " is not committed yet";           \
            FAIL() << "text resource " << (number) << " is missing";                               \
        }                                                                                          \
    } while (false)

} // namespace velmora::texttest
