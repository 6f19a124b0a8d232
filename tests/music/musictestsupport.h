#pragma once

#include "core/random.h"
#include "fakesky.h"
#include "music/core/cycleplayer.h"
#include "music/core/midimodule.h"
#include "music/midi/recordingoutput.h"
#include "synthmodel.h"

#include <deque>
#include <gtest/gtest.h>
#include <ostream>
#include <vector>

// Tests that play real sound skip where no General MIDI SoundFont is installed.
#define VELMORA_SKIP_WITHOUT_SOUNDFONT()                                                           \
    if (velmora::SynthOutput::findSoundFont().isEmpty())                                           \
    GTEST_SKIP() << "no General MIDI SoundFont installed"

namespace velmora::test {

/// A decoded message, printed readably when a comparison fails.
struct Msg
{
    int status;
    int data1;
    int data2;
    friend bool operator==(const Msg &, const Msg &) = default;
    friend void PrintTo(const Msg &m, std::ostream *os)
    {
        const char *kind = m.status == kNoteOn ? "on" : m.status == kNoteOff ? "off" : "msg";
        *os << kind << "(" << m.data1 << "," << m.data2 << ")";
    }
};

/// Note-offs, then note-ons, at the default velocity.
inline std::vector<Msg> seq(const std::vector<int> &released, const std::vector<int> &struck)
{
    std::vector<Msg> out;
    for (int n : released)
        out.push_back({kNoteOff, n, 64});
    for (int n : struck)
        out.push_back({kNoteOn, n, 64});
    return out;
}

/// A player wired to a recorder or the given output, a fixed sky and repeating random draws.
struct Rig
{
    explicit Rig(std::vector<double> draws = {0.0},
                 std::unique_ptr<MidiOutput> out = std::make_unique<RecordingOutput>())
        : random([this, draws] {
            const double r = draws[drawn % draws.size()];
            ++drawn;
            return r;
        })
    {
        recorder = dynamic_cast<RecordingOutput *>(out.get());
        midi = std::make_unique<MidiModule>(std::move(out));
        midi->open();
        player = std::make_unique<CyclePlayer>(*midi, sky, random);
    }

    /// Types text into a box and presses Enter there.
    void enter(MusicBox box, const char *text, int volumeIndex = 0)
    {
        player->setBoxText(box, QString::fromLatin1(text));
        if (box == MusicBox::Pitch)
            player->enterPitch();
        else
            player->enterVolume(volumeIndex);
    }
    /// Starts the harmonic cycle with the given hold list index.
    void startHarmonic(int holdIndex, bool year = false)
    {
        player->setHoldIndex(holdIndex);
        player->setYearChecked(year);
        player->clickHarmonic();
    }
    void ticks(int count)
    {
        for (int t = 0; t < count; ++t)
            player->tick();
    }

    /// Everything sent since the last call, decoded; the recorder is emptied
    /// so each check sees only new messages. The synthesiser model hears it all.
    std::vector<Msg> take()
    {
        std::vector<Msg> out;
        for (const RecordedMessage &m : recorder->messages())
            out.push_back({static_cast<int>(m.packed & 0xFF),
                           static_cast<int>((m.packed >> 8) & 0xFF),
                           static_cast<int>((m.packed >> 16) & 0xFF)});
        synth.take(*recorder);
        return out;
    }

    size_t drawn = 0;
    SynthModel synth;
    FakeSky sky;
    RandomSource random;
    RecordingOutput *recorder = nullptr;
    std::unique_ptr<MidiModule> midi;
    std::unique_ptr<CyclePlayer> player;
};

} // namespace velmora::test
