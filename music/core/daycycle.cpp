#include "core/numeric.h"
#include "core/random.h"
#include "music/core/cycleplayer.h"
#include "music/core/midimodule.h"
#include "music/core/musictables.h"

#include <utility>

namespace velmora {

namespace {

/// Registers and timing of the four pairs of hour groups.
struct DayGroup
{
    std::array<int, 5> registers; // slots 1..4 (index 0 unused)
    int shuffled;                 // positions 1..n are shuffled
    bool everyOtherPhase;         // due on phases 0 and 2
    bool everyPhase;              // due on every phase
    char secondLetter;            // the group letter that changes one slot
    int changedSlot;
    int change;
};

DayGroup dayGroup(char group)
{
    switch (group) {
    case 'A':
    case 'E':
        return {{0, 84, 84, 72, 60}, 2, true, false, 'E', 2, -12};
    case 'B':
    case 'F':
        return {{0, 84, 84, 72, 60}, 4, false, true, 'F', 2, -12};
    case 'C':
    case 'G':
        return {{0, 60, 48, 48, 36}, 0, false, false, 'G', 2, 12};
    default:
        return {{0, 72, 60, 48, 48}, 0, false, false, 'H', 3, 12};
    }
}

} // namespace

void CyclePlayer::dayTick()
{
    m_sky.selectHourUnit();
    if (m_state.dayPhase == 0)
        m_sky.updateCalendar(m_sky.jumpCount());
    playDay();
}

void CyclePlayer::playDay()
{
    const Moment now = m_sky.theDate();
    // The weekday comes from the date itself, so the transposition does not
    // depend on the language of the day names.
    const int w = weekdayShift(now.date().dayOfWeek());
    m_state.chordSize = 4;
    const int h = hourChordIndex(now.time().hour());
    velocityWalk();
    m_state.dayPhase = static_cast<qint16>((m_state.dayPhase + 1) % 4);

    const char *chord = kHourChords[static_cast<size_t>(h)];
    std::array<int, 5> v{};
    for (int i = 1; i <= 4; ++i) {
        const int index = chordLetterScaleIndex(chord[i - 1]);
        v[static_cast<size_t>(i)] = index >= 0 ? kMajorScale[static_cast<size_t>(index)] : 0;
    }
    const char groupLetter = chord[4];
    const DayGroup group = dayGroup(groupLetter);

    const bool due = group.everyPhase || m_state.dayPhase == 0 ||
                     (group.everyOtherPhase && m_state.dayPhase == 2);
    if (!due) {
        m_state.dayChordDue = false;
    } else {
        stopChord();
        for (int i = 1; i <= group.shuffled; ++i) {
            const int j = static_cast<int>(roundHalfEven(1.0 + 3.0 * m_random.next()));
            std::swap(v[static_cast<size_t>(i)], v[static_cast<size_t>(j)]);
        }
        for (int i = 1; i <= 4; ++i) {
            int note = m_state.pitchOffset - 60 + group.registers[static_cast<size_t>(i)] +
                       v[static_cast<size_t>(i)] + w;
            if (groupLetter == group.secondLetter && i == group.changedSlot)
                note += group.change;
            m_state.chordNotes[static_cast<size_t>(i)] = static_cast<qint16>(note);
        }
        m_state.dayChordDue = true;
    }
    // Every slot sounds, the top one too: the hold setting belongs to the
    // harmonic cycle, and this cycle releases its whole chord on every strike.
    if (m_state.dayChordDue) {
        for (int i = 1; i <= 4; ++i)
            sendNote(kNoteOn, m_state.chordNotes[static_cast<size_t>(i)]);
    }
    rewrite(MusicBox::Out,
            QChar::fromLatin1(groupLetter) + QStringLiteral(": ") + QString::fromLatin1(chord, 4));
}

} // namespace velmora
