#include "music/midi/recordingoutput.h"

namespace velmora {

bool RecordingOutput::open()
{
    m_open = true;
    m_start = std::chrono::steady_clock::now();
    return true;
}

void RecordingOutput::send(quint32 packed)
{
    m_messages.push_back({packed, std::chrono::steady_clock::now() - m_start, std::nullopt});
}

void RecordingOutput::sendAt(quint32 packed, std::chrono::nanoseconds due, const MusicClock &)
{
    m_messages.push_back({packed, std::chrono::steady_clock::now() - m_start, due});
}

} // namespace velmora
