#include "sampletables.h"

#include "core/letters.h"

namespace velmora::testing {

using namespace Qt::StringLiterals;

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString lower(const QString &s)
{
    return s.toLower();
}

} // namespace

ArtTables sampleTables()
{
    ArtTables t;
    const QStringList abs{u"Goodness"_s, u"Greatness"_s, u"Duration"_s, u"Power"_s, u"Wisdom"_s,
                          u"Will"_s,     u"Virtue"_s,    u"Truth"_s,    u"Glory"_s};
    const QStringList rel{u"Difference"_s, u"Concordance"_s, u"Contrariety"_s,
                          u"Beginning"_s,  u"Middle"_s,      u"End"_s,
                          u"Majority"_s,   u"Equality"_s,    u"Minority"_s};
    const QStringList subjects{u"God"_s,        u"Angel"_s,        u"Heaven"_s,
                               u"Man"_s,        u"Imaginative"_s,  u"Sensitive"_s,
                               u"Vegetative"_s, u"Elementative"_s, u"Instrumentative"_s};
    const QStringList virtues{u"Justice"_s,    u"Prudence"_s, u"Fortitude"_s,
                              u"Temperance"_s, u"Faith"_s,    u"Hope"_s,
                              u"Charity"_s,    u"Patience"_s, u"Compassion"_s};
    const QStringList vices{u"Avarice"_s, u"Gluttony"_s,       u"Lust"_s,
                            u"Conceit"_s, u"Accidie(Sloth)"_s, u"Envy"_s,
                            u"Ire"_s,     u"Falsehood"_s,      u"Inconstancy"_s};
    const QStringList absAdj{u"Good"_s,    u"Great"_s,    u"Eternal"_s, u"Powerful"_s, u"Wise"_s,
                             u"Willing"_s, u"Virtuous"_s, u"True"_s,    u"Glorious"_s};
    const QStringList relAdj{u"Different"_s, u"Concordant"_s, u"Contrary"_s,
                             u"First"_s,     u"Middle"_s,     u"Last"_s,
                             u"Major"_s,     u"Equal"_s,      u"Minor"_s};

    for (int i = 1; i <= 9; ++i) {
        const auto k = static_cast<size_t>(i);
        const QString letter(letterAt(i));
        t.AbsPrinciples[k] = abs.at(i - 1);
        t.RelPrinciples[k] = rel.at(i - 1);
        t.Subjects[k] = subjects.at(i - 1);
        t.Virtues[k] = virtues.at(i - 1);
        t.Vices[k] = vices.at(i - 1);
        t.AbsAdjectives[k] = absAdj.at(i - 1);
        t.RelAdjectives[k] = relAdj.at(i - 1);
        t.AbsDefinitions[k] = u"Absolute "_s + letter + u" defined."_s;
        t.RelDefinitions[k] = u"Relative "_s + letter + u" first."_s + kCrLf + u"Relative "_s +
                              letter + u" second."_s;
        t.Rules[k] = u"Rule "_s + letter + u": heading"_s + kCrLf + letter + u"1: part"_s + kCrLf;
        t.SubjectDefinitions[k] = u"Subject "_s + letter + u" defined."_s + kCrLf;
        t.VirtueDefinitions[k] = u"Virtue "_s + letter + u" defined."_s + kCrLf;
        t.ViceDefinitions[k] = u"Vice "_s + letter + u" defined."_s + kCrLf;
    }
    // Two definitions carry a stored ampersand.
    t.AbsDefinitions[2] = u"Greatness makes goodness && duration great."_s;
    t.RelDefinitions[4] = u"Beginning && cause."_s + kCrLf + u"Second paragraph."_s;

    int camera = 0;
    for (int a = 1; a <= 9; ++a) {
        for (int b = a + 1; b <= 9; ++b) {
            const auto c = static_cast<size_t>(++camera);
            const QString key = QString(letterAt(a)) + letterAt(b);
            t.CameraKeys[c] = key;
            t.CameraMedia[c] = u"Media of "_s + key + kCrLf;
            t.CameraQuestions[c] = u"Questions of "_s + key + kCrLf;
            t.Part6Texts[c] = u"Camera "_s + key + kCrLf + kCrLf + u"1. Commentary."_s + kCrLf;
        }
    }
    for (int row = 1; row <= 9; ++row) {
        for (int col = 1; col <= 9; ++col) {
            const auto k = static_cast<size_t>((row - 1) * 9 + col);
            t.PairKeys81[k] = QString(letterAt(row)) + letterAt(col);
            const auto line = [&](const QString &who) {
                const QString a = lower(absAdj.at(col - 1));
                const QString r = lower(relAdj.at(col - 1));
                return who + u" is "_s + a + u". "_s + who + u" is "_s + r + u". Is "_s + who +
                       u' ' + a + u"? Is "_s + who + u' ' + r + u'?';
            };
            t.SubjectStatements[k] = line(subjects.at(row - 1));
            t.VirtueStatements[k] = line(virtues.at(row - 1));
            t.ViceStatements[k] = line(vices.at(row - 1));
        }
    }
    return t;
}

} // namespace velmora::testing
