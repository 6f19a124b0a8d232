#include "core/texttables.h"

#include <gtest/gtest.h>
#include <random>

using namespace velmora;

// Readable failure messages for Qt strings.
void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace {

// Joins lines with CR LF, as the resources are written.
QByteArray crlf(std::initializer_list<const char *> lines)
{
    QByteArray bytes;
    bool first = true;
    for (const char *line : lines) {
        if (!first)
            bytes += "\r\n";
        bytes += line;
        first = false;
    }
    return bytes;
}

QString qs(const char *text)
{
    return QString::fromLatin1(text);
}

} // namespace

struct SplitCase
{
    const char *name;
    QByteArray bytes;
    QStringList lines;
};

class ResourceLinesTest : public ::testing::TestWithParam<SplitCase>
{};

TEST_P(ResourceLinesTest, SplitsAtCrLfAfterDroppingPadding)
{
    EXPECT_EQ(resourceLines(GetParam().bytes), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, ResourceLinesTest,
    ::testing::Values(
        SplitCase{"Empty", QByteArray(), {qs("")}},
        SplitCase{"TrailingCrLfLeavesEmptyLastLine", "ab\r\ncd\r\n", {qs("ab"), qs("cd"), qs("")}},
        SplitCase{"LastPieceCounts", "ab\r\ncd", {qs("ab"), qs("cd")}},
        SplitCase{"OneNul", QByteArray("ab\r\n\0", 5), {qs("ab"), qs("")}},
        SplitCase{"ThreeNuls", QByteArray("a\r\nb\0\0\0", 7), {qs("a"), qs("b")}},
        SplitCase{"LoneLfAndCrStayInLine", "a\nb\rc\r\nd", {qs("a\nb\rc"), qs("d")}},
        SplitCase{"HighBytesAreSingleCharacters", "caf\xe9", {QStringLiteral("caf\u00e9")}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(IsBlankLine, OnlySpacesAreBlank)
{
    EXPECT_TRUE(isBlankLine(u""));
    EXPECT_TRUE(isBlankLine(u"    "));
    EXPECT_FALSE(isBlankLine(u"\t"));
    EXPECT_FALSE(isBlankLine(u"  \t  "));
    EXPECT_FALSE(isBlankLine(u" x "));
}

TEST(ParseLetterBlocks, BlankLinesOfSpacesSeparateButTabLinesAreText)
{
    LetterTable table;
    parseLetterBlocks(crlf({"", "one", "   ", "two a", "\t", "two b", "", "three"}), table, 0);
    EXPECT_TRUE(table[0].isEmpty());
    EXPECT_EQ(table[1], qs("one\r\n"));
    EXPECT_EQ(table[2], qs("two a\r\n\t\r\ntwo b\r\n"));
    EXPECT_EQ(table[3], qs("three\r\n"));
    EXPECT_TRUE(table[4].isEmpty());
}

TEST(ParseLetterBlocks, FirstIndexOneAndPaddingNeverReachesTheText)
{
    LetterTable table;
    QByteArray bytes = crlf({"Rule B", "B1: x", "", "Rule C", "", "", "Rule E"});
    bytes += QByteArray("\r\n\0\0", 4);
    parseLetterBlocks(bytes, table, 1);
    EXPECT_EQ(table[1], qs("Rule B\r\nB1: x\r\n"));
    EXPECT_EQ(table[2], qs("Rule C\r\n"));
    EXPECT_TRUE(table[3].isEmpty()) << "two blank lines skip a block";
    EXPECT_EQ(table[4], qs("Rule E\r\n"));
    EXPECT_FALSE(table[4].contains(QChar(0)));
}

TEST(ParseLetterBlocks, BlocksBeyondTheLastElementAreDropped)
{
    QByteArray bytes;
    for (int i = 1; i <= 14; ++i)
        bytes += "\r\nblock " + QByteArray::number(i) + "\r\n";
    LetterTable table;
    parseLetterBlocks(bytes, table, 0);
    for (int i = 1; i <= 9; ++i)
        EXPECT_EQ(table[std::size_t(i)], qs("block ") + QString::number(i) + qs("\r\n"));
}

TEST(ParseLetterBlocks, ParsingAgainReplacesInsteadOfAppending)
{
    LetterTable table;
    const QByteArray bytes = crlf({"", "one"});
    parseLetterBlocks(bytes, table, 0);
    parseLetterBlocks(bytes, table, 0);
    EXPECT_EQ(table[1], qs("one\r\n"));
}

namespace {

QByteArray sampleAlphabet()
{
    QByteArray bytes;
    for (int i = 1; i <= 9; ++i) {
        const QByteArray n = QByteArray::number(i);
        bytes +=
            "abs" + n + "\trel" + n + "\tq" + n + "\tsub" + n + "\tvir" + n + "\tvic" + n + "\r\n";
    }
    for (int i = 1; i <= 9; ++i)
        bytes += "adjA" + QByteArray::number(i) + "\tadjR" + QByteArray::number(i) +
                 (i == 7 ? "\t" : "") + "\r\n";
    for (int i = 1; i <= 9; ++i)
        bytes += "absdef " + QByteArray::number(i) + " A && B\r\n";
    for (int i = 1; i <= 9; ++i)
        bytes += "first " + QByteArray::number(i) + "#second\r\n";
    for (int i = 1; i <= 9; ++i)
        bytes += "question " + QByteArray::number(i) + "\r\n";
    return bytes;
}

} // namespace

TEST(ParseAlphabet, EveryLineLandsInItsTable)
{
    ArtTables t;
    parseAlphabet(sampleAlphabet() + "line 46\r\n", t);
    EXPECT_EQ(t.AbsPrinciples[1], qs("abs1"));
    EXPECT_EQ(t.RelPrinciples[2], qs("rel2"));
    EXPECT_EQ(t.Questions[3], qs("q3"));
    EXPECT_EQ(t.Subjects[4], qs("sub4"));
    EXPECT_EQ(t.Virtues[5], qs("vir5"));
    EXPECT_EQ(t.Vices[9], qs("vic9"));
    EXPECT_EQ(t.AbsAdjectives[7], qs("adjA7"));
    EXPECT_EQ(t.RelAdjectives[7], qs("adjR7")) << "a trailing TAB adds only an empty field";
    EXPECT_EQ(t.AbsDefinitions[1], qs("absdef 1 A && B"));
    EXPECT_EQ(t.RelDefinitions[9], qs("first 9\r\nsecond"));
    EXPECT_EQ(t.QuestionDefinitions[9], qs("question 9"));
    EXPECT_TRUE(t.AbsPrinciples[0].isEmpty());
    EXPECT_TRUE(t.QuestionDefinitions[0].isEmpty());
}

TEST(ParseAlphabet, TruncatedInputLeavesMissingFieldsAndLinesEmpty)
{
    ArtTables t;
    parseAlphabet(sampleAlphabet(), t);
    parseAlphabet(crlf({"Goodness\tDifference", "only"}), t);
    EXPECT_EQ(t.AbsPrinciples[1], qs("Goodness"));
    EXPECT_EQ(t.RelPrinciples[1], qs("Difference"));
    EXPECT_TRUE(t.Questions[1].isEmpty());
    EXPECT_TRUE(t.Vices[1].isEmpty());
    EXPECT_EQ(t.AbsPrinciples[2], qs("only"));
    EXPECT_TRUE(t.RelPrinciples[2].isEmpty());
    EXPECT_TRUE(t.AbsPrinciples[3].isEmpty()) << "old content must not survive a new parse";
    EXPECT_TRUE(t.AbsDefinitions[1].isEmpty());
    EXPECT_TRUE(t.QuestionDefinitions[9].isEmpty());
}

TEST(ParseCameraBlocks, KeysAreTwoCharactersOnceSpacesAreTrimmed)
{
    CameraTable media;
    CameraTable keys;
    parseCameraBlocks(crlf({"", " BC ", "one", "two", "", "BD", "\t", "ABC", ""}), media, &keys);
    EXPECT_EQ(keys[1], qs(" BC ")) << "the key is stored as written";
    EXPECT_EQ(media[1], qs("one\r\ntwo\r\n"));
    EXPECT_EQ(keys[2], qs("BD"));
    EXPECT_EQ(media[2], qs("\t\r\nABC\r\n")) << "a TAB line is neither blank nor a key";
    EXPECT_TRUE(keys[0].isEmpty());
    EXPECT_TRUE(media[0].isEmpty());
}

TEST(ParseCameraBlocks, WithoutKeyTableKeysAreSkipped)
{
    CameraTable questions;
    parseCameraBlocks(crlf({"", "FK", "Q1?", "Q2?", ""}), questions);
    EXPECT_EQ(questions[1], qs("Q1?\r\nQ2?\r\n"));
}

TEST(ParseCameraBlocks, SurplusBlocksAreNotStored)
{
    QByteArray bytes = "\r\n";
    for (int i = 1; i <= 40; ++i)
        bytes += "XY\r\nmedium " + QByteArray::number(i) + "\r\n\r\n";
    CameraTable media;
    CameraTable keys;
    parseCameraBlocks(bytes, media, &keys);
    EXPECT_EQ(media[36], qs("medium 36\r\n"));
    EXPECT_EQ(keys[36], qs("XY"));
    EXPECT_EQ(media[1], qs("medium 1\r\n"));
}

TEST(ParsePairLines, ReadsEightyOneLinesAndIgnoresTheRest)
{
    QByteArray bytes;
    for (int k = 1; k <= 82; ++k)
        bytes += "XY - text " + QByteArray::number(k) + "\r\n";
    PairTable texts;
    PairTable keys;
    parsePairLines(bytes, texts, &keys);
    EXPECT_EQ(texts[1], qs("text 1"));
    EXPECT_EQ(keys[1], qs("XY"));
    EXPECT_EQ(texts[81], qs("text 81"));
    EXPECT_TRUE(texts[0].isEmpty());
    EXPECT_TRUE(keys[0].isEmpty());
}

TEST(ParsePairLines, ShortLinesGiveWhatTheyHave)
{
    PairTable texts;
    PairTable keys;
    parsePairLines(crlf({"B", "BC -", "BD - ", "", "BE - x"}), texts, &keys);
    EXPECT_EQ(keys[1], qs("B"));
    EXPECT_TRUE(texts[1].isEmpty());
    EXPECT_EQ(keys[2], qs("BC"));
    EXPECT_TRUE(texts[2].isEmpty());
    EXPECT_TRUE(texts[3].isEmpty());
    EXPECT_TRUE(keys[4].isEmpty());
    EXPECT_EQ(texts[5], qs("x"));
    EXPECT_TRUE(texts[6].isEmpty());
}

TEST(ParseChapters, ChapterLinesOpenChaptersAndAreDropped)
{
    CameraTable chapters;
    parseChapters(crlf({"Chapter 1", "Camera BC", "", "59. text", "chapter is text",
                        " Chapter indented", "Chapter 2", "Camera BD", ""}),
                  chapters);
    EXPECT_EQ(chapters[1],
              qs("Camera BC\r\n\r\n59. text\r\nchapter is text\r\n Chapter indented\r\n"));
    EXPECT_EQ(chapters[2], qs("Camera BD\r\n\r\n")) << "the empty last piece is a line too";
    EXPECT_TRUE(chapters[0].isEmpty());
}

TEST(ParseChapters, ChaptersBeyondThirtySixAreDropped)
{
    QByteArray bytes;
    for (int i = 1; i <= 39; ++i)
        bytes += "Chapter " + QByteArray::number(i) + "\r\nbody " + QByteArray::number(i) + "\r\n";
    CameraTable chapters;
    parseChapters(bytes, chapters);
    EXPECT_EQ(chapters[36], qs("body 36\r\n"));
    EXPECT_EQ(chapters[1], qs("body 1\r\n"));
}

TEST(ParseInstrumentList, NumbersEntriesByPositionNotByTheFileNumber)
{
    QByteArray bytes;
    for (int i = 0; i < 130; ++i)
        bytes += "999\tname " + QByteArray::number(i) + "\t\r\n";
    const QStringList list = parseInstrumentList(bytes);
    ASSERT_EQ(list.size(), 128);
    EXPECT_EQ(list.first(), qs("0 name 0"));
    EXPECT_EQ(list.last(), qs("127 name 127"));
}

TEST(ParseInstrumentList, ShortOrMalformedInputGivesShorterListOrEmptyNames)
{
    EXPECT_TRUE(parseInstrumentList(QByteArray()).isEmpty());
    EXPECT_TRUE(parseInstrumentList(QByteArray("\0\0\0", 3)).isEmpty());
    const QStringList list = parseInstrumentList(crlf({"100\tPiano\t", "101", "102\tOrgan"}));
    EXPECT_EQ(list, (QStringList{qs("0 Piano"), qs("1 "), qs("2 Organ")}));
}

TEST(ParseTextResource, SendsEachResourceToItsTables)
{
    ArtTables t;
    parseTextResource(107, "BB - subject\r\n", t);
    parseTextResource(108, "XX - vice\r\n", t);
    parseTextResource(109, "YY - virtue\r\n", t);
    parseTextResource(105, "\r\nvirtue def\r\n", t);
    parseTextResource(104, "\r\nvice def\r\n", t);
    parseTextResource(103, "\r\nsubject def\r\n", t);
    parseTextResource(101, "rule\r\n", t);
    parseTextResource(106, "\r\nBC\r\nquestion?\r\n", t);
    parseTextResource(102, "\r\nBC\r\nmedium\r\n", t);
    parseTextResource(110, "Chapter 1\r\nCamera BC\r\n", t);
    parseTextResource(300, "Chapter 1\r\nother\r\n", t);
    EXPECT_EQ(t.PairKeys81[1], qs("BB")) << "keys come from 107 only";
    EXPECT_EQ(t.SubjectStatements[1], qs("subject"));
    EXPECT_EQ(t.ViceStatements[1], qs("vice"));
    EXPECT_EQ(t.VirtueStatements[1], qs("virtue"));
    EXPECT_EQ(t.VirtueDefinitions[1], qs("virtue def\r\n"));
    EXPECT_EQ(t.ViceDefinitions[1], qs("vice def\r\n"));
    EXPECT_EQ(t.SubjectDefinitions[1], qs("subject def\r\n"));
    EXPECT_EQ(t.Rules[1], qs("rule\r\n"));
    EXPECT_EQ(t.CameraQuestions[1], qs("question?\r\n"));
    EXPECT_EQ(t.CameraKeys[1], qs("BC"));
    EXPECT_EQ(t.CameraMedia[1], qs("medium\r\n"));
    EXPECT_EQ(t.Part6Texts[1], qs("Camera BC\r\n\r\n"));
}

// Garbage made of the characters the parsers react to: whatever its shape,
// parsing stays inside the tables and keeps the instrument numbering.
TEST(ParseHostileInput, RandomLinesNeverBreakTheTables)
{
    const QByteArray pieces[] = {"\r\n", "\r\n\r\n", " ",  "\t", "BC",    "Chapter",          "#",
                                 "&&",   "x",        "\r", "\n", "XY - ", QByteArray(1, '\0')};
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
