#pragma once

#include "core/random.h"

#include <memory>
#include <vector>

namespace velmora::testing {

/// A source that returns the given numbers in order and then repeats the
/// last one; draws() says how many were taken.
class ScriptedRandom
{
public:
    explicit ScriptedRandom(std::vector<double> values)
        : m_state(std::make_shared<State>(State{std::move(values), 0}))
        , m_source([s = m_state] {
            const size_t i = s->taken < s->values.size() ? s->taken : s->values.size() - 1;
            ++s->taken;
            return s->values.at(i);
        })
    {}

    RandomSource &source() { return m_source; }
    /// Starts over with new numbers.
    void script(std::vector<double> values) { *m_state = State{std::move(values), 0}; }
    size_t draws() const { return m_state->taken; }

    /// The number that draws the given letter (round(r * 8 + 1) == letter).
    static double forLetter(int letter) { return (letter - 1) / 8.0; }

private:
    struct State
    {
        std::vector<double> values;
        size_t taken;
    };
    std::shared_ptr<State> m_state;
    RandomSource m_source;
};

} // namespace velmora::testing
