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
    return m_output->open();
}

bool MidiModule::replaceOutput(std::unique_ptr<MidiOutput> output)
{
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
    if (m_output && m_output->isOpen())
        m_output->send(packed);
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
