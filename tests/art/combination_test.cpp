#include "art/core/combination.h"
#include "core/random.h"
#include "scriptedrandom.h"

#include <gtest/gtest.h>
#include <map>

using namespace velmora;
using velmora::testing::ScriptedRandom;
using namespace Qt::StringLiterals;

namespace {

struct TypedCase
{
    const char *name;
    QString text;
    bool accepted;
    Combination expected;
};

std::ostream &operator<<(std::ostream &os, const TypedCase &c)
{
    return os << c.name;
}

class TypedCombination : public ::testing::TestWithParam<TypedCase>
{};

TEST_P(TypedCombination, ReadsMarkerAndLetters)
{
    const TypedCase &c = GetParam();
    const auto result = evaluateTypedCombination(c.text);
    ASSERT_EQ(result.has_value(), c.accepted);
    if (c.accepted) {
        EXPECT_EQ(result->tPosition, c.expected.tPosition);
        EXPECT_EQ(result->letters, c.expected.letters);
    }
}

const QString kEmoji = QString::fromUcs4(U"\U0001F600");

INSTANTIATE_TEST_SUITE_P(
    Entry, TypedCombination,
    ::testing::Values(
        TypedCase{"lowercase", u"bcd"_s, true, {0, {1, 2, 3}}},
        TypedCase{"markerSecond", u"B(T)CD"_s, true, {2, {1, 2, 3}}},
        TypedCase{"markerFirst", u"(T)BCD"_s, true, {1, {1, 2, 3}}},
        TypedCase{"markerThird", u"BC(T)D"_s, true, {3, {1, 2, 3}}},
        TypedCase{"markerAtEndDropped", u"BCD(T)"_s, true, {0, {1, 2, 3}}},
        TypedCase{"tableRow", u"BTBC"_s, true, {2, {1, 1, 2}}},
        TypedCase{"lowercaseMarker", u"b(t)cd"_s, true, {2, {1, 2, 3}}},
        TypedCase{"leadingSpaceShiftsMarker", u" BTCD"_s, true, {3, {1, 2, 3}}},
        TypedCase{"fifthCharacterT", u"BCD T"_s, true, {0, {1, 2, 3}}},
        TypedCase{"extraLettersIgnored", u"BCDEF"_s, true, {0, {1, 2, 3}}},
        TypedCase{"otherCharactersSkipped", u"K-I-H"_s, true, {0, {9, 8, 7}}},
        TypedCase{"secondTIsNoLetter", u"BTTCD"_s, true, {2, {1, 2, 3}}},
        TypedCase{"nonAsciiTakesOnePosition", u"\u00C4BTCD"_s, true, {3, {1, 2, 3}}},
        TypedCase{"astralCharacterTakesOnePosition", kEmoji + u"BTCD"_s, true, {3, {1, 2, 3}}},
        TypedCase{"empty", QString(), false, {}}, TypedCase{"oneCharacter", u"B"_s, false, {}},
        TypedCase{"twoCharacters", u"AB"_s, false, {}},
        TypedCase{"threeCharactersTwoLetters", u"B C"_s, false, {}},
        TypedCase{"onlyTs", u"TTTTTT"_s, false, {}},
        TypedCase{"parenthesesOnly", u"(((())))"_s, false, {}},
        TypedCase{"markerTakesTheOnlyThirdLetter", u"(T)BC"_s, false, {}},
        TypedCase{"lettersOutsideTheArt", u"AJLMNZ"_s, false, {}},
        TypedCase{"nonAsciiOnly", u"\u00E9\u00E8\u00EA\u00DF"_s, false, {}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(TypedCombinationLong, TenThousandCharacters)
{
    EXPECT_FALSE(evaluateTypedCombination(QString(10000, u'x')).has_value());
    EXPECT_FALSE(evaluateTypedCombination(QString(10000, u'T')).has_value());
    const auto many = evaluateTypedCombination(QString(10000, u'k'));
    ASSERT_TRUE(many.has_value());
    EXPECT_EQ(many->letters, (Letters{9, 9, 9}));
    const auto late = evaluateTypedCombination(QString(9997, u' ') + u"BCD"_s);
    ASSERT_TRUE(late.has_value());
    EXPECT_EQ(late->letters, (Letters{1, 2, 3}));
}

TEST(CombinationText, MarkerBeforeItsPlace)
{
    EXPECT_EQ(combinationText({0, {1, 2, 3}}), u"BCD"_s);
    EXPECT_EQ(combinationText({1, {1, 2, 3}}), u"(T)BCD"_s);
    EXPECT_EQ(combinationText({2, {1, 1, 2}}), u"B(T)BC"_s);
    EXPECT_EQ(combinationText({3, {7, 8, 9}}), u"HI(T)K"_s);
}

TEST(LetterFigures, FollowTheMarker)
{
    EXPECT_EQ(letterFigures(0), (Letters{1, 1, 1}));
    EXPECT_EQ(letterFigures(1), (Letters{2, 2, 2}));
    EXPECT_EQ(letterFigures(2), (Letters{1, 2, 2}));
    EXPECT_EQ(letterFigures(3), (Letters{1, 1, 2}));
}

// Combinations that are already sound keep their letters; only the order
// inside each figure's part may change. No draw may be taken.
struct StoredCase
{
    QString typed;
    QString stored;
};

class StoredUnchanged : public ::testing::TestWithParam<StoredCase>
{};

TEST_P(StoredUnchanged, OnlyOrdersEachPart)
{
    ScriptedRandom random({0.5});
    const auto typed = evaluateTypedCombination(GetParam().typed);
    ASSERT_TRUE(typed.has_value());
    const Combination stored = repairCombination(*typed, random.source());
    EXPECT_EQ(combinationText(stored), GetParam().stored);
    EXPECT_EQ(random.draws(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Ordering, StoredUnchanged,
    ::testing::Values(StoredCase{u"B(T)BC"_s, u"B(T)BC"_s}, StoredCase{u"BC(T)C"_s, u"BC(T)C"_s},
                      StoredCase{u"CB(T)D"_s, u"BC(T)D"_s}, StoredCase{u"D(T)CB"_s, u"D(T)BC"_s},
                      StoredCase{u"KDB"_s, u"BDK"_s}, StoredCase{u"(T)KDB"_s, u"(T)BDK"_s},
                      StoredCase{u"K(T)IK"_s, u"K(T)IK"_s}, StoredCase{u"DB(T)C"_s, u"BD(T)C"_s}));

TEST(RepairCombination, RedrawsTheLaterLetterUntilItDiffers)
{
    // BBC: the second B is redrawn (B again, then E); C already differs.
    ScriptedRandom random({ScriptedRandom::forLetter(1), ScriptedRandom::forLetter(4)});
    const Combination c = repairCombination({0, {1, 1, 2}}, random.source());
    EXPECT_EQ(c.letters, (Letters{1, 2, 4}));
    EXPECT_EQ(random.draws(), 2u);
}

TEST(RepairCombination, ThirdLetterAvoidsBothOnOneFigure)
{
    // B C B without marker: the third letter may be neither C nor B.
    ScriptedRandom random(
        {ScriptedRandom::forLetter(2), ScriptedRandom::forLetter(1), ScriptedRandom::forLetter(9)});
    const Combination c = repairCombination({0, {1, 2, 1}}, random.source());
    EXPECT_EQ(c.letters, (Letters{1, 2, 9}));
    EXPECT_EQ(random.draws(), 3u);
}

TEST(RepairCombination, SecondFigurePartMayTakeTheFirstFiguresLetter)
{
    // B(T)CC: the last C is redrawn; B is allowed since it lies on the other figure.
    ScriptedRandom random({ScriptedRandom::forLetter(1)});
    const Combination c = repairCombination({2, {1, 2, 2}}, random.source());
    EXPECT_EQ(combinationText(c), u"B(T)BC"_s);
}

TEST(RepairCombination, StuckSourceStillEnds)
{
    // A source that only ever gives B cannot repair BBB by drawing.
    ScriptedRandom random({0.0});
    const Combination c = repairCombination({0, {1, 1, 1}}, random.source());
    EXPECT_NE(c.letters[0], c.letters[1]);
    EXPECT_NE(c.letters[1], c.letters[2]);
    EXPECT_NE(c.letters[0], c.letters[2]);
}

// Whatever is typed or drawn, the stored combination keeps the invariants.
TEST(RepairCombination, AlwaysSound)
{
    RandomSource random;
    random.seed(12345);
    for (int n = 0; n < 20000; ++n) {
        Combination in = drawRandomCombination(random);
        const Combination c = repairCombination(in, random);
        ASSERT_EQ(c.tPosition, in.tPosition);
        std::map<int, std::vector<int>> parts;
        for (int place = 1; place <= 3; ++place) {
            const int l = c.letters[static_cast<size_t>(place - 1)];
            ASSERT_GE(l, 1);
            ASSERT_LE(l, 9);
            parts[onSecondFigure(c.tPosition, place) ? 2 : 1].push_back(l);
        }
        for (const auto &[figure, letters] : parts) {
            for (size_t i = 1; i < letters.size(); ++i)
                ASSERT_LT(letters[i - 1], letters[i]) << combinationText(c).toStdString();
        }
        // The first letter is never redrawn, only moved by the sort.
        ASSERT_NE(std::find(c.letters.begin(), c.letters.end(), in.letters[0]), c.letters.end());
    }
}

struct DrawCase
{
    double r;
    int tPosition;
    int letter;
};

class DrawBoundaries : public ::testing::TestWithParam<DrawCase>
{};

TEST_P(DrawBoundaries, RoundHalfToEven)
{
    ScriptedRandom forMarker({GetParam().r});
    EXPECT_EQ(drawRandomCombination(forMarker.source()).tPosition, GetParam().tPosition);
    ScriptedRandom forLetter({GetParam().r});
    EXPECT_EQ(drawLetter(forLetter.source()), GetParam().letter);
}

INSTANTIATE_TEST_SUITE_P(Random, DrawBoundaries,
                         ::testing::Values(DrawCase{0.0, 0, 1}, DrawCase{0.0625, 0, 2},
                                           DrawCase{0.125, 0, 2}, DrawCase{0.1875, 1, 2},
                                           DrawCase{0.375, 2, 4}, DrawCase{0.625, 2, 6},
                                           DrawCase{0.875, 0, 8}, DrawCase{0.9375, 0, 8},
                                           DrawCase{0.99, 0, 9}));

TEST(RandomDraw, DistributionOfMarkerAndLetters)
{
    RandomSource random;
    random.seed(2024);
    constexpr int kDraws = 40000;
    std::array<int, 4> markers{};
    std::array<int, 10> letters{};
    for (int n = 0; n < kDraws; ++n) {
        const Combination c = drawRandomCombination(random);
        ASSERT_GE(c.tPosition, 0);
        ASSERT_LE(c.tPosition, 3);
        ++markers[static_cast<size_t>(c.tPosition)];
        for (qint16 l : c.letters) {
            ASSERT_GE(l, 1);
            ASSERT_LE(l, 9);
            ++letters[static_cast<size_t>(l)];
        }
    }
    for (int m : markers)
        EXPECT_NEAR(m / double(kDraws), 0.25, 0.01);
    const double total = 3.0 * kDraws;
    EXPECT_NEAR(letters[1] / total, 1.0 / 16, 0.005);
    EXPECT_NEAR(letters[9] / total, 1.0 / 16, 0.005);
    for (int l = 2; l <= 8; ++l)
        EXPECT_NEAR(letters[static_cast<size_t>(l)] / total, 1.0 / 8, 0.005) << l;
}

} // namespace
