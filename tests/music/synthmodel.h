#pragma once

// A General MIDI synthesiser as far as the music can tell, fed with what a recording output
// received: a note-on starts a voice, and one note-off ends every voice sounding on that key of
// the channel, however many note-ons started them. Used to find voices the music believes
// sounding that a real synthesiser has already silenced.

#include "music/core/cycleplayer.h"
#include "music/core/midimodule.h"
#include "music/midi/recordingoutput.h"

#include <algorithm>
#include <array>

namespace velmora::test {

class SynthModel
{
public:
    void play(quint32 packed)
    {
        const int status = int(packed & 0xF0u);
        const auto data1 = size_t((packed >> 8) & 0x7Fu);
        const int data2 = int((packed >> 16) & 0x7Fu);
        if (status == kNoteOn && data2 > 0) {
            doubledStrikes += m_voices[data1] > 0; // two voices now end with one release
            ++m_voices[data1];
        } else if (status == kNoteOn || status == kNoteOff) {
            m_voices[data1] = 0;
        } else if (status == kControlChange && (data1 == 120 || data1 == 123)) {
            m_voices.fill(0); // all sound off, all notes off
        } else if (status == kProgramChange) {
            program = int(data1);
        }
    }

    /// Plays what the output kept, and empties it.
    void take(RecordingOutput &out)
    {
        for (const RecordedMessage &m : out.messages())
            play(m.packed);
        out.clear();
    }

    bool sounding(int key) const { return key >= 0 && key < 128 && m_voices[size_t(key)] > 0; }
    int soundingKeys() const
    {
        return int(std::count_if(m_voices.begin(), m_voices.end(), [](int v) { return v > 0; }));
    }

    /// Note-ons on a key that was already sounding.
    int doubledStrikes = 0;
    int program = 0;

private:
    std::array<int, 128> m_voices{}; // one channel: the music uses the first
};

/// Voice-time in ticks: every slot of the running chord that holds a MIDI note counts one tick,
/// and counts as silenced when the synthesiser no longer sounds its key.
struct VoiceTime
{
    int total = 0;
    int silenced = 0;

    void count(const MusicState &state, const SynthModel &synth)
    {
        for (int slot = 1; slot <= state.chordSize; ++slot) {
            const int note = state.chordNotes[size_t(slot)];
            if (note < 0 || note > 127)
                continue;
            ++total;
            silenced += !synth.sounding(note);
        }
    }
};

} // namespace velmora::test
