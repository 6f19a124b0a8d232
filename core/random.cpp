#include "core/random.h"

#include <chrono>
#include <cmath>

namespace velmora {

RandomSource::RandomSource()
{
    seedFromClock();
}

RandomSource::RandomSource(Generator generator)
    : m_injected(std::move(generator))
{}

void RandomSource::seedFromClock()
{
    const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
    m_engine.seed(static_cast<unsigned int>(ticks ^ (ticks >> 32)));
}

void RandomSource::seed(unsigned int value)
{
    m_engine.seed(value);
}

double RandomSource::next()
{
    if (m_injected) {
        const double v = m_injected();
        if (!(v >= 0.0))
            return 0.0;
        return v < 1.0 ? v : std::nextafter(1.0, 0.0);
    }
    return std::generate_canonical<double, 53>(m_engine);
}

int RandomSource::nextIndex(int count)
{
    if (count <= 0)
        return 0;
    const int i = static_cast<int>(next() * count);
    return i < count ? i : count - 1;
}

} // namespace velmora
