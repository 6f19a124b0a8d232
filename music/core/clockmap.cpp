#include "music/core/clockmap.h"

#include <algorithm>

namespace velmora {

void ClockMap::observe(Duration music, Duration output)
{
    const Duration seen = output - music;
    if (!m_offset)
        m_offset = seen;
    else
        m_offset = *m_offset + std::clamp(seen - *m_offset, -kFall, kRise);
}

} // namespace velmora
