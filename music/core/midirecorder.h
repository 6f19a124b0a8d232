#pragma once

#include "music/core/midifile.h"

namespace velmora {

class MidiModule;

/// Records what the MIDI device is given, from start() to stop(): every message with its time,
/// the tempo changes, and the instrument in force at the start. It is fed by MidiModule, so it
/// hears exactly what the output hears, whichever output that is.
class MidiRecorder
{
public:
    MidiRecorder() = default;
    ~MidiRecorder();
    MidiRecorder(const MidiRecorder &) = delete;
    MidiRecorder &operator=(const MidiRecorder &) = delete;

    /// Starts recording what midi sends from now on (a recording under way is dropped).
    void start(MidiModule &midi);
    /// Ends the recording now, or after the last message if that is due later, and returns it;
    /// empty when none was under way.
    MidiRecording stop();
    bool isRecording() const { return m_midi != nullptr; }

    /// Called by MidiModule: a message sounding at a time of the music clock.
    void take(quint32 packed, std::chrono::nanoseconds time);
    void tempo(double beatsPerMinute, std::chrono::nanoseconds time);

private:
    std::chrono::nanoseconds sinceStart(std::chrono::nanoseconds time) const;

    MidiModule *m_midi = nullptr;
    std::chrono::nanoseconds m_start{0};
    MidiRecording m_recording;
};

} // namespace velmora
