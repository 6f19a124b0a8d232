#include "texts_support.h"

#include <QRegularExpression>

using namespace velmora;
using velmora::texttest::cameraKey;
using velmora::texttest::committedTables;
using velmora::texttest::pairKey;
using velmora::texttest::splitBlocks;

namespace {

QString qs(const char *text)
{
    return QString::fromLatin1(text);
}

QStringList elementLines(const QString &element)
{
    QStringList lines = element.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// Checks the keyed-block layout shared by the media and the questions: a
// leading blank line, then 36 blocks in camera order, each key line first.
void expectCameraBlocks(int resource, const std::function<int(int)> &linesOfCamera)
{
    const texttest::Blocks blocks = splitBlocks(resourceLines(textResource(resource)));
    EXPECT_EQ(blocks.leadingBlanks, 1);
    EXPECT_FALSE(blocks.doubledBlank);
    ASSERT_EQ(blocks.blocks.size(), 36);
    for (int camera = 1; camera <= 36; ++camera) {
        const QStringList &block = blocks.blocks.at(camera - 1);
        SCOPED_TRACE(cameraKey(camera).toStdString());
        EXPECT_EQ(block.first(), cameraKey(camera));
        EXPECT_EQ(block.size() - 1, linesOfCamera(camera));
        for (qsizetype i = 1; i < block.size(); ++i)
            EXPECT_NE(block.at(i).trimmed().size(), 2) << "a content line reads as a key";
    }
}

} // namespace

TEST(CameraMediaText, ThirtySixKeyedBlocksOfTwelveMedia)
{
    VELMORA_REQUIRE_TEXT(102);
    expectCameraBlocks(102, [](int) { return 12; });
    const ArtTables &t = committedTables();
    EXPECT_EQ(t.CameraKeys[1], qs("BC"));
    EXPECT_EQ(t.CameraKeys[36], qs("IK"));
    EXPECT_TRUE(t.CameraKeys[0].isEmpty());
    EXPECT_TRUE(t.CameraMedia[0].isEmpty());
    const QStringList bc = elementLines(t.CameraMedia[1]);
    ASSERT_EQ(bc.size(), 12);
    EXPECT_EQ(t.CameraMedia[1].count(QStringLiteral("\r\n")), 12);
    EXPECT_TRUE(bc.first().startsWith(qs("Whatever is magnified by greatness is great, but")));
}

TEST(CameraQuestionsText, TwelveQuestionsPerCameraButFewerForFkAndHk)
{
    VELMORA_REQUIRE_TEXT(106);
    expectCameraBlocks(106, [](int camera) { return camera == 30 ? 10 : camera == 35 ? 11 : 12; });
    const ArtTables &t = committedTables();
    EXPECT_EQ(elementLines(t.CameraQuestions[30]).size(), 10);
    EXPECT_EQ(elementLines(t.CameraQuestions[35]).size(), 11);
    EXPECT_EQ(elementLines(t.CameraQuestions[1]).first(),
              qs("Is goodness great? What is great goodness?"));
    for (int camera = 1; camera <= 36; ++camera)
        for (const QString &line : elementLines(t.CameraQuestions[camera]))
            EXPECT_TRUE(line.endsWith(u'?')) << line.toStdString();
}

struct PairText
{
    int resource;
    const char *firstLineStart;
};

class PairTextTest : public ::testing::TestWithParam<PairText>
{};

TEST_P(PairTextTest, EightyOneLinesOfTwoStatementsAndTheirQuestions)
{
    const PairText &param = GetParam();
    VELMORA_REQUIRE_TEXT(param.resource);
    const QStringList lines = resourceLines(textResource(param.resource));
    ASSERT_GE(lines.size(), 81);
    for (qsizetype i = 81; i < lines.size(); ++i)
        EXPECT_TRUE(lines.at(i).isEmpty()) << "text after the 81st line";

    // Two sentences ended by ".", then one or more questions ended by "?".
    static const QRegularExpression shape(QStringLiteral("^[^.?]+\\. [^.?]+\\.( [^.?]+\\?)+$"));
    const ArtTables &t = committedTables();
    const PairTable &texts = param.resource == 107   ? t.SubjectStatements
                             : param.resource == 108 ? t.ViceStatements
                                                     : t.VirtueStatements;
    for (int k = 1; k <= 81; ++k) {
        SCOPED_TRACE(pairKey(k).toStdString());
        EXPECT_TRUE(lines.at(k - 1).startsWith(pairKey(k) + qs(" - ")));
        EXPECT_TRUE(shape.match(texts[k]).hasMatch()) << texts[k].toStdString();
    }
    EXPECT_TRUE(texts[1].startsWith(qs(param.firstLineStart)));
    EXPECT_TRUE(texts[0].isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PairTextTest,
    ::testing::Values(PairText{107,
                               "God is good. God is different. Is God good? Is God different?"},
                      PairText{108, "Avarice is evil."}, PairText{109, "Justice is good."}),
    [](const auto &info) { return std::to_string(info.param.resource); });

TEST(PairKeys, ComeFromTheSubjectStatementsInPairOrder)
{
    VELMORA_REQUIRE_TEXT(107);
    const ArtTables &t = committedTables();
    EXPECT_EQ(t.SubjectStatements[1],
              qs("God is good. God is different. Is God good? Is God different?"));
    for (int k = 1; k <= 81; ++k)
        EXPECT_EQ(t.PairKeys81[k], pairKey(k));
    EXPECT_EQ(t.PairKeys81[10], qs("CB"));
}

TEST(CommentaryText, ThirtySixChaptersInCameraOrderWithNumberedParagraphs)
{
    VELMORA_REQUIRE_TEXT(110);
    const QStringList lines = resourceLines(textResource(110));
    QStringList chapterLines;
    for (const QString &line : lines)
        if (line.startsWith(qs("Chapter")))
            chapterLines.append(line);
    ASSERT_EQ(chapterLines.size(), 36);
    ASSERT_TRUE(lines.first().startsWith(qs("Chapter"))) << "text before the first chapter";

    static const QRegularExpression numbered(QStringLiteral("^\\d+\\. \\S"));
    const ArtTables &t = committedTables();
    EXPECT_TRUE(t.Part6Texts[0].isEmpty());
    for (int camera = 1; camera <= 36; ++camera) {
        SCOPED_TRACE(camera);
        EXPECT_EQ(chapterLines.at(camera - 1), qs("Chapter ") + QString::number(camera));
        const QStringList text = elementLines(t.Part6Texts[camera]);
        ASSERT_GE(text.size(), 2);
        EXPECT_EQ(text.at(0), qs("Camera ") + cameraKey(camera));
        EXPECT_TRUE(isBlankLine(text.at(1)));
        int paragraphs = 0;
        for (const QString &line : text)
            if (numbered.match(line).hasMatch())
                ++paragraphs;
        EXPECT_GE(paragraphs, 3);
    }
    EXPECT_TRUE(
        t.Part6Texts[1].startsWith(qs("Camera BC\r\n\r\n59. We begin to evacuate this camera")));
}
