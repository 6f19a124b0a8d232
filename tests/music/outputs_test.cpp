#include "music/midi/alsaoutput.h"
#include "music/midi/midioutputs.h"
#include "music/midi/synthoutput.h"
#include "musictestsupport.h"

#include <future>
#include <thread>

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
    // With every audio driver failing the synthesiser still opens, and says why it is silent.
    SynthOutput synth;
    ASSERT_TRUE(synth.open());
    synth.send(packShortMessage(kNoteOn, 60, 100));
    synth.send(packShortMessage(kNoteOff, 60, 100));
    if (synth.audioDriver().isEmpty() || synth.soundFont().isEmpty()) {
        EXPECT_FALSE(synth.errorString().isEmpty());
        EXPECT_TRUE(synth.inaudibleReason().startsWith(QLatin1String("No sound: ")));
    } else {
        EXPECT_TRUE(synth.inaudibleReason().isEmpty());
    }
    synth.close();
    EXPECT_FALSE(synth.isOpen());
    EXPECT_TRUE(synth.inaudibleReason().isEmpty()) << "a closed output is not asked";
}

// The instruments load on a thread of their own; what was asked for meanwhile plays once they
// are there, and a chord released meanwhile stays released.
TEST(SynthOutput, AChordAskedForWhileLoadingSoundsOnceReady)
{
    if (SynthOutput::findSoundFont().isEmpty())
        GTEST_SKIP() << "no General MIDI SoundFont installed";
    std::promise<void> go;
    std::shared_future<void> released = go.get_future().share();
    SynthOutput synth(SynthOutput::Sink::Memory);
    synth.setLoadInBackground(true);
    synth.setBeforeLoad([released] { released.wait(); });
    ASSERT_TRUE(synth.open());
    EXPECT_TRUE(synth.isOpen());
    EXPECT_FALSE(synth.isReady());
    synth.send(packShortMessage(kProgramChange, 0, 0));
    synth.send(packShortMessage(kNoteOn, 62, 100));
    synth.send(packShortMessage(kNoteOff, 62, 64));
    EXPECT_EQ(synth.render(100), 0.0f) << "nothing to render before the synthesiser exists";
    go.set_value();
    synth.waitUntilReady();
    EXPECT_LT(synth.render(300), 1e-4f) << "the released note does not sound";
    synth.send(packShortMessage(kNoteOn, 60, 100));
    EXPECT_GT(synth.render(300), 0.01f);

    SynthOutput early(SynthOutput::Sink::Memory);
    early.setLoadInBackground(true);
    std::promise<void> go2;
    std::shared_future<void> released2 = go2.get_future().share();
    early.setBeforeLoad([released2] { released2.wait(); });
    early.open();
    early.send(packShortMessage(kNoteOn, 60, 100));
    go2.set_value();
    early.waitUntilReady();
    EXPECT_GT(early.render(300), 0.01f) << "the early note sounds once the instruments are in";
}

// Closing, or destroying, the output while it loads waits for the load and frees everything.
TEST(SynthOutput, ClosingWhileLoadingIsClean)
{
    for (int round = 0; round < 2; ++round) {
        auto synth = std::make_unique<SynthOutput>();
        synth->setBeforeLoad([] { std::this_thread::sleep_for(std::chrono::milliseconds(20)); });
        ASSERT_TRUE(synth->open());
        synth->send(packShortMessage(kNoteOn, 60, 100));
        if (round == 0) {
            synth->close();
            EXPECT_FALSE(synth->isOpen());
            synth->send(packShortMessage(kNoteOn, 60, 100)); // closed: ignored
        }
        synth.reset();
    }
}

TEST(AlsaOutput, OpensOrSaysWhyAndNeverLeavesAHalfOpenPort)
{
    AlsaOutput alsa;
    if (alsa.open()) {
        EXPECT_FALSE(alsa.address().isEmpty());
        // Connected to nothing, nobody hears it, and it says so.
        EXPECT_EQ(alsa.connectedTo().isEmpty(), !alsa.inaudibleReason().isEmpty());
        alsa.send(packShortMessage(kNoteOn, 60, 100));
        alsa.close();
    } else {
        EXPECT_FALSE(alsa.errorString().isEmpty());
    }
    EXPECT_FALSE(alsa.isOpen());
    alsa.send(packShortMessage(kNoteOn, 60, 100)); // closed: ignored
}

namespace {

// An output whose messages outlive it, so a test can read what an output got after the module
// let it go.
struct LoggingOutput : MidiOutput
{
    explicit LoggingOutput(std::vector<quint32> &log, QString silence = {})
        : log(log)
        , silence(std::move(silence))
    {}
    bool open() override { return opened = true; }
    void send(quint32 packed) override { log.push_back(packed); }
    void close() override
    {
        opened = false;
        log.push_back(0); // marks the close
    }
    bool isOpen() const override { return opened; }
    QString kind() const override { return QStringLiteral("log"); }
    QString inaudibleReason() const override { return silence; }

    std::vector<quint32> &log;
    QString silence;
    bool opened = false;
};

} // namespace

// A new output mid-piece gets the instrument and every sounding key at once; the old one is
// released first.
TEST(MidiModule, AReplacedOutputHandsOverTheInstrumentAndTheSoundingChord)
{
    std::vector<quint32> oldLog, newLog;
    MidiModule midi(std::make_unique<LoggingOutput>(oldLog));
    midi.open();
    for (quint32 m :
         {packShortMessage(kControlChange, 0, 0), packShortMessage(kControlChange, 32, 0),
          packShortMessage(kProgramChange, 50, 0), packShortMessage(kNoteOn, 60, 70),
          packShortMessage(kNoteOn, 64, 80), packShortMessage(kNoteOn, 67, 90),
          packShortMessage(kNoteOff, 64, 64)})
        midi.sendShortMessage(m);
    oldLog.clear();

    ASSERT_TRUE(midi.replaceOutput(std::make_unique<LoggingOutput>(newLog)));
    EXPECT_EQ(oldLog, (std::vector<quint32>{packShortMessage(kNoteOff, 60, 64),
                                            packShortMessage(kNoteOff, 67, 64),
                                            packShortMessage(kControlChange, 123, 0), 0}));
    EXPECT_EQ(newLog, (std::vector<quint32>{packShortMessage(kControlChange, 0, 0),
                                            packShortMessage(kControlChange, 32, 0),
                                            packShortMessage(kProgramChange, 50, 0),
                                            packShortMessage(kNoteOn, 60, 70),
                                            packShortMessage(kNoteOn, 67, 90)}));

    // A release after the change ends the key on the new output; the state follows it.
    midi.sendShortMessage(packShortMessage(kNoteOff, 60, 64));
    EXPECT_FALSE(midi.state().sounding(60));
    EXPECT_TRUE(midi.state().sounding(67));
    midi.sendShortMessage(packShortMessage(kControlChange, 123, 0));
    EXPECT_EQ(midi.state().soundingCount(), 0);
    EXPECT_EQ(midi.state().program(), 50);
}

TEST(MidiModule, SaysWhenNobodyCanHear)
{
    std::vector<quint32> log;
    MidiModule none;
    EXPECT_TRUE(none.inaudibleReason().startsWith(QLatin1String("No sound: ")));
    MidiModule midi(std::make_unique<LoggingOutput>(log, QStringLiteral("No sound: test")));
    EXPECT_FALSE(midi.inaudibleReason().isEmpty()) << "not open yet";
    midi.open();
    EXPECT_EQ(midi.inaudibleReason(), QStringLiteral("No sound: test"));
    midi.replaceOutput(std::make_unique<LoggingOutput>(log));
    EXPECT_TRUE(midi.inaudibleReason().isEmpty());
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
