#include "core/letters.h"
#include "core/random.h"
#include "core/units.h"

#include <gtest/gtest.h>
#include <vector>

using namespace velmora;

TEST(Letters, IndexFollowsTheAlphabetWithoutJ)
{
    EXPECT_EQ(letterIndex(u'k'), 9);
    EXPECT_EQ(letterIndex(u'J'), 0);
    EXPECT_EQ(letterIndex(QChar()), 0); // a NUL character is no letter either
    for (int i = 1; i <= kLetterCount; ++i)
        EXPECT_EQ(letterIndex(letterAt(i)), i);
    for (int outside : {0, 10, -4096, 4096})
        EXPECT_TRUE(letterAt(outside).isNull()) << outside;
}

TEST(RandomSource, InjectedValuesStayBelowOneSeededAreRepeatable)
{
    std::vector<double> values{0.999, 1.0, -0.1, 7.0};
    size_t i = 0;
    RandomSource rnd([&] { return values[i++]; });
    EXPECT_EQ(rnd.nextIndex(9), 8);
    EXPECT_LT(rnd.next(), 1.0);
    EXPECT_EQ(rnd.next(), 0.0);
    EXPECT_EQ(rnd.nextIndex(9), 8);

    RandomSource a;
    RandomSource b;
    a.seed(42);
    b.seed(42);
    int counts[9] = {};
    for (int n = 0; n < 9000; ++n) {
        const double x = a.next();
        ASSERT_EQ(x, b.next());
        ++counts[static_cast<int>(x * 9)];
    }
    for (int c : counts)
        EXPECT_NEAR(c, 1000, 200);
}

TEST(Units, TwipsAndColours)
{
    EXPECT_EQ(twipsToPixels(7), 0);
    EXPECT_EQ(twipsToPixels(8), 1);
    EXPECT_EQ(twipsToPixels(-8), -1);
    EXPECT_EQ(colourValue(0x12, 0x34, 0x56), 0x563412);
    EXPECT_EQ(colourFromValue(0x123456), (DesignColour{0x56, 0x34, 0x12}));
    EXPECT_EQ(colourFromValue(-1), (DesignColour{255, 255, 255}));
}
