#include "art/core/combination.h"
#include "core/random.h"
#include "scriptedrandom.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace Qt::StringLiterals;
using velmora::testing::ScriptedRandom;

namespace {

TEST(TypedCombination, ReadsMarkerAndLettersOrChangesNothing)
{
    // Typed text -> the combination it reads as before repair ("" when Enter changes nothing).
    // clang-format off
    const std::vector<std::pair<QString, QString>> cases{
        {u"b(t)cd"_s, u"B(T)CD"_s}, {u"BCD(T)"_s, u"BCD"_s}, {u"BTBC"_s, u"B(T)BC"_s},
        {u"BTTCD"_s, u"B(T)CD"_s}, {u"BCDEF"_s, u"BCD"_s},
        {QString::fromUcs4(U"\U0001F600BTCD"), u"BC(T)D"_s}, // one position, outside the basic plane
        {QString(), QString()}, {u"AB"_s, QString()}, {u"(T)BC"_s, QString()},
        {u"AJLMNZ"_s, QString()}, {QString(10000, u'x'), QString()},
        {QString(9997, u' ') + u"BCD"_s, u"BCD"_s}};
    // clang-format on
    for (const auto &[typed, expected] : cases) {
        const auto c = evaluateTypedCombination(typed);
        EXPECT_EQ(c ? combinationText(*c) : QString(), expected) << typed.left(20).toStdString();
    }
}

// Sound combinations keep their letters, only each figure's part is sorted, and nothing is drawn.
TEST(RepairCombination, SoundOnesAreOnlyOrderedClashesRedrawTheLaterLetter)
{
    // clang-format off
    const std::vector<std::pair<QString, QString>> cases{
        {u"B(T)BC"_s, u"B(T)BC"_s}, {u"CB(T)D"_s, u"BC(T)D"_s}, {u"D(T)CB"_s, u"D(T)BC"_s},
        {u"KDB"_s, u"BDK"_s}, {u"DCB(T)"_s, u"BCD"_s}};
    // clang-format on
    for (const auto &[typed, stored] : cases) {
        ScriptedRandom random({0.5});
        const Combination c = repairCombination(*evaluateTypedCombination(typed), random.source());
        EXPECT_EQ(combinationText(c), stored);
        EXPECT_EQ(random.draws(), 0u) << typed.toStdString();
    }

    using S = ScriptedRandom;
    // BBC: the second B is drawn again (B, then E); C already differs.
    S bbc({S::forLetter(1), S::forLetter(4)});
    EXPECT_EQ(combinationText(repairCombination({0, {1, 1, 2}}, bbc.source())), u"BCE"_s);
    // BCB: the third letter may be neither C nor B on the same figure.
    S bcb({S::forLetter(2), S::forLetter(1), S::forLetter(9)});
    EXPECT_EQ(combinationText(repairCombination({0, {1, 2, 1}}, bcb.source())), u"BCK"_s);
    // B(T)CC: B is allowed for the last letter, being on the other figure.
    S bcc({S::forLetter(1)});
    EXPECT_EQ(combinationText(repairCombination({2, {1, 2, 2}}, bcc.source())), u"B(T)BC"_s);
    // A source stuck on B cannot repair BBB by drawing; the repair still ends sound.
    S stuck({0.0});
    const Letters l = repairCombination({0, {1, 1, 1}}, stuck.source()).letters;
    EXPECT_TRUE(l[0] < l[1] && l[1] < l[2]);
}

TEST(RandomDraw, HalvesGoToEvenAndEveryDrawEndsSound)
{
    RandomSource random;
    random.seed(12345);
    for (int n = 0; n < 5000; ++n) {
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

    // Halves go to even, so B and K come up half as often as the other letters,
    // and the four marker positions equally often.
    // r -> marker position, letter
    // clang-format off
    const std::vector<std::tuple<double, int, int>> cases{
        {0.0, 0, 1}, {0.0625, 0, 2}, {0.1875, 1, 2}, {0.9375, 0, 8}, {0.99, 0, 9}};
    // clang-format on
    for (const auto &[r, t, letter] : cases) {
        ScriptedRandom random({r});
        EXPECT_EQ(drawRandomCombination(random.source()).tPosition, t) << r;
        EXPECT_EQ(drawLetter(random.source()), letter) << r;
    }
}

} // namespace
