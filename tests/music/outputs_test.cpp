#include "music/midi/alsaoutput.h"
#include "music/midi/midioutputs.h"
#include "music/midi/synthoutput.h"
#include "musictestsupport.h"

#include <QFile>

using namespace velmora;
using namespace velmora::test;

TEST(SynthOutput, SoundsANoteAndFallsQuietAfterItsRelease)
{
    if (SynthOutput::findSoundFont().isEmpty())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    SynthOutput synth(SynthOutput::Sink::Memory);
    ASSERT_TRUE(synth.open());
    EXPECT_TRUE(synth.errorString().isEmpty()) << synth.errorString().toStdString();
    synth.send(packShortMessage(kProgramChange, 0, 0));
    EXPECT_LT(synth.render(200), 1e-4f) << "silence before the first note";
    synth.send(packShortMessage(kNoteOn, 60, 100));
    EXPECT_GT(synth.render(500), 0.01f);
    synth.send(packShortMessage(kNoteOff, 60, 64));
    synth.render(3000);
    EXPECT_LT(synth.render(200), 0.001f);
}

TEST(SynthOutput, WithoutASoundDeviceItStillTakesMessages)
{
    // With every audio driver failing the synthesiser still opens.
    SynthOutput synth;
    ASSERT_TRUE(synth.open());
    synth.send(packShortMessage(kNoteOn, 60, 100));
    synth.send(packShortMessage(kNoteOff, 60, 100));
    if (synth.audioDriver().isEmpty()) {
        EXPECT_FALSE(synth.errorString().isEmpty()) << "no driver, so it must say why";
    }
    synth.close();
    EXPECT_FALSE(synth.isOpen());
}

TEST(AlsaOutput, OpensOrSaysWhyAndNeverLeavesAHalfOpenPort)
{
    AlsaOutput alsa;
    if (alsa.open()) {
        EXPECT_FALSE(alsa.address().isEmpty());
        alsa.send(packShortMessage(kNoteOn, 60, 100));
        alsa.close();
    } else {
        EXPECT_FALSE(alsa.errorString().isEmpty());
    }
    EXPECT_FALSE(alsa.isOpen());
    alsa.send(packShortMessage(kNoteOn, 60, 100)); // closed: ignored
}

TEST(MidiOutputs, FactoryAndFallback)
{
    EXPECT_EQ(createMidiOutput(QStringLiteral("alsa"))->kind(), QStringLiteral("alsa"));
    EXPECT_EQ(createMidiOutput(QStringLiteral("nonsense"))->kind(), QStringLiteral("synth"));

    MidiModule midi;
    const QString used = openMidiOutput(midi, QStringLiteral("alsa"));
    EXPECT_TRUE(midi.isOpen()) << "some output is always open";
    EXPECT_TRUE(used == QLatin1String("alsa") || used == QLatin1String("synth"));
}

TEST(SynthOutput, TenThousandBeatsWithoutASoundDeviceKeepMemoryFlat)
{
    // Nothing renders without a sound device, so nothing scheduled would ever be handed on:
    // the music must not pile up anywhere.
    auto owned = std::make_unique<SynthOutput>();
    SynthOutput *synth = owned.get();
    Rig rig;
    rig.midi = std::make_unique<MidiModule>(std::move(owned));
    ASSERT_TRUE(rig.midi->open());
    if (!synth->audioDriver().isEmpty())
        GTEST_SKIP() << "this machine has a sound device (" << synth->audioDriver().toStdString()
                     << ")";
    rig.player = std::make_unique<CyclePlayer>(*rig.midi, rig.sky, rig.random);
    std::chrono::nanoseconds now{0};
    rig.midi->setClock([&] { return now; });
    rig.player->setBoxText(MusicBox::Speed, QStringLiteral("180"));
    rig.player->clickDays(); // four chords a beat at most, the busiest cycle
    auto resident = [] {
        QFile status(QStringLiteral("/proc/self/status"));
        if (!status.open(QIODevice::ReadOnly))
            return -1.0;
        for (const QByteArray &line : status.readAll().split('\n'))
            if (line.startsWith("VmRSS:"))
                return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
        return -1.0;
    };
    for (int t = 0; t < 1000; ++t) { // the synthesiser's own buffers settle first
        now += std::chrono::milliseconds(rig.player->timerIntervalMs());
        rig.player->tick();
    }
    const double before = resident();
    for (int t = 0; t < 10000 * 4; ++t) {
        now += std::chrono::milliseconds(rig.player->timerIntervalMs());
        rig.player->tick();
    }
    const double after = resident();
    ASSERT_GT(before, 0);
    EXPECT_LT(after - before, 2.0) << before << " -> " << after << " MiB";
}
