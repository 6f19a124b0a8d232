// Every generated line must say what its position claims, judged by the
// propositions the evacuation page lists beside it.
#include "art/core/evacuation.h"
#include "texts_support.h"

#include <QRegularExpression>

using namespace velmora;
using namespace velmora::texttest;
using namespace Qt::Literals::StringLiterals;

namespace {

struct Proposition
{
    QString subject; // as inside a sentence: "goodness", "the end"
    QString predicate;
};

/// The twelve propositions of a camera, in the page's order and wording.
QList<Proposition> pagePropositions(int camera)
{
    const QString key = cameraKey(camera);
    QList<Proposition> result;
    for (const QString &line :
         propositions(committedTables(), letterIndex(key.at(0)), letterIndex(key.at(1)))
             .split(u"\r\n"_s, Qt::SkipEmptyParts))
        result.append(
            {line.section(u" is "_s, 0, 0).toLower(), line.section(u" is "_s, 1).toLower()});
    return result;
}

bool hasWord(const QString &text, const QString &word)
{
    return QRegularExpression(u"\\b"_s + QRegularExpression::escape(word) + u"\\b"_s)
        .match(text)
        .hasMatch();
}

} // namespace

class CameraTest : public ::testing::TestWithParam<int>
{};

// Medium i proves proposition i: a syllogism concluding it (or, where the
// definitions exclude it, its denial). A medium that drifted to another row or
// camera names other principles. No question is asked of a denied proposition.
TEST_P(CameraTest, MediaConcludeTheTwelvePropositionsInOrder)
{
    const int camera = GetParam();
    const QList<Proposition> expected = pagePropositions(camera);
    const QStringList media = elementLines(committedTables().CameraMedia[size_t(camera)]);
    ASSERT_EQ(expected.size(), 12);
    ASSERT_EQ(media.size(), 12);
    static const QRegularExpression syllogism(
        u"^Whatever ([^,;]+), but ([^;]+); therefore (.+) is (not )?([a-z]+)\\.$"_s);
    int denied = 0;
    for (int i = 0; i < 12; ++i) {
        SCOPED_TRACE(media.at(i).toStdString());
        const QRegularExpressionMatch m = syllogism.match(media.at(i));
        ASSERT_TRUE(m.hasMatch());
        const Proposition &p = expected.at(i);
        EXPECT_TRUE(hasWord(m.captured(1), p.predicate)) << "major premise";
        EXPECT_TRUE(m.captured(2).startsWith(p.subject)) << "minor premise";
        EXPECT_EQ(m.captured(3), p.subject);
        EXPECT_EQ(m.captured(5), p.predicate);
        denied += m.capturedLength(4) > 0 ? 1 : 0;
    }
    EXPECT_EQ(elementLines(committedTables().CameraQuestions[size_t(camera)]).size(), 12 - denied);
}

INSTANTIATE_TEST_SUITE_P(AllCameras, CameraTest, ::testing::Range(1, 37),
                         [](const auto &info) { return cameraKey(info.param).toStdString(); });

// The media settle a few propositions in the negative. The hand-written commentary may explain
// such a denial, but must never affirm the denied proposition, in any chapter.
TEST(CommentaryText, AffirmsNoPropositionTheMediaDeny)
{
    static const QRegularExpression denial(u"therefore (.+) is not ([a-z]+)\\.$"_s);
    const ArtTables &t = committedTables();
    QStringList denied;
    for (int camera = 1; camera <= 36; ++camera) {
        for (const QString &medium : elementLines(t.CameraMedia[size_t(camera)])) {
            if (const QRegularExpressionMatch m = denial.match(medium); m.hasMatch())
                denied << m.captured(1) + u" is "_s + m.captured(2);
        }
    }
    ASSERT_FALSE(denied.isEmpty());
    for (const QString &proposition : denied) {
        const QRegularExpression affirmed(u"\\b"_s + QRegularExpression::escape(proposition) +
                                              u"\\b"_s,
                                          QRegularExpression::CaseInsensitiveOption);
        for (int camera = 1; camera <= 36; ++camera)
            EXPECT_FALSE(affirmed.match(t.Part6Texts[size_t(camera)]).hasMatch())
                << cameraKey(camera).toStdString() << " affirms " << proposition.toStdString();
    }
}

struct PairText
{
    int number;
    PairTable ArtTables::*texts;
    Column row; // whom each row speaks of
};

class PairTextTest : public ::testing::TestWithParam<PairText>
{};

// 81 lines "XY - text" in pair order. Each text is two sentences about its
// row's subject, vice or virtue (rows and columns swapped, or a line in the
// wrong row, name another one), then two questions asking them in order.
TEST_P(PairTextTest, EightyOneLinesSpeakOfTheirRowAndAskTheirSentences)
{
    const PairText &param = GetParam();
    const QStringList lines = resourceLines(textResource(param.number));
    ASSERT_GE(lines.size(), 81);
    for (qsizetype i = 81; i < lines.size(); ++i)
        EXPECT_TRUE(lines.at(i).isEmpty()) << "text after the 81st line";
    static const QRegularExpression shape(u"^([^.?]+\\.) ([^.?]+\\.) ([^.?]+\\?) ([^.?]+\\?)$"_s);
    const PairTable &texts = committedTables().*param.texts;
    EXPECT_TRUE(texts[0].isEmpty());
    for (int k = 1; k <= 81; ++k) {
        SCOPED_TRACE(texts[size_t(k)].toStdString());
        EXPECT_EQ(lines.at(k - 1), pairKey(k) + u" - "_s + texts[size_t(k)]);
        const QRegularExpressionMatch m = shape.match(texts[size_t(k)]);
        ASSERT_TRUE(m.hasMatch());
        const QString name = word((k - 1) / 9 + 1, param.row).section(u'(', 0, 0);
        for (int i = 1; i <= 2; ++i) {
            const QString sentence = m.captured(i), question = m.captured(i + 2);
            EXPECT_TRUE(sentence.contains(name, Qt::CaseInsensitive));
            EXPECT_TRUE(question.contains(name, Qt::CaseInsensitive));
            EXPECT_TRUE(hasWord(question, sentence.chopped(1).section(u' ', -1))) << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Generated, PairTextTest,
                         ::testing::Values(PairText{107, &ArtTables::SubjectStatements, Subject},
                                           PairText{108, &ArtTables::ViceStatements, Vice},
                                           PairText{109, &ArtTables::VirtueStatements, Virtue}),
                         [](const auto &info) { return std::to_string(info.param.number); });
