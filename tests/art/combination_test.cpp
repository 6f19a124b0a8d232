#include "art/core/combination.h"
#include "core/random.h"
#include "scriptedrandom.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::StringLiterals;
using velmora::testing::ScriptedRandom;

namespace {

// Typed text -> the combination it reads as before repair ("" when Enter changes nothing).
const std::vector<std::pair<QString, QString>> kTyped{
    {u"bcd"_s, u"BCD"_s},
    {u"B(T)CD"_s, u"B(T)CD"_s},
    {u"BCD(T)"_s, u"BCD"_s},
    {u"BTBC"_s, u"B(T)BC"_s},
    {u"b(t)cd"_s, u"B(T)CD"_s},
    {u" BTCD"_s, u"BC(T)D"_s},
    {u"BCD T"_s, u"BCD"_s},
    {u"BCDEF"_s, u"BCD"_s},
    {u"K-I-H"_s, u"KIH"_s},
    {u"BTTCD"_s, u"B(T)CD"_s},
    {u"\u00C4BTCD"_s, u"BC(T)D"_s},
    {QString::fromUcs4(U"\U0001F600BTCD"), u"BC(T)D"_s}, // one position per character
    {QString(), QString()},
    {u"B"_s, QString()},
    {u"AB"_s, QString()},
    {u"B C"_s, QString()},
    {u"TTTTTT"_s, QString()},
    {u"(((())))"_s, QString()},
    {u"(T)BC"_s, QString()},
    {u"AJLMNZ"_s, QString()},
    {u"\u00E9\u00DF\u00EA"_s, QString()},
    {QString(10000, u'x'), QString()},
    {QString(10000, u'T'), QString()},
    {QString(10000, u'k'), u"KKK"_s},
    {QString(9997, u' ') + u"BCD"_s, u"BCD"_s}};

TEST(TypedCombination, ReadsMarkerAndLettersOrChangesNothing)
{
    for (const auto &[typed, expected] : kTyped) {
        const auto c = evaluateTypedCombination(typed);
        EXPECT_EQ(c ? combinationText(*c) : QString(), expected) << typed.left(20).toStdString();
    }
}

// Sound combinations keep their letters, only each figure's part is sorted, and nothing is drawn.
TEST(RepairCombination, SoundCombinationsAreOnlyOrdered)
{
    const std::vector<std::pair<QString, QString>> cases{
        {u"B(T)BC"_s, u"B(T)BC"_s}, {u"BC(T)C"_s, u"BC(T)C"_s}, {u"CB(T)D"_s, u"BC(T)D"_s},
        {u"D(T)CB"_s, u"D(T)BC"_s}, {u"KDB"_s, u"BDK"_s},       {u"(T)KDB"_s, u"(T)BDK"_s},
        {u"K(T)IK"_s, u"K(T)IK"_s}, {u"DB(T)C"_s, u"BD(T)C"_s}};
    for (const auto &[typed, stored] : cases) {
        ScriptedRandom random({0.5});
        const Combination c = repairCombination(*evaluateTypedCombination(typed), random.source());
        EXPECT_EQ(combinationText(c), stored);
        EXPECT_EQ(random.draws(), 0u) << typed.toStdString();
    }
}

TEST(RepairCombination, RedrawsOnlyTheLaterLetterOfAClash)
{
    using S = ScriptedRandom;
    // BBC: the second B is drawn again (B, then E); C already differs.
    ScriptedRandom bbc({S::forLetter(1), S::forLetter(4)});
    EXPECT_EQ(combinationText(repairCombination({0, {1, 1, 2}}, bbc.source())), u"BCE"_s);
    EXPECT_EQ(bbc.draws(), 2u);
    // BCB: the third letter may be neither C nor B on the same figure.
    ScriptedRandom bcb({S::forLetter(2), S::forLetter(1), S::forLetter(9)});
    EXPECT_EQ(combinationText(repairCombination({0, {1, 2, 1}}, bcb.source())), u"BCK"_s);
    // B(T)CC: B is allowed for the last letter, being on the other figure.
    ScriptedRandom bcc({S::forLetter(1)});
    EXPECT_EQ(combinationText(repairCombination({2, {1, 2, 2}}, bcc.source())), u"B(T)BC"_s);
    // A source stuck on B cannot repair BBB by drawing; the repair still ends sound.
    ScriptedRandom stuck({0.0});
    const Letters l = repairCombination({0, {1, 1, 1}}, stuck.source()).letters;
    EXPECT_TRUE(l[0] < l[1] && l[1] < l[2]);
}

TEST(RepairCombination, EveryDrawEndsSound)
{
    RandomSource random;
    random.seed(12345);
    for (int n = 0; n < 20000; ++n) {
        const Combination in = drawRandomCombination(random);
        const Combination c = repairCombination(in, random);
        ASSERT_EQ(c.tPosition, in.tPosition);
        int previous[3] = {0, 0, 0}; // last letter seen on figure 1 and 2
        for (int place = 1; place <= 3; ++place) {
            const int l = c.letters[size_t(place - 1)];
            int &last = previous[onSecondFigure(c.tPosition, place) ? 2 : 1];
            ASSERT_TRUE(l >= 1 && l <= 9 && l > last) << combinationText(c).toStdString();
            last = l;
        }
        // The first letter is never redrawn, only moved by the sort.
        ASSERT_NE(std::find(c.letters.begin(), c.letters.end(), in.letters[0]), c.letters.end());
    }
}

TEST(RandomDraw, HalvesGoToEven)
{
    // r -> marker position, letter
    const std::vector<std::tuple<double, int, int>> cases{
        {0.0, 0, 1},   {0.0625, 0, 2}, {0.125, 0, 2},  {0.1875, 1, 2}, {0.375, 2, 4},
        {0.625, 2, 6}, {0.875, 0, 8},  {0.9375, 0, 8}, {0.99, 0, 9}};
    for (const auto &[r, t, letter] : cases) {
        ScriptedRandom random({r});
        EXPECT_EQ(drawRandomCombination(random.source()).tPosition, t) << r;
        EXPECT_EQ(drawLetter(random.source()), letter) << r;
    }
}

TEST(RandomDraw, BAndKHalfAsOftenMarkersEven)
{
    RandomSource random;
    random.seed(2024);
    constexpr int kDraws = 40000;
    std::array<int, 4> markers{};
    std::array<int, 10> letters{};
    for (int n = 0; n < kDraws; ++n) {
        const Combination c = drawRandomCombination(random);
        ++markers.at(size_t(c.tPosition));
        for (qint16 l : c.letters)
            ++letters.at(size_t(l));
    }
    for (int m : markers)
        EXPECT_NEAR(m / double(kDraws), 0.25, 0.01);
    EXPECT_EQ(letters[0], 0);
    for (int l = 1; l <= 9; ++l)
        EXPECT_NEAR(letters[size_t(l)] / (3.0 * kDraws), l == 1 || l == 9 ? 0.0625 : 0.125, 0.005);
}

} // namespace
