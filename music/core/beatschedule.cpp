#include "music/core/beatschedule.h"

namespace velmora {

void BeatSchedule::start(Duration now, std::chrono::milliseconds interval)
{
    m_due = now;
    m_interval = interval;
}

BeatSchedule::Duration BeatSchedule::tick(Duration now, std::chrono::milliseconds interval)
{
    const Duration next = m_due + interval;
    if (interval != m_interval || now - next >= interval || next - now > interval)
        m_due = now;
    else
        m_due = next;
    m_interval = interval;
    return m_due;
}

} // namespace velmora
