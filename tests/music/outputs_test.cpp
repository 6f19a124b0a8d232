#include "music/midi/alsaoutput.h"
#include "music/midi/midioutputs.h"
#include "music/midi/synthoutput.h"
#include "musictestsupport.h"

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
