#include "music/core/midirecorder.h"

#include "music/core/midimodule.h"

#include <algorithm>

namespace velmora {

MidiRecorder::~MidiRecorder()
{
    if (m_midi && m_midi->recorder() == this)
        m_midi->setRecorder(nullptr);
}

void MidiRecorder::start(MidiModule &midi)
{
    stop();
    m_midi = &midi;
    m_start = midi.clock()();
    m_recording = {};
    m_recording.program = midi.program();
    m_recording.bankCoarse = midi.bankCoarse();
    m_recording.bankFine = midi.bankFine();
    m_recording.tempi = {{std::chrono::nanoseconds(0), midi.tempo()}};
    midi.setRecorder(this);
}

MidiRecording MidiRecorder::stop()
{
    if (!m_midi)
        return {};
    // A message scheduled ahead sounds after the moment of the stop; it belongs in the recording.
    m_recording.end = sinceStart(m_midi->clock()());
    for (const auto &m : m_recording.messages)
        m_recording.end = std::max(m_recording.end, m.time);
    if (m_midi->recorder() == this)
        m_midi->setRecorder(nullptr);
    m_midi = nullptr;
    return std::exchange(m_recording, {});
}

std::chrono::nanoseconds MidiRecorder::sinceStart(std::chrono::nanoseconds time) const
{
    return std::max(time - m_start, std::chrono::nanoseconds(0));
}

void MidiRecorder::take(quint32 packed, std::chrono::nanoseconds time)
{
    m_recording.messages.push_back({packed, sinceStart(time)});
}

void MidiRecorder::tempo(double beatsPerMinute, std::chrono::nanoseconds time)
{
    m_recording.tempi.push_back({sinceStart(time), beatsPerMinute});
}

} // namespace velmora
