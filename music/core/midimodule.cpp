#include "music/core/midimodule.h"

#include "music/core/midirecorder.h"

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
    if (!m_output->open())
        return false;
    for (const quint32 packed : m_state.restoreMessages())
        m_output->send(packed);
    return true;
}

bool MidiModule::replaceOutput(std::unique_ptr<MidiOutput> output)
{
    if (isOpen()) {
        for (const quint32 packed : m_state.releaseMessages())
            m_output->send(packed);
    }
    close();
    m_output = std::move(output);
    return open();
}

void MidiModule::sendShortMessage(quint32 packed)
{
    if (!isValidShortMessage(packed)) {
        ++m_rejected;
        return;
    }
    m_state.apply(packed);
    const int status = int(packed & 0xF0u);
    const int data1 = int((packed >> 8) & 0x7Fu);
    if ((packed & 0x0Fu) == 0) {
        if (status == kProgramChange)
            m_program = data1;
        else if (status == kControlChange && (data1 == 0 || data1 == 32))
            m_bank[data1 == 0 ? 0 : 1] = int((packed >> 16) & 0x7Fu);
    }
    if (m_recorder)
        m_recorder->take(packed, m_clock());
    if (m_output && m_output->isOpen())
        m_output->send(packed);
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
