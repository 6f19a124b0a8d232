#include "music/core/musictables.h"
#include "musictestsupport.h"

using namespace velmora;
using namespace velmora::test;

namespace {

// Sun 95° D/B, Moon 0° A/A, Mercury 25° C/D, Venus 359.5° D/D, Mars 130° B/A,
// Jupiter 200° A/C, Saturn 300° C/B; longitudes in Moon..Saturn order.
void placeSky(FakeSky &sky)
{
    sky.longitudes = {0.0, 25.0, 359.5, 95.0, 130.0, 200.0, 300.0};
    const char *planet = " DACDBAC";
    const char *sign = " BADDACB";
    for (int j = 1; j <= 7; ++j) {
        sky.planetLetters[j] = QString(QLatin1Char(planet[j]));
        sky.signLetters[j] = QString(QLatin1Char(sign[j]));
    }
}

// Notes of the sky above, slot 1 (Saturn) to slot 7 (Sun).
const std::vector<int> kSkyChord{47, 47, 43, 91, 77, 62, 74};

std::vector<int> velocitiesOfNoteOns(const std::vector<Msg> &msgs)
{
    std::vector<int> v;
    for (const Msg &m : msgs)
        if (m.status == kNoteOn)
            v.push_back(m.data2);
    return v;
}

} // namespace

TEST(ZodiacCycle, FirstTickReleasesNoteZeroThenStrikesEveryVoiceFromSaturnUp)
{
    Rig rig;
    placeSky(rig.sky);
    rig.player->clickZodiac();
    EXPECT_TRUE(rig.take().empty()) << "the first chord waits for the first tick";
    EXPECT_TRUE(rig.sky.music.zodiacCycleOn);

    const Moment before = rig.sky.date;
    rig.player->tick();
    EXPECT_EQ(rig.sky.date, before.addHours(1)) << "the date moves before the chord";
    std::vector<Msg> expected(7, off(0));
    for (int note : kSkyChord)
        expected.push_back(on(note));
    EXPECT_EQ(rig.take(), expected);
    EXPECT_EQ(rig.player->state().chordNotes[7], 74) << "Sun at 95° with D/B";
}

TEST(ZodiacCycle, OnlyChangedVoicesAreStruckAgainAndStopReleasesAllSeven)
{
    Rig rig;
    placeSky(rig.sky);
    rig.player->clickZodiac();
    rig.player->tick();
    rig.take();

    rig.player->tick();
    EXPECT_TRUE(rig.take().empty()) << "an unchanged sky keeps every voice sounding";

    rig.sky.longitudes[0] = 12.0; // the Moon moves into the second third: 62 -> 64
    rig.player->tick();
    EXPECT_EQ(rig.take(), (std::vector<Msg>{off(62), on(64)}));

    rig.player->clickZodiac();
    EXPECT_TRUE(rig.take().empty()) << "Stop releases nothing until the next tick";
    EXPECT_TRUE(rig.player->stopPending());
    rig.player->tick();
    EXPECT_EQ(rig.take(),
              (std::vector<Msg>{off(47), off(47), off(43), off(91), off(77), off(64), off(74)}));
    EXPECT_FALSE(rig.player->timerEnabled());
    EXPECT_FALSE(rig.sky.music.zodiacCycleOn);
    rig.player->tick();
    EXPECT_TRUE(rig.take().empty()) << "no tick runs once the music stopped";
}

TEST(ZodiacCycle, StopBeforeTheFirstTickReleasesNothing)
{
    Rig rig;
    placeSky(rig.sky);
    rig.player->clickZodiac();
    rig.player->clickZodiac();
    rig.player->tick();
    EXPECT_TRUE(rig.take().empty());
}

TEST(PairPositions, FirstOccurrenceIncludingStraddlingPairs)
{
    const char *letters = "ABCD";
    const int expected[4][4] = {{1, 2, 4, 6}, {3, 10, 12, 14}, {5, 13, 20, 22}, {7, 15, 23, 30}};
    for (int p = 0; p < 4; ++p)
        for (int s = 0; s < 4; ++s)
            EXPECT_EQ(
                pairPosition(QString(QLatin1Char(letters[p])), QString(QLatin1Char(letters[s]))),
                expected[p][s])
                << letters[p] << letters[s];
    EXPECT_EQ(pairPosition(QString(), QStringLiteral("B")), 0) << "an empty letter";
    EXPECT_EQ(pairPosition(QStringLiteral("E"), QStringLiteral("A")), 0);
    // p = 0: no octave lift and the scale degree is the third of the sign.
    EXPECT_EQ(zodiacNote(1, 0, 25.0), 24 + 4);
}

TEST(VelocityWalk, TurnsAfterCrossingALimit)
{
    Rig rig;
    rig.player->setHoldIndex(0); // every tick strikes the whole chord
    rig.player->setBoxText(MusicBox::MinVolume, QStringLiteral("40"));
    rig.player->enterVolume(0);
    rig.player->setBoxText(MusicBox::MaxVolume, QStringLiteral("100"));
    rig.player->enterVolume(1);
    rig.player->clickHarmonic();
    std::vector<int> walk;
    for (int t = 0; t < 14; ++t) {
        const auto v = velocitiesOfNoteOns(rig.take());
        ASSERT_EQ(v.size(), 5u);
        walk.push_back(v.front());
        rig.player->tick();
    }
    EXPECT_EQ(walk, (std::vector<int>{78, 86, 94, 102, 94, 86, 78, 70, 62, 54, 46, 38, 46, 54}));
}

TEST(DayCycle, WednesdayHalfPastSixSoundsAtOnce)
{
    Rig rig({0.0, 0.3}); // keeps the order of the first two notes
    rig.player->clickDays();
    EXPECT_EQ(rig.take(),
              (std::vector<Msg>{off(0), off(0), off(0), off(0), on(88), on(95), on(77), on(65)}));
    EXPECT_EQ(rig.player->boxText(MusicBox::Out), QStringLiteral("A: dhae"));
    EXPECT_TRUE(rig.player->boxRewritten(MusicBox::Out));
    EXPECT_EQ(rig.player->timerIntervalMs(), 375) << "four ticks per beat at 40 bpm";

    // Phase 1: the clock moves one hour (07:30, "haebA"); group A is not due.
    rig.player->tick();
    EXPECT_TRUE(rig.sky.hourSelected);
    EXPECT_EQ(rig.sky.date.time().hour(), 7);
    EXPECT_TRUE(rig.take().empty());
    EXPECT_EQ(rig.player->boxText(MusicBox::Out), QStringLiteral("A: haeb"));
    // Phase 2: due again, the old chord is released first.
    rig.player->tick();
    EXPECT_EQ(rig.take(), (std::vector<Msg>{off(88), off(95), off(77), off(65), on(95), on(89),
                                            on(77), on(60)}));
    rig.player->tick(); // phase 3
    EXPECT_TRUE(rig.take().empty());
    rig.player->tick(); // phase 0 of the same hour: the clock moves on the next tick
    EXPECT_EQ(rig.sky.date.time().hour(), 7);
    EXPECT_EQ(rig.take().size(), 8u);

    rig.player->clickDays();
    rig.player->tick();
    EXPECT_EQ(rig.take(), (std::vector<Msg>{off(95), off(89), off(77), off(60)}));
}

struct DayCase
{
    const char *name;
    int day; // of December 2026: 2 is a Wednesday
    int hour;
    int minute;
    std::vector<int> notes;
    const char *out;
};

class DayChords : public testing::TestWithParam<DayCase>
{};

TEST_P(DayChords, GroupRegistersAndWeekday)
{
    const DayCase &c = GetParam();
    Rig rig({0.0, 0.3, 0.6, 0.9}); // j = 1, 2, 3, 4: no position moves
    rig.sky.date = Moment(2026, 12, c.day, c.hour, c.minute);
    rig.player->clickDays();
    std::vector<Msg> expected(4, off(0));
    for (int n : c.notes)
        expected.push_back(on(n));
    EXPECT_EQ(rig.take(), expected);
    EXPECT_EQ(rig.player->boxText(MusicBox::Out), QLatin1String(c.out));
}

INSTANTIATE_TEST_SUITE_P(
    Hours, DayChords,
    testing::Values(DayCase{"E_slot2_down", 2, 9, 0, {95, 77, 77, 60}, "E: haeb"},
                    DayCase{"F_slot2_down", 2, 15, 0, {89, 72, 79, 62}, "F: ebfc"},
                    DayCase{"C", 2, 18, 0, {60, 55, 50, 45}, "C: bfcg"},
                    DayCase{"G_slot2_up", 2, 21, 0, {67, 62, 57, 40}, "G: fcgd"},
                    DayCase{"D", 2, 0, 0, {74, 69, 52, 59}, "D: cgdh"},
                    DayCase{"H_slot3_up", 2, 3, 0, {81, 64, 71, 53}, "H: gdha"},
                    DayCase{"FiveFiftyNineIsLastHour", 2, 5, 59, {83, 65, 65, 48}, "H: haeb"},
                    DayCase{"SixIsFirstHour", 2, 6, 0, {88, 95, 77, 65}, "A: dhae"},
                    DayCase{"ThursdayDown3", 3, 6, 0, {85, 92, 74, 62}, "A: dhae"},
                    DayCase{"FridayUp3", 4, 6, 0, {91, 98, 80, 68}, "A: dhae"},
                    DayCase{"SundayDown2", 6, 6, 0, {86, 93, 75, 63}, "A: dhae"},
                    DayCase{"MondayUp2", 7, 6, 0, {90, 97, 79, 67}, "A: dhae"},
                    DayCase{"TuesdayDown1", 1, 6, 0, {87, 94, 76, 64}, "A: dhae"},
                    DayCase{"SaturdayUp1", 5, 6, 0, {89, 96, 78, 66}, "A: dhae"}),
    [](const testing::TestParamInfo<DayCase> &info) { return std::string(info.param.name); });

TEST(DayCycle, FourPositionShuffleAndEveryTickForGroupB)
{
    Rig rig({0.9, 0.6, 0.6, 0.9}); // swaps 1<->4 and 2<->3: the chord is reversed
    rig.sky.date = Moment(2026, 12, 2, 12, 0);
    rig.player->clickDays();
    auto msgs = rig.take();
    msgs.erase(msgs.begin(), msgs.begin() + 4);
    EXPECT_EQ(msgs, (std::vector<Msg>{on(84 + 7), on(84 + 0), on(72 + 5), on(60 + 5)}));
    for (int t = 0; t < 3; ++t) {
        rig.player->tick();
        EXPECT_EQ(rig.take().size(), 8u) << "group B strikes on every tick";
    }
}

TEST(HarmonicCycle, HoldOfTwoKeepsTheTopNoteAndRepeatsTheDegreeOnANewStep)
{
    Rig rig;
    rig.player->setHoldIndex(2);
    rig.player->clickHarmonic();
    EXPECT_EQ(rig.take(), (std::vector<Msg>{on(72), on(77), on(69), on(53), on(41)}));
    EXPECT_EQ(rig.sky.redraws, 1);
    EXPECT_TRUE(rig.sky.music.harmonicCycleOn);

    rig.player->tick();
    EXPECT_EQ(rig.take(), (std::vector<Msg>{off(77), off(69), off(53), off(41), on(76), on(69),
                                            on(57), on(45)}));
    rig.player->tick();
    EXPECT_EQ(rig.take(), (std::vector<Msg>{off(76), off(69), off(57), off(45), on(55), on(52),
                                            on(48), on(36)}));
    // Hold used up: the top note goes, the step moves to G and degree 2 repeats.
    rig.player->tick();
    EXPECT_EQ(rig.take(), (std::vector<Msg>{off(72), off(55), off(52), off(48), off(36), on(79),
                                            on(72), on(64), on(48), on(36)}));
    EXPECT_EQ(rig.sky.music.harmonicStep, 1);
    EXPECT_EQ(rig.sky.music.harmonicDegree, 2);
}

TEST(HarmonicCycle, StopTickReleasesTheHeldTopNote)
{
    Rig rig;
    rig.player->setHoldIndex(2);
    rig.player->clickHarmonic();
    rig.player->tick();
    rig.take();
    rig.player->clickHarmonic();
    EXPECT_FALSE(rig.sky.music.harmonicCycleOn) << "the chart stops marking at once";
    EXPECT_TRUE(rig.take().empty());
    rig.player->tick();
    EXPECT_EQ(rig.take(), (std::vector<Msg>{off(72), off(76), off(69), off(57), off(45)}));
}

TEST(HarmonicCycle, YearFormRollsTheYearOverOnFebruaryOnly)
{
    Rig rig;
    rig.sky.date = Moment(2026, 12, 6, 10, 0);
    rig.player->setHoldIndex(0);
    rig.player->setYearChecked(true);
    rig.player->clickHarmonic();
    for (int t = 0; t < 15; ++t)
        rig.player->tick();
    const std::vector<Moment> expected{
        {2026, 6, 21, 12}, {2026, 7, 7, 15}, {2026, 9, 22, 18}, {2026, 11, 7, 21},
        {2026, 12, 21, 0}, {2027, 2, 4, 3},  {2027, 3, 20, 6},  {2027, 5, 5, 9},
        {2027, 6, 21, 12}, {2027, 7, 7, 15}, {2027, 9, 22, 18}, {2027, 11, 7, 21},
        {2027, 12, 21, 0}, {2028, 2, 4, 3},  {2028, 3, 20, 6},  {2028, 5, 5, 9}};
    EXPECT_EQ(rig.sky.datesSet, expected);
    EXPECT_EQ(rig.sky.updates, 16) << "each chord recomputes the sky at its moment";
    EXPECT_EQ(rig.sky.redraws, 0);
}

TEST(HarmonicCycle, HoldOverFebruaryRaisesTheYearOnce)
{
    Rig rig;
    rig.sky.date = Moment(2026, 1, 10, 10, 0);
    rig.player->setHoldIndex(1);
    rig.player->setYearChecked(true);
    rig.player->clickHarmonic();
    for (int t = 0; t < 15; ++t)
        rig.player->tick();
    const auto &d = rig.sky.datesSet;
    ASSERT_EQ(d.size(), 16u);
    EXPECT_EQ(d[10], Moment(2027, 2, 4, 3));
    EXPECT_EQ(d[11], Moment(2027, 2, 4, 3));
    EXPECT_EQ(d[12], Moment(2027, 3, 20, 6));
    EXPECT_EQ(d[15], Moment(2027, 5, 5, 9));
}

TEST(HarmonicCycle, SevenStepsLeaveTheDateAndSpanLiftsEachRound)
{
    Rig rig;
    rig.player->setHoldIndex(0);
    rig.player->setOctaveSpanText(QStringLiteral("2"));
    rig.player->clickHarmonic();
    const Moment start = rig.sky.date;
    std::vector<int> tops;
    for (int t = 0; t < 15; ++t) {
        tops.push_back(rig.player->state().chordNotes[1]);
        rig.player->tick();
    }
    EXPECT_EQ(rig.sky.date, start);
    EXPECT_TRUE(rig.sky.datesSet.empty());
    EXPECT_EQ(tops, (std::vector<int>{72, 79, 74, 81, 76, 83, 77, 84, 91, 86, 93, 88, 95, 89, 72}));
}

TEST(HarmonicCycle, YearFormStaysInsideTheLastYear)
{
    Rig rig;
    rig.sky.date = Moment(9999, 12, 1, 0, 0);
    rig.player->setHoldIndex(0);
    rig.player->setYearChecked(true);
    rig.player->clickHarmonic();
    for (int t = 0; t < 8; ++t)
        rig.player->tick();
    for (const Moment &m : rig.sky.datesSet)
        EXPECT_TRUE(m.inRange());
    EXPECT_EQ(rig.sky.date, Moment(9999, 12, 21, 0)) << "the last point inside the range";
}

TEST(OutOfRange, LowestAndHighestSettingsSendOnlyLegalBytes)
{
    // Lowest pitch, Thursday 22:00: the lowest voice (-3) is left out.
    Rig low;
    low.sky.date = Moment(2026, 12, 3, 22, 0);
    low.player->setBoxText(MusicBox::Pitch, QStringLiteral("-5"));
    low.player->enterPitch();
    low.player->clickDays();
    EXPECT_EQ(low.take(),
              (std::vector<Msg>{off(0), off(0), off(0), off(0), on(23), on(30), on(13)}));
    low.player->clickDays();
    low.player->tick();
    EXPECT_EQ(low.take(), (std::vector<Msg>{off(23), off(30), off(13)}));

    // Highest pitch, six octaves, widest volumes: notes held at 127, the walk
    // past 127 sent as 127 and past 1 as 1.
    Rig high;
    high.player->setHoldIndex(0);
    high.player->setOctaveSpanText(QStringLiteral("6"));
    high.player->setBoxText(MusicBox::Pitch, QStringLiteral("100"));
    high.player->setBoxText(MusicBox::MinVolume, QStringLiteral("0"));
    high.player->enterVolume(0);
    high.player->setBoxText(MusicBox::MaxVolume, QStringLiteral("300"));
    high.player->enterVolume(1);
    high.player->clickHarmonic();
    EXPECT_EQ(high.player->state().pitchOffset, 72);
    std::vector<int> velocities;
    int highest = 0;
    for (int t = 0; t < 60; ++t) {
        for (const Msg &m : high.take()) {
            highest = std::max(highest, m.data1);
            if (m.status == kNoteOn && velocities.size() < 13 * 5)
                velocities.push_back(m.data2);
            EXPECT_LT(m.data2, 128);
            EXPECT_GT(m.data2, m.status == kNoteOn ? 0 : -1);
        }
        high.player->tick();
    }
    EXPECT_EQ(highest, 127);
    std::vector<int> firstOfEach;
    for (size_t i = 0; i < velocities.size(); i += 5)
        firstOfEach.push_back(velocities[i]);
    EXPECT_EQ(firstOfEach,
              (std::vector<int>{80, 96, 112, 127, 112, 96, 80, 64, 48, 32, 16, 1, 16}));
    EXPECT_EQ(high.midi->rejectedCount(), 0);
}

TEST(Protocol, StartDuringAPendingStopFinishesTheStopFirst)
{
    Rig rig;
    placeSky(rig.sky);
    rig.player->clickZodiac();
    rig.player->tick();
    rig.take();
    rig.player->clickZodiac();
    EXPECT_TRUE(rig.player->isButtonEnabled(CycleButton::Harmonic));

    rig.player->setHoldIndex(0);
    rig.player->clickHarmonic();
    std::vector<Msg> expected;
    for (int note : kSkyChord)
        expected.push_back(off(note));
    for (int note : {72, 77, 69, 53, 41})
        expected.push_back(on(note));
    EXPECT_EQ(rig.take(), expected);
    EXPECT_FALSE(rig.sky.music.zodiacCycleOn);

    const int updatesBefore = rig.sky.updates;
    rig.player->tick();
    EXPECT_EQ(rig.sky.updates, updatesBefore) << "the zodiac does not take over the next tick";
    EXPECT_EQ(rig.take().size(), 10u);
}

TEST(Protocol, ButtonsTimerAndPitchBox)
{
    Rig rig;
    const auto enabled = [&] {
        return std::vector<bool>{rig.player->isButtonEnabled(CycleButton::Zodiac),
                                 rig.player->isButtonEnabled(CycleButton::Days),
                                 rig.player->isButtonEnabled(CycleButton::Harmonic)};
    };
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true}));
    rig.player->clickDays();
    EXPECT_TRUE(rig.player->isPlaying(CycleButton::Days));
    EXPECT_EQ(enabled(), (std::vector<bool>{false, true, false}));
    EXPECT_TRUE(rig.player->timerEnabled());
    rig.player->clickZodiac(); // disabled: ignored
    EXPECT_TRUE(rig.player->isPlaying(CycleButton::Days));
    rig.player->clickDays();
    EXPECT_FALSE(rig.player->isPlaying(CycleButton::Days));
    EXPECT_EQ(enabled(), (std::vector<bool>{true, true, true}));
    EXPECT_TRUE(rig.player->timerEnabled()) << "the timer runs until the stop tick";
    rig.player->tick();
    EXPECT_FALSE(rig.player->timerEnabled());
    EXPECT_TRUE(rig.player->pitchBoxEnabled());
}

TEST(Instrument, BankSelectThenProgramAtOnceWithoutRestrike)
{
    Rig rig;
    rig.player->setHoldIndex(2);
    rig.player->clickHarmonic();
    rig.take();
    rig.player->setInstrument(50);
    const auto raw = rig.recorder->messages();
    ASSERT_EQ(raw.size(), 3u);
    EXPECT_EQ(raw[0].packed, 176u);
    EXPECT_EQ(raw[1].packed, 8368u);
    EXPECT_EQ(raw[2].packed, 50u * 256 + 192);
    rig.take();
    rig.player->setInstrument(-1); // an empty list: no program byte to send
    EXPECT_EQ(rig.take().size(), 2u);
}

TEST(Packing, EveryMessageKindAndIllegalBytes)
{
    EXPECT_EQ(packShortMessage(kNoteOn, 60, 100), 60u * 256 + 144 + 100u * 65536);
    EXPECT_EQ(packShortMessage(kNoteOff, 127, 0), 127u * 256 + 128);
    EXPECT_EQ(packShortMessage(kControlChange, 0, 0), 176u);
    EXPECT_EQ(packShortMessage(kControlChange, 32, 0), 8368u);
    EXPECT_EQ(packShortMessage(kProgramChange, 127, 0), 127u * 256 + 192);
    EXPECT_TRUE(isValidShortMessage(packShortMessage(kNoteOn, 127, 127)));
    EXPECT_FALSE(isValidShortMessage(packShortMessage(kNoteOn, 60, 128)));
    EXPECT_FALSE(isValidShortMessage(packShortMessage(kNoteOn, -3, 64)));
    EXPECT_FALSE(isValidShortMessage(0x3C40u));

    Rig rig;
    rig.midi->sendShortMessage(packShortMessage(kNoteOn, 60, 200));
    EXPECT_TRUE(rig.take().empty());
    EXPECT_EQ(rig.midi->rejectedCount(), 1);
}

TEST(ChartColours, HarmonicStepsDegreesAndZodiacThirds)
{
    ChartMusicState s;
    s.harmonicCycleOn = true;
    s.modernCycle = true;
    s.harmonicStep = 7;
    s.harmonicDegree = 6;
    EXPECT_EQ(soundingPlanetColour(s, 6, 0), kChartBlue);
    EXPECT_EQ(soundingPlanetColour(s, 2, 0), kChartGreen);
    EXPECT_EQ(soundingPlanetColour(s, 1, 0), kChartRed);
    s.harmonicStep = 6;
    EXPECT_EQ(soundingPlanetColour(s, 2, 0), kChartBlue);
    s.modernCycle = false;
    EXPECT_EQ(soundingPlanetColour(s, 6, 0), kChartBlue);
    s.harmonicStep = 0; // a = 4, b = 4: blue and no green
    s.harmonicDegree = 2;
    EXPECT_EQ(soundingPlanetColour(s, 4, 0), kChartBlue);
    for (int ring = 1; ring <= 7; ++ring)
        EXPECT_NE(soundingPlanetColour(s, ring, 0), kChartGreen);

    ChartMusicState z;
    z.zodiacCycleOn = true;
    EXPECT_EQ(soundingPlanetColour(z, 3, 0), kChartGreen);
    EXPECT_EQ(soundingPlanetColour(z, 3, 1), kChartRed);
    EXPECT_EQ(soundingPlanetColour(z, 3, 2), kChartBlue);
    EXPECT_EQ(soundingPlanetColour(ChartMusicState{}, 3, 2), kChartRed);
}
