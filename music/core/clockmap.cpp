#include "music/core/clockmap.h"

#include <algorithm>

namespace velmora {

void ClockMap::observe(Duration music, Duration output)
{
    Duration seen = output - music;
    if (m_offset)
        seen = std::min(seen, *m_offset + kRise);
    // A reading at or above a later one can never be the window's greatest again.
    while (!m_candidates.empty() && m_candidates.back().second <= seen)
        m_candidates.pop_back();
    m_candidates.emplace_back(music, seen);
    while (m_candidates.front().first < music - kWindow)
        m_candidates.pop_front();
    m_offset = m_candidates.front().second;
}

void ClockMap::reset()
{
    m_offset.reset();
    m_candidates.clear();
}

} // namespace velmora
