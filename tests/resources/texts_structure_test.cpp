#include "texts_support.h"

#include <QRegularExpression>

#include <span>

using namespace velmora;
using namespace velmora::texttest;
using namespace Qt::Literals::StringLiterals;

// Byte-level rules every text obeys: 7-bit ASCII, CR LF line ends only, and
// just enough NUL padding to make the size a multiple of four.
class TextFileTest : public ::testing::TestWithParam<int>
{};

TEST_P(TextFileTest, IsPaddedSevenBitAsciiWithCrLfLines)
{
    const QByteArray bytes = textResource(GetParam());
    ASSERT_FALSE(bytes.isEmpty()) << "text is not carried";
    qsizetype size = bytes.size();
    while (size > 0 && bytes.at(size - 1) == '\0')
        --size;
    EXPECT_EQ(bytes.size() - size, (4 - size % 4) % 4) << "padding to a multiple of four, no more";
    for (qsizetype i = 0; i < size; ++i) {
        const char c = bytes.at(i);
        ASSERT_TRUE(c != '\0' && static_cast<signed char>(c) >= 0) << "bad byte at " << i;
        ASSERT_EQ(c == '\r', i + 1 < size && bytes.at(i + 1) == '\n') << "lone CR or LF at " << i;
        ASSERT_EQ(c == '\n', i > 0 && bytes.at(i - 1) == '\r') << "lone CR or LF at " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(AllTexts, TextFileTest, ::testing::ValuesIn(kTextResourceNumbers),
                         [](const auto &info) { return std::to_string(info.param); });

TEST(AlphabetText, FieldsWordsAndDefinitions)
{
    const QStringList lines = resourceLines(textResource(100));
    ASSERT_EQ(lines.size(), 46) << "45 lines, each ended by CR LF";
    for (int n = 1; n <= 45; ++n) {
        const QString &line = lines.at(n - 1);
        EXPECT_EQ(line.count(u'\t') + 1, n <= 9 ? 6 : n == 16 ? 3 : n <= 18 ? 2 : 1) << n;
        EXPECT_EQ(line.endsWith(u'\t'), n == 16) << n;
        EXPECT_FALSE(line.isEmpty() || line.startsWith(u' ') || line.endsWith(u' ')) << n;
    }
    // The words themselves must agree with the texts that use them: the definitions below, the
    // named blocks, the generated texts and the help's tables.
    const ArtTables &t = committedTables();
    int ampersandLines = 0;
    for (int i = 1; i <= 9; ++i) {
        SCOPED_TRACE(i);
        for (Column c = Abs; c <= RelAdj; ++c)
            EXPECT_FALSE(word(i, c).isEmpty()) << c;
        EXPECT_TRUE(t.AbsDefinitions[i].startsWith(t.AbsPrinciples[i] + u" is "_s));
        EXPECT_TRUE(t.RelDefinitions[i].startsWith(t.RelPrinciples[i] + u" is "_s));
        EXPECT_TRUE(t.QuestionDefinitions[i].startsWith(t.Questions[i] + u" - "_s));
        // A caption shows "&&" as "&" and a lone "&" as an access key.
        ampersandLines += t.AbsDefinitions[i].contains(u"&&"_s) ? 1 : 0;
        EXPECT_FALSE(QString(t.AbsDefinitions[i]).remove(u"&&"_s).contains(u'&'));
        // Two paragraphs: the mark became one line break in the middle.
        const QString &rel = t.RelDefinitions[i];
        EXPECT_EQ(rel.count(u"\r\n"_s), 1);
        EXPECT_FALSE(rel.contains(u'#') || rel.startsWith(u"\r\n"_s) || rel.endsWith(u"\r\n"_s));
    }
    EXPECT_EQ(ampersandLines, 2);
}

template <auto Member> std::span<const QString> tableOf(const ArtTables &t)
{
    return t.*Member;
}

struct BlockText
{
    int number;
    int leadingBlanks;
    std::span<const QString> (*table)(const ArtTables &);
    int nameColumn = -1; // the word each block's first line must name
    bool keyed = false;  // each block opens with its camera's key line
};

class BlockTextTest : public ::testing::TestWithParam<BlockText>
{};

// The file is its elements in order, each block after a single blank line; a keyed block opens
// with its camera's key line.
TEST_P(BlockTextTest, BlocksLandInTheirElements)
{
    const BlockText &p = GetParam();
    const std::span<const QString> table = p.table(committedTables());
    EXPECT_TRUE(table[0].isEmpty());
    QStringList expected;
    for (int i = 1; i < int(table.size()); ++i) {
        SCOPED_TRACE(i);
        const QStringList lines = elementLines(table[size_t(i)]);
        expected << QString();
        if (p.keyed) {
            expected << cameraKey(i);
            for (const QString &line : lines)
                EXPECT_NE(line.trimmed().size(), 2) << "a content line reads as a key";
        }
        expected << lines;
        if (p.nameColumn >= 0 && !lines.isEmpty()) {
            const QString name = word(i, p.nameColumn).section(u'(', 0, 0);
            EXPECT_TRUE(lines.first().contains(name, Qt::CaseInsensitive)) << name.toStdString();
        }
    }
    QStringList file = resourceLines(textResource(p.number));
    for (QString &line : file)
        if (isBlankLine(line))
            line.clear();
    while (!file.isEmpty() && file.last().isEmpty())
        file.removeLast();
    EXPECT_EQ(file, expected.mid(1 - p.leadingBlanks));
}

// The media are twelve a camera and the questions one fewer for each denied proposition: the
// generated texts' test counts them; the rules' parts are counted by their numbers below.
INSTANTIATE_TEST_SUITE_P(
    Texts, BlockTextTest,
    ::testing::Values(BlockText{101, 0, tableOf<&ArtTables::Rules>},
                      BlockText{102, 1, tableOf<&ArtTables::CameraMedia>, -1, true},
                      BlockText{103, 1, tableOf<&ArtTables::SubjectDefinitions>, Subject},
                      BlockText{104, 1, tableOf<&ArtTables::ViceDefinitions>, Vice},
                      BlockText{105, 1, tableOf<&ArtTables::VirtueDefinitions>, Virtue},
                      BlockText{106, 1, tableOf<&ArtTables::CameraQuestions>, -1, true}),
    [](const auto &info) { return std::to_string(info.param.number); });

// A heading, then parts numbered from 1; only K carries a second rule, 2K.
TEST(RulesAndCommentary, NumberedPartsAndThirtySixChaptersInCameraOrder)
{
    for (int i = 1; i <= 9; ++i) {
        SCOPED_TRACE(i);
        const QString letter(letterAt(i));
        QString prefix;
        int part = 0;
        for (const QString &line : elementLines(committedTables().Rules[size_t(i)])) {
            if (line.startsWith(u"Rule "_s)) {
                EXPECT_TRUE(prefix.isEmpty() || (i == 9 && prefix == letter && part > 0));
                prefix = prefix.isEmpty() ? letter : u"2K"_s;
                EXPECT_TRUE(line.startsWith(u"Rule "_s + prefix + u": to answer the Question "_s))
                    << line.toStdString();
                part = 0;
            } else {
                EXPECT_TRUE(line.startsWith(prefix + QString::number(++part) + u": "_s))
                    << line.toStdString();
            }
        }
        EXPECT_GE(part, 1);
        EXPECT_EQ(prefix, i == 9 ? u"2K"_s : letter);
    }

    const QStringList lines = resourceLines(textResource(110));
    const QStringList chapters = lines.filter(QRegularExpression(u"^Chapter"_s));
    ASSERT_EQ(chapters.size(), 36);
    ASSERT_TRUE(lines.first().startsWith(u"Chapter"_s)) << "text before the first chapter";

    static const QRegularExpression numbered(u"^\\d+\\. \\S"_s);
    const ArtTables &t = committedTables();
    EXPECT_TRUE(t.Part6Texts[0].isEmpty());
    for (int camera = 1; camera <= 36; ++camera) {
        SCOPED_TRACE(camera);
        EXPECT_EQ(chapters.at(camera - 1), u"Chapter "_s + QString::number(camera));
        const QStringList text = elementLines(t.Part6Texts[size_t(camera)]);
        ASSERT_GE(text.size(), 2);
        EXPECT_EQ(text.at(0), u"Camera "_s + cameraKey(camera));
        EXPECT_TRUE(isBlankLine(text.at(1)));
        EXPECT_GE(text.filter(numbered).size(), 3) << "numbered paragraphs";
    }
}
