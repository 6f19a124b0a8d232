#pragma once

#include "core/random.h"

#include <memory>
#include <vector>

namespace velmora::testing {

/// A source giving the scripted numbers in order, then the last one forever.
class ScriptedRandom
{
public:
    explicit ScriptedRandom(std::vector<double> values) { script(std::move(values)); }
    RandomSource &source() { return m_source; }
    size_t draws() const { return m_state->taken; }
    void script(std::vector<double> values) { *m_state = State{std::move(values), 0}; }
    /// The number that draws this letter.
    static double forLetter(int letter) { return (letter - 1) / 8.0; }

private:
    struct State
    {
        std::vector<double> values;
        size_t taken = 0;
    };
    std::shared_ptr<State> m_state = std::make_shared<State>();
    RandomSource m_source{[s = m_state] {
        return s->values.at(std::min(s->taken++, s->values.size() - 1));
    }};
};

} // namespace velmora::testing
