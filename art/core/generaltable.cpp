#include "art/core/generaltable.h"

#include "art/core/evacuation.h"
#include "core/letters.h"
#include "core/texttables.h"

namespace velmora {

Letters sortedLetters(Letters letters)
{
    for (int pass = 0; pass < 3; ++pass) {
        for (size_t i = 0; i + 1 < letters.size(); ++i) {
            if (letters[i] > letters[i + 1])
                std::swap(letters[i], letters[i + 1]);
        }
    }
    return letters;
}

QString tableLetters(const Letters &sorted)
{
    std::array<int, 3> x{};
    for (size_t i = 0; i < 3; ++i)
        x[i] = sorted[i] >= 1 && sorted[i] <= kLetterCount ? sorted[i] : 0;

    constexpr int B = 1, C = 2, D = 3, H = 7, I = 8, K = 9;
    if (x[0] == x[1]) {
        if (x[0] != B) {
            x[0] = B;
        } else {
            x[1] = C;
            if (x[2] == C)
                x[2] = D;
        }
    }
    if (x[1] == x[2]) {
        if (x[1] == C) {
            x[2] = D;
        } else if (x[2] == K) {
            x[1] = I;
            if (x[0] == I)
                x[0] = H;
        } else if (x[2] > 0) {
            x[2] += 1;
        }
    }
    QString letters;
    for (int v : x)
        letters += v > 0 ? letterAt(v) : QChar(u' ');
    return letters;
}

QStringList generalTableRows(const QString &letters)
{
    if (letters.size() != 3)
        return {};
    // Each pattern names its letters by place: 1, 2, 3 for the three letters, T for the marker.
    static constexpr std::array<const char *, 20> kPatterns{
        "123",  "12T1", "12T2", "12T3", "13T1", "13T2", "13T3", "1T12", "1T13", "1T23",
        "23T1", "23T2", "23T3", "2T12", "2T13", "2T23", "3T12", "3T13", "3T23", "T123"};
    QStringList rows;
    for (const char *pattern : kPatterns) {
        QString row;
        for (const char *p = pattern; *p; ++p)
            row += *p == 'T' ? QChar(u'T') : letters.at(*p - '1');
        rows.append(row);
    }
    return rows;
}

QString generalTableText(const QStringList &rows)
{
    QString text;
    for (const QString &row : rows)
        text += row + QStringLiteral("\r\n");
    return text;
}

std::array<TextsPanelPlace, 3> textsPanel(const ArtTables &t, const Letters &codeLetters,
                                          const Letters &letterFigure)
{
    std::array<TextsPanelPlace, 3> panel;
    for (size_t i = 0; i < 3; ++i) {
        const int letter = codeLetters[i];
        const auto L = static_cast<size_t>(letter >= 0 && letter <= kLetterCount ? letter : 0);
        TextsPanelPlace &place = panel[i];
        if (letterFigure[i] == 1) {
            place.principle = t.AbsPrinciples[L];
            place.definition = showAmpersands(t.AbsDefinitions[L]);
        } else {
            place.principle = t.RelPrinciples[L];
            place.definition = showAmpersands(t.RelDefinitions[L]);
        }
        place.rule = t.Rules[L];
        place.subject = t.Subjects[L];
        place.virtue = t.Virtues[L];
        place.vice = t.Vices[L];
    }
    return panel;
}

} // namespace velmora
