#include "music/core/beatschedule.h"
#include "music/core/clockmap.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace std::chrono_literals;

TEST(BeatSchedule, BeatsKeepTheirPlacesUntilTheTimerStartsAfresh)
{
    struct Step
    {
        std::chrono::milliseconds now;
        std::chrono::milliseconds interval;
        std::chrono::milliseconds due;
        const char *why;
    };
    // clang-format off
    const Step steps[] = {
        {340ms, 333ms, 333ms, "a tick 7 ms late plays on its place"},
        {700ms, 333ms, 666ms, "34 ms late: the next place, not 333 after the late tick"},
        {999ms, 333ms, 999ms, "on time"},
        {1500ms, 300ms, 1500ms, "a new tempo restarts the timer: the schedule starts there"},
        {1805ms, 300ms, 1800ms, "and goes on from there"},
        {2900ms, 300ms, 2900ms, "later than a whole interval: the timer gave up its beats too"},
        {3200ms, 300ms, 3200ms, "on the new places"},
        {3800ms, 300ms, 3800ms, "exactly a whole interval late starts afresh too"},
    };
    // clang-format on
    BeatSchedule schedule;
    schedule.start(0ms, 333ms);
    EXPECT_EQ(schedule.due(), 0ms);
    for (const Step &s : steps) {
        EXPECT_EQ(schedule.tick(s.now, s.interval), s.due) << s.why;
        EXPECT_EQ(schedule.due(), s.due);
    }
}

TEST(ClockMap, FollowsTheReadingsFurthestAheadAndDriftsSlowly)
{
    ClockMap map;
    EXPECT_FALSE(map.isSet());
    map.observe(1000ms, 5000ms);
    EXPECT_EQ(map.toOutput(1100ms), 5100ms);
    // A reading taken just after a step of the output's clock: followed at once.
    map.observe(1200ms, 5201ms);
    EXPECT_EQ(map.toOutput(1200ms), 5201ms);
    // One far ahead moves it by the most it may rise.
    map.observe(1300ms, 5350ms);
    EXPECT_EQ(map.toOutput(1300ms), 5301ms + ClockMap::kRise);
    // Readings that lag (taken just before a step) lower it only slowly.
    map.observe(1400ms, 5395ms);
    EXPECT_EQ(map.toOutput(1400ms), 5403ms - ClockMap::kFall);
    // An output clock running 10 us a reading slow is followed exactly.
    map.reset();
    map.observe(0ms, 0ms);
    for (int i = 1; i <= 10; ++i)
        map.observe(i * 10ms, i * 10ms - i * 10us);
    EXPECT_EQ(map.toOutput(100ms), 100ms - 100us);
}
