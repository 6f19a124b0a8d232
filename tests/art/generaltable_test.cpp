#include "art/core/combination.h"
#include "art/core/generaltable.h"
#include "core/random.h"
#include "sampletables.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::StringLiterals;

namespace {

TEST(GeneralTable, ColumnOfBCD)
{
    const QStringList rows = generalTableRows(u"BCD"_s);
    EXPECT_EQ(rows.join(u' '), u"BCD BCTB BCTC BCTD BDTB BDTC BDTD BTBC BTBD BTCD CDTB CDTC "
                               u"CDTD CTBC CTBD CTCD DTBC DTBD DTCD TBCD"_s);
    EXPECT_EQ(generalTableText(rows.mid(0, 2)), u"BCD\r\nBCTB\r\n"_s);
    EXPECT_TRUE(generalTableRows(u"BC"_s).isEmpty());
}

struct RepairCase
{
    QString typed;
    QString column;
};

class ColumnLetters : public ::testing::TestWithParam<RepairCase>
{};

// The column always has three different letters, whatever the stored combination repeats.
TEST_P(ColumnLetters, SortedAndRepaired)
{
    const auto typed = evaluateTypedCombination(GetParam().typed);
    ASSERT_TRUE(typed.has_value());
    RandomSource failIfDrawn([] {
        ADD_FAILURE() << "a sound combination was redrawn";
        return 0.0;
    });
    const Combination stored = repairCombination(*typed, failIfDrawn);
    EXPECT_EQ(tableLetters(sortedLetters(stored.letters)), GetParam().column);
}

INSTANTIATE_TEST_SUITE_P(
    Repairs, ColumnLetters,
    ::testing::Values(RepairCase{u"BCD"_s, u"BCD"_s}, RepairCase{u"DB(T)C"_s, u"BCD"_s},
                      RepairCase{u"B(T)BC"_s, u"BCD"_s}, RepairCase{u"E(T)EG"_s, u"BEG"_s},
                      RepairCase{u"K(T)IK"_s, u"HIK"_s}, RepairCase{u"G(T)IK"_s, u"GIK"_s},
                      RepairCase{u"BC(T)C"_s, u"BCD"_s}, RepairCase{u"BD(T)D"_s, u"BDE"_s},
                      RepairCase{u"B(T)BK"_s, u"BCK"_s}, RepairCase{u"G(T)GK"_s, u"BGK"_s},
                      RepairCase{u"GK(T)K"_s, u"GIK"_s}, RepairCase{u"HK(T)K"_s, u"HIK"_s},
                      RepairCase{u"D(T)CD"_s, u"CDE"_s}));

// Every row is itself a sound combination: it reads back as typed and needs no repair.
TEST(GeneralTable, RowsAreSoundCombinations)
{
    for (const QString &letters : {u"BCD"_s, u"BEG"_s, u"HIK"_s, u"CFK"_s}) {
        for (const QString &row : generalTableRows(letters)) {
            const auto typed = evaluateTypedCombination(row);
            ASSERT_TRUE(typed.has_value()) << row.toStdString();
            RandomSource failIfDrawn([] {
                ADD_FAILURE() << "a table row needed a repair";
                return 0.0;
            });
            const Combination stored = repairCombination(*typed, failIfDrawn);
            EXPECT_EQ(combinationText(stored).remove(u'(').remove(u')'), row);
        }
    }
}

TEST(GeneralTable, SortIsAscending)
{
    EXPECT_EQ(sortedLetters({3, 1, 2}), (Letters{1, 2, 3}));
    EXPECT_EQ(sortedLetters({9, 9, 1}), (Letters{1, 9, 9}));
}

TEST(TextsPanel, FollowsCombinationOrderAndFigures)
{
    const ArtTables t = velmora::testing::sampleTables();
    auto panel = textsPanel(t, {1, 2, 3}, letterFigures(0));
    EXPECT_EQ(panel[0].principle, u"Goodness"_s);
    EXPECT_EQ(panel[1].principle, u"Greatness"_s);
    EXPECT_EQ(panel[2].principle, u"Duration"_s);
    EXPECT_EQ(panel[1].definition, u"Greatness makes goodness & duration great."_s);
    EXPECT_EQ(panel[2].rule, t.Rules[3]);
    EXPECT_EQ(panel[0].subject, u"God"_s);
    EXPECT_EQ(panel[1].virtue, u"Prudence"_s);
    EXPECT_EQ(panel[2].vice, u"Lust"_s);

    panel = textsPanel(t, {1, 1, 2}, letterFigures(2));
    EXPECT_EQ(panel[0].principle, u"Goodness"_s);
    EXPECT_EQ(panel[1].principle, u"Difference"_s);
    EXPECT_EQ(panel[2].principle, u"Concordance"_s);
    EXPECT_EQ(panel[1].definition, u"Relative B first.\r\nRelative B second."_s);
    EXPECT_EQ(panel[0].rule, panel[1].rule);
    EXPECT_EQ(panel[0].vice, panel[1].vice);

    // DB(T)C is stored as BD(T)C: the panel keeps that order.
    panel = textsPanel(t, {1, 3, 2}, letterFigures(3));
    EXPECT_EQ(panel[1].principle, u"Duration"_s);
    EXPECT_EQ(panel[2].principle, u"Concordance"_s);

    panel = textsPanel(t, {0, 4, 4}, letterFigures(3));
    EXPECT_TRUE(panel[0].principle.isEmpty());
    EXPECT_EQ(panel[2].definition, u"Beginning & cause.\r\nSecond paragraph."_s);
}

} // namespace
