#include "core/numeric.h"
#include "music/core/cycleplayer.h"
#include "music/core/midimodule.h"
#include "music/core/musictables.h"

#include <algorithm>

namespace velmora {

void CyclePlayer::playCyclusHarmonicus()
{
    velocityWalk();
    m_state.chordSize = 5;
    const int hold = m_holdIndex;

    if (m_state.topHoldCount >= hold) {
        ++m_state.harmonicStep;
        if (m_state.harmonicStep > m_state.lastHarmonicStep) {
            m_state.harmonicStep = 0;
            ++m_state.harmonicOctave;
            const double span = numericValue(m_octaveSpanText);
            if (span - 1 < m_state.harmonicOctave)
                m_state.harmonicOctave = 0;
        }
        m_state.topHoldCount = 0;
        if (hold > 0 && m_state.harmonicDegree > -1)
            --m_state.harmonicDegree;
    } else {
        ++m_state.topHoldCount;
    }

    if (m_state.modernCycle) {
        const SeasonPoint &point = kSeasonPoints[static_cast<size_t>(m_state.harmonicStep)];
        if (point.month == 2)
            m_state.cycleYear = m_state.cycleBaseYear + 1;
        else
            m_state.cycleBaseYear = m_state.cycleYear;
        // Past the last year the moment stays where it is rather than
        // leaving the range every date of the program lives in.
        const Moment season(m_state.cycleYear, point.month, point.day, point.hour);
        if (season.inRange())
            m_sky.setTheDate(season);
    }

    ++m_state.harmonicDegree;
    if (m_state.harmonicDegree > 6)
        m_state.harmonicDegree = 0;

    const int f = kPlanetSemitones[static_cast<size_t>(m_state.harmonicStep)];
    const int g = m_state.harmonicDegree;
    const int tg = kHarmonicSemitones[static_cast<size_t>(g)];
    const HarmonyNotes inner = harmonyNotes(f, g);
    m_state.harmonyNoteA = static_cast<qint16>(inner.a);
    m_state.harmonyNoteB = static_cast<qint16>(inner.b);

    const int o = 12 * m_state.harmonicOctave;
    const int b = m_state.pitchOffset - 60;
    auto &notes = m_state.chordNotes;
    if (m_state.topHoldCount == 0)
        notes[1] = static_cast<qint16>(b + 72 + f + o);
    notes[2] = static_cast<qint16>(b + 48 + inner.a + o);
    notes[3] = static_cast<qint16>(b + 48 + inner.b + o);
    notes[4] = static_cast<qint16>(b + 48 + tg + o);
    notes[5] = static_cast<qint16>(b + 36 + tg + o);

    for (int i = 1; i <= 5; ++i) {
        auto &note = notes[static_cast<size_t>(i)];
        note = std::clamp<qint16>(note, 0, 127);
        if (m_state.topHoldCount == 0 || i >= 2)
            sendNote(kNoteOn, note);
    }

    m_state.harmonicCycleOn = true;
    publishChartState();
    if (m_state.modernCycle)
        m_sky.updateCalendar(0);
    else
        m_sky.showPlanets();
}

} // namespace velmora
