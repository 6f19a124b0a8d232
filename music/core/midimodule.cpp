#include "music/core/midimodule.h"

#include "music/core/midirecorder.h"

#include <algorithm>

namespace velmora {

std::chrono::nanoseconds steadyNow()
{
    return std::chrono::steady_clock::now().time_since_epoch();
}

MidiModule::MidiModule(std::unique_ptr<MidiOutput> output)
    : m_output(std::move(output))
{}

MidiModule::~MidiModule()
{
    close();
}

bool MidiModule::open()
{
    if (!m_output)
        return false;
    if (m_output->isOpen())
        m_output->close();
    m_output->setMusicClock(&m_clock);
    if (!m_output->open())
        return false;
    for (const quint32 packed : m_state.restoreMessages())
        m_output->send(packed);
    return true;
}

bool MidiModule::replaceOutput(std::unique_ptr<MidiOutput> output)
{
    if (isOpen()) {
        // The state already counts what is scheduled; the new output plays it at once.
        m_output->dropScheduled();
        for (const quint32 packed : m_state.releaseMessages())
            m_output->send(packed);
    }
    close();
    m_output = std::move(output);
    return open();
}

bool MidiModule::accept(quint32 packed, std::chrono::nanoseconds time)
{
    if (!isValidShortMessage(packed)) {
        ++m_rejected;
        return false;
    }
    m_state.apply(packed);
    if (m_recorder)
        m_recorder->take(packed, time);
    return true;
}

void MidiModule::sendShortMessage(quint32 packed)
{
    if (accept(packed, m_clock()) && isOpen())
        m_output->send(packed);
}

void MidiModule::sendShortMessageAt(quint32 packed, std::chrono::nanoseconds due)
{
    if (m_lastDue)
        due = std::max(due, *m_lastDue);
    if (!accept(packed, due))
        return;
    m_lastDue = due;
    if (isOpen())
        m_output->sendAt(packed, due, m_clock);
}

void MidiModule::setTempo(double beatsPerMinute)
{
    if (beatsPerMinute == m_tempo)
        return;
    m_tempo = beatsPerMinute;
    if (m_recorder)
        m_recorder->tempo(beatsPerMinute, m_clock());
}

QString MidiModule::inaudibleReason() const
{
    if (!isOpen())
        return QStringLiteral("No sound: no MIDI output is open; choose one under File > Sound "
                              "output.");
    return m_output->inaudibleReason();
}

void MidiModule::close()
{
    if (m_output && m_output->isOpen())
        m_output->close();
}

bool MidiModule::isOpen() const
{
    return m_output && m_output->isOpen();
}

} // namespace velmora
