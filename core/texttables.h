#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>

namespace velmora {

/// Per-letter table: index 1..9 for B..K, element 0 unused.
using LetterTable = std::array<QString, 10>;
/// Per-camera table: index 1..36 for BC..IK, element 0 unused.
using CameraTable = std::array<QString, 37>;
/// Per-pair table: index (row - 1) * 9 + column, 1..81 for BB..KK, element 0 unused.
using PairTable = std::array<QString, 82>;

/// Every word and text of the Art the window shows. Filled once at start-up
/// from the text resources 100..110 and read-only afterwards. Multi-line
/// elements are their lines each followed by CR LF.
struct ArtTables
{
    // Resource 100: the alphabet, the adjectives and the short definitions.
    LetterTable AbsPrinciples;
    LetterTable RelPrinciples;
    LetterTable Questions;
    LetterTable Subjects;
    LetterTable Virtues;
    LetterTable Vices;
    LetterTable AbsAdjectives;
    LetterTable RelAdjectives;
    LetterTable AbsDefinitions;
    LetterTable RelDefinitions;
    LetterTable QuestionDefinitions;

    LetterTable Rules;              // resource 101
    CameraTable CameraKeys;         // resource 102, key lines
    CameraTable CameraMedia;        // resource 102, other lines
    LetterTable SubjectDefinitions; // resource 103
    LetterTable ViceDefinitions;    // resource 104
    LetterTable VirtueDefinitions;  // resource 105
    CameraTable CameraQuestions;    // resource 106
    PairTable PairKeys81;           // resource 107, first two characters
    PairTable SubjectStatements;    // resource 107
    PairTable ViceStatements;       // resource 108
    PairTable VirtueStatements;     // resource 109
    CameraTable Part6Texts;         // resource 110
};

/// The lines of a resource: trailing NUL padding dropped, bytes read as
/// single-byte text, split at every CR LF. The piece after the last CR LF is a
/// line too (usually empty). A lone CR or LF stays inside its line.
QStringList resourceLines(const QByteArray &bytes);

/// Blank means nothing but space characters; a TAB is not blank.
bool isBlankLine(QStringView line);

// Each parser below first clears the tables it fills, so parsing the same
// bytes twice gives the same tables. Malformed input never writes outside a
// table: missing lines or fields leave empty strings, surplus blocks, chapters
// and lines are dropped.

/// Resource 100: lines 1-9 six TAB fields each, lines 10-18 two adjectives,
/// lines 19-27, 28-36 ("#" becomes CR LF) and 37-45 the definitions.
void parseAlphabet(const QByteArray &bytes, ArtTables &tables);

/// Resources 101 and 103-105: blank-line separated blocks. The block index
/// starts at firstIndex (1 for the rules, 0 for the definitions, whose files
/// open with a blank line) and each blank line moves it on.
void parseLetterBlocks(const QByteArray &bytes, LetterTable &table, int firstIndex);

/// Resources 102 and 106: blank-line separated blocks keyed by a line that is
/// two characters long once spaces are trimmed. Keys go to keys when given
/// (stored untrimmed) and are skipped otherwise; other lines go to lines.
void parseCameraBlocks(const QByteArray &bytes, CameraTable &lines, CameraTable *keys = nullptr);

/// Resources 107-109: up to 81 lines "XY - text". The text from the sixth
/// character on goes to texts, the first two characters to keys when given.
void parsePairLines(const QByteArray &bytes, PairTable &texts, PairTable *keys = nullptr);

/// Resource 110: a line starting with "Chapter" opens the next chapter and is
/// not stored; every other line, blank ones too, belongs to the open chapter.
void parseChapters(const QByteArray &bytes, CameraTable &chapters);

/// Resource 200: up to 128 lines "nnn<TAB>name<TAB>" become "0 name" ..
/// "127 name", numbered by position (the file's own number is not read), so
/// an entry's position always equals its program number. Empty bytes give an
/// empty list, fewer lines a shorter list, and a line without a name field an
/// entry with an empty name.
QStringList parseInstrumentList(const QByteArray &bytes);

/// Parses text resource 100..110 into its tables; other numbers are ignored.
void parseTextResource(int resource, const QByteArray &bytes, ArtTables &tables);

} // namespace velmora
