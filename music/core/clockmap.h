#pragma once

#include <chrono>
#include <deque>
#include <optional>
#include <utility>

namespace velmora {

/// Maps times of the music clock onto an output's own clock (a synthesiser's sample clock, a
/// sequencer queue's clock). The output's clock is read now and then. It advances in steps (a
/// sound card takes its audio a buffer at a time, so a reading lags by anything up to a buffer)
/// and runs a little faster or slower than the system's (tens of parts per million). The offset
/// between the two clocks is therefore the one of the readings furthest ahead, the ones taken
/// just after a step: the greatest seen over the last kWindow of the music clock. A reading lags
/// by a random part of a step, so a lagging one never pulls the offset down; a slow drift is
/// still followed within the window. A reading more than kRise ahead of the offset counts as
/// kRise ahead, so one odd reading cannot throw the beats.
class ClockMap
{
public:
    using Duration = std::chrono::nanoseconds;

    static constexpr Duration kRise = std::chrono::milliseconds(2);
    static constexpr Duration kWindow = std::chrono::seconds(8);

    /// A reading: the output's clock shows output while the music clock shows music.
    void observe(Duration music, Duration output);
    /// A time of the music clock on the output's clock; needs a reading first.
    Duration toOutput(Duration music) const { return music + m_offset.value_or(Duration(0)); }
    bool isSet() const { return m_offset.has_value(); }
    /// Forgets the offset (the output's clock started again).
    void reset();

private:
    std::optional<Duration> m_offset;
    // The readings of the window that may still become its greatest: each is behind the one
    // before it in music time and below it in offset.
    std::deque<std::pair<Duration, Duration>> m_candidates;
};

} // namespace velmora
