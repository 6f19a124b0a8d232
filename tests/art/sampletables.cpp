#include "sampletables.h"

#include "core/letters.h"

namespace velmora::testing {

using namespace Qt::StringLiterals;

ArtTables sampleTables()
{
    ArtTables t;
    const std::pair<LetterTable ArtTables::*, const char *> words[] = {
        {&ArtTables::AbsPrinciples,
         "Goodness Greatness Duration Power Wisdom Will Virtue Truth Glory"},
        {&ArtTables::RelPrinciples,
         "Difference Concordance Contrariety Beginning Middle End Majority Equality Minority"},
        {&ArtTables::Subjects, "God Angel Heaven Man Imaginative Sensitive Vegetative "
                               "Elementative Instrumentative"},
        {&ArtTables::Virtues,
         "Justice Prudence Fortitude Temperance Faith Hope Charity Patience Compassion"},
        {&ArtTables::Vices,
         "Avarice Gluttony Lust Conceit Accidie(Sloth) Envy Ire Falsehood Inconstancy"},
        {&ArtTables::AbsAdjectives,
         "Good Great Eternal Powerful Wise Willing Virtuous True Glorious"},
        {&ArtTables::RelAdjectives,
         "Different Concordant Contrary First Middle Last Major Equal Minor"}};
    for (const auto &[table, list] : words) {
        const QStringList w = QString::fromLatin1(list).split(u' ');
        std::copy(w.begin(), w.end(), (t.*table).begin() + 1);
    }
    for (size_t i = 1; i <= 9; ++i) {
        const QString l(letterAt(int(i)));
        t.AbsDefinitions[i] = u"Absolute "_s + l + u" defined."_s;
        t.RelDefinitions[i] = u"Relative "_s + l + u" first.\r\nRelative "_s + l + u" second."_s;
        t.Rules[i] = u"Rule "_s + l + u": heading\r\n"_s + l + u"1: part\r\n"_s;
        t.SubjectDefinitions[i] = u"Subject "_s + l + u" defined.\r\n"_s;
        t.VirtueDefinitions[i] = u"Virtue "_s + l + u" defined.\r\n"_s;
        t.ViceDefinitions[i] = u"Vice "_s + l + u" defined.\r\n"_s;
    }
    t.AbsDefinitions[2] = u"Greatness makes goodness && duration great."_s;
    t.RelDefinitions[4] = u"Beginning && cause.\r\nSecond paragraph."_s;

    size_t camera = 0;
    for (int a = 1; a <= 9; ++a) {
        for (int b = a + 1; b <= 9; ++b) {
            const QString key = QString(letterAt(a)) + letterAt(b);
            t.CameraKeys[++camera] = key;
            t.CameraMedia[camera] = u"Media of "_s + key + u"\r\n"_s;
            t.CameraQuestions[camera] = u"Questions of "_s + key + u"\r\n"_s;
            t.Part6Texts[camera] = u"Camera "_s + key + u"\r\n\r\n1. Commentary.\r\n"_s;
        }
    }
    // Row letter names who, column letter the two adjectives: "God is good. God is different. ..."
    for (int row = 1; row <= 9; ++row) {
        for (int col = 1; col <= 9; ++col) {
            const auto k = size_t((row - 1) * 9 + col);
            const QString a = t.AbsAdjectives[size_t(col)].toLower(),
                          r = t.RelAdjectives[size_t(col)].toLower();
            const auto line = [&](const QString &who) {
                return who + u" is "_s + a + u". "_s + who + u" is "_s + r + u". Is "_s + who +
                       u' ' + a + u"? Is "_s + who + u' ' + r + u'?';
            };
            t.PairKeys81[k] = QString(letterAt(row)) + letterAt(col);
            t.SubjectStatements[k] = line(t.Subjects[size_t(row)]);
            t.VirtueStatements[k] = line(t.Virtues[size_t(row)]);
            t.ViceStatements[k] = line(t.Vices[size_t(row)]);
        }
    }
    return t;
}

} // namespace velmora::testing
