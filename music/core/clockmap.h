#pragma once

#include <chrono>
#include <optional>

namespace velmora {

/// Maps times of the music clock onto an output's own clock (a synthesiser's sample clock, a
/// sequencer queue's clock). The output's clock is read now and then. It advances in steps (a
/// sound card takes its audio a buffer at a time, so a reading lags by anything up to a buffer)
/// and runs a little faster or slower than the system's (tens of parts per million). The offset
/// between the two clocks therefore follows the readings that are furthest ahead, the ones taken
/// just after a step: a reading ahead of it moves it up at once (by a few milliseconds at most,
/// so one odd reading cannot throw the beats), a reading behind it lowers it only slowly, so the
/// steps do not shake the beats while a slow drift is still followed.
class ClockMap
{
public:
    using Duration = std::chrono::nanoseconds;

    /// Per reading, the offset rises by at most kRise and falls by at most kFall.
    static constexpr Duration kRise = std::chrono::milliseconds(2);
    static constexpr Duration kFall = std::chrono::microseconds(20);

    /// A reading: the output's clock shows output while the music clock shows music.
    void observe(Duration music, Duration output);
    /// A time of the music clock on the output's clock; needs a reading first.
    Duration toOutput(Duration music) const { return music + m_offset.value_or(Duration(0)); }
    bool isSet() const { return m_offset.has_value(); }
    /// Forgets the offset (the output's clock started again).
    void reset() { m_offset.reset(); }

private:
    std::optional<Duration> m_offset;
};

} // namespace velmora
