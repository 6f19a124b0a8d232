// Checks the content of the generated texts (camera media and questions,
// statements of subjects, vices and virtues) as the program reads them: every
// line must say what its position in the tables claims it says.
#include "texts_support.h"

#include <QRegularExpression>

using namespace velmora;
using namespace velmora::texttest;
using namespace Qt::Literals::StringLiterals;

namespace {

const char *const kAbsPrinciples[] = {"Goodness", "Greatness", "Duration", "Power", "Wisdom",
                                      "Will",     "Virtue",    "Truth",    "Glory"};
const char *const kRelPrinciples[] = {"Difference", "Concordance", "Contrariety",
                                      "Beginning",  "Middle",      "End",
                                      "Majority",   "Equality",    "Minority"};
const char *const kAbsAdjectives[] = {"Good",    "Great",    "Eternal", "Powerful", "Wise",
                                      "Willing", "Virtuous", "True",    "Glorious"};
const char *const kRelAdjectives[] = {"Different", "Concordant", "Contrary", "First", "Middle",
                                      "Last",      "Major",      "Equal",    "Minor"};

QString word(const char *const table[], int letter)
{
    return QString::fromLatin1(table[letter - 1]);
}

/// A principle as it stands inside a sentence: "goodness", "the end".
QString principleNoun(bool relative, int letter)
{
    const QString name = word(relative ? kRelPrinciples : kAbsPrinciples, letter);
    const bool takesArticle = name == u"Beginning"_s || name == u"Middle"_s || name == u"End"_s;
    return (takesArticle ? u"the "_s : QString()) + name.toLower();
}

/// A predicate in the passive sense the propositions page gives it.
QString predicateWord(bool relative, int letter)
{
    static const QHash<QString, QString> passive = {{u"Middle"_s, u"mediative"_s},
                                                    {u"Eternal"_s, u"durable"_s},
                                                    {u"Willing"_s, u"desirable"_s},
                                                    {u"Wise"_s, u"knowable"_s},
                                                    {u"Last"_s, u"final"_s}};
    const QString adjective = word(relative ? kRelAdjectives : kAbsAdjectives, letter);
    return passive.value(adjective, adjective.toLower());
}

struct Proposition
{
    QString subject;
    QString predicate;
};

/// The twelve propositions of camera (a, b) in the order the page lists them.
QList<Proposition> propositions(int a, int b)
{
    struct Row
    {
        bool relSubject;
        int subject;
        bool relPredicate;
        int predicate;
    };
    const Row rows[] = {{false, a, false, b}, {false, a, true, a}, {false, a, true, b},
                        {false, b, false, a}, {false, b, true, a}, {false, b, true, b},
                        {true, a, false, a},  {true, a, false, b}, {true, a, true, b},
                        {true, b, false, a},  {true, b, false, b}, {true, b, true, a}};
    QList<Proposition> result;
    for (const Row &row : rows)
        result.append({principleNoun(row.relSubject, row.subject),
                       predicateWord(row.relPredicate, row.predicate)});
    return result;
}

QStringList elementLines(const QString &element)
{
    QStringList lines = element.split(u"\r\n"_s);
    EXPECT_TRUE(lines.last().isEmpty()) << "element does not end with CR LF";
    lines.removeLast();
    return lines;
}

struct Statement
{
    QString first;
    QString second;
    QStringList questions;
};

/// Splits a statement line the way the evacuation page does: the text up to
/// the first ".", up to the second ".", then questions each ended by "?".
bool splitStatement(const QString &text, Statement &out)
{
    const qsizetype p1 = text.indexOf(u'.');
    const qsizetype p2 = p1 < 0 ? -1 : text.indexOf(u'.', p1 + 1);
    if (p2 < 0)
        return false;
    out.first = text.left(p1 + 1);
    out.second = text.mid(p1 + 1, p2 - p1).trimmed();
    const QString rest = text.mid(p2 + 1);
    if (rest.contains(u'.') || !rest.endsWith(u'?') || out.first.contains(u'?') ||
        out.second.contains(u'?'))
        return false;
    out.questions = rest.split(u'?');
    out.questions.removeLast();
    for (QString &q : out.questions)
        q = q.trimmed() + u'?';
    return true;
}

bool hasWord(const QString &text, const QString &word)
{
    return QRegularExpression(u"\\b"_s + QRegularExpression::escape(word) + u"\\b"_s)
        .match(text)
        .hasMatch();
}

/// Whether both questions of a line name the proposition's subject and
/// predicate.
bool asks(const QStringList &questions, const Proposition &p)
{
    const QString subject = p.subject.section(u' ', -1);
    for (const QString &q : questions)
        if (!hasWord(q, subject) || !hasWord(q, p.predicate))
            return false;
    return true;
}

} // namespace

class CameraTest : public ::testing::TestWithParam<int>
{};

// Medium i proves proposition i of the camera: a syllogism whose conclusion
// is that proposition (or, where the definitions exclude it, its denial).
// A medium that drifted to another row or camera names other principles.
TEST_P(CameraTest, MediaConcludeTheTwelvePropositionsInOrder)
{
    VELMORA_REQUIRE_TEXT(102);
    const int camera = GetParam();
    const QString key = cameraKey(camera);
    const QList<Proposition> expected =
        propositions(letterIndex(key.at(0)), letterIndex(key.at(1)));
    const QStringList media = elementLines(committedTables().CameraMedia[camera]);
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
    // A camera asks no question about a proposition its media deny.
    const int questions = elementLines(committedTables().CameraQuestions[camera]).size();
    EXPECT_EQ(questions, 12 - denied) << key.toStdString();
}

// Every question line asks one proposition twice, with the question of each
// of the camera's letters, so it names the proposition's subject both times.
TEST_P(CameraTest, QuestionLinesAskOnePropositionTwice)
{
    VELMORA_REQUIRE_TEXT(106);
    const int camera = GetParam();
    const QString key = cameraKey(camera);
    const QList<Proposition> all = propositions(letterIndex(key.at(0)), letterIndex(key.at(1)));
    QStringList lines = elementLines(committedTables().CameraQuestions[camera]);
    qsizetype next = 0;
    for (const QString &line : lines) {
        const QStringList parts = line.split(u"? "_s);
        ASSERT_EQ(parts.size(), 2) << line.toStdString();
        EXPECT_TRUE(line.endsWith(u'?'));
        EXPECT_FALSE(line.contains(u'.')) << line.toStdString();
        // Propositions without a question are skipped, never reordered.
        while (next < all.size() && !asks(parts, all.at(next)))
            ++next;
        ASSERT_LT(next, all.size()) << "out of order: " << line.toStdString();
        ++next;
    }
    EXPECT_EQ(lines.removeDuplicates(), 0);
}

INSTANTIATE_TEST_SUITE_P(AllCameras, CameraTest, ::testing::Range(1, 37),
                         [](const auto &info) { return cameraKey(info.param).toStdString(); });

struct PairText
{
    int number;
    const char *firstSentence;   // of pair BB
    const char *const *rowNames; // who each row speaks of
};

const char *const kSubjectNames[] = {"God",        "angel",        "Heaven",
                                     "Man",        "imaginative",  "sensitive",
                                     "vegetative", "elementative", "instrumentative"};
const char *const kViceNames[] = {"Avarice", "Gluttony", "Lust",      "Conceit",    "Accidie",
                                  "Envy",    "Ire",      "Falsehood", "Inconstancy"};
const char *const kVirtueNames[] = {"Justice", "Prudence", "Fortitude", "Temperance", "Faith",
                                    "Hope",    "Charity",  "Patience",  "Compassion"};

class PairStatementTest : public ::testing::TestWithParam<PairText>
{};

// Each pair's text speaks of its row's subject, virtue or vice (a line in
// the wrong row, or rows and columns swapped, names another one), and its two
// questions ask its two sentences, in the same order.
TEST_P(PairStatementTest, SentencesSpeakOfTheRowAndQuestionsAskThem)
{
    const PairText &param = GetParam();
    VELMORA_REQUIRE_TEXT(param.number);
    const ArtTables &t = committedTables();
    const PairTable &texts = param.number == 107   ? t.SubjectStatements
                             : param.number == 108 ? t.ViceStatements
                                                   : t.VirtueStatements;
    for (int k = 1; k <= 81; ++k) {
        SCOPED_TRACE(texts[k].toStdString());
        Statement s;
        ASSERT_TRUE(splitStatement(texts[k], s));
        const QString name = QString::fromLatin1(param.rowNames[(k - 1) / 9]);
        ASSERT_EQ(s.questions.size(), 2);
        const QString sentences[] = {s.first, s.second};
        for (int i = 0; i < 2; ++i) {
            EXPECT_TRUE(sentences[i].contains(name, Qt::CaseInsensitive));
            EXPECT_TRUE(s.questions.at(i).contains(name, Qt::CaseInsensitive));
            const QString lastWord = sentences[i].chopped(1).section(u' ', -1);
            EXPECT_TRUE(hasWord(s.questions.at(i), lastWord)) << s.questions.at(i).toStdString();
        }
    }
    EXPECT_TRUE(texts[1].startsWith(QString::fromLatin1(param.firstSentence)));
}

INSTANTIATE_TEST_SUITE_P(Generated, PairStatementTest,
                         ::testing::Values(PairText{107, "God is good.", kSubjectNames},
                                           PairText{108, "Avarice is evil.", kViceNames},
                                           PairText{109, "Justice is good.", kVirtueNames}),
                         [](const auto &info) { return std::to_string(info.param.number); });

// The evacuation page's own example for the subject God under greatness.
TEST(GeneratedPairTexts, SubjectStatementsHoldThePagesExample)
{
    VELMORA_REQUIRE_TEXT(107);
    EXPECT_TRUE(committedTables().SubjectStatements[2].startsWith(
        u"God is infinite. God is concordant. "_s));
}
