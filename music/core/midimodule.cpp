#include "music/core/midimodule.h"

namespace velmora {

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
    if (m_output && m_output->isOpen())
        m_output->send(packed);
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
