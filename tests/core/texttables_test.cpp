#include "core/texttables.h"

#include <gtest/gtest.h>
#include <random>

using namespace velmora;
using namespace Qt::StringLiterals;

// Readable failure messages for Qt strings.
void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

QByteArray numbered(const char *before, int from, int to, const char *after)
{
    QByteArray bytes;
    for (int i = from; i <= to; ++i)
        bytes += before + QByteArray::number(i) + after;
    return bytes;
}

} // namespace

TEST(ResourceLines, SplitAtCrLfAfterDroppingPadding)
{
    const std::pair<QByteArray, QStringList> cases[] = {
        {"ab\r\ncd\r\n", {u"ab"_s, u"cd"_s, u""_s}},
        {QByteArray("a\r\nb\0\0\0", 7), {u"a"_s, u"b"_s}},
        {"a\nb\rc\r\nd", {u"a\nb\rc"_s, u"d"_s}},
        {"caf\xe9", {QStringLiteral("caf\u00e9")}}};
    for (const auto &[bytes, lines] : cases)
        EXPECT_EQ(resourceLines(bytes), lines) << bytes.toStdString();
    EXPECT_TRUE(isBlankLine(u"    "));
    EXPECT_FALSE(isBlankLine(u"  \t  "));
}

TEST(ParseLetterBlocks, BlankLinesSeparateTabLinesAreTextTruncationLeavesNothingOld)
{
    LetterTable table;
    const QByteArray bytes =
        QByteArray("\r\none\r\n   \r\ntwo a\r\n\t\r\ntwo b\r\n\r\n\r\nfour") + QByteArray(2, '\0');
    parseLetterBlocks(bytes, table, 0);
    parseLetterBlocks(bytes, table, 0); // parsing again replaces instead of appending
    EXPECT_TRUE(table[0].isEmpty());
    EXPECT_EQ(table[1], u"one\r\n"_s);
    EXPECT_EQ(table[2], u"two a\r\n\t\r\ntwo b\r\n"_s);
    EXPECT_TRUE(table[3].isEmpty()) << "two blank lines skip a block";
    EXPECT_EQ(table[4], u"four\r\n"_s) << "padding never reaches the text";

    // Where every line lands is checked on the committed alphabet; a short text must leave the
    // tables of its missing lines empty, whatever they held before.
    ArtTables t;
    t.Questions[1] = t.AbsPrinciples[3] = t.QuestionDefinitions[9] = u"old"_s;
    parseAlphabet("Goodness\tDifference\r\nonly", t);
    EXPECT_EQ(t.RelPrinciples[1], u"Difference"_s);
    EXPECT_EQ(t.AbsPrinciples[2], u"only"_s);
    for (const QString &cleared : {t.Questions[1], t.AbsPrinciples[3], t.QuestionDefinitions[9]})
        EXPECT_TRUE(cleared.isEmpty());
}

// More input than a table holds fills it to its last element and no further.
TEST(ParseTables, SurplusInputStopsAtTheLastElement)
{
    LetterTable letters;
    parseLetterBlocks(numbered("\r\nblock ", 1, 14, "\r\n"), letters, 0);
    EXPECT_EQ(letters[9], u"block 9\r\n"_s);

    CameraTable media;
    CameraTable keys;
    parseCameraBlocks("\r\n" + numbered("XY\r\nmedium ", 1, 40, "\r\n\r\n"), media, &keys);
    EXPECT_EQ(media[36], u"medium 36\r\n"_s);
    EXPECT_EQ(keys[36], u"XY"_s);

    PairTable texts;
    parsePairLines(numbered("XY - text ", 1, 82, "\r\n"), texts);
    EXPECT_EQ(texts[81], u"text 81"_s);

    CameraTable chapters;
    parseChapters(numbered("Chapter 0\r\nbody ", 1, 39, "\r\n"), chapters);
    EXPECT_EQ(chapters[36], u"body 36\r\n"_s);

    // Instruments are numbered by position, not by the number in the file.
    const QStringList list = parseInstrumentList(numbered("999\tname ", 0, 129, "\t\r\n"));
    ASSERT_EQ(list.size(), 128);
    EXPECT_EQ(list.last(), u"127 name 127"_s);
}

TEST(ParseKeyedText, KeysAreTwoCharactersChapterLinesOpenChapters)
{
    CameraTable media;
    CameraTable keys;
    parseCameraBlocks("\r\n BC \r\none\r\ntwo\r\n\r\nBD\r\n\t\r\nABC\r\n", media, &keys);
    EXPECT_EQ(keys[1], u" BC "_s) << "the key is stored as written";
    EXPECT_EQ(media[1], u"one\r\ntwo\r\n"_s);
    EXPECT_EQ(media[2], u"\t\r\nABC\r\n"_s) << "a TAB line is neither blank nor a key";

    PairTable texts;
    PairTable pairKeys;
    parsePairLines("B\r\nBC -\r\nBD - \r\n\r\nBE - x", texts, &pairKeys);
    EXPECT_EQ((QStringList{pairKeys[1], pairKeys[2], pairKeys[4], texts[5]}),
              (QStringList{u"B"_s, u"BC"_s, u""_s, u"x"_s}));
    for (int i : {1, 2, 3})
        EXPECT_TRUE(texts[i].isEmpty()) << i;

    CameraTable chapters;
    parseChapters("Chapter 1\r\nCamera BC\r\n\r\nchapter is text\r\n Chapter indented"
                  "\r\nChapter 2\r\nCamera BD\r\n",
                  chapters);
    EXPECT_EQ(chapters[1], u"Camera BC\r\n\r\nchapter is text\r\n Chapter indented\r\n"_s);
    EXPECT_EQ(chapters[2], u"Camera BD\r\n\r\n"_s) << "the empty last piece is a line too";
    EXPECT_EQ(parseInstrumentList("100\tPiano\t\r\n101\r\n102\tOrgan"),
              (QStringList{u"0 Piano"_s, u"1 "_s, u"2 Organ"_s}));
    EXPECT_TRUE(parseInstrumentList(QByteArray("\0\0\0", 3)).isEmpty());
}

// Garbage made of the characters the parsers react to: whatever its shape,
// parsing stays inside the tables and keeps the instrument numbering.
TEST(ParseHostileInput, RandomLinesNeverBreakTheTables)
{
    const QByteArray pieces[] = {"\r\n", " ", "\t", "BC",    "Chapter",
                                 "#",    "x", "\r", "XY - ", QByteArray(1, '\0')};
    std::mt19937 random(12345);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes;
        const int count = int(random() % 2000);
        for (int i = 0; i < count; ++i)
            bytes += pieces[random() % std::size(pieces)];
        ArtTables t;
        for (int number = 100; number <= 110; ++number)
            parseTextResource(number, bytes, t);
        EXPECT_TRUE(t.Rules[0].isEmpty());
        for (const QString &element : t.RelDefinitions)
            EXPECT_FALSE(element.contains(u'#'));
        const QStringList list = parseInstrumentList(bytes);
        ASSERT_LE(list.size(), 128);
        for (int i = 0; i < list.size(); ++i)
            EXPECT_TRUE(list.at(i).startsWith(QString::number(i) + u' '));
    }
}
