#include "art/core/evacuation.h"

#include "core/letters.h"
#include "core/texttables.h"

#include <QStringList>

namespace velmora {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Only the letters as written count here: the page reads unconfirmed text
// character by character.
qint16 exactLetterIndex(QStringView c)
{
    if (c.size() != 1)
        return 0;
    for (int i = 0; i < kLetterCount; ++i) {
        if (c.at(0) == QLatin1Char(kAlphabet[i]))
            return static_cast<qint16>(i + 1);
    }
    return 0;
}

QString trimSpaces(QStringView s)
{
    qsizetype begin = 0;
    qsizetype end = s.size();
    while (begin < end && s.at(begin) == u' ')
        ++begin;
    while (end > begin && s.at(end - 1) == u' ')
        --end;
    return s.mid(begin, end - begin).toString();
}

QString predicateWord(const QString &word)
{
    if (word == u"Middle")
        return QStringLiteral("Mediative");
    if (word == u"Eternal")
        return QStringLiteral("Durable");
    if (word == u"Willing")
        return QStringLiteral("Desirable");
    if (word == u"Wise")
        return QStringLiteral("Knowable");
    if (word == u"Last")
        return QStringLiteral("Final");
    return word;
}

template <typename Table> int findKey(const Table &keys, const QString &key)
{
    for (size_t i = 1; i < keys.size(); ++i) {
        if (keys[i] == key)
            return static_cast<int>(i);
    }
    return 0;
}

const LetterTable *definitionTable(const ArtTables &t, EvacuationChoice choice)
{
    switch (choice) {
    case EvacuationChoice::Subject:
        return &t.SubjectDefinitions;
    case EvacuationChoice::Virtues:
        return &t.VirtueDefinitions;
    case EvacuationChoice::Vices:
        return &t.ViceDefinitions;
    case EvacuationChoice::Principles:
        break;
    }
    return nullptr;
}

const PairTable *statementTable(const ArtTables &t, EvacuationChoice choice)
{
    switch (choice) {
    case EvacuationChoice::Subject:
        return &t.SubjectStatements;
    case EvacuationChoice::Virtues:
        return &t.VirtueStatements;
    case EvacuationChoice::Vices:
        return &t.ViceStatements;
    case EvacuationChoice::Principles:
        break;
    }
    return nullptr;
}

} // namespace

PairCaptions pairCaptions(const QString &s)
{
    const QString c1 = s.mid(0, 1);
    const QString c2 = s.mid(1, 1);
    const QString last = s.right(1);
    PairCaptions captions;
    captions.first = c1 > c2 ? c2 + c1 : s.left(2);
    captions.second = c2 > last ? last + c2 : s.right(2);
    return captions;
}

std::array<qint16, 4> pairLetters(const PairCaptions &captions)
{
    const auto first = QStringView(captions.first);
    const auto second = QStringView(captions.second);
    return {exactLetterIndex(first.left(1)), exactLetterIndex(first.right(1)),
            exactLetterIndex(second.left(1)), exactLetterIndex(second.right(1))};
}

int cameraIndex(const ArtTables &tables, const QString &key)
{
    return findKey(tables.CameraKeys, key);
}

int pairKeyIndex(const ArtTables &tables, const QString &key)
{
    return findKey(tables.PairKeys81, key);
}

QString showAmpersands(QString text)
{
    return text.replace(QStringLiteral("&&"), QStringLiteral("&"));
}

QString propositions(const ArtTables &t, int a, int b)
{
    if (a < 0 || a > kLetterCount || b < 0 || b > kLetterCount)
        return {};
    const auto A = static_cast<size_t>(a);
    const auto B = static_cast<size_t>(b);
    const std::array<std::pair<const QString &, const QString &>, 12> rows{{
        {t.AbsPrinciples[A], t.AbsAdjectives[B]},
        {t.AbsPrinciples[A], t.RelAdjectives[A]},
        {t.AbsPrinciples[A], t.RelAdjectives[B]},
        {t.AbsPrinciples[B], t.AbsAdjectives[A]},
        {t.AbsPrinciples[B], t.RelAdjectives[A]},
        {t.AbsPrinciples[B], t.RelAdjectives[B]},
        {t.RelPrinciples[A], t.AbsAdjectives[A]},
        {t.RelPrinciples[A], t.AbsAdjectives[B]},
        {t.RelPrinciples[A], t.RelAdjectives[B]},
        {t.RelPrinciples[B], t.AbsAdjectives[A]},
        {t.RelPrinciples[B], t.AbsAdjectives[B]},
        {t.RelPrinciples[B], t.RelAdjectives[A]},
    }};
    QString text;
    for (const auto &[subject, predicate] : rows) {
        const bool article = subject == u"Beginning" || subject == u"Middle" || subject == u"End";
        if (article)
            text += QStringLiteral("The ");
        text += subject + QStringLiteral(" is ") + predicateWord(predicate) + kCrLf;
    }
    return text;
}

QString GetS(const QString &TheS)
{
    const qsizetype p1 = TheS.indexOf(u'.') + 1; // 1-based, 0 when none
    const qsizetype next = TheS.indexOf(u'.', p1);
    // A line with a single sentence has no second one to show.
    const qsizetype p2 = next < 0 ? p1 : next + 1;
    return TheS.left(p1) + kCrLf + trimSpaces(QStringView(TheS).mid(p1, p2 - p1)) + kCrLf;
}

QString GetQ(const QString &TheS)
{
    const QStringList sentences = TheS.split(u'.');
    if (sentences.size() < 3)
        return {};
    const QStringList pieces = sentences.at(2).split(u'?');
    QString text;
    for (qsizetype i = 0; i + 1 < pieces.size(); ++i)
        text += pieces.at(i) + u'?' + kCrLf;
    return text;
}

EvacuationPage evacuate(const ArtTables &t, const QString &code, EvacuationChoice choice,
                        int selectedPair, bool mediaChecked, bool part6Checked)
{
    EvacuationPage page;
    const QString s = QString(code).remove(QStringLiteral("(T)"));
    const bool principles = choice == EvacuationChoice::Principles;
    page.mediaVisible = mediaChecked && principles;
    page.part6Visible = part6Checked && principles;
    page.captions = pairCaptions(s);
    page.pairLetter = pairLetters(page.captions);
    page.checksEnabled = principles;

    const bool second = selectedPair != 0;
    const QString &P = second ? page.captions.second : page.captions.first;
    const int a = page.pairLetter[second ? 2 : 0];
    const int b = page.pairLetter[second ? 3 : 1];

    page.camera = cameraIndex(t, P);
    if (page.camera > 0) {
        page.media = t.CameraMedia[static_cast<size_t>(page.camera)];
        page.part6 = t.Part6Texts[static_cast<size_t>(page.camera)];
    }
    const QString ca = P.left(1);
    const QString cb = P.right(1);
    const std::array<int, 4> keys{pairKeyIndex(t, P), pairKeyIndex(t, cb + ca),
                                  pairKeyIndex(t, ca + ca), pairKeyIndex(t, cb + cb)};

    const std::array<int, 2> pair{a, b};
    for (size_t i = 0; i < 2; ++i) {
        const auto L = static_cast<size_t>(pair[i]);
        page.definitions[i] = showAmpersands(t.AbsDefinitions[L]) + kCrLf + kCrLf +
                              showAmpersands(t.RelDefinitions[L]);
        page.rules[i] = t.Rules[L];
    }
    if (a == b)
        return page;

    if (principles) {
        page.propositions = propositions(t, a, b);
        page.questions = t.CameraQuestions[static_cast<size_t>(page.camera)];
        return page;
    }
    const LetterTable &definitions = *definitionTable(t, choice);
    const PairTable &statements = *statementTable(t, choice);
    page.definitions = {definitions[static_cast<size_t>(a)], definitions[static_cast<size_t>(b)]};
    for (int k : keys) {
        const QString &line = statements[static_cast<size_t>(k)];
        page.propositions += GetS(line);
        page.questions += GetQ(line);
    }
    return page;
}

} // namespace velmora
