#pragma once

#include <functional>
#include <memory>
#include <random>

namespace velmora {

/// The program's one uniform generator over [0, 1). It serves the random
/// combination, Mercury's letter and the chord shuffle. Tests inject a fixed
/// sequence through the constructor that takes a function.
class RandomSource
{
public:
    using Generator = std::function<double()>;

    /// Seeded from the clock.
    RandomSource();
    /// Every draw returns what generator returns (clamped into [0, 1)).
    explicit RandomSource(Generator generator);

    /// Reseeds the built-in generator from the clock; an injected one is kept.
    void seedFromClock();
    void seed(unsigned int value);

    /// The next number in [0, 1).
    double next();

    /// Integer in 0..count-1 from one draw (count > 0).
    int nextIndex(int count);

private:
    std::mt19937 m_engine;
    Generator m_injected;
};

} // namespace velmora
