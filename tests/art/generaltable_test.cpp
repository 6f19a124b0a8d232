#include "art/core/generaltable.h"
#include "core/random.h"
#include "sampletables.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

RandomSource failIfDrawn([] {
    ADD_FAILURE() << "a sound combination was redrawn";
    return 0.0;
});

Combination stored(const QString &typed)
{
    return repairCombination(*evaluateTypedCombination(typed), failIfDrawn);
}

TEST(GeneralTable, ColumnLettersSortedAndDifferentTwentySoundRows)
{
    const std::vector<std::pair<QString, QString>> cases{{u"DB(T)C"_s, u"BCD"_s},
                                                         {u"E(T)EG"_s, u"BEG"_s},
                                                         {u"K(T)IK"_s, u"HIK"_s},
                                                         {u"BD(T)D"_s, u"BDE"_s},
                                                         {u"GK(T)K"_s, u"GIK"_s}};
    for (const auto &[typed, column] : cases)
        EXPECT_EQ(tableLetters(sortedLetters(stored(typed).letters)), column)
            << typed.toStdString();

    EXPECT_EQ(generalTableRows(u"BCD"_s).join(u' '),
              u"BCD BCTB BCTC BCTD BDTB BDTC BDTD BTBC BTBD BTCD CDTB CDTC CDTD CTBC CTBD "
              u"CTCD DTBC DTBD DTCD TBCD"_s);
    for (const QString &row : generalTableRows(u"HIK"_s))
        EXPECT_EQ(combinationText(stored(row)).remove(u'(').remove(u')'), row);
}

TEST(TextsPanel, CombinationOrderWithEachLettersFigure)
{
    const ArtTables t = velmora::testing::sampleTables();
    // DB(T)C is stored as BD(T)C: B and D on the first figure, C on the second.
    auto panel = textsPanel(t, {1, 3, 2}, letterFigures(3));
    EXPECT_EQ(panel[1].principle, u"Duration"_s);
    EXPECT_EQ(panel[2].principle, u"Concordance"_s);
    EXPECT_EQ(panel[2].rule, t.Rules[2]);
    EXPECT_EQ(panel[0].subject + panel[1].virtue + panel[2].vice, u"GodFortitudeGluttony"_s);
    panel = textsPanel(t, {2, 4, 4}, letterFigures(2));
    EXPECT_EQ(panel[0].definition, u"Greatness makes goodness & duration great."_s);
    EXPECT_EQ(panel[2].definition, u"Beginning & cause.\r\nSecond paragraph."_s);
    EXPECT_EQ(textsPanel(t, {1, 2, 9}, letterFigures(0))[2].principle,
              u"Glory"_s); // the last letter
}

} // namespace
