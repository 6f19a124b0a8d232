#include "texts_support.h"

#include <QRegularExpression>

using namespace velmora;
using velmora::texttest::committedTables;
using velmora::texttest::splitBlocks;

namespace {

QString qs(const char *text)
{
    return QString::fromLatin1(text);
}

const QString kCrLf = QStringLiteral("\r\n");

// The lines of a multi-line element; each must end with CR LF.
QStringList elementLines(const QString &element)
{
    QStringList lines = element.split(kCrLf);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

struct LetterWords
{
    const char *abs, *rel, *question, *subject, *virtue, *vice, *absAdj, *relAdj;
};

// The alphabet of the Art, letters B..K.
constexpr LetterWords kAlphabetWords[] = {
    {"Goodness", "Difference", "Whether?", "God", "Justice", "Avarice", "Good", "Different"},
    {"Greatness", "Concordance", "What?", "Angel", "Prudence", "Gluttony", "Great", "Concordant"},
    {"Duration", "Contrariety", "Of What?", "Heaven", "Fortitude", "Lust", "Eternal", "Contrary"},
    {"Power", "Beginning", "Why?", "Man", "Temperance", "Conceit", "Powerful", "First"},
    {"Wisdom", "Middle", "How much?", "Imaginative", "Faith", "Accidie(Sloth)", "Wise", "Middle"},
    {"Will", "End", "Of what kind?", "Sensitive", "Hope", "Envy", "Willing", "Last"},
    {"Virtue", "Majority", "When?", "Vegetative", "Charity", "Ire", "Virtuous", "Major"},
    {"Truth", "Equality", "Where?", "Elementative", "Patience", "Falsehood", "True", "Equal"},
    {"Glory", "Minority", "How?", "Instrumentative", "Compassion", "Inconstancy", "Glorious",
     "Minor"},
};

} // namespace

TEST(AlphabetText, WordTablesAreExact)
{
    VELMORA_REQUIRE_TEXT(100);
    const ArtTables &t = committedTables();
    for (int i = 1; i <= 9; ++i) {
        const LetterWords &w = kAlphabetWords[i - 1];
        SCOPED_TRACE(i);
        EXPECT_EQ(t.AbsPrinciples[i], qs(w.abs));
        EXPECT_EQ(t.RelPrinciples[i], qs(w.rel));
        EXPECT_EQ(t.Questions[i], qs(w.question));
        EXPECT_EQ(t.Subjects[i], qs(w.subject));
        EXPECT_EQ(t.Virtues[i], qs(w.virtue));
        EXPECT_EQ(t.Vices[i], qs(w.vice));
        EXPECT_EQ(t.AbsAdjectives[i], qs(w.absAdj));
        EXPECT_EQ(t.RelAdjectives[i], qs(w.relAdj));
    }
}

TEST(AlphabetText, LinesHaveTheirFieldCountsAndOnlyLineSixteenEndsInTab)
{
    VELMORA_REQUIRE_TEXT(100);
    const QStringList lines = resourceLines(textResource(100));
    ASSERT_EQ(lines.size(), 46) << "45 lines, each ended by CR LF";
    EXPECT_TRUE(lines.last().isEmpty());
    for (int n = 1; n <= 45; ++n) {
        const QString &line = lines.at(n - 1);
        SCOPED_TRACE(n);
        const qsizetype fields = line.count(u'\t') + 1;
        if (n <= 9)
            EXPECT_EQ(fields, 6);
        else if (n == 16)
            EXPECT_EQ(fields, 3);
        else if (n <= 18)
            EXPECT_EQ(fields, 2);
        else
            EXPECT_EQ(fields, 1);
        EXPECT_EQ(line.endsWith(u'\t'), n == 16);
        EXPECT_FALSE(isBlankLine(line));
        EXPECT_FALSE(line.startsWith(u' ') || line.endsWith(u' ')) << "stray spaces";
    }
}

TEST(AlphabetText, DefinitionsBelongToTheirLetters)
{
    VELMORA_REQUIRE_TEXT(100);
    const ArtTables &t = committedTables();
    int ampersandLines = 0;
    for (int i = 1; i <= 9; ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(t.AbsDefinitions[i].startsWith(t.AbsPrinciples[i] + qs(" is ")));
        EXPECT_TRUE(t.RelDefinitions[i].startsWith(t.RelPrinciples[i] + qs(" is ")));
        EXPECT_TRUE(t.QuestionDefinitions[i].startsWith(t.Questions[i] + qs(" - ")));

        // A caption shows "&&" as "&" and a single "&" as an access key.
        QString withoutPairs = t.AbsDefinitions[i];
        if (withoutPairs.contains(qs("&&")))
            ++ampersandLines;
        withoutPairs.remove(qs("&&"));
        EXPECT_FALSE(withoutPairs.contains(u'&'));

        // Two paragraphs, the mark turned into a line break.
        EXPECT_FALSE(t.RelDefinitions[i].contains(u'#'));
        EXPECT_EQ(t.RelDefinitions[i].count(kCrLf), 1);
        EXPECT_FALSE(t.RelDefinitions[i].startsWith(kCrLf) || t.RelDefinitions[i].endsWith(kCrLf));
    }
    EXPECT_EQ(ampersandLines, 2);
    EXPECT_TRUE(t.QuestionDefinitions[1].startsWith(qs("Whether? - applies to possibility")));
    EXPECT_TRUE(t.AbsDefinitions[0].isEmpty());
}

TEST(RulesText, NineBlocksWithNumberedParts)
{
    VELMORA_REQUIRE_TEXT(101);
    const texttest::Blocks blocks = splitBlocks(resourceLines(textResource(101)));
    EXPECT_EQ(blocks.leadingBlanks, 0);
    EXPECT_FALSE(blocks.doubledBlank);
    ASSERT_EQ(blocks.blocks.size(), 9);

    const ArtTables &t = committedTables();
    EXPECT_TRUE(t.Rules[0].isEmpty());
    for (int i = 1; i <= 9; ++i) {
        SCOPED_TRACE(i);
        const QString letter(letterAt(i));
        EXPECT_EQ(elementLines(t.Rules[i]), blocks.blocks.at(i - 1));
        EXPECT_TRUE(t.Rules[i].endsWith(kCrLf));
        EXPECT_FALSE(t.Rules[i].contains(QChar(0)));

        // Heading, then parts numbered from 1; K carries a second rule, 2K.
        QString prefix = letter;
        int part = 0;
        for (const QString &line : elementLines(t.Rules[i])) {
            if (line.startsWith(qs("Rule "))) {
                prefix = line.startsWith(qs("Rule 2K:")) ? qs("2K") : letter;
                EXPECT_TRUE(line.startsWith(qs("Rule ") + prefix + qs(": to answer the Question ")))
                    << line.toStdString();
                EXPECT_TRUE(part == 0 || prefix == qs("2K"));
                part = 0;
                continue;
            }
            ++part;
            EXPECT_TRUE(line.startsWith(prefix + QString::number(part) + qs(": ")))
                << line.toStdString();
        }
        EXPECT_GE(part, 1);
    }
    EXPECT_TRUE(t.Rules[1].startsWith(qs("Rule B: to answer the Question")));
    EXPECT_EQ(elementLines(t.Rules[1]).size(), 4);
    const QStringList k = elementLines(t.Rules[9]);
    ASSERT_EQ(k.size(), 10);
    EXPECT_TRUE(k.at(4).startsWith(qs("K4: ")));
    EXPECT_TRUE(k.at(5).startsWith(qs("Rule 2K:")));
    EXPECT_TRUE(k.at(9).startsWith(qs("2K4: ")));
}

struct DefinitionBlocks
{
    int resource;
    std::vector<int> sizes; // lines per block, letters B..K
};

class DefinitionTextTest : public ::testing::TestWithParam<DefinitionBlocks>
{
protected:
    static const LetterTable &table(int resource)
    {
        const ArtTables &t = committedTables();
        return resource == 103 ? t.SubjectDefinitions
                               : (resource == 104 ? t.ViceDefinitions : t.VirtueDefinitions);
    }
    static QString name(int resource, int letter)
    {
        const ArtTables &t = committedTables();
        const LetterTable &names =
            resource == 103 ? t.Subjects : (resource == 104 ? t.Vices : t.Virtues);
        return names[letter].section(u'(', 0, 0);
    }
};

// sizes of 0 mean "one or two lines".
TEST_P(DefinitionTextTest, OpensWithABlankLineAndHoldsNineBlocks)
{
    const DefinitionBlocks &expected = GetParam();
    VELMORA_REQUIRE_TEXT(expected.resource);
    const texttest::Blocks blocks = splitBlocks(resourceLines(textResource(expected.resource)));
    EXPECT_EQ(blocks.leadingBlanks, 1);
    EXPECT_FALSE(blocks.doubledBlank);
    ASSERT_EQ(blocks.blocks.size(), 9);
    const LetterTable &defs = table(expected.resource);
    EXPECT_TRUE(defs[0].isEmpty());
    for (int i = 1; i <= 9; ++i) {
        SCOPED_TRACE(i);
        const QStringList lines = elementLines(defs[i]);
        EXPECT_EQ(lines, blocks.blocks.at(i - 1));
        if (expected.sizes[i - 1] > 0) {
            EXPECT_EQ(lines.size(), expected.sizes[i - 1]);
        } else {
            EXPECT_GE(lines.size(), 1);
            EXPECT_LE(lines.size(), 2);
        }
        // Each block speaks of its own letter's subject, vice or virtue.
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_TRUE(lines.first().contains(name(expected.resource, i), Qt::CaseInsensitive))
            << lines.first().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, DefinitionTextTest,
                         ::testing::Values(DefinitionBlocks{103, {13, 1, 1, 30, 11, 1, 1, 1, 5}},
                                           DefinitionBlocks{104, {1, 1, 1, 1, 1, 1, 1, 1, 1}},
                                           DefinitionBlocks{105, {0, 0, 0, 0, 0, 0, 0, 0, 0}}),
                         [](const auto &info) { return std::to_string(info.param.resource); });

TEST(SubjectDefinitionsText, ThirtyDefinitionsOfManAreNumbered)
{
    VELMORA_REQUIRE_TEXT(103);
    const QStringList man = elementLines(committedTables().SubjectDefinitions[4]);
    ASSERT_EQ(man.size(), 30);
    for (int n = 1; n <= 30; ++n)
        EXPECT_TRUE(man.at(n - 1).startsWith(QString::number(n) + qs(". Man is ")))
            << man.at(n - 1).toStdString();
}
