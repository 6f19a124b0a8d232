#include "music/core/beatschedule.h"
#include "music/core/clockmap.h"
#include "music/core/midirecorder.h"
#include "musictestsupport.h"

#include <gtest/gtest.h>

using namespace velmora;
using namespace velmora::test;
using namespace std::chrono_literals;
using std::chrono::nanoseconds;

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

TEST(ClockMap, FollowsTheReadingsFurthestAheadOverItsWindow)
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
    // Readings that lag (taken before a step) leave it where it is for as long as the window...
    map.observe(1400ms, 5401ms);
    map.observe(1500ms, 5500ms);
    EXPECT_EQ(map.toOutput(1500ms), 5503ms);
    map.observe(1300ms + ClockMap::kWindow, 5302ms + ClockMap::kWindow);
    EXPECT_EQ(map.toOutput(1400ms), 5403ms);
    // ...then the greatest of the window's: an output clock running slow is followed.
    map.observe(1401ms + ClockMap::kWindow, 5402ms + ClockMap::kWindow);
    EXPECT_EQ(map.toOutput(1400ms), 5402ms);
    map.reset();
    EXPECT_FALSE(map.isSet());
    map.observe(0ms, 7ms);
    EXPECT_EQ(map.toOutput(0ms), 7ms);
}

// Every message of a beat carries the beat's place on the schedule plus the look-ahead, however
// late the tick that sends it; the stop's releases too. A recording keeps those times and lasts
// until the last of them.
TEST(StampedBeats, CarryTheirBeatsPlaceHoweverLateTheTick)
{
    Rig rig;
    nanoseconds now = 10s;
    rig.midi->setClock([&] { return now; });
    rig.player->setBoxText(MusicBox::Speed, QStringLiteral("180"));
    MidiRecorder recorder;
    recorder.start(*rig.midi);
    std::vector<nanoseconds> stamps;
    auto expectStamps = [&](nanoseconds place, int beat) {
        const auto &sent = rig.recorder->messages();
        EXPECT_FALSE(sent.empty()) << "beat " << beat;
        for (const RecordedMessage &m : sent) {
            EXPECT_EQ(m.due, place + kLookAhead) << "beat " << beat;
            stamps.push_back(place + kLookAhead);
        }
        rig.recorder->clear();
    };
    rig.startHarmonic(2); // its first chord sounds at the start
    expectStamps(10s, 0);
    const nanoseconds interval = std::chrono::milliseconds(rig.player->timerIntervalMs());
    const std::chrono::milliseconds late[] = {0ms, 7ms, 44ms, 180ms, 1ms, 30ms};
    for (int beat = 1; beat <= 6; ++beat) {
        if (beat == 6)
            rig.player->clickHarmonic(); // "Stop", carried out by the next tick
        now = 10s + beat * interval + late[beat - 1];
        rig.player->tick();
        expectStamps(10s + beat * interval, beat);
    }
    const MidiRecording recording = recorder.stop();
    ASSERT_EQ(recording.messages.size(), stamps.size());
    for (size_t i = 0; i < stamps.size(); ++i)
        EXPECT_EQ(recording.messages[i].time, stamps[i] - 10s) << i;
    EXPECT_EQ(recording.end, stamps.back() - 10s) << "the release after the stop is recorded";
}
