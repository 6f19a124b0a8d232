#include "core/moment.h"

#include <gtest/gtest.h>

using velmora::Moment;

TEST(Moment, StepsClipFollowTheProlepticCalendarAndStayInTheYears100To9999)
{
    EXPECT_EQ(Moment(2026, 1, 31, 10, 20, 30).addMonths(1), Moment(2026, 2, 28, 10, 20, 30));
    EXPECT_EQ(Moment(2026, 1, 15).addMonths(-13), Moment(2024, 12, 15));
    EXPECT_EQ(Moment(2024, 2, 29).addYears(1), Moment(2025, 2, 28));
    // No Julian gap in 1582; 1700 is not a leap year, 2000 is.
    EXPECT_EQ(Moment(1582, 10, 4).addDays(1), Moment(1582, 10, 5));
    EXPECT_EQ(Moment(1700, 2, 28).addDays(1), Moment(1700, 3, 1));
    EXPECT_EQ(Moment(2000, 2, 28).addDays(1), Moment(2000, 2, 29));
    EXPECT_EQ(Moment(2027, 1, 1, 0).addSeconds(-1), Moment(2026, 12, 31, 23, 59, 59));
    EXPECT_FALSE(Moment::first().addSeconds(-1).inRange());
    EXPECT_FALSE(Moment::last().addSeconds(1).inRange());
    EXPECT_FALSE(Moment().inRange());
    EXPECT_TRUE(Moment(2026, 2, 30).isNull());
    EXPECT_TRUE(Moment(2026, 1, 15).addMonths(qint64(1) << 40).isNull()); // no year wraps round
    for (const Moment &m : {Moment::first(), Moment::last(), Moment(2026, 12, 6, 11, 8, 59)}) {
        EXPECT_TRUE(m.inRange());
        EXPECT_EQ(Moment::fromSerialDays(m.serialDays()), m);
    }
    EXPECT_DOUBLE_EQ(Moment(1899, 12, 29, 18).serialDays(), -0.25);
}
