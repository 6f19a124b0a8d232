#pragma once

#include <chrono>

namespace velmora {

/// The music clock's absolute schedule: a cycle's first beat is due when it starts, and every
/// tick after it one interval after the one before, whatever the moment the tick is handled. So
/// a late tick does not move the beats that follow it, and nothing drifts. The schedule starts
/// afresh where the timer does: after a change of tempo (the timer restarts with the new
/// interval) and after a tick so late that the timer gave up a whole interval.
class BeatSchedule
{
public:
    using Duration = std::chrono::nanoseconds;

    /// A cycle starts at now; its first beat is due then.
    void start(Duration now, std::chrono::milliseconds interval);
    /// A tick arrives at now with the timer's current interval; returns the place of its beat.
    Duration tick(Duration now, std::chrono::milliseconds interval);
    /// The place of the beat being played (the last start or tick).
    Duration due() const { return m_due; }

private:
    Duration m_due{0};
    std::chrono::milliseconds m_interval{0};
};

} // namespace velmora
