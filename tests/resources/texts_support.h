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

/// The lines of a multi-line element, each of which must end with CR LF.
inline QStringList elementLines(const QString &element)
{
    QStringList lines = element.split(QStringLiteral("\r\n"));
    EXPECT_TRUE(lines.last().isEmpty()) << "element does not end with CR LF";
    lines.removeLast();
    return lines;
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

/// The words of the alphabet's tables, letters 1..9, by column.
using Column = int;
inline constexpr Column Abs = 0, Rel = 1, Question = 2, Subject = 3, Virtue = 4, Vice = 5,
                        AbsAdj = 6, RelAdj = 7;
inline QString word(int letter, Column column)
{
    static constexpr LetterTable ArtTables::*kTables[] = {
        &ArtTables::AbsPrinciples, &ArtTables::RelPrinciples, &ArtTables::Questions,
        &ArtTables::Subjects,      &ArtTables::Virtues,       &ArtTables::Vices,
        &ArtTables::AbsAdjectives, &ArtTables::RelAdjectives};
    return (committedTables().*kTables[column])[size_t(letter)];
}

} // namespace velmora::texttest
