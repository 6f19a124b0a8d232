#include "music/core/musictables.h"
#include "musictestsupport.h"

#include <cmath>
#include <set>

using namespace velmora;
using namespace velmora::test;

namespace {

// The notes struck, in order.
std::vector<int> struck(const std::vector<Msg> &msgs)
{
    std::vector<int> notes;
    for (const Msg &m : msgs)
        if (m.status == kNoteOn)
            notes.push_back(m.data1);
    return notes;
}

} // namespace

TEST(ZodiacCycle, FirstChordOnlyChangedVoicesAndStopOnTheNextTick)
{
    Rig rig;
    rig.sky.place();
    rig.player->clickZodiac();
    EXPECT_TRUE(rig.take().empty()) << "the first chord waits for the first tick";
    EXPECT_TRUE(rig.sky.music.zodiacCycleOn);
    const Moment before = rig.sky.date;
    rig.player->tick();
    EXPECT_EQ(rig.sky.date, before.addHours(1)) << "the date moves before the chord";
    EXPECT_EQ(rig.sky.redraws, 0) << "moving the moment drew the chart; once is enough";
    // Every slot still holds note 0, which each voice releases before its first strike. Jupiter
    // strikes the key Saturn already sounds, so the key is released before it is struck again.
    std::vector<Msg> first = seq(std::vector<int>(7, 0), {47});
    for (const Msg &m : seq({47}, {47, 43, 91, 77, 62, 74}))
        first.push_back(m);
    EXPECT_EQ(rig.take(), first);

    rig.player->tick();
    EXPECT_TRUE(rig.take().empty()) << "an unchanged sky keeps every voice sounding";
    rig.sky.longitudes[0] = 12.0; // the Moon moves into the second third: 62 -> 64
    rig.player->tick();
    EXPECT_EQ(rig.take(), seq({62}, {64}));

    rig.player->clickZodiac();
    EXPECT_TRUE(rig.take().empty()) << "Stop releases nothing until the next tick";
    EXPECT_TRUE(rig.player->stopPending());
    rig.ticks(2); // the second tick finds the music stopped
    EXPECT_EQ(rig.take(), seq({47, 43, 91, 77, 64, 74}, {})) << "one release for a shared key";
    EXPECT_FALSE(rig.player->timerEnabled());
    EXPECT_FALSE(rig.sky.music.zodiacCycleOn);
}

// Ninety beats of each cycle where two slots land on one key (planets passing each other, a
// shuffled day chord, harmonic notes held at 127): the synthesiser never silences a voice the
// cycle holds, never gets a second strike on a sounding key, and the stop leaves nothing on.
TEST(EveryCycle, NinetyBeatsWithSharedKeysSilenceNoVoice)
{
    for (int cycle = 0; cycle < 3; ++cycle) {
        SCOPED_TRACE(cycle);
        Rig rig({0.9, 0.6, 0.3, 0.0, 0.5, 0.2});
        rig.sky.place();
        rig.sky.date = Moment(2026, 12, 2, 6, 0);
        rig.player->setOctaveSpanText(QStringLiteral("6"));
        rig.player->setBoxText(MusicBox::Pitch, QStringLiteral("72"));
        void (CyclePlayer::*const click[])() = {&CyclePlayer::clickZodiac, &CyclePlayer::clickDays,
                                                &CyclePlayer::clickHarmonic};
        VoiceTime voices;
        int shared = 0;
        (rig.player.get()->*click[cycle])();
        for (int t = 0; t < 90; ++t) {
            for (size_t i = 0; i < 7; ++i)
                rig.sky.longitudes[i] = std::fmod(rig.sky.longitudes[i] + 1.7 * double(7 - i), 360);
            rig.player->tick();
            rig.take();
            const MusicState &state = rig.player->state();
            voices.count(state, rig.synth);
            const std::set<int> keys(state.chordNotes.begin() + 1,
                                     state.chordNotes.begin() + 1 + state.chordSize);
            shared += int(keys.size()) < state.chordSize;
        }
        (rig.player.get()->*click[cycle])();
        rig.player->tick();
        rig.take();
        EXPECT_GT(shared, 0) << "the run must put two slots on one key";
        EXPECT_EQ(voices.silenced, 0) << "of " << voices.total << " voice-beats";
        EXPECT_EQ(rig.synth.doubledStrikes, 0);
        EXPECT_EQ(rig.synth.soundingKeys(), 0);
    }
}

TEST(ZodiacCycle, PairPositionsIncludingStraddlingPairs)
{
    const int expected[4][4] = {{1, 2, 4, 6}, {3, 10, 12, 14}, {5, 13, 20, 22}, {7, 15, 23, 30}};
    for (int p = 0; p < 4; ++p)
        for (int s = 0; s < 4; ++s)
            EXPECT_EQ(pairPosition(QString(QChar(u'A' + p)), QString(QChar(u'A' + s))),
                      expected[p][s])
                << p << s;
    EXPECT_EQ(pairPosition(QString(), QStringLiteral("B")), 0) << "an empty letter";
    EXPECT_EQ(pairPosition(QStringLiteral("E"), QStringLiteral("A")), 0);
    // p = 0: no octave lift and the scale degree is the third of the sign.
    EXPECT_EQ(zodiacNote(1, 0, 25.0), 24 + 4);
}

TEST(DayCycle, WednesdayHalfPastSixSoundsAtOnce)
{
    Rig rig({0.0, 0.3}); // keeps the order of the first two notes
    rig.player->clickDays();
    EXPECT_EQ(rig.take(), seq({0, 0, 0, 0}, {88, 95, 77, 65}));
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
    EXPECT_EQ(rig.take(), seq({88, 95, 77, 65}, {95, 89, 77, 60}));
    rig.player->tick(); // phase 3
    EXPECT_TRUE(rig.take().empty());
    rig.player->tick(); // phase 0 of the same hour: the clock moves on the next tick
    EXPECT_EQ(rig.sky.date.time().hour(), 7);
    EXPECT_EQ(rig.take().size(), 8u);

    rig.player->clickDays();
    rig.player->tick();
    EXPECT_EQ(rig.take(), seq({95, 89, 77, 60}, {}));

    Rig shuffled({0.9, 0.6, 0.6, 0.9}); // swaps 1<->4 and 2<->3: the chord is reversed
    shuffled.sky.date = Moment(2026, 12, 2, 12, 0);
    shuffled.player->clickDays();
    EXPECT_EQ(shuffled.take(), seq({0, 0, 0, 0}, {84 + 7, 84 + 0, 72 + 5, 60 + 5}));
}

// The ticks of one hour that strike a new chord follow the hour's group: A and E every other
// tick, B and F every tick, the rest once an hour.
TEST(DayCycle, GroupRegistersWeekdayAndTicksThatStrike)
{
    // Days of December 2026 (2 is a Wednesday); draws that move no position.
    // clang-format off
    struct { int day, hour, minute; std::vector<int> notes; const char *out, *strikes; }
    const cases[] = {
        {2, 9, 0, {95, 77, 77, 60}, "E: haeb", "0101"}, {2, 18, 0, {60, 55, 50, 45}, "C: bfcg", "0001"},
        {2, 5, 59, {83, 65, 65, 48}, "H: haeb", "0001"}, // still the last hour
        {6, 6, 0, {86, 93, 75, 63}, "A: dhae", "0101"}, {7, 6, 0, {90, 97, 79, 67}, "A: dhae", "0101"},
        {2, 12, 0, {89, 89, 72, 67}, "B: aebf", "1111"}, {2, 0, 0, {74, 69, 52, 59}, "D: cgdh", "0001"},
    };
    // clang-format on
    for (const auto &c : cases) {
        Rig rig({0.0, 0.3, 0.6, 0.9});
        rig.sky.date = Moment(2026, 12, c.day, c.hour, c.minute);
        rig.sky.jump = 0; // the hour stays
        rig.player->clickDays();
        EXPECT_EQ(struck(rig.take()), c.notes) << c.day << " " << c.hour;
        EXPECT_EQ(rig.player->boxText(MusicBox::Out), QLatin1String(c.out));
        std::string strikes;
        for (int t = 0; t < 4; ++t) {
            rig.player->tick();
            strikes += struck(rig.take()).empty() ? '0' : '1';
        }
        EXPECT_EQ(strikes, c.strikes) << c.out;
    }
}

TEST(HarmonicCycle, HoldOfTwoKeepsTheTopNoteAndRepeatsTheDegreeOnANewStep)
{
    Rig rig;
    rig.startHarmonic(2);
    EXPECT_EQ(rig.take(), seq({}, {72, 77, 69, 53, 41}));
    EXPECT_EQ(rig.sky.redraws, 1);
    EXPECT_TRUE(rig.sky.music.harmonicCycleOn);
    rig.player->tick();
    EXPECT_EQ(rig.take(), seq({77, 69, 53, 41}, {76, 69, 57, 45}));
    rig.player->tick();
    EXPECT_EQ(rig.take(), seq({76, 69, 57, 45}, {55, 52, 48, 36}));
    // Hold used up: the top note goes, the step moves to G and degree 2 repeats.
    rig.player->tick();
    EXPECT_EQ(rig.take(), seq({72, 55, 52, 48, 36}, {79, 72, 64, 48, 36}));
    EXPECT_EQ(rig.sky.music.harmonicStep, 1);
    EXPECT_EQ(rig.sky.music.harmonicDegree, 2);

    Rig stopped; // a stop while the top note is held releases it with the others
    stopped.startHarmonic(2);
    stopped.player->tick();
    stopped.take();
    stopped.player->clickHarmonic();
    EXPECT_FALSE(stopped.sky.music.harmonicCycleOn) << "the chart stops marking at once";
    EXPECT_TRUE(stopped.take().empty());
    stopped.player->tick();
    EXPECT_EQ(stopped.take(), seq({72, 76, 69, 57, 45}, {}));
}

TEST(HarmonicCycle, YearFormRollsTheYearOverOnFebruaryOnly)
{
    Rig rig;
    rig.sky.date = Moment(2026, 12, 6, 10, 0);
    rig.startHarmonic(0, true);
    rig.ticks(7);
    const std::vector<Moment> expected{{2026, 6, 21, 12}, {2026, 7, 7, 15},  {2026, 9, 22, 18},
                                       {2026, 11, 7, 21}, {2026, 12, 21, 0}, {2027, 2, 4, 3},
                                       {2027, 3, 20, 6},  {2027, 5, 5, 9}};
    EXPECT_EQ(rig.sky.datesSet, expected);
    EXPECT_EQ(rig.sky.updates, 8) << "each chord recomputes the sky at its moment";
    EXPECT_EQ(rig.sky.redraws, 0);

    Rig held; // a hold over February does not raise the year twice
    held.sky.date = Moment(2026, 1, 10, 10, 0);
    held.startHarmonic(1, true);
    held.ticks(15);
    const auto &d = held.sky.datesSet;
    ASSERT_EQ(d.size(), 16u);
    EXPECT_EQ(std::vector<Moment>(d.begin() + 10, d.begin() + 13),
              (std::vector<Moment>{{2027, 2, 4, 3}, {2027, 2, 4, 3}, {2027, 3, 20, 6}}));
    EXPECT_EQ(d[15], Moment(2027, 5, 5, 9));

    Rig last; // the last year of the range: no moment outside it
    last.sky.date = Moment(9999, 12, 1, 0, 0);
    last.startHarmonic(0, true);
    last.ticks(8);
    for (const Moment &m : last.sky.datesSet)
        EXPECT_TRUE(m.inRange());
    EXPECT_EQ(last.sky.date, Moment(9999, 12, 21, 0));
}

TEST(HarmonicCycle, SevenStepsLeaveTheDateAndSpanLiftsEachRound)
{
    Rig rig;
    rig.player->setOctaveSpanText(QStringLiteral("2"));
    rig.startHarmonic(0);
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

// The velocity walk turns after crossing a limit; past 127 or below 1 it is
// sent as the nearest legal byte.
TEST(Velocity, WalkTurnsAtTheLimitsAndStaysInsideTheByte)
{
    Rig high; // highest pitch, six octaves, widest volumes
    high.player->setOctaveSpanText(QStringLiteral("6"));
    high.player->setBoxText(MusicBox::Pitch, QStringLiteral("100"));
    high.enter(MusicBox::MinVolume, "0", 0);
    high.enter(MusicBox::MaxVolume, "300", 1);
    high.startHarmonic(0);
    EXPECT_EQ(high.player->state().pitchOffset, 72);
    std::vector<int> firstOfEach;
    int highest = 0;
    for (int t = 0; t < 60; ++t) {
        const auto msgs = high.take();
        ASSERT_EQ(struck(msgs).size(), 5u) << "every tick strikes the whole chord";
        for (const Msg &m : msgs) {
            highest = std::max(highest, m.data1);
            EXPECT_GT(m.data2, m.status == kNoteOn ? 0 : -1);
        }
        if (t < 13)
            firstOfEach.push_back(msgs.back().data2);
        high.player->tick();
    }
    EXPECT_EQ(highest, 127) << "notes are held at 127";
    EXPECT_EQ(firstOfEach,
              (std::vector<int>{80, 96, 112, 127, 112, 96, 80, 64, 48, 32, 16, 1, 16}));
    EXPECT_EQ(high.midi->rejectedCount(), 0);

    Rig exact; // limits the walk lands on: it turns only once past them
    exact.enter(MusicBox::MinVolume, "40", 0);
    exact.enter(MusicBox::MaxVolume, "104", 1);
    exact.startHarmonic(0);
    std::set<int> velocities;
    for (int t = 0; t < 40; ++t, exact.player->tick())
        for (const Msg &m : exact.take())
            if (m.status == kNoteOn)
                velocities.insert(m.data2);
    EXPECT_EQ(velocities, (std::set<int>{32, 40, 48, 56, 64, 72, 80, 88, 96, 104, 112}));
}

TEST(OutOfRange, LowestDayVoiceIsLeftOutAndIllegalBytesAreRejected)
{
    // Lowest pitch, Thursday 22:00: the lowest voice (-3) is left out.
    Rig low;
    low.sky.date = Moment(2026, 12, 3, 22, 0);
    low.enter(MusicBox::Pitch, "-5");
    low.player->clickDays();
    EXPECT_EQ(low.take(), seq({0, 0, 0, 0}, {23, 30, 13}));
    low.player->clickDays();
    low.player->tick();
    EXPECT_EQ(low.take(), seq({23, 30, 13}, {}));

    EXPECT_TRUE(isValidShortMessage(packShortMessage(kNoteOn, 127, 127)));
    EXPECT_FALSE(isValidShortMessage(packShortMessage(kNoteOn, 60, 128)));
    EXPECT_FALSE(isValidShortMessage(packShortMessage(kNoteOn, -3, 64)));
    EXPECT_FALSE(isValidShortMessage(0x3C40u)); // no status byte
    for (const auto &[key, channel] : {std::pair{-1, 0}, {128, 0}, {60, -1}, {60, 16}})
        EXPECT_FALSE(low.midi->state().sounding(key, channel)) << key << " " << channel;
    low.midi->sendShortMessage(packShortMessage(kNoteOn, 60, 200));
    EXPECT_TRUE(low.take().empty());
    EXPECT_EQ(low.midi->rejectedCount(), 1);
    // No controller outside the table, even where the memory beside it holds a sounding key.
    low.midi->sendShortMessage(packShortMessage(kNoteOn, 0, 100));
    for (const auto &[number, channel] : {std::pair{-1, 0}, {128, 0}, {0, -1}, {0, 16}})
        EXPECT_EQ(low.midi->state().controller(number, channel), -1) << number << " " << channel;
    low.midi->sendShortMessage(packShortMessage(kProgramChange, 9, 0, 15)); // the last channel
    EXPECT_EQ(low.midi->state().program(15), 9);
}

TEST(Protocol, StartDuringAPendingStopFinishesTheStopFirst)
{
    Rig rig;
    rig.sky.place();
    rig.player->clickZodiac();
    rig.player->tick();
    rig.take();
    rig.player->clickZodiac();
    EXPECT_TRUE(rig.player->isButtonEnabled(CycleButton::Harmonic));
    rig.startHarmonic(0);
    EXPECT_EQ(rig.take(), seq({47, 43, 91, 77, 62, 74}, {72, 77, 69, 53, 41}));
    EXPECT_FALSE(rig.sky.music.zodiacCycleOn);
    const int updatesBefore = rig.sky.updates;
    rig.player->tick();
    EXPECT_EQ(rig.sky.updates, updatesBefore) << "the zodiac does not take over the next tick";
    EXPECT_EQ(rig.take().size(), 10u);
}

TEST(Instrument, BankSelectThenProgramAtOnceWithoutRestrike)
{
    Rig rig;
    rig.startHarmonic(2);
    rig.take();
    rig.player->setInstrument(50);
    EXPECT_EQ(rig.take(),
              (std::vector<Msg>{
                  {kControlChange, 0, 0}, {kControlChange, 32, 0}, {kProgramChange, 50, 0}}));
    rig.player->setInstrument(0);
    EXPECT_EQ(rig.take().back(), (Msg{kProgramChange, 0, 0})) << "the first instrument";
    rig.player->setInstrument(-1); // an empty list: no program byte to send
    EXPECT_EQ(rig.take().size(), 2u);
}
