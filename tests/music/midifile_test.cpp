#include "music/core/midifile.h"
#include "music/core/midimodule.h"
#include "music/core/midirecorder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <random>

using namespace velmora;
using namespace std::chrono_literals;
using std::chrono::nanoseconds;

namespace {

quint32 on(int key, int velocity)
{
    return packShortMessage(kNoteOn, key, velocity);
}
quint32 off(int key, int velocity)
{
    return packShortMessage(kNoteOff, key, velocity);
}

// The track's events with absolute ticks, read back without running status (which the writer
// must not use) so that a stray running status shows up as garbage.
struct Read
{
    qint64 tick;
    std::vector<int> bytes;
    friend bool operator==(const Read &, const Read &) = default;
    friend void PrintTo(const Read &r, std::ostream *os)
    {
        *os << "@" << r.tick << ":";
        for (int b : r.bytes)
            *os << " " << std::hex << b << std::dec;
    }
};

// Every event of the track, meta events (0xFF, type, data...) included.
std::vector<Read> trackEvents(const QByteArray &file)
{
    std::vector<Read> out;
    const auto *d = reinterpret_cast<const unsigned char *>(file.constData());
    qint64 at = 22, tick = 0;
    while (at < file.size()) {
        quint32 delta = 0;
        while (d[at] & 0x80)
            delta = (delta << 7) | (d[at++] & 0x7F);
        delta = (delta << 7) | d[at++];
        tick += delta;
        const int status = d[at];
        const qint64 n = status == 0xFF ? 3 + d[at + 2] : (status & 0xF0) == 0xC0 ? 2 : 3;
        out.push_back({tick, std::vector<int>(d + at, d + at + n)});
        at += n;
    }
    return out;
}

} // namespace

TEST(MidiFile, SmallFormatZeroFileByteForByte)
{
    MidiRecording r;
    r.program = 50;
    r.tempi = {{0ns, 120.0}, {1000ms, 60.0}};
    r.messages = {
        {on(60, 100), 0ms}, {off(60, 64), 500ms}, {on(64, 90), 500ms}, {off(64, 70), 2000ms}};
    r.end = 2000ms;
    const QByteArray expected =
        QByteArray::fromHex("4d546864 00000006 0000 0001 01e0"
                            "4d54726b 00000030"
                            "00 ff5103 07a120" // 500000 us a quarter
                            "00 b00000 00 b02000 00 c032"
                            "00 903c64"
                            "8360 803c40 00 90405a"
                            "8360 ff5103 0f4240" // 60 beats a minute from tick 960
                            "8360 804046"        // a quarter at the new tempo is a second
                            "00 ff2f00");
    EXPECT_EQ(standardMidiFile(r).toHex(' '), expected.toHex(' '));
}

// At the tempo a recording starts with, 120 beats a minute: 480 ticks a half second.
struct BalanceCase
{
    const char *name;
    std::vector<MidiRecording::Message> messages;
    nanoseconds end;
    std::vector<Read> expected;
};

class MidiFileBalance : public testing::TestWithParam<BalanceCase>
{};

TEST_P(MidiFileBalance, EveryNoteStartsAndEndsOnce)
{
    const BalanceCase &c = GetParam();
    std::vector<Read> events =
        trackEvents(standardMidiFile(MidiRecording{.messages = c.messages, .end = c.end}));
    std::erase_if(events, [](const Read &r) { return r.bytes[0] == 0xFF; });
    events.erase(events.begin(), events.begin() + 3); // bank select and program change
    EXPECT_EQ(events, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MidiFileBalance,
    testing::Values(
        BalanceCase{"StrayReleaseDropped",
                    {{off(0, 64), 0ms}, {on(60, 64), 0ms}, {off(60, 64), 500ms}},
                    500ms,
                    {{0, {0x90, 60, 64}}, {480, {0x80, 60, 64}}}},
        BalanceCase{"ReleaseThenStrikeOnOneTickKeepsItsOrder",
                    {{on(60, 64), 0ms}, {off(60, 64), 500ms}, {on(60, 70), 500ms}},
                    1000ms,
                    {{0, {0x90, 60, 64}},
                     {480, {0x80, 60, 64}},
                     {480, {0x90, 60, 70}},
                     {960, {0x80, 60, 64}}}},
        BalanceCase{
            "StrikeOnASoundingKeyReleasesItFirst",
            {{on(60, 64), 0ms}, {on(60, 80), 500ms}, {off(60, 30), 1000ms}, {off(60, 30), 1000ms}},
            1000ms,
            {{0, {0x90, 60, 64}},
             {480, {0x80, 60, 64}},
             {480, {0x90, 60, 80}},
             {960, {0x80, 60, 30}}}},
        BalanceCase{"NoteOfNoLengthLeftOut",
                    {{on(60, 64), 500ms}, {off(60, 64), 500ms + 100us}, {on(62, 64), 500ms}},
                    1000ms,
                    {{480, {0x90, 62, 64}}, {960, {0x80, 62, 64}}}},
        BalanceCase{"StruckAsTheRecordingEndsKeptOneTick",
                    {{on(60, 64), 0ms}, {off(60, 64), 1000ms}, {on(62, 64), 1000ms}},
                    1000ms,
                    {{0, {0x90, 60, 64}},
                     {960, {0x80, 60, 64}},
                     {960, {0x90, 62, 64}},
                     {961, {0x80, 62, 64}}}},
        BalanceCase{"VelocityZeroStrikeIsARelease",
                    {{on(60, 64), 0ms}, {on(60, 0), 250ms}},
                    1000ms,
                    {{0, {0x90, 60, 64}}, {240, {0x80, 60, 0}}}},
        BalanceCase{"LateSentEarlierDueComesFirst",
                    {{on(60, 64), 600ms}, {packShortMessage(kProgramChange, 5, 0), 550ms}},
                    1000ms,
                    {{528, {0xC0, 5}}, {576, {0x90, 60, 64}}, {960, {0x80, 60, 64}}}}),
    [](const auto &info) { return std::string(info.param.name); });

TEST(MidiFile, TicksLandWithinHalfATickOfTheTimeAReaderComputes)
{
    // Tempi that do not divide a second evenly, changed at odd moments: a reader adds up each
    // tempo's ticks, so an error that carried over from segment to segment would grow.
    MidiRecording r;
    r.tempi = {{0ns, 90.5}, {1234567us, 37.3}, {5432101us, 179.9}, {9000000us, 10.0}};
    std::mt19937 gen(7);
    std::uniform_int_distribution<qint64> us(0, 15'000'000);
    std::vector<qint64> times;
    for (int i = 0; i < 300; ++i)
        times.push_back(us(gen));
    std::sort(times.begin(), times.end());
    for (qint64 t : times)
        r.messages.push_back(
            {packShortMessage(kControlChange, 7, 100), std::chrono::microseconds(t)});
    r.end = 15s;
    const QByteArray file = standardMidiFile(r);

    // Tempo map and times as a reader sees them.
    qint64 lastTick = 0;
    double readerUs = 0, uspq = 500000;
    std::vector<double> seen;
    for (const Read &e : trackEvents(file)) {
        readerUs += double(e.tick - lastTick) * uspq / 480.0;
        lastTick = e.tick;
        if (e.bytes[0] == 0xFF && e.bytes[1] == 0x51)
            uspq = (e.bytes[3] << 16) | (e.bytes[4] << 8) | e.bytes[5];
        else if (e.bytes[0] == 0xB0 && e.bytes[1] == 7)
            seen.push_back(readerUs);
    }
    ASSERT_EQ(seen.size(), times.size());
    for (size_t i = 0; i < times.size(); ++i) {
        double bpm = r.tempi[0].beatsPerMinute;
        for (const auto &tempo : r.tempi)
            if (std::chrono::microseconds(times[i]) >= tempo.time)
                bpm = tempo.beatsPerMinute;
        const double halfTickUs = 0.5 * 60e6 / (bpm * 480);
        EXPECT_LE(std::fabs(seen[i] - double(times[i])), halfTickUs + 1)
            << "message " << i << " at " << times[i] << " us";
    }
    EXPECT_NEAR(double(midiFileLength(file)->count()) / 1000.0, readerUs, 1.0);
}

TEST(MidiFile, LengthOfFilesItDidNotWrite)
{
    // Format 1 with the tempo in its first track, running status, a SMPTE file, and bytes that
    // are not a MIDI file.
    const QByteArray format1 =
        QByteArray::fromHex("4d546864 00000006 0001 0002 0060"
                            "4d54726b 0000000b 00 ff5103 0f4240 00 ff2f00"
                            "4d54726b 0000000e 00 903c40 60 3c00 60 3e40 00 ff2f00");
    EXPECT_EQ(midiFileLength(format1), std::optional<nanoseconds>(2s)); // 192 ticks, 96 a second
    const QByteArray smpte = QByteArray::fromHex(
        "4d546864 00000006 0000 0001 e728 4d54726b 00000009 8150 903c40 00 ff2f00");
    EXPECT_EQ(midiFileLength(smpte),
              std::optional<nanoseconds>(208ms)); // 208 ticks of 1/(25 * 40) s
    EXPECT_FALSE(midiFileLength(smpte.left(13) + '\0' + smpte.mid(14))); // no ticks in a frame
    EXPECT_FALSE(midiFileLength(QByteArray("RIFF....WAVE")));
    EXPECT_FALSE(midiFileLength("MTrk" + format1.mid(4))) << "no header";
    // A system exclusive message and a three-letter text are stepped over whole, neither taken
    // for a tempo; a delta of five bytes is no number.
    const QByteArray head = QByteArray::fromHex("4d546864 00000006 0000 0001 0060 4d54726b");
    const QByteArray sysex = head + QByteArray::fromHex("00000019 00 f0037e7ff7 00 ff0103 616263 "
                                                        "00 903c40 60 803c40 00 ff2f00");
    EXPECT_EQ(midiFileLength(sysex), std::optional<nanoseconds>(500ms));
    EXPECT_EQ(readMidiFile(sysex)->messages.size(), 2u);
    EXPECT_FALSE(readMidiFile(head + QByteArray::fromHex("0000000c 8080808000 903c40 00 ff2f00")));
    EXPECT_FALSE(readMidiFile(head + QByteArray::fromHex("00000008 00 f0067e 00 ff2f00")));
    // Cut anywhere, a file is refused, never read past its end.
    for (qsizetype n = 0; n < format1.size() - 4; ++n)
        EXPECT_FALSE(readMidiFile(format1.left(n))) << n << " bytes";
    ASSERT_TRUE(readMidiFile(format1));
    const auto messages = readMidiFile(format1)->messages;
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[1].packed, packShortMessage(kNoteOn, 60, 0)) << "running status";
    EXPECT_EQ(messages[1].time, 1s);
}

TEST(MidiRecorder, KeepsWhatTheDeviceSendsFromItsStartWithTheInstrumentInForce)
{
    nanoseconds now = 5s;
    MidiModule midi;
    midi.setClock([&] { return now; });
    midi.sendShortMessage(packShortMessage(kControlChange, 0, 1));
    midi.sendShortMessage(packShortMessage(kProgramChange, 19, 0));
    midi.setTempo(90);
    midi.sendShortMessage(on(60, 64)); // before the recording: not in it

    MidiRecorder recorder;
    now = 6s;
    recorder.start(midi);
    now = 6500ms;
    midi.sendShortMessage(off(60, 64));
    midi.setTempo(120);
    now = 7s;
    const MidiRecording r = recorder.stop();
    midi.sendShortMessage(on(62, 64)); // after it

    EXPECT_EQ(r.program, 19);
    EXPECT_EQ(r.bankCoarse, 1);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0].packed, off(60, 64));
    EXPECT_EQ(r.messages[0].time, 500ms);
    ASSERT_EQ(r.tempi.size(), 2u);
    EXPECT_EQ(r.tempi[0].beatsPerMinute, 90);
    EXPECT_EQ(r.tempi[1].time, 500ms);
    EXPECT_EQ(r.end, 1s);
    EXPECT_EQ(midi.recorder(), nullptr);
}

TEST(MidiFileWriting, AnUnwritablePlaceSaysWhyAndLeavesNothing)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("no such folder/take.mid"));
    EXPECT_TRUE(checkWritable(missing));
    EXPECT_TRUE(writeFileAtomically(missing, "MThd"));
    EXPECT_TRUE(checkWritable(dir.path()));

    const QString good = dir.filePath(QStringLiteral("take.mid"));
    EXPECT_FALSE(checkWritable(good));
    EXPECT_FALSE(QFile::exists(good)) << "the check leaves no file behind";
    EXPECT_FALSE(writeFileAtomically(good, "MThd"));
    QFile f(good);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("MThd"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}
