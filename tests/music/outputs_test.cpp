#include "music/midi/alsaoutput.h"
#include "music/midi/midioutputs.h"
#include "music/midi/synthoutput.h"
#include "musictestsupport.h"

using namespace velmora;
using namespace velmora::test;

namespace {

bool haveSoundFont()
{
    return !SynthOutput::findSoundFont().isEmpty();
}

} // namespace

TEST(SynthOutput, SoundsANoteAndFallsQuietAfterItsRelease)
{
    if (!haveSoundFont())
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

TEST(SynthOutput, EveryCycleIsAudible)
{
    if (!haveSoundFont())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    for (CycleButton cycle : {CycleButton::Zodiac, CycleButton::Days, CycleButton::Harmonic}) {
        auto owned = std::make_unique<SynthOutput>(SynthOutput::Sink::Memory);
        SynthOutput *synth = owned.get();
        MidiModule midi(std::move(owned));
        ASSERT_TRUE(midi.open());
        FakeSky sky;
        sky.longitudes = {10, 40, 70, 100, 130, 160, 190};
        for (int j = 1; j <= 7; ++j)
            sky.planetLetters[j] = sky.signLetters[j] = QStringLiteral("B");
        RandomSource random([] { return 0.5; });
        CyclePlayer player(midi, sky, random);
        player.setBoxText(MusicBox::Speed, QStringLiteral("180"));
        player.setInstrument(0);
        if (cycle == CycleButton::Zodiac)
            player.clickZodiac();
        else if (cycle == CycleButton::Days)
            player.clickDays();
        else
            player.clickHarmonic();
        float peak = 0;
        for (int t = 0; t < 6; ++t) {
            player.tick();
            peak = std::max(peak, synth->render(player.timerIntervalMs()));
        }
        EXPECT_GT(peak, 0.01f) << static_cast<int>(cycle);
    }
}

TEST(SynthOutput, WithoutASoundDeviceItStillTakesMessages)
{
    // On a machine with no audio system every driver fails; the synthesiser
    // must still open and accept the stream.
    SynthOutput synth;
    ASSERT_TRUE(synth.open());
    synth.send(packShortMessage(kNoteOn, 60, 100));
    synth.send(packShortMessage(kNoteOff, 60, 100));
    if (synth.audioDriver().isEmpty()) {
        EXPECT_FALSE(synth.errorString().isEmpty());
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
    EXPECT_EQ(midiOutputNames().first(), QStringLiteral("synth"));
    for (const char *name : {"synth", "alsa", "record"})
        EXPECT_EQ(createMidiOutput(QString::fromLatin1(name))->kind(), QLatin1String(name));
    EXPECT_EQ(createMidiOutput(QStringLiteral("nonsense"))->kind(), QStringLiteral("synth"));

    MidiModule midi;
    const QString used = openMidiOutput(midi, QStringLiteral("alsa"));
    EXPECT_TRUE(midi.isOpen()) << "some output is always open";
    EXPECT_TRUE(used == QLatin1String("alsa") || used == QLatin1String("synth"));
}
